import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// The status box of the device's own copy jobs: how many remain, or that
// one failed (a click lists the failures). It polls while jobs run and
// gives up after three answers in a row with nothing to show.
Rectangle {
    id: box
    objectName: "fileCopyView"
    property QtObject twTab: null
    property int tries: 0
    readonly property alias model: copies
    visible: false
    implicitHeight: 36
    implicitWidth: 360
    radius: Theme.radius
    color: copies.isError ? "#fff0f0" : Theme.accentLight
    border.color: copies.isError ? Theme.error : Theme.accent

    // The model is joined to the facade here rather than by a binding: a
    // poll sent before it has one would never be answered.
    function start() {
        if (!twTab || !twTab.twDevice)
            return
        if (copies.tw !== twTab.twDevice)
            copies.tw = twTab.twDevice
        tries = 0
        copies.loadData()
    }

    CopyFileModel {
        id: copies
        onSg_notifyStatus: Notifier.toast(message, level)
        onHasFileChanged: {
            if (copies.hasFile) {
                if (copies.isError) {
                    box.tries = box.tries + 1
                    if (box.tries <= 3)
                        poll.start()
                } else {
                    box.tries = 0
                    poll.start()
                }
                box.visible = true
            } else {
                box.visible = false
                box.tries = box.tries + 1
                if (box.tries <= 3) {
                    poll.start()
                } else {
                    poll.stop()
                    box.tries = 0
                }
            }
        }
    }

    Timer {
        id: poll
        interval: 3000
        repeat: false
        onTriggered: copies.loadData()
    }

    Connections {
        target: box.twTab
        ignoreUnknownSignals: true
        function onConnected() { box.start() }
    }
    Component.onCompleted: if (twTab && twTab.linkState >= 2) start()
    onTwTabChanged: if (twTab && twTab.linkState >= 2) start()

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.margin
        anchors.rightMargin: 4
        spacing: Theme.spacing
        BusyIndicator {
            Layout.preferredWidth: 20
            Layout.preferredHeight: 20
            visible: !copies.isError
            running: box.visible && !copies.isError
        }
        Label {
            objectName: "copyStateText"
            Layout.fillWidth: true
            Layout.fillHeight: true
            verticalAlignment: Text.AlignVCenter
            text: copies.isError ? qsTr("Failed to copy files")
                                 : qsTr("copying file, remain %1").arg(copies.fileNum)
            color: copies.isError ? Theme.error : Theme.text
            font.pixelSize: Theme.fontSmall
            font.underline: copies.isError
            MouseArea {
                objectName: "copyStateLink"
                anchors.fill: parent
                enabled: copies.isError
                cursorShape: copies.isError ? Qt.PointingHandCursor : Qt.ArrowCursor
                onClicked: failAlert.open()
            }
        }
        ToolButton {
            objectName: "copyCloseButton"
            Layout.preferredWidth: 28
            Layout.preferredHeight: 28
            padding: 0
            font.pixelSize: Theme.fontSmall
            text: "\u2715"
            onClicked: cancelAsk.open()
        }
    }

    ConfirmDialog {
        id: cancelAsk
        objectName: "cancelCopyDialog"
        title: qsTr("Cancel Copy")
        text: qsTr("Cancel_copy_msg_tip")
        onConfirmed: {
            copies.stopAllCopyFile()
            box.visible = false
        }
    }

    CopyFileFailListAlert {
        id: failAlert
        twTab: box.twTab
    }
}
