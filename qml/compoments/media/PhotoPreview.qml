import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import Tidewell.PaintItem 1.0
import compoments.base 1.0

// The picture preview over the media page: the medium picture at once,
// the original after it, previous/next through the pictures of the list it
// was opened from, a strip of small thumbnails and the download.
Rectangle {
    id: preview
    objectName: "photoPreview"
    color: "#16181c"
    visible: false
    property QtObject twTab: null
    readonly property alias model: pv
    readonly property alias photo: photo
    // The URL of the picture on screen.
    property url shown: ""
    // The picture now shown, for the list behind to follow.
    signal showing(var info)

    function open(browsing, info) {
        pv.reset()
        shown = ""
        photo.source = ""
        visible = true
        forceActiveFocus()
        pv.tw = browsing
        pv.currentInfo = info
    }
    function close() {
        visible = false
        pv.reset()
        photo.source = ""
        shown = ""
    }
    function previous() { pv.currentSelected = pv.currentSelected - 1 }
    function next() { pv.currentSelected = pv.currentSelected + 1 }
    function download() {
        pv.download(twSdk.downloadFolder())
        Notifier.toast(qsTr("Added to the download list"), Constant.toastInfo)
    }

    PreviewListModel {
        id: pv
        objectName: "previewModel"
        onMediumChanged: {
            preview.shown = url
            photo.source = url
            // The medium picture first; the original follows by itself.
            if (!isOriginal)
                originalTimer.restart()
        }
        onRestDefultImg: {
            originalTimer.stop()
            busy.reset()
        }
        onShowLoading: busy.show()
        onCancelLading: busy.hide()
        onNotifyStatus: Notifier.toast(message, level === undefined ? Constant.toastInfo : level)
        onCurrentSelectedChanged: {
            strip.positionViewAtIndex(Math.max(0, currentSelected), ListView.Contain)
            preview.showing(currentInfo)
        }
    }
    Timer {
        id: originalTimer
        interval: 300
        onTriggered: if (preview.visible && !pv.isOriginal) pv.quickOriginal()
    }

    Keys.onLeftPressed: previous()
    Keys.onRightPressed: next()
    Keys.onEscapePressed: close()
    MouseArea { anchors.fill: parent; acceptedButtons: Qt.AllButtons; onWheel: wheel.accepted = true }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.headerHeight
            Layout.leftMargin: Theme.margin
            Layout.rightMargin: Theme.margin
            Label {
                objectName: "previewName"
                Layout.fillWidth: true
                text: pv.currentInfo.name !== undefined ? twSdk.shownName(pv.currentInfo.name) : ""
                textFormat: Text.PlainText
                color: "white"
                elide: Text.ElideMiddle
                font.pixelSize: Theme.fontLarge
            }
            Label {
                objectName: "previewKind"
                text: pv.isOriginal ? qsTr("Original") : qsTr("Preview")
                color: "#a0a8b0"
                font.pixelSize: Theme.fontSmall
            }
            Button { objectName: "originalButton"; text: qsTr("Original"); visible: !pv.isOriginal; onClicked: pv.quickOriginal() }
            Button { objectName: "previewDownload"; text: qsTr("Download"); visible: pv.needDownload; onClicked: preview.download() }
            Button { objectName: "previewClose"; text: qsTr("Close"); onClicked: preview.close() }
        }

        Item {
            id: stage
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            // Decoded off the GUI thread; the item takes the picture's size
            // and is scaled to fit here. Animations play at their own pace.
            SKPhoto {
                id: photo
                objectName: "previewPhoto"
                anchors.centerIn: parent
                defaultSource: "qrc:/compoments/base/Image/fileType/type_image@2x.png"
                scale: width > 0 && height > 0 ? Math.min(1, stage.width / width, stage.height / height) : 1
            }
            RoundButton {
                objectName: "previousButton"
                anchors.left: parent.left
                anchors.leftMargin: Theme.margin
                anchors.verticalCenter: parent.verticalCenter
                z: 1000   // above the busy overlay: stepping on stays possible
                text: "\u2039"
                font.pixelSize: Theme.fontTitle
                onClicked: preview.previous()
            }
            RoundButton {
                objectName: "nextButton"
                anchors.right: parent.right
                anchors.rightMargin: Theme.margin
                anchors.verticalCenter: parent.verticalCenter
                z: 1000
                text: "\u203a"
                font.pixelSize: Theme.fontTitle
                onClicked: preview.next()
            }
            BusyOverlay { id: busy }
        }

        ListView {
            id: strip
            objectName: "previewStrip"
            Layout.fillWidth: true
            Layout.preferredHeight: 76
            orientation: ListView.Horizontal
            spacing: 4
            clip: true
            model: pv
            delegate: Rectangle {
                width: 72; height: 72
                color: "transparent"
                border.color: index === pv.currentSelected ? Theme.accent : "transparent"
                border.width: 2
                PhotoImage {
                    anchors.fill: parent
                    anchors.margins: 3
                    source: model.filePictureThumbUrl
                    iconSize: 144
                }
                MouseArea { anchors.fill: parent; onClicked: pv.currentSelected = index }
            }
        }
    }
}
