import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Dialogs 1.3 as Dialogs
import Tidewell 1.0
import Tidewell.Model 1.0
import Tidewell.PaintItem 1.0
import compoments.base 1.0
import compoments.file 1.0
import compoments.share 1.0
import compoments.media 1.0

// One public group: the header (up to three avatars, the member summary,
// the user's right, members) and the group's files folder by folder, sorted
// by name or date, searched by keyword (a level of its own) and uploaded
// into (buttons or a drop onto the list).
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
    // Sort key ("condition": 0 modified, 2 name; 3 the device's order) and
    // direction of every level.
    property int sortType: 3
    property bool isSort: false
    readonly property bool searching: current !== null && current.keyword.length > 0
    // The keyword of the level being made (empty for folders).
    property string pendingKeyword: ""
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
    // The same column again turns the direction.
    function sortBy(type) {
        var turn = sortType === type
        if (turn)
            isSort = !isSort
        else
            sortType = type
        // Each model reloads on its own change; only the one that changed is
        // written, so the reload asks with both.
        for (var i = 0; i < levels.stack.length; ++i) {
            if (turn)
                levels.stack[i].model.isSort = isSort
            else
                levels.stack[i].model.sortType = sortType
        }
    }
    function search(text) {
        var key = text.trim()
        if (!key.length || !current)
            return
        pendingKeyword = key
        // A search from the results searches the group again in their place.
        if (searching)
            levels.replaceTop(null, qsTr("Search \"%1\"").arg(key))
        else
            levels.push(null, qsTr("Search \"%1\"").arg(key))
        pendingKeyword = ""
    }
    // Local files or folders into the folder shown.
    function upload(urls) {
        if (!twTab || !current || searching || !canEdit || urls.length === 0)
            return
        // A group's folder is on the device's own storage: its path names no
        // attached disk to upload to.
        var target = current.parentModel
        target.filePath = ""
        twTab.addUploadFiles(target, urls)
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

    // Uploads into the group have ended: what they brought shows.
    Connections {
        target: view.twTab
        function onIsUpRunChanged() {
            if (!view.twTab.isUpRun && view.current)
                view.current.refreshData()
        }
    }

    // A sort key; the same one again turns the direction.
    component SortButton: ToolButton {
        property int type: 0
        property string label: ""
        font.pixelSize: Theme.fontSmall
        focusPolicy: Qt.NoFocus
        text: label + (view.sortType === type ? (view.isSort ? " \u25b2" : " \u25bc") : "")
        onClicked: view.sortBy(type)
        contentItem: Label {
            text: parent.text
            textFormat: Text.PlainText
            font: parent.font
            color: view.sortType === parent.type ? Theme.accent : Theme.textMuted
            horizontalAlignment: Text.AlignLeft
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle { color: parent.hovered ? Theme.hover : "transparent"; radius: Theme.radius }
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
                        text: view.group ? twSdk.shownName(view.group.gName) : ""
                        textFormat: Text.PlainText
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
                    textFormat: Text.PlainText
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
                    objectName: "groupUpload"
                    text: qsTr("Upload files")
                    enabled: view.canEdit && !view.searching
                    onClicked: uploadDialog.open()
                }
                Button {
                    objectName: "groupUploadFolder"
                    text: qsTr("Upload folder")
                    enabled: view.canEdit && !view.searching
                    onClicked: uploadFolderDialog.open()
                }
                Button {
                    objectName: "groupNewFolder"
                    text: qsTr("New folder")
                    enabled: view.canEdit && !view.searching
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
                    onClicked: {
                        // A folder cannot go into itself.
                        folderPicker.excludeIds = view.current.getSelectFolderIds()
                        folderPicker.action = qsTr("Move")
                        folderPicker.open()
                    }
                }
                Button {
                    objectName: "groupCopy"
                    text: qsTr("Copy to")
                    enabled: view.canEdit && view.current.selectNum > 0
                    onClicked: {
                        folderPicker.excludeIds = []
                        folderPicker.action = qsTr("Copy")
                        folderPicker.open()
                    }
                }
                TextField {
                    id: searchField
                    objectName: "groupSearch"
                    width: 200
                    placeholderText: qsTr("Search in the group")
                    selectByMouse: true
                    // The level's name keeps the keyword.
                    onAccepted: { view.search(text); clear() }
                }
                Row {
                    height: searchField.height
                    spacing: 2
                    Label {
                        anchors.verticalCenter: parent.verticalCenter
                        text: qsTr("Sort by")
                        color: Theme.textMuted
                        font.pixelSize: Theme.fontSmall
                    }
                    SortButton { objectName: "groupSortName"; type: 2; label: qsTr("Name"); anchors.verticalCenter: parent.verticalCenter }
                    SortButton { objectName: "groupSortModified"; type: 0; label: qsTr("Modified"); anchors.verticalCenter: parent.verticalCenter }
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
                else
                    m.keyword = view.pendingKeyword
                if (m.sortType !== view.sortType)
                    m.sortType = view.sortType
                if (m.isSort !== view.isSort)
                    m.isSort = view.isSort
            }
            onFileOpened: opener.open(levels.current, fileInfo)
        }
    }

    // Files and folders dropped onto the list go into the folder shown.
    DropArea {
        id: dropZone
        objectName: "groupDropArea"
        x: levels.x
        y: levels.y
        width: levels.width
        height: levels.height
        enabled: view.canEdit && !view.searching
        onDropped: {
            if (drop.hasUrls) {
                view.upload(drop.urls)
                drop.accept()
            }
        }
        Rectangle {
            anchors.fill: parent
            visible: dropZone.containsDrag
            color: "#202f81f7"
            SKDashLineView {
                objectName: "groupDropFrame"
                anchors.fill: parent
                anchors.margins: 6
                lineWidth: 2
                radius: 8
                lineColor: Theme.accent
            }
            Label {
                anchors.centerIn: parent
                text: qsTr("Drop to upload here")
                color: Theme.accent
            }
        }
    }

    Dialogs.FileDialog {
        id: uploadDialog
        title: qsTr("Upload files")
        selectMultiple: true
        folder: twSdk.dialogFolder
        onAccepted: { twSdk.keepDialogFolder(fileUrls[0]); view.upload(fileUrls) }
    }
    Dialogs.FileDialog {
        id: uploadFolderDialog
        title: qsTr("Upload folder")
        selectFolder: true
        folder: twSdk.dialogFolder
        onAccepted: { twSdk.keepDialogFolder(fileUrl); view.upload([fileUrl]) }
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
            text = item && item.name ? qsTr("Delete \"%1\"?").arg(twSdk.shownName(item.name))
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

    FileOpener {
        id: opener
        anchors.fill: parent
        twTab: view.twTab
        onDownloadWanted: view.download()
    }
}
