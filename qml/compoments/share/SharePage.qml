import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0
import compoments.file 1.0
import compoments.media 1.0

// Shares of the device: what the others share with the user (all of them,
// or one user picked in the menu panel), what the user shares, folders
// opened inside them and a keyword search; download, copy to, and for the
// user's own shares cancel share and delete.
Rectangle {
    id: page
    objectName: "sharePage"
    color: Theme.surface
    property QtObject twTab: null
    readonly property bool ready: twTab !== null && twTab.linkState >= 2
    // 0 shared with me, 1 one user's shares, 2 my shares, 3 search.
    property int mode: 0
    property string userId: ""
    property string userName: ""
    property string keyword: ""
    readonly property alias levels: levels
    readonly property alias shareUsers: users
    readonly property QtObject current: levels.current
    readonly property bool isSelf: current !== null && current.isSelf === true
    readonly property bool hasSelection: current !== null && current.selectNum > 0

    function myId() {
        var d = twTab ? twTab.device : null
        return d && d.accessId ? d.accessId : ""
    }
    function title() {
        return mode === 1 ? userName : mode === 2 ? qsTr("My shares")
             : mode === 3 ? qsTr("Search: %1").arg(keyword) : qsTr("Shared with me")
    }
    function show(m, id, name) {
        mode = m
        userId = id || ""
        userName = name || ""
        if (m !== 1)
            users.singleSelect(-1)
        if (m !== 3)
            searchField.text = ""
        levels.modelComponent = m === 0 ? allComp : m === 3 ? searchComp : userComp
        levels.reset(title())
    }
    function search(text) {
        keyword = text.trim()
        if (keyword.length === 0)
            show(0)
        else
            show(3)
    }
    function download() {
        if (current)
            current.fileDownload(twSdk.downloadFolder())
    }

    onReadyChanged: {
        if (ready && levels.stack.length === 0)
            show(mode, userId, userName)
        // Back from an outage: a list of sharers that failed asks again.
        if (ready && users.rowCount() === 0)
            users.reload()
    }
    Component.onCompleted: if (ready) show(0)

    component NavEntry: ItemDelegate {
        property bool active: false
        Layout.fillWidth: true
        height: 34
        font.pixelSize: Theme.fontNormal
        background: Rectangle { color: parent.active ? Theme.selection : (parent.hovered ? Theme.hover : "transparent") }
    }

    Component { id: allComp; ShareAllUserFileModel { onIsSortChanged: refreshData() } }
    Component { id: userComp; ShareUserFileModel { onIsSortChanged: refreshData() } }
    Component { id: searchComp; ShareSearchFileModel { onIsSortChanged: refreshData() } }
    Component { id: dirComp; ShareUserDirModel { onIsSortChanged: refreshData() } }

    ShareUserListModel {
        id: users
        objectName: "shareUserModel"
        tw: page.twTab ? page.twTab.twDevice : null
        onSelectData: page.show(1, accessId, userName)
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        // Menu panel.
        Rectangle {
            Layout.preferredWidth: 200
            Layout.fillHeight: true
            color: Theme.background
            ColumnLayout {
                anchors.fill: parent
                anchors.topMargin: Theme.margin
                spacing: 2
                NavEntry {
                    objectName: "shareNavAll"
                    text: qsTr("Shared with me")
                    active: page.mode === 0
                    onClicked: page.show(0)
                }
                NavEntry {
                    objectName: "shareNavMine"
                    text: qsTr("My shares")
                    active: page.mode === 2
                    onClicked: page.show(2, page.myId(), qsTr("My shares"))
                }
                Label {
                    Layout.leftMargin: Theme.margin
                    Layout.topMargin: Theme.margin
                    text: qsTr("Shared by")
                    color: Theme.textMuted
                    font.pixelSize: Theme.fontSmall
                }
                ListView {
                    id: userList
                    objectName: "shareUserList"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clip: true
                    model: page.ready ? users : null
                    ScrollBar.vertical: ScrollBar {}
                    PageFeeder { view: userList }
                    delegate: ItemDelegate {
                        objectName: "shareUser_" + model.$UserName
                        width: userList.width
                        height: 40
                        background: Rectangle {
                            color: model.$Selected && page.mode === 1 ? Theme.selection
                                 : (parent.hovered ? Theme.hover : "transparent")
                        }
                        contentItem: RowLayout {
                            spacing: Theme.spacing
                            Avatar { url: model.$UserHead; name: model.$UserName; size: 26 }
                            Label { Layout.fillWidth: true; text: model.$UserName; elide: Text.ElideRight; color: Theme.text; font.pixelSize: Theme.fontNormal; textFormat: Text.PlainText }
                        }
                        onClicked: {
                            // Picking the user shown again reopens the list.
                            if (model.$Selected)
                                page.show(1, page.userId, page.userName)
                            else
                                users.singleSelect(index)
                        }
                    }
                }
            }
        }
        Rectangle { Layout.preferredWidth: 1; Layout.fillHeight: true; color: Theme.border }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 0

            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: Theme.headerHeight
                color: Theme.surface
                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: Theme.margin
                    anchors.rightMargin: Theme.margin
                    Label {
                        objectName: "shareTitle"
                        text: page.title()
                        textFormat: Text.PlainText
                        font.pixelSize: Theme.fontLarge
                        font.bold: true
                        color: Theme.text
                    }
                    Item { Layout.fillWidth: true }
                    TextField {
                        id: searchField
                        objectName: "shareSearchField"
                        Layout.preferredWidth: 220
                        placeholderText: qsTr("Search shared files")
                        selectByMouse: true
                        onAccepted: page.search(text)
                    }
                    ToolButton { objectName: "shareSearchButton"; text: qsTr("Search"); onClicked: page.search(searchField.text) }
                }
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
                    Button { objectName: "shareDownload"; text: qsTr("Download"); enabled: page.hasSelection; onClicked: page.download() }
                    Button {
                        objectName: "shareCopy"
                        text: qsTr("Copy to")
                        enabled: page.hasSelection
                        onClicked: { picker.action = qsTr("Copy"); picker.open() }
                    }
                    Button {
                        objectName: "shareCancel"
                        text: qsTr("Cancel share")
                        visible: page.isSelf
                        enabled: page.hasSelection
                        onClicked: cancelDialog.open()
                    }
                    Button {
                        objectName: "shareDelete"
                        text: qsTr("Delete")
                        visible: page.isSelf
                        enabled: page.hasSelection
                        onClicked: deleteDialog.open()
                    }
                    Button {
                        objectName: "shareSort"
                        text: page.current && page.current.isSort ? qsTr("Oldest first") : qsTr("Newest first")
                        enabled: page.current !== null
                        onClicked: page.current.isSort = !page.current.isSort
                    }
                    Button { objectName: "shareRefresh"; text: qsTr("Refresh"); enabled: page.current !== null; onClicked: page.current.refreshData() }
                }
            }
            FileLevels {
                id: levels
                Layout.fillWidth: true
                Layout.fillHeight: true
                active: page.ready
                showSharer: page.mode !== 2
                modelComponent: allComp
                folderComponent: dirComp
                setup: function(m, folder) {
                    m.tw = page.twTab ? page.twTab.twDevice : null
                    m.thumb = page.twTab ? page.twTab.twThumb : null
                    if (folder)
                        m.my = folder
                    else if (page.mode === 1 || page.mode === 2)
                        m.accessId = page.userId
                    else if (page.mode === 3)
                        m.keyValue = page.keyword
                }
                onFileOpened: opener.open(levels.current, fileInfo)
            }
        }
    }

    ConfirmDialog {
        id: cancelDialog
        objectName: "shareCancelDialog"
        title: qsTr("Cancel share")
        text: qsTr("Stop sharing the %n selected items?", "", page.current ? page.current.selectNum : 0)
        onConfirmed: page.current.fileCancelShare()
    }
    ConfirmDialog {
        id: deleteDialog
        objectName: "shareDeleteDialog"
        title: qsTr("Delete")
        text: qsTr("Delete the %n selected items?", "", page.current ? page.current.selectNum : 0)
        onConfirmed: page.current.fileDelete()
    }
    FolderPicker {
        id: picker
        twTab: page.twTab
        onChosen: page.current.fileCopyTo(folder)
    }

    FileOpener {
        id: opener
        anchors.fill: parent
        twTab: page.twTab
        onDownloadWanted: page.download()
    }
}
