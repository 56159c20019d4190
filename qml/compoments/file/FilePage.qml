import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Dialogs 1.3 as Dialogs
import Tidewell 1.0
import Tidewell.Model 1.0
import Tidewell.PaintItem 1.0
import compoments.base 1.0
import compoments.extlink 1.0
import compoments.media 1.0
import compoments.share 1.0
import compoments.transfer 1.0

// The device's personal space: folders page by page with a breadcrumb,
// selection, download, upload (dialog or drop), new folder, rename,
// delete, move, copy, share and external link.
Rectangle {
    id: page
    objectName: "filePage"
    color: Theme.surface
    property QtObject twTab: null
    readonly property alias model: files
    // Set by the sharing pages' picker when present (see shareRequested).
    property Component sharePicker: null

    function refresh() {
        files.reload()
    }

    // Uploads local files or folders into the open folder; the tab asks
    // first when a path was uploaded before.
    function upload(urls) {
        if (!twTab || urls.length === 0)
            return
        twTab.addUploadFiles(files.folder, urls)
    }

    function downloadSelection() {
        if (files.selectNum === 0) {
            Notifier.toast(qsTr("Select files first"), Constant.toastInfo)
            return
        }
        files.fileDownload(twSdk.downloadFolder())
    }

    // A folder opens as the next level, a file by its kind.
    function openRow(row) {
        if (files.openFolder(row))
            return
        files.currentSelected = row
        files.fileOpen()
    }
    // Enter and the menu's Open: the one selected row.
    function openCurrent() {
        if (files.selectNum === 1)
            openRow(files.currentSelected)
    }

    function deleteQuestion() {
        if (files.selectNum === 1) {
            for (var i = 0; i < files.rowCount(); ++i) {
                if (files.data(files.index(i, 0), 268))
                    return qsTr("Delete \"%1\"?").arg(twSdk.shownName(files.get(i).name))
            }
        }
        return qsTr("Delete the %n selected items?", "", files.selectNum)
    }

    function selectionName() {
        var item = files.get(files.currentSelected)
        return item && item.name ? item.name : ""
    }

    DirListModel {
        id: files
        objectName: "fileModel"
        tw: page.twTab ? page.twTab.twDevice : null
        thumb: page.twTab ? page.twTab.twThumb : null
        // A file opens by its kind (see FileOpener).
        onOpenFile: if (fileInfo.isFile) opener.open(files, fileInfo)
        onExtlinkCreated: linkCard.show(url, extractedCode)
    }
    ModelHooks { model: files; overlay: busy; emptyView: empty; emptyText: qsTr("No File") }

    Connections {
        target: page.twTab
        function onConnected() {
            if (files.rowCount() === 0)
                page.refresh()
            copyView.start()
        }
        // An upload into the open folder shows there once it has ended.
        function onUploadLanded(info) {
            if (!info.isSubItem && Number(info.dirId) === Number(files.folder.fid))
                landedTimer.restart()
        }
    }
    Timer { id: landedTimer; interval: 300; onTriggered: page.refresh() }
    onTwTabChanged: if (twTab && twTab.linkState >= 2) { refresh(); copyView.start() }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        // Breadcrumb and commands.
        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.headerHeight
            color: Theme.surface
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.margin
                anchors.rightMargin: Theme.margin
                spacing: 2
                ToolButton {
                    objectName: "backButton"
                    text: "\u2190"
                    enabled: files.depth > 0
                    onClicked: files.back()
                }
                Repeater {
                    model: files.pathNames
                    RowLayout {
                        spacing: 2
                        Label { visible: index > 0; text: "/"; color: Theme.textMuted }
                        ToolButton {
                            objectName: "crumb" + index
                            text: modelData
                            contentItem: Label { text: parent.text; font: parent.font; textFormat: Text.PlainText; verticalAlignment: Text.AlignVCenter }
                            font.bold: index === files.depth
                            onClicked: files.goTo(index)
                        }
                    }
                }
                Item { Layout.fillWidth: true }
                // The device's own copy jobs (copies into groups, disks).
                FileCopyView {
                    id: copyView
                    twTab: page.twTab
                    Layout.preferredWidth: 320
                }
                ToolButton {
                    objectName: "refreshButton"
                    text: qsTr("Refresh")
                    onClicked: page.refresh()
                }
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
                Button { objectName: "uploadButton"; text: qsTr("Upload files"); onClicked: fileDialog.open() }
                Button { objectName: "uploadFolderButton"; text: qsTr("Upload folder"); onClicked: folderDialog.open() }
                Button { objectName: "newFolderButton"; text: qsTr("New folder"); onClicked: { newFolderDialog.value = ""; newFolderDialog.open() } }
                Button { objectName: "downloadButton"; text: qsTr("Download"); enabled: files.selectNum > 0; onClicked: page.downloadSelection() }
                Button {
                    objectName: "renameButton"; text: qsTr("Rename"); enabled: files.selectNum === 1
                    onClicked: { renameDialog.value = page.selectionName(); renameDialog.open() }
                }
                Button { objectName: "deleteButton"; text: qsTr("Delete"); enabled: files.selectNum > 0; onClicked: deleteDialog.open() }
                Button { objectName: "moveButton"; text: qsTr("Move to"); enabled: files.selectNum > 0; onClicked: { picker.action = qsTr("Move"); picker.open() } }
                Button { objectName: "copyButton"; text: qsTr("Copy to"); enabled: files.selectNum > 0; onClicked: { picker.action = qsTr("Copy"); picker.open() } }
                Button { objectName: "shareButton"; text: qsTr("Share"); enabled: files.selectNum > 0; onClicked: shareDialog.open() }
                Button { objectName: "linkButton"; text: qsTr("Create link"); enabled: files.selectNum > 0; onClicked: linkDialog.open() }
            }
        }

        // Column header with the check box that selects every row.
        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 32
            color: Theme.surface
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.margin
                anchors.rightMargin: Theme.margin
                spacing: Theme.spacing
                CheckBox {
                    objectName: "headerCheck"
                    padding: 0
                    checked: files.isAll
                    onClicked: {
                        if (files.isAll)
                            files.singleSelect(-1, false)
                        else
                            files.allSelect()
                        files.menuType = 2
                    }
                }
                Label {
                    Layout.fillWidth: true
                    textFormat: Text.PlainText
                    text: files.selectNum > 0 ? qsTr("%1 selected").arg(files.selectNum)
                                              : qsTr("%n items", "", files.fileNum)
                    objectName: "countText"
                    color: Theme.textMuted
                    font.pixelSize: Theme.fontSmall
                }
                Label { Layout.preferredWidth: 90; text: qsTr("Size"); horizontalAlignment: Text.AlignRight; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                Label { Layout.preferredWidth: 130; text: qsTr("Modified"); horizontalAlignment: Text.AlignRight; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ListView {
                id: list
                objectName: "fileList"
                anchors.fill: parent
                clip: true
                model: files
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar {}
                Keys.onReturnPressed: page.openCurrent()
                Keys.onEnterPressed: page.openCurrent()
                PageFeeder { view: list }
                delegate: FileRow {
                    objectName: "fileRow_" + model.$FileName
                    width: list.width
                    name: model.$FileName
                    size: model.$FileSize
                    time: model.$FileTime
                    icon: model.$FileThumbUrl
                    selected: model.$Selected
                    shared: model.$FileIsShare
                    loved: model.$FileIsLove
                    onClicked: {
                        list.forceActiveFocus()
                        if (mouse.modifiers & Qt.ControlModifier)
                            files.multiSelect(index)
                        else
                            files.singleSelect(index)
                        files.menuType = 2
                    }
                    onCheckToggled: { files.multiSelect(index); files.menuType = 2 }
                    onRightClicked: {
                        if (!model.$Selected)
                            files.singleSelect(index, true)
                        contextMenu.popup()
                    }
                    onDoubleClicked: {
                        files.singleSelect(index, true)
                        page.openRow(index)
                    }
                }
            }

            EmptyView { id: empty; anchors.fill: parent }

            DropArea {
                objectName: "dropArea"
                anchors.fill: parent
                onDropped: {
                    if (drop.hasUrls) {
                        page.upload(drop.urls)
                        drop.accept()
                    }
                }
                Rectangle {
                    objectName: "dropZone"
                    anchors.fill: parent
                    visible: parent.containsDrag
                    color: "#202f81f7"
                    SKDashLineView {
                        anchors.fill: parent
                        anchors.margins: 4
                        lineWidth: 2
                        radius: Theme.radius
                        lineColor: Theme.accent
                    }
                    Label { anchors.centerIn: parent; text: qsTr("Drop to upload here"); color: Theme.accent }
                }
            }
            BusyOverlay { id: busy }
        }
    }

    Menu {
        id: contextMenu
        objectName: "fileContextMenu"
        MenuItem { objectName: "menuOpen"; text: qsTr("Open"); enabled: files.selectNum === 1; onTriggered: page.openCurrent() }
        MenuItem { text: qsTr("Download"); onTriggered: page.downloadSelection() }
        MenuItem { text: qsTr("Rename"); enabled: files.selectNum === 1; onTriggered: { renameDialog.value = page.selectionName(); renameDialog.open() } }
        MenuItem { text: qsTr("Move to"); onTriggered: { picker.action = qsTr("Move"); picker.open() } }
        MenuItem { text: qsTr("Copy to"); onTriggered: { picker.action = qsTr("Copy"); picker.open() } }
        MenuItem { text: qsTr("Share"); onTriggered: shareDialog.open() }
        MenuItem { text: qsTr("Create link"); onTriggered: linkDialog.open() }
        MenuItem { text: qsTr("Delete"); onTriggered: deleteDialog.open() }
    }

    Dialogs.FileDialog {
        id: fileDialog
        objectName: "uploadFilesDialog"
        title: qsTr("Upload files")
        selectMultiple: true
        folder: twSdk.dialogFolder
        onAccepted: { twSdk.keepDialogFolder(fileUrls[0]); page.upload(fileUrls) }
    }
    Dialogs.FileDialog {
        id: folderDialog
        objectName: "uploadFolderDialog"
        title: qsTr("Upload folder")
        selectFolder: true
        folder: twSdk.dialogFolder
        onAccepted: { twSdk.keepDialogFolder(fileUrl); page.upload([fileUrl]) }
    }
    InputDialog {
        id: newFolderDialog
        objectName: "newFolderDialog"
        title: qsTr("New folder")
        placeholder: qsTr("Folder name")
        onEntered: { page.pendingFolder = text; files.newFolder(text) }
    }
    // A refused name comes back in the dialog for another try.
    property string pendingFolder: ""
    Connections {
        target: files
        function onSg_notifyStatus(code, message, level) {
            if (page.pendingFolder.length > 0 && level === Constant.toastError) {
                newFolderDialog.value = page.pendingFolder
                newFolderDialog.open()
            }
            page.pendingFolder = ""
        }
    }
    InputDialog {
        id: renameDialog
        objectName: "renameDialog"
        title: qsTr("Rename")
        onEntered: files.fileRename(text)
    }
    ConfirmDialog {
        id: deleteDialog
        objectName: "deleteDialog"
        title: qsTr("Delete")
        // Asked at opening: one item is named, more are counted.
        onAboutToShow: text = page.deleteQuestion()
        onConfirmed: files.fileDelete()
    }
    FolderPicker {
        id: picker
        twTab: page.twTab
        onChosen: {
            if (action === qsTr("Move")) {
                files.fileMove(folder)
            } else {
                files.fileCopyTo(folder)
                copyView.start()
            }
        }
    }
    ShareTargetPicker {
        id: shareDialog
        twTab: page.twTab
        onShareRequested: files.fileSharing(data)
    }
    CreatedLinkDialog { id: linkCard }
    CreateLinkDialog {
        id: linkDialog
        onCreateRequested: files.fileCreateExtlink(title, code)
    }

    FileOpener {
        id: opener
        anchors.fill: parent
        twTab: page.twTab
        onDownloadWanted: page.downloadSelection()
    }
}
