import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0

// Opening a document: downloads the one file into the download folder,
// shows its progress and hands it to the desktop's application when it is
// there. Closing cancels the download. open(fileMap) takes a file item's
// map as the file lists hand it out.
Popup {
    id: popup
    objectName: "previewDownload"
    property QtObject twTab: null
    property real progress: 0
    property string fileName: ""
    readonly property alias model: fileDown
    modal: true
    closePolicy: Popup.NoAutoClose
    anchors.centerIn: Overlay.overlay
    parent: Overlay.overlay
    width: 320
    height: 240

    function open(fileMap) {
        progress = 0
        fileName = fileMap && fileMap.name ? fileMap.name : ""
        // A file with a path goes as a path download, whatever storage it
        // is on. Shown first: a refusal closes it at once.
        visible = true
        fileDown.start(fileMap)
    }

    function cancel() {
        fileDown.pause()
        visible = false
    }

    FileDownModel {
        id: fileDown
        tw: popup.twTab ? popup.twTab : twSdk
        down: popup.twTab ? popup.twTab.twSingleDown : twSingleDown
        onSDownProgress: popup.progress = pval
        onSDownFinish: {
            popup.progress = 1
            Notifier.toast(qsTr("It's being opened"), Constant.toastSuccess)
            popup.visible = false
        }
        onSDownFail: {
            Notifier.toast(msg, Constant.toastError)
            popup.visible = false
        }
        onSDownPause: popup.visible = false
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: Theme.spacing
        RowLayout {
            Layout.fillWidth: true
            Label {
                objectName: "previewName"
                Layout.fillWidth: true
                text: popup.fileName
                textFormat: Text.PlainText
                elide: Text.ElideMiddle
                font.pixelSize: Theme.fontNormal
            }
            ToolButton {
                objectName: "previewClose"
                text: "\u2715"
                onClicked: popup.cancel()
            }
        }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            BusyIndicator {
                anchors.centerIn: parent
                width: 72; height: 72
                running: popup.visible
            }
            Label {
                objectName: "previewPercent"
                anchors.centerIn: parent
                // A file of unknown size has no meaningful fraction.
                text: isFinite(popup.progress) ? Math.round(Math.max(0, Math.min(1, popup.progress)) * 100) + "%" : ""
                font.pixelSize: Theme.fontSmall
            }
        }
        Label {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: qsTr("The file download will open automatically")
            color: Theme.textMuted
            font.pixelSize: Theme.fontSmall
        }
    }
}
