import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// Picks a torrent file stored on the device, folder by folder; `chosen`
// carries its file id.
Dialog {
    id: dlg
    objectName: "torrentPicker"
    property QtObject twTab: null
    property int pickedRow: -1
    signal chosen(int fileId)
    title: qsTr("Choose a torrent file")
    modal: true
    anchors.centerIn: Overlay.overlay
    parent: Overlay.overlay
    width: 460
    height: 480
    standardButtons: Dialog.Ok | Dialog.Cancel

    onOpened: {
        pickedRow = -1
        dirs.goTo(0)
        if (dirs.rowCount() === 0)
            dirs.fetchMore()
    }
    onAccepted: {
        var item = pickedRow >= 0 ? dirs.get(pickedRow) : null
        if (item && item.id)
            chosen(item.id)
        else
            Notifier.toast(qsTr("Choose a torrent file"), Constant.toastError)
    }

    DirListModel { id: dirs; tw: dlg.twTab ? dlg.twTab.twDevice : null }

    ColumnLayout {
        anchors.fill: parent
        RowLayout {
            Layout.fillWidth: true
            ToolButton {
                text: "\u2190"
                enabled: dirs.depth > 0
                onClicked: { dlg.pickedRow = -1; dirs.goTo(dirs.depth - 1) }
            }
            Label {
                Layout.fillWidth: true
                text: dirs.pathNames.join(" / ")
                textFormat: Text.PlainText
                elide: Text.ElideLeft
            }
        }
        ListView {
            id: list
            objectName: "torrentList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: dirs
            ScrollBar.vertical: ScrollBar {}
            PageFeeder { view: list }
            delegate: Rectangle {
                readonly property bool folder: model.$FileType === 5
                readonly property bool torrent: /\.torrent$/i.test(model.$FileName)
                width: list.width
                height: Theme.rowHeight
                color: index === dlg.pickedRow ? Theme.selection : Theme.surface
                opacity: folder || torrent ? 1 : 0.4
                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: Theme.spacing
                    FileIcon { mediaType: model.$FileType }
                    Label { Layout.fillWidth: true; text: model.$FileName; elide: Text.ElideMiddle; textFormat: Text.PlainText }
                }
                TapHandler {
                    onTapped: {
                        if (parent.torrent)
                            dlg.pickedRow = index
                    }
                    onDoubleTapped: {
                        if (parent.folder) {
                            dlg.pickedRow = -1
                            dirs.openFolder(index)
                        }
                    }
                }
            }
        }
    }
}
