import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import compoments.base 1.0

// One transfer queue (downloads or uploads): a row per top-level entry with
// its progress and state, row and selection commands, and the queue's
// start-all / pause-all, which follow the queue state (0 nothing paused,
// 1 only paused or failed, 2 both).
Item {
    id: view
    property QtObject model: null
    property bool isDown: true
    // A folder row that failed: the page opens the failure alert.
    signal fileDetail(string title, var record)

    readonly property string prefix: isDown ? "down" : "up"

    function stateText(status, writeSize, speed, msg) {
        switch (status) {
        case 1:
            return !isDown && writeSize === 0 ? qsTr("File Parsing") : speed
        case 2:
            return qsTr("Waiting")
        case 3:
            return qsTr("Paused")
        case 4:
            return (isDown ? qsTr("Download failed") : qsTr("Upload failed")) + msg
        case 5:
            return qsTr("Finish")
        default:
            return ""
        }
    }

    ConfirmDialog {
        id: deleteAsk
        objectName: view.prefix + "DeleteDialog"
        title: qsTr("Delete")
        property int row: -1
        property bool all: false
        onConfirmed: {
            if (all)
                view.model.deleteAll()
            else if (row >= 0)
                view.model.deleteFile(row)
            else
                view.model.deleteSelect()
        }
    }

    function askDelete(row, all) {
        deleteAsk.row = row
        deleteAsk.all = all
        deleteAsk.text = all ? qsTr("Are you sure delete all transfer task ?")
                             : row >= 0 ? qsTr("Are you sure delete transfer task ?")
                                        : qsTr("Are you sure delete select transfer task ?")
        deleteAsk.open()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.headerHeight
            Layout.leftMargin: Theme.margin
            Layout.rightMargin: Theme.margin
            spacing: Theme.spacing
            CheckBox {
                objectName: view.prefix + "SelectAll"
                checked: view.model ? view.model.isAll : false
                enabled: view.model ? view.model.loadNum > 0 : false
                onClicked: view.model.allSelect()
            }
            Label {
                text: view.model && view.model.isCheck ? qsTr("%1 selected").arg(view.model.selectNum)
                                                       : qsTr("Total %1").arg(view.model ? view.model.totalNum : 0)
                color: Theme.textMuted
                font.pixelSize: Theme.fontSmall
            }
            Item { Layout.fillWidth: true }
            // Selection commands.
            Button {
                objectName: view.prefix + "StartSelected"
                visible: view.model && view.model.isCheck
                text: qsTr("Start")
                onClicked: view.model.startSelect()
            }
            Button {
                objectName: view.prefix + "PauseSelected"
                visible: view.model && view.model.isCheck
                text: qsTr("Pause")
                onClicked: view.model.pauseSelect()
            }
            Button {
                objectName: view.prefix + "DeleteSelected"
                visible: view.model && view.model.isCheck
                text: qsTr("Delete")
                onClicked: view.askDelete(-1, false)
            }
            // Queue commands.
            Button {
                objectName: view.prefix + "StartAll"
                visible: view.model && !view.model.isCheck
                text: qsTr("All Start")
                enabled: view.model && view.model.loadNum > 0
                         && (view.model.taskState === 1 || view.model.taskState === 2)
                onClicked: view.model.startAll()
            }
            Button {
                objectName: view.prefix + "PauseAll"
                visible: view.model && !view.model.isCheck
                text: qsTr("All Pause")
                enabled: view.model && view.model.loadNum > 0
                         && (view.model.taskState === 0 || view.model.taskState === 2)
                onClicked: view.model.pauseAll()
            }
            Button {
                objectName: view.prefix + "DeleteAll"
                visible: view.model && !view.model.isCheck
                text: qsTr("Delete All")
                enabled: view.model && view.model.loadNum > 0
                onClicked: view.askDelete(-1, true)
            }
        }
        Rectangle { Layout.fillWidth: true; Layout.preferredHeight: 1; color: Theme.border }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ListView {
                id: list
                objectName: view.prefix + "List"
                anchors.fill: parent
                clip: true
                model: view.model
                boundsBehavior: Flickable.StopAtBounds
                // Rows scrolled out are used again for the rows coming in:
                // a long queue scrolls without making rows all the time.
                reuseItems: true
                ScrollBar.vertical: ScrollBar {}
                PageFeeder { view: list }
                delegate: Rectangle {
                    id: row
                    objectName: view.prefix + "Row" + index
                    width: list.width
                    height: Theme.rowHeight + 12
                    color: model.$Selected ? Theme.selection : (hover.hovered ? Theme.hover : Theme.surface)
                    readonly property int status: model.$Status
                    readonly property bool folder: model.$FileType === 5
                    readonly property string stateLine: view.stateText(model.$Status, model.$WriteSize,
                                                                       model.$Speed, model.$Msg)
                    HoverHandler { id: hover }
                    TapHandler { onTapped: view.model.singleSelect(index) }

                    RowLayout {
                        anchors.fill: parent
                        anchors.leftMargin: Theme.margin
                        anchors.rightMargin: Theme.margin
                        spacing: Theme.spacing
                        CheckBox {
                            objectName: "check"
                            checked: model.$Selected
                            onClicked: view.model.multiSelect(index)
                        }
                        FileIcon { mediaType: model.$FileType }
                        ColumnLayout {
                            Layout.fillWidth: true
                            Layout.preferredWidth: 3
                            spacing: 2
                            Label {
                                objectName: "name"
                                Layout.fillWidth: true
                                text: model.$FileName
                                textFormat: Text.PlainText
                                elide: Text.ElideMiddle
                                font.pixelSize: Theme.fontNormal
                                color: Theme.text
                            }
                            Label {
                                objectName: "size"
                                text: model.$ReceiveSize + " / " + model.$FileSize
                                font.pixelSize: Theme.fontSmall
                                color: Theme.textMuted
                            }
                        }
                        ProgressBar {
                            objectName: "progress"
                            Layout.preferredWidth: 140
                            from: 0; to: 1
                            value: model.$PVal
                        }
                        RowLayout {
                            Layout.fillWidth: true
                            Layout.preferredWidth: 2
                            spacing: 4
                            Label {
                                objectName: "state"
                                Layout.fillWidth: true
                                text: row.stateLine
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                font.pixelSize: Theme.fontSmall
                                color: row.status === 4 ? Theme.error : Theme.textMuted
                                // A reason cut off here reads whole on hover,
                                // as plain text like every text of the device.
                                HoverHandler { id: stateHover }
                                ToolTip {
                                    id: stateTip
                                    objectName: "stateTip"
                                    visible: stateHover.hovered && parent.truncated
                                    delay: 300
                                    text: row.stateLine
                                    contentItem: Text {
                                        text: stateTip.text
                                        textFormat: Text.PlainText
                                        wrapMode: Text.Wrap
                                        font: stateTip.font
                                        color: stateTip.palette.toolTipText
                                    }
                                }
                            }
                            Label {
                                objectName: "fileDetail"
                                visible: row.status === 4 && row.folder
                                text: "<a href=\"#\">" + qsTr("File Detail") + "</a>"
                                font.pixelSize: Theme.fontSmall
                                linkColor: Theme.accent
                                MouseArea {
                                    anchors.fill: parent
                                    cursorShape: Qt.PointingHandCursor
                                    onClicked: view.fileDetail(model.$FileName, view.model.getFileData(index))
                                }
                            }
                        }
                        ToolButton {
                            objectName: "start"
                            visible: row.status === 3 || row.status === 4
                            text: qsTr("Start")
                            onClicked: view.model.startFile(index)
                        }
                        ToolButton {
                            objectName: "pause"
                            visible: row.status === 1 || row.status === 2
                            text: qsTr("Pause")
                            onClicked: view.model.pauseFile(index)
                        }
                        ToolButton {
                            objectName: "delete"
                            text: qsTr("Delete")
                            onClicked: view.askDelete(index, false)
                        }
                    }
                    Rectangle {
                        anchors.bottom: parent.bottom
                        width: parent.width; height: 1
                        color: Theme.border; opacity: 0.5
                    }
                }
            }

            EmptyView {
                id: empty
                objectName: view.prefix + "EmptyView"
                anchors.fill: parent
                defaultMessage: view.isDown ? qsTr("No Download Task") : qsTr("No Upload Task")
            }
            BusyOverlay { id: busy }
            ModelHooks {
                model: view.model
                overlay: busy
                emptyView: empty
                emptyText: view.isDown ? qsTr("No Download Task") : qsTr("No Upload Task")
            }
        }
    }
}
