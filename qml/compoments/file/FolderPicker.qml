import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// Chooses a target folder for a move or a copy: the personal space folder
// by folder, or a public group's folders (the group disks of the picker).
// `chosen` carries the folder map that fileMove and fileCopyTo take.
Dialog {
    id: dlg
    objectName: "folderPicker"
    property QtObject twTab: null
    property string action: qsTr("Move")
    // 0 personal space, 1 group list, 2 inside a group
    property int mode: 0
    property var groupPath: []
    // Folder ids not offered (a move's own folders); the caller sets them.
    property var excludeIds: []
    signal chosen(var folder)

    title: action
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 460
    height: 480
    standardButtons: Dialog.Ok | Dialog.Cancel

    function excluded(id) {
        if (id === undefined || id === null || !excludeIds.length)
            return false
        for (var i = 0; i < excludeIds.length; ++i)
            if (String(excludeIds[i]) === String(id))
                return true
        return false
    }
    function currentFolder() {
        if (mode === 0)
            return dirs.folder
        if (mode === 2)
            return tree.parentFolder
        return null
    }

    onOpened: {
        mode = 0
        dirs.goTo(0)
        if (dirs.rowCount() === 0)
            dirs.fetchMore()
    }
    onAccepted: {
        var f = currentFolder()
        if (f)
            chosen(f)
        else
            Notifier.toast(qsTr("Choose a folder"), Constant.toastError)
    }

    DirListModel { id: dirs; tw: dlg.twTab ? dlg.twTab.twDevice : null }
    TreeFatherModel { id: groups; tw: dlg.twTab ? dlg.twTab.twDevice : null }
    TreeModel { id: tree; tw: dlg.twTab ? dlg.twTab.twDevice : null }

    ColumnLayout {
        anchors.fill: parent
        spacing: Theme.spacing
        RowLayout {
            Button {
                objectName: "pickerPersonal"
                text: qsTr("My files")
                highlighted: dlg.mode === 0
                onClicked: { dlg.mode = 0; dirs.goTo(0) }
            }
            Button {
                objectName: "pickerGroups"
                text: qsTr("Public groups")
                highlighted: dlg.mode !== 0
                onClicked: { dlg.mode = 1; groups.loadGroups() }
            }
            Item { Layout.fillWidth: true }
            Button {
                objectName: "pickerUp"
                text: qsTr("Up")
                enabled: (dlg.mode === 0 && dirs.depth > 0) || dlg.mode === 2
                onClicked: {
                    if (dlg.mode === 0) {
                        dirs.back()
                    } else {
                        var p = dlg.groupPath.slice()
                        p.pop()
                        dlg.groupPath = p
                        if (p.length === 0)
                            dlg.mode = 1
                        else
                            tree.parentFolder = p[p.length - 1]
                    }
                }
            }
        }
        Label {
            objectName: "pickerPath"
            Layout.fillWidth: true
            elide: Text.ElideLeft
            color: Theme.textMuted
            text: dlg.mode === 0 ? dirs.pathNames.join(" / ")
                 : dlg.mode === 1 ? qsTr("Public groups")
                 : dlg.groupPath.map(function(f) { return twSdk.shownName(f.name) }).join(" / ")
            textFormat: Text.PlainText
        }
        ListView {
            id: list
            objectName: "pickerList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: dlg.mode === 0 ? dirs : dlg.mode === 1 ? groups : tree
            ScrollBar.vertical: ScrollBar {}
            PageFeeder { view: list }
            delegate: ItemDelegate {
                // Only folders can be targets, and none of the excluded.
                readonly property bool isFolder: (dlg.mode !== 0 || model.$FileType === 5)
                                             && !(dlg.mode === 2 && dlg.excluded(model.$FolderId))
                width: list.width
                height: isFolder ? 34 : 0
                visible: isFolder
                text: dlg.mode === 0 ? model.$FileName : dlg.mode === 1 ? model.$DiskName : model.$FolderName
                contentItem: Label { text: parent.text; textFormat: Text.PlainText; elide: Text.ElideRight; verticalAlignment: Text.AlignVCenter }
                onClicked: {
                    if (dlg.mode === 0) {
                        dirs.openFolder(index)
                    } else if (dlg.mode === 1) {
                        var g = groups.folder(index)
                        dlg.groupPath = [g]
                        tree.parentFolder = g
                        dlg.mode = 2
                    } else {
                        var f = tree.folder(index)
                        var p = dlg.groupPath.slice()
                        p.push(f)
                        dlg.groupPath = p
                        tree.parentFolder = f
                    }
                }
            }
        }
    }
}
