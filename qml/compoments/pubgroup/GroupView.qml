import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "../base"
import "../file"
import "../share"

// One public group: the header (up to three avatars, the member summary,
// the user's right, members) and the group's files folder by folder.
Rectangle {
    id: view
    objectName: "groupView"
    color: Theme.surface
    property QtObject twTab: null
    // The group's list map; null when no group is open.
    property var group: null
    readonly property alias detail: detailModel
    readonly property alias files: levels
    readonly property QtObject current: levels.current
    readonly property bool canEdit: current ? current.isAuth : false
    signal back()

    function rightText(auth) {
        return auth === 0 ? qsTr("Has Manager") : auth === 1 ? qsTr("Has Editer") : qsTr("Has Browse")
    }
    // The group map with the right the detail reports.
    function groupMap() {
        var g = {}
        for (var k in group)
            g[k] = group[k]
        g.memberAuthority = detailModel.memberAuthority
        return g
    }
    function selectionName() {
        var item = current ? current.get(-1) : null
        if (!item || !item.name)
            return ""
        // A file keeps its suffix: only the part before it is edited.
        var dot = item.name.lastIndexOf(".")
        return item.isFile && dot > 0 ? item.name.substring(0, dot) : item.name
    }
    function download() {
        if (current)
            current.fileDownload(twSdk.downloadFolder())
    }

    onGroupChanged: {
        if (!group) {
            levels.clear()
            return
        }
        detailModel.groupInfo = group
        detailModel.loadData()
        levels.reset(group.gName)
    }

    PubGroupDetialModel {
        id: detailModel
        objectName: "groupDetail"
        tw: view.twTab ? view.twTab.twDevice : null
        // Reloads after any member change: an open member list follows.
        onWillLoadData: if (members.opened) members.reload()
        onMemberAuthorityChanged: {
            if (!view.group)
                return
            var g = view.groupMap()
            for (var i = 0; i < levels.stack.length; ++i)
                levels.stack[i].model.groupInfo = g
        }
    }

    Component {
        id: fileModel
        PubFileListModel {
            onIsSortChanged: refreshData()
            onSortTypeChanged: refreshData()
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        // Header.
        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 64
            color: Theme.surface
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.margin
                anchors.rightMargin: Theme.margin
                spacing: Theme.spacing
                ToolButton { objectName: "groupBack"; text: "\u2190"; onClicked: view.back() }
                ColumnLayout {
                    spacing: 2
                    Label {
                        objectName: "groupTitle"
                        text: view.group ? view.group.gName : ""
                        font.pixelSize: Theme.fontLarge
                        font.bold: true
                        color: Theme.text
                    }
                    Label {
                        objectName: "groupRight"
                        text: view.rightText(detailModel.memberAuthority)
                              + (detailModel.isOwer ? " \u00b7 " + qsTr("Owner") : "")
                        color: Theme.textMuted
                        font.pixelSize: Theme.fontSmall
                    }
                }
                Item { Layout.fillWidth: true }
                Row {
                    objectName: "groupAvatars"
                    spacing: -8
                    Repeater {
                        objectName: "avatarRepeater"
                        model: (detailModel.userInfo.urls || []).slice(0, 3)
                        Avatar { url: modelData; size: 30 }
                    }
                }
                Label {
                    objectName: "memberSummary"
                    text: qsTr("%n members", "", detailModel.userInfo.totalNum || 0)
                    color: Theme.textMuted
                }
                Button {
                    objectName: "membersButton"
                    text: qsTr("Members")
                    onClicked: members.open()
                }
                Button {
                    objectName: "headerAddMembers"
                    text: qsTr("Add members")
                    visible: detailModel.isOwer
                    onClicked: picker.openFor(view.group.gId)
                }
            }
            Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.border }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: commands.implicitHeight + 12
            color: Theme.background
            Flow {
                id: commands
                x: 6; y: 6
                width: parent.width - 12
                spacing: 6
                Button {
                    objectName: "groupNewFolder"
                    text: qsTr("New folder")
                    enabled: view.canEdit
                    onClicked: { newFolderDialog.value = ""; newFolderDialog.open() }
                }
                Button {
                    objectName: "groupDownload"
                    text: qsTr("Download")
                    enabled: view.current && view.current.selectNum > 0
                    onClicked: view.download()
                }
                Button {
                    objectName: "groupRename"
                    text: qsTr("Rename")
                    enabled: view.canEdit && view.current.selectNum === 1
                    onClicked: { renameDialog.value = view.selectionName(); renameDialog.open() }
                }
                Button {
                    objectName: "groupDelete"
                    text: qsTr("Delete")
                    enabled: view.canEdit && view.current.selectNum > 0
                    onClicked: deleteDialog.open()
                }
                Button {
                    objectName: "groupMove"
                    text: qsTr("Move to")
                    enabled: view.canEdit && view.current.selectNum > 0
                    onClicked: { folderPicker.action = qsTr("Move"); folderPicker.open() }
                }
                Button {
                    objectName: "groupCopy"
                    text: qsTr("Copy to")
                    enabled: view.canEdit && view.current.selectNum > 0
                    onClicked: { folderPicker.action = qsTr("Copy"); folderPicker.open() }
                }
            }
        }

        FileLevels {
            id: levels
            Layout.fillWidth: true
            Layout.fillHeight: true
            active: view.group !== null && view.twTab !== null && view.twTab.linkState >= 2
            modelComponent: fileModel
            setup: function(m, folder) {
                m.tw = view.twTab ? view.twTab.twDevice : null
                m.thumb = view.twTab ? view.twTab.twThumb : null
                m.groupInfo = view.groupMap()
                if (folder)
                    m.my = folder
            }
            onFileOpened: view.download()
        }
    }

    MemberDialog {
        id: members
        twTab: view.twTab
        group: view.group || ({})
        isOwner: detailModel.isOwer
        onAddRequested: picker.openFor(view.group.gId)
    }
    MemberPicker {
        id: picker
        twTab: view.twTab
        onPicked: detailModel.editPubGroupMember(groupId, 1, userIds)
    }

    InputDialog {
        id: newFolderDialog
        objectName: "groupNewFolderDialog"
        title: qsTr("New folder")
        placeholder: qsTr("Folder name")
        onEntered: view.current.newFolder(text)
    }
    InputDialog {
        id: renameDialog
        objectName: "groupRenameDialog"
        title: qsTr("Rename")
        onEntered: view.current.fileRename(text)
    }
    ConfirmDialog {
        id: deleteDialog
        objectName: "groupDeleteDialog"
        title: qsTr("Delete")
        onAboutToShow: {
            var n = view.current ? view.current.selectNum : 0
            var item = n === 1 ? view.current.get(-1) : null
            text = item && item.name ? qsTr("Delete \"%1\"?").arg(item.name)
                                     : qsTr("Delete the %n selected items?", "", n)
        }
        onConfirmed: view.current.fileDelete()
    }
    FolderPicker {
        id: folderPicker
        twTab: view.twTab
        onChosen: {
            if (action === qsTr("Move")) {
                // A move stays inside the group.
                if (folder.diskType !== 3 || folder.groupId !== view.group.gId) {
                    Notifier.toast(qsTr("Choose a folder of this group"), Constant.toastError)
                    return
                }
                view.current.fileMove(folder.fid, folder.serialNo)
            } else {
                view.current.fileCopyTo(folder)
            }
        }
    }
}
