import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0
import compoments.file 1.0

// Downloads the device makes itself (links and torrents): the tasks in
// progress and the finished ones, each tab a panel created when shown, so
// switching tabs starts the other list afresh.
Item {
    id: page
    objectName: "smartDownPage"
    property QtObject twTab: null
    property int tab: 0
    readonly property QtObject model: panel.item ? panel.item.model : null
    readonly property bool running: tab === 0
    // The link typed in "New Task" (or the torrent file picked), kept while
    // the target folder is chosen.
    property string pendingSource: ""
    property int pendingTorrent: 0

    function statusText(status, exception, speed) {
        switch (status) {
        case 0: return qsTr("Waiting")
        case 1: return qsTr("Download BT")
        case 2: return speed
        case 3: return qsTr("Paused")
        case 4: return qsTr("Moving")
        case 5: return exceptionText(exception)
        default: return qsTr("Finish")
        }
    }
    function exceptionText(exception) {
        switch (exception) {
        case 1: return qsTr("Network exception")
        case 2: return qsTr("Download BT Failed")
        case 3: return qsTr("Capacity is not enough")
        case 4: return qsTr("Download failed")
        case 5: return qsTr("Move failed")
        case 6: return qsTr("Path failed")
        case 7: return qsTr("No copyright")
        case 8: return qsTr("No resources")
        case 9: return qsTr("Connect failed")
        default: return qsTr("Finish")
        }
    }

    // Adds a task on the panel shown: the link (or the device path of a
    // torrent file) and the folder map of the target.
    function addTask(source, folder) {
        if (page.model && source.length > 0)
            page.model.addTaskSource(folder, source)
    }
    function addTorrent(fileId, folder) {
        if (page.model && fileId > 0)
            page.model.addTaskFile(folder, fileId)
    }

    function refresh() {
        if (page.model)
            page.model.refershData()
    }

    // Deletion asks first, with the choice to delete the downloaded files.
    // mode: 0 all, 1 selection, 2 one row
    function askDelete(mode, row) {
        deleteAsk.mode = mode
        deleteAsk.row = row
        deleteAsk.text = mode === 0 ? qsTr("Are you sure delete all download task ?")
                       : mode === 1 ? qsTr("Are you sure delete select download task ?")
                                    : qsTr("Are you sure delete download task ?")
        deleteFiles.checked = false
        deleteAsk.open()
    }

    Dialog {
        id: deleteAsk
        objectName: "btDeleteDialog"
        property int mode: 0
        property int row: -1
        property alias text: askText.text
        title: qsTr("Delete")
        modal: true
        anchors.centerIn: Overlay.overlay
        parent: Overlay.overlay
        width: 420
        standardButtons: Dialog.Ok | Dialog.Cancel
        ColumnLayout {
            width: parent.width
            Label { id: askText; Layout.fillWidth: true; wrapMode: Text.Wrap }
            CheckBox { id: deleteFiles; objectName: "deleteFileCheck"; text: qsTr("Delete download file") }
        }
        onAccepted: {
            var m = page.model
            if (!m)
                return
            var d = deleteFiles.checked
            if (mode === 0)
                m.allDelete(d)
            else if (mode === 1)
                m.deleteSelect(d)
            else if (page.running)
                m.deleteTask(row, d)
            else
                m.deleteIndex(row, d)
        }
    }

    InputDialog {
        id: newTask
        objectName: "newTaskDialog"
        title: qsTr("New Task")
        placeholder: qsTr("Input or pause download link tip")
        onEntered: {
            page.pendingSource = text
            page.pendingTorrent = 0
            picker.open()
        }
    }
    TorrentPicker {
        id: torrents
        twTab: page.twTab
        onChosen: {
            page.pendingSource = ""
            page.pendingTorrent = fileId
            picker.open()
        }
    }
    FolderPicker {
        id: picker
        objectName: "btFolderPicker"
        twTab: page.twTab
        action: qsTr("Storage To:")
        onChosen: {
            if (page.pendingTorrent > 0)
                page.addTorrent(page.pendingTorrent, folder)
            else
                page.addTask(page.pendingSource, folder)
        }
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
            TabBar {
                id: bar
                currentIndex: page.tab
                onCurrentIndexChanged: page.tab = currentIndex
                background: Rectangle { color: Theme.surface }
                TabItem { objectName: "btRunningTab"; text: qsTr("Downloading") }
                TabItem { objectName: "btFinishedTab"; text: qsTr("Finished") }
            }
            CheckBox {
                objectName: "btSelectAll"
                checked: page.model ? page.model.isAll : false
                enabled: page.model ? page.model.fileNum > 0 : false
                onClicked: page.model.allSelect()
            }
            Item { Layout.fillWidth: true }
            Button {
                objectName: "btNewTask"
                text: qsTr("New Task")
                onClicked: newTask.open()
            }
            Button {
                objectName: "btAddTorrent"
                text: qsTr("Add Torrent")
                onClicked: torrents.open()
            }
            Button {
                objectName: "btStartAll"
                text: qsTr("All Start")
                visible: page.running && page.model && !page.model.isCheck
                enabled: page.model && page.model.fileNum > 0
                         && (page.model.taskState === 1 || page.model.taskState === 2)
                onClicked: page.model.allStart()
            }
            Button {
                objectName: "btPauseAll"
                text: qsTr("All Pause")
                visible: page.running && page.model && !page.model.isCheck
                enabled: page.model && page.model.fileNum > 0
                         && (page.model.taskState === 0 || page.model.taskState === 2)
                onClicked: page.model.allPause()
            }
            Button {
                objectName: "btDeleteSelected"
                text: qsTr("Delete")
                visible: page.model && page.model.isCheck
                onClicked: page.askDelete(1, -1)
            }
            Button {
                objectName: "btDeleteAll"
                text: qsTr("Delete All")
                visible: page.model && !page.model.isCheck
                enabled: page.model && page.model.fileNum > 0
                onClicked: page.askDelete(0, -1)
            }
            Button {
                objectName: "btRefresh"
                text: qsTr("Refresh")
                onClicked: page.refresh()
            }
        }
        Rectangle { Layout.fillWidth: true; Layout.preferredHeight: 1; color: Theme.border }

        Loader {
            id: panel
            objectName: "btPanel"
            Layout.fillWidth: true
            Layout.fillHeight: true
            sourceComponent: page.tab === 0 ? runningPanel : finishedPanel
        }
    }

    Component {
        id: runningPanel
        Item {
            readonly property alias model: tasks
            SmartDownModel { id: tasks; tw: page.twTab ? page.twTab.twDevice : null }
            Timer { interval: 10000; repeat: true; running: true; onTriggered: tasks.loadData() }
            Component.onCompleted: tasks.loadData()
            ListView {
                id: list
                objectName: "btRunningList"
                anchors.fill: parent
                clip: true
                model: tasks
                ScrollBar.vertical: ScrollBar {}
                delegate: Rectangle {
                    objectName: "btRow" + index
                    width: list.width
                    height: Theme.rowHeight + 12
                    color: model.$Selected ? Theme.selection : Theme.surface
                    TapHandler { onTapped: tasks.singleSelect(index) }
                    RowLayout {
                        anchors.fill: parent
                        anchors.leftMargin: Theme.margin
                        anchors.rightMargin: Theme.margin
                        spacing: Theme.spacing
                        CheckBox { objectName: "check"; checked: model.$Selected; onClicked: tasks.multiSelect(index) }
                        FileIcon { mediaType: model.$FileIcon }
                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 2
                            Label { objectName: "name"; Layout.fillWidth: true; text: model.$FileName; elide: Text.ElideMiddle; textFormat: Text.PlainText }
                            Label {
                                text: model.$ReceiveSize + " / " + model.$FileSize
                                color: Theme.textMuted
                                font.pixelSize: Theme.fontSmall
                            }
                        }
                        ProgressBar { objectName: "progress"; Layout.preferredWidth: 140; from: 0; to: 1; value: model.$PVal }
                        Label {
                            objectName: "state"
                            Layout.preferredWidth: 140
                            text: page.statusText(model.$Status, 0, model.$Speed)
                            textFormat: Text.PlainText
                            color: model.$Status === 5 ? Theme.error : Theme.textMuted
                            font.pixelSize: Theme.fontSmall
                        }
                        ToolButton {
                            objectName: "start"
                            visible: model.$Status === 3 || model.$Status === 5
                            text: qsTr("Start")
                            onClicked: tasks.startTask(index)
                        }
                        ToolButton {
                            objectName: "pause"
                            visible: model.$Status !== 3 && model.$Status !== 5
                            text: qsTr("Pause")
                            onClicked: tasks.pauseTask(index)
                        }
                        ToolButton { objectName: "delete"; text: qsTr("Delete"); onClicked: page.askDelete(2, index) }
                    }
                }
            }
            EmptyView { id: empty; objectName: "btEmptyView"; anchors.fill: parent }
            BusyOverlay { id: busy }
            ModelHooks { model: tasks; overlay: busy; emptyView: empty; emptyText: qsTr("No download tasks") }
        }
    }

    Component {
        id: finishedPanel
        Item {
            readonly property alias model: done
            SmartDownFinishModel { id: done; tw: page.twTab ? page.twTab.twDevice : null }
            ListView {
                id: list
                objectName: "btFinishedList"
                anchors.fill: parent
                clip: true
                model: done
                ScrollBar.vertical: ScrollBar {}
                PageFeeder { view: list }
                delegate: Rectangle {
                    objectName: "btDoneRow" + index
                    width: list.width
                    height: Theme.rowHeight + 8
                    color: model.$Selected ? Theme.selection : Theme.surface
                    TapHandler { onTapped: done.singleSelect(index) }
                    RowLayout {
                        anchors.fill: parent
                        anchors.leftMargin: Theme.margin
                        anchors.rightMargin: Theme.margin
                        spacing: Theme.spacing
                        CheckBox { objectName: "check"; checked: model.$Selected; onClicked: done.multiSelect(index) }
                        FileIcon { mediaType: model.$FileIcon }
                        Label { objectName: "name"; Layout.fillWidth: true; text: model.$FileName; elide: Text.ElideMiddle; textFormat: Text.PlainText }
                        Label { text: model.$FileSize; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                        Label { text: model.$FileDate; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                        Label {
                            objectName: "state"
                            Layout.preferredWidth: 140
                            text: page.statusText(model.$Status, model.$Exception, "")
                            textFormat: Text.PlainText
                            color: model.$Status === 5 ? Theme.error : Theme.success
                            font.pixelSize: Theme.fontSmall
                        }
                        ToolButton {
                            objectName: "start"
                            visible: model.$Status === 5
                            text: qsTr("Start")
                            onClicked: done.startIndex(index)
                        }
                        ToolButton { objectName: "delete"; text: qsTr("Delete"); onClicked: page.askDelete(2, index) }
                    }
                }
            }
            EmptyView { id: empty; objectName: "btDoneEmptyView"; anchors.fill: parent }
            BusyOverlay { id: busy }
            ModelHooks { model: done; overlay: busy; emptyView: empty; emptyText: qsTr("No File") }
        }
    }
}
