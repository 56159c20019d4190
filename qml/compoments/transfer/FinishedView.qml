import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import compoments.base 1.0

// Finished downloads and uploads, newest first: open the file or the folder
// holding it, delete records (never the local files), clear the list.
Item {
    id: view
    property QtObject model: null

    ConfirmDialog {
        id: deleteAsk
        objectName: "finishDeleteDialog"
        title: qsTr("Delete")
        property int row: -1
        property bool all: false
        onConfirmed: {
            if (all)
                view.model.clearAll()
            else if (row >= 0)
                view.model.deleteItem(row)
            else
                view.model.deleteSelect()
        }
    }

    function askDelete(row, all) {
        deleteAsk.row = row
        deleteAsk.all = all
        deleteAsk.text = all ? qsTr("Are you sure clear all records ?")
                             : qsTr("Are you sure delete the records ? The files stay on disk.")
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
                objectName: "finishSelectAll"
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
            Button {
                objectName: "finishDeleteSelected"
                text: qsTr("Delete")
                enabled: view.model && view.model.isCheck
                onClicked: view.askDelete(-1, false)
            }
            Button {
                objectName: "finishClearAll"
                text: qsTr("Clear All")
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
                objectName: "finishList"
                anchors.fill: parent
                clip: true
                model: view.model
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar {}
                PageFeeder { view: list }
                delegate: Rectangle {
                    objectName: "finishRow" + index
                    width: list.width
                    height: Theme.rowHeight + 8
                    color: model.$Selected ? Theme.selection : (hover.hovered ? Theme.hover : Theme.surface)
                    HoverHandler { id: hover }
                    TapHandler {
                        onTapped: view.model.singleSelect(index)
                        onDoubleTapped: view.model.openFile(index)
                    }
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
                        Label {
                            objectName: "name"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 3
                            text: model.$FileName
                            textFormat: Text.PlainText
                            elide: Text.ElideMiddle
                            font.pixelSize: Theme.fontNormal
                        }
                        Label {
                            objectName: "size"
                            Layout.preferredWidth: 80
                            text: model.$FileSize
                            font.pixelSize: Theme.fontSmall
                            color: Theme.textMuted
                        }
                        Label {
                            objectName: "time"
                            Layout.preferredWidth: 120
                            text: model.$DTime
                            font.pixelSize: Theme.fontSmall
                            color: Theme.textMuted
                        }
                        Label {
                            objectName: "state"
                            Layout.preferredWidth: 80
                            text: model.$Status ? qsTr("Uploaded") : qsTr("Downloaded")
                            font.pixelSize: Theme.fontSmall
                            color: Theme.success
                        }
                        ToolButton {
                            objectName: "open"
                            text: qsTr("Open")
                            onClicked: view.model.openFile(index)
                        }
                        ToolButton {
                            objectName: "openFolder"
                            text: qsTr("Open Folder")
                            onClicked: view.model.openLocation(index)
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
                objectName: "finishEmptyView"
                anchors.fill: parent
            }
            ModelHooks { model: view.model; emptyView: empty; emptyText: qsTr("No Data") }
        }
    }
}
