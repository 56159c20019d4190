import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// The device's failed copy jobs with their reasons: retry or delete them
// one by one or by selection. Each opening reloads from the first page.
Dialog {
    id: dlg
    objectName: "copyFailAlert"
    property QtObject twTab: null
    readonly property alias model: fails
    modal: true
    anchors.centerIn: Overlay.overlay
    parent: Overlay.overlay
    width: Math.min(640, parent ? parent.width - 40 : 640)
    height: Math.min(460, parent ? parent.height - 40 : 460)
    title: qsTr("Total %1 fail copy").arg(fails.fileNum)
    standardButtons: Dialog.Close

    onOpened: fails.resetData()

    CopyFailModel { id: fails; tw: dlg.twTab ? dlg.twTab.twDevice : null }

    ColumnLayout {
        anchors.fill: parent
        spacing: Theme.spacing
        RowLayout {
            Layout.fillWidth: true
            CheckBox {
                objectName: "copyFailSelectAll"
                text: qsTr("Select All")
                checked: fails.isAll
                onClicked: fails.allSelect()
            }
            Item { Layout.fillWidth: true }
            Button {
                objectName: "batchTryButton"
                text: qsTr("Batch Try")
                enabled: fails.isCheck
                onClicked: fails.batchTry()
            }
            Button {
                objectName: "batchDeleteButton"
                text: qsTr("Batch Delete")
                enabled: fails.isCheck
                onClicked: fails.batchDel()
            }
        }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            ListView {
                id: list
                objectName: "copyFailList"
                anchors.fill: parent
                clip: true
                model: fails
                ScrollBar.vertical: ScrollBar {}
                PageFeeder { view: list }
                delegate: Rectangle {
                    objectName: "copyFailRow" + index
                    width: list.width
                    height: Theme.rowHeight + 8
                    color: model.$Selected ? Theme.selection : Theme.surface
                    TapHandler { onTapped: fails.multiSelect(index) }
                    RowLayout {
                        anchors.fill: parent
                        spacing: Theme.spacing
                        CheckBox {
                            objectName: "check"
                            checked: model.$Selected
                            onClicked: fails.multiSelect(index)
                        }
                        FileIcon { mediaType: model.$FileType }
                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 2
                            Label {
                                objectName: "name"
                                Layout.fillWidth: true
                                text: model.$FileName + (model.$FileNum > 1 ? " (" + model.$FileNum + ")" : "")
                                textFormat: Text.PlainText
                                elide: Text.ElideMiddle
                            }
                            Label {
                                objectName: "info"
                                text: model.$FileInfo
                                textFormat: Text.PlainText
                                color: Theme.textMuted
                                font.pixelSize: Theme.fontSmall
                            }
                        }
                        Label {
                            objectName: "message"
                            Layout.preferredWidth: 150
                            text: model.$ErrorMsg
                            textFormat: Text.PlainText
                            color: Theme.error
                            elide: Text.ElideRight
                            font.pixelSize: Theme.fontSmall
                        }
                        ToolButton {
                            objectName: "retry"
                            text: qsTr("Try")
                            onClicked: fails.singleTry(index)
                        }
                        ToolButton {
                            objectName: "delete"
                            text: qsTr("Delete")
                            onClicked: fails.singleDel(index)
                        }
                    }
                }
            }
            EmptyView { id: empty; objectName: "copyFailEmptyView"; anchors.fill: parent }
            BusyOverlay { id: busy }
            ModelHooks { model: fails; overlay: busy; emptyView: empty; emptyText: qsTr("No Data") }
        }
    }
}
