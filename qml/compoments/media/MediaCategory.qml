import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0
import compoments.extlink 1.0
import compoments.file 1.0
import compoments.share 1.0

// One media category of a device (pictures, videos, music, favourites):
// grouped by day (a header and rows of cells per day) or as a plain list, with
// sort, paging by scrolling, the selection and the operations on it.
Rectangle {
    id: cat
    color: Theme.surface
    property QtObject twTab: null
    property int fileType: 1
    // Shown as the current category of the page.
    property bool shown: false
    property bool grouped: true
    readonly property bool sortable: fileType !== 7
    readonly property QtObject model: grouped ? group : list
    property bool groupLoaded: false
    property bool listLoaded: false
    readonly property bool connected: twTab !== null && twTab.linkState >= 2

    // The browsing model and the item opened from it.
    signal openPicture(var browsing, var info)
    signal openMedia(var browsing, var info)

    GroupListModel {
        id: group
        objectName: "groupModel"
        modelType: cat.fileType
        tw: cat.twTab ? cat.twTab.twDevice : null
        thumb: cat.twTab ? cat.twTab.twThumb : null
        onExtlinkCreated: cat.showLink(url, extractedCode)
    }
    ComposeListModel {
        id: list
        objectName: "listModel"
        modelType: cat.fileType
        tw: cat.twTab ? cat.twTab.twDevice : null
        thumb: cat.twTab ? cat.twTab.twThumb : null
        onIsSortChanged: { refreshData(); fetchMore() }
        onExtlinkCreated: cat.showLink(url, extractedCode)
    }
    // A failed load asks again by itself (reload waits for the device).
    ModelHooks {
        model: group; overlay: busy; emptyView: groupEmpty; emptyText: qsTr("No File")
        live: cat.grouped && cat.shown && cat.visible
        reload: function() { cat.reload() }
    }
    ModelHooks {
        model: list; overlay: busy; emptyView: listEmpty; emptyText: qsTr("No File")
        live: !cat.grouped && cat.shown && cat.visible
        reload: function() { cat.reload() }
    }

    function reload() {
        if (!connected)
            return
        if (grouped) {
            groupLoaded = true
            group.refreshData()
            group.fetchGroup()
        } else {
            listLoaded = true
            list.refreshData()
            list.fetchMore()
        }
    }
    // Set once the models' own bindings (their category among them) hold:
    // a load asked for while the page is still being made would list the
    // wrong category.
    property bool made: false
    // Favourites change on the other pages: read again whenever shown.
    function ensureLoaded() {
        if (!made || !shown || !connected)
            return
        if (fileType === 7 || (grouped ? !groupLoaded : !listLoaded))
            reload()
    }
    function fetchNext() {
        if (grouped)
            group.fetchGroup()
        else
            list.fetchMore()
    }
    onShownChanged: ensureLoaded()
    // Back from an outage: a list that failed to load asks again.
    onConnectedChanged: { if (connected && model.rowCount() === 0) groupLoaded = listLoaded = false; ensureLoaded() }
    onGroupedChanged: ensureLoaded()
    Component.onCompleted: {
        made = true
        ensureLoaded()
    }

    // Double click: pictures open in the preview, anything else (videos
    // and music in the player, a favourite document) by its kind; the
    // browsing model goes with them.
    function openItem(section, row) {
        openInfo(grouped ? section.get(row) : list.get(row))
    }
    // The menu's Open: the one selected item.
    function openSelected() {
        if (model.selectNum === 1)
            openInfo(grouped ? group.get(-1) : list.get(list.currentSelected))
    }
    function openInfo(info) {
        if (!info || info.type === undefined)
            return
        if (info.type === 6)
            openPicture(model, info)
        else if (info.isFile !== false)
            openMedia(model, info)
    }

    // Brings a loaded item into view (the picture the preview shows): its
    // day section, or its row of the plain list.
    function reveal(info) {
        if (!info || info.id === undefined)
            return
        if (!grouped) {
            for (var i = 0; i < list.loadFileNum; ++i) {
                if (list.get(i).id === info.id) {
                    rows.positionViewAtIndex(i, ListView.Contain)
                    return
                }
            }
            return
        }
        var day = new Date(Number(info.lastModified))
        day.setHours(0, 0, 0, 0)
        for (var s = 0; s < group.rowCount(); ++s) {
            var key = String(group.data(group.index(s, 0), 267)).split("_")[0]
            if (Number(key) === day.getTime()) {
                var row = dayRows.rowOf(s, info.id)
                days.positionViewAtIndex(row >= 0 ? row : dayRows.rowOf(s, ""), ListView.Contain)
                return
            }
        }
    }

    function download() { model.fileDownload(twSdk.downloadFolder()) }
    // The name of the one selected item, read from the rows' selection
    // (role 268); "" unless exactly one item is selected.
    function onlySelectedName() {
        if (model.selectNum !== 1)
            return ""
        var models = []
        if (grouped) {
            for (var s = 0; s < group.rowCount(); ++s)
                models.push(group.getItem(s))
        } else {
            models.push(list)
        }
        for (var m = 0; m < models.length; ++m) {
            var rows = models[m]
            for (var i = 0; rows && i < rows.rowCount(); ++i) {
                if (rows.data(rows.index(i, 0), 268))
                    return rows.get(i).name
            }
        }
        return ""
    }
    function selectedName() {
        var info = grouped ? group.get(-1) : list.get(list.currentSelected)
        return info && info.name ? info.name : ""
    }
    function rename(text) {
        if (grouped)
            group.fileRename(0, text)
        else
            list.fileRename(text)
    }
    function copyToUsb(path) {
        if (grouped)
            group.fileCopyTo2(2, path)
        else
            list.fileCopyTo({ diskType: 1, filePath: path, isDevice: true })
    }
    function showLink(url, code) {
        linkCard.show(url, code)
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

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
                    objectName: "viewSwitch"
                    text: cat.grouped ? qsTr("List") : qsTr("By day")
                    onClicked: cat.grouped = !cat.grouped
                }
                Switch {
                    objectName: "sortSwitch"
                    visible: cat.sortable
                    enabled: !cat.grouped
                    text: qsTr("Oldest first")
                    checked: list.isSort
                    onToggled: list.isSort = checked
                }
                Button { objectName: "refreshButton"; text: qsTr("Refresh"); onClicked: cat.reload() }
                Button { objectName: "downloadButton"; text: qsTr("Download"); enabled: cat.model.selectNum > 0; onClicked: cat.download() }
                Button {
                    objectName: "loveButton"
                    visible: cat.fileType !== 7
                    text: qsTr("Favourite")
                    enabled: cat.model.selectNum > 0
                    onClicked: cat.model.fileCollect()
                }
                Button {
                    objectName: "unloveButton"
                    text: cat.fileType === 7 ? qsTr("Remove from favourites") : qsTr("Cancel favourite")
                    enabled: cat.model.selectNum > 0
                    onClicked: cat.model.fileCancelCollect()
                }
                Button { objectName: "shareButton"; text: qsTr("Share"); enabled: cat.model.selectNum > 0; onClicked: shareDialog.open() }
                Button { objectName: "linkButton"; text: qsTr("Create link"); enabled: cat.model.selectNum > 0; onClicked: linkDialog.open() }
                Button {
                    objectName: "renameButton"; text: qsTr("Rename"); enabled: cat.model.selectNum === 1
                    onClicked: renameDialog.ask()
                }
                Button { objectName: "deleteButton"; text: qsTr("Delete"); enabled: cat.model.selectNum > 0; onClicked: deleteDialog.open() }
                Button {
                    objectName: "usbButton"; text: qsTr("Copy to USB disk"); enabled: cat.model.selectNum > 0
                    onClicked: { usbDialog.value = "/"; usbDialog.open() }
                }
            }
        }

        // Column header: the check box that selects everything shown.
        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 32
            color: Theme.surface
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.margin
                anchors.rightMargin: Theme.margin
                CheckBox {
                    objectName: "headerCheck"
                    padding: 0
                    checked: cat.model.isAll
                    onClicked: {
                        cat.model.allSelect()
                        cat.model.menuType = 2
                    }
                }
                Label {
                    objectName: "countText"
                    Layout.fillWidth: true
                    textFormat: Text.PlainText
                    text: cat.model.selectNum > 0 ? qsTr("%1 selected").arg(cat.model.selectNum)
                                                  : qsTr("%n items", "", cat.model.loadFileNum)
                    color: Theme.textMuted
                    font.pixelSize: Theme.fontSmall
                }
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            // The days as one list of rows: a header per day, then rows of
            // cells. Only the rows in sight exist, however large a day is.
            DayRowsModel {
                id: dayRows
                group: cat.groupLoaded ? group : null
                columns: days.columns
            }
            ListView {
                id: days
                objectName: "dayList"
                anchors.fill: parent
                visible: cat.grouped
                clip: true
                model: dayRows
                // Rows scrolled out come back as the rows coming in.
                reuseItems: true
                cacheBuffer: 400
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar { objectName: "dayScroll" }
                readonly property int cellWidth: Theme.thumbSize + 16
                readonly property int cellHeight: Theme.thumbSize + 36
                readonly property int columns: Math.max(1, Math.floor((width - 2 * Theme.margin) / cellWidth))
                PageFeeder { view: days; enabled: cat.grouped; fetch: cat.fetchNext }
                delegate: Item {
                    id: row
                    readonly property bool header: model.$Header
                    readonly property QtObject items: model.$Items
                    readonly property int first: model.$First
                    readonly property int cellCount: model.$Count
                    readonly property var cells: model.$Cells
                    readonly property var parts: String(model.$SectionName).split("_")
                    readonly property int section: model.$Section
                    readonly property string dayText: Qt.formatDate(new Date(Number(parts[0])), "yyyy-MM-dd")
                    objectName: header ? "day_" + dayText : "dayRow"
                    width: days.width
                    height: header ? 36 : days.cellHeight

                    Loader {
                        anchors.fill: parent
                        active: row.header
                        sourceComponent: Rectangle {
                            color: Theme.surface
                            RowLayout {
                                anchors.fill: parent
                                anchors.leftMargin: Theme.margin
                                CheckBox {
                                    objectName: "dayCheck"
                                    padding: 0
                                    checked: row.parts[3] === "1"
                                    onClicked: { group.multiSelect(row.section); group.menuType = 2 }
                                }
                                Label {
                                    objectName: "dayHeader"
                                    Layout.fillWidth: true
                                    text: row.dayText + " (" + row.parts[2] + ")"
                                    textFormat: Text.PlainText
                                    font.pixelSize: Theme.fontNormal
                                    font.bold: true
                                    color: Theme.text
                                }
                            }
                        }
                    }
                    Row {
                        x: Theme.margin
                        Repeater {
                            model: row.header ? 0 : row.cellCount
                            delegate: MediaThumb {
                                readonly property var cell: row.cells[index] || ({})
                                objectName: "thumb_" + cell.name
                                width: days.cellWidth
                                height: days.cellHeight
                                name: cell.name || ""
                                icon: cell.thumb || ""
                                selected: cell.selected === true
                                loved: cell.loved === true
                                shared: cell.shared === true
                                onClicked: { row.items.singleSelect(row.first + index); row.items.menuType = 2 }
                                onCheckToggled: { row.items.multiSelect(row.first + index); row.items.menuType = 2 }
                                onRightClicked: { row.items.singleSelect(row.first + index, true); contextMenu.popup() }
                                onDoubleClicked: {
                                    row.items.singleSelect(row.first + index, true)
                                    cat.openItem(row.items, row.first + index)
                                }
                            }
                        }
                    }
                }
            }
            EmptyView { id: groupEmpty; anchors.fill: parent; visible: cat.grouped && state_ !== 0 }

            ListView {
                id: rows
                objectName: "plainList"
                anchors.fill: parent
                visible: !cat.grouped
                clip: true
                model: cat.listLoaded ? list : null
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar {}
                PageFeeder { view: rows; enabled: !cat.grouped; fetch: cat.fetchNext }
                delegate: FileRow {
                    objectName: "row_" + model.$FileName
                    width: rows.width
                    name: model.$FileName
                    size: model.$FileSize
                    time: model.$FileTime
                    icon: model.$FileThumbUrl
                    selected: model.$Selected
                    shared: model.$FileIsShare
                    loved: model.$FileIsLove
                    onClicked: { list.singleSelect(index); list.menuType = 2 }
                    onCheckToggled: { list.multiSelect(index); list.menuType = 2 }
                    onRightClicked: { list.singleSelect(index, true); contextMenu.popup() }
                    onDoubleClicked: { list.singleSelect(index, true); cat.openItem(null, index) }
                }
            }
            EmptyView { id: listEmpty; anchors.fill: parent; visible: !cat.grouped && state_ !== 0 }
            BusyOverlay { id: busy }
        }
    }

    Menu {
        id: contextMenu
        objectName: "mediaContextMenu"
        MenuItem { objectName: "menuOpen"; text: qsTr("Open"); enabled: cat.model.selectNum === 1; onTriggered: cat.openSelected() }
        MenuItem { text: qsTr("Download"); onTriggered: cat.download() }
        MenuItem { text: qsTr("Favourite"); visible: cat.fileType !== 7; height: visible ? implicitHeight : 0; onTriggered: cat.model.fileCollect() }
        MenuItem { text: cat.fileType === 7 ? qsTr("Remove from favourites") : qsTr("Cancel favourite"); onTriggered: cat.model.fileCancelCollect() }
        MenuItem { text: qsTr("Share"); onTriggered: shareDialog.open() }
        MenuItem { text: qsTr("Create link"); onTriggered: linkDialog.open() }
        MenuItem { text: qsTr("Rename"); enabled: cat.model.selectNum === 1; onTriggered: renameDialog.ask() }
        MenuItem { text: qsTr("Copy to USB disk"); onTriggered: { usbDialog.value = "/"; usbDialog.open() } }
        MenuItem { text: qsTr("Delete"); onTriggered: deleteDialog.open() }
    }

    InputDialog {
        id: renameDialog
        objectName: "renameDialog"
        title: qsTr("Rename")
        // The grouped list keeps a file's suffix itself.
        function ask() {
            var name = cat.selectedName()
            var dot = name.lastIndexOf(".")
            value = cat.grouped && dot > 0 ? name.substring(0, dot) : name
            open()
        }
        onEntered: cat.rename(text)
    }
    InputDialog {
        id: usbDialog
        objectName: "usbDialog"
        title: qsTr("Copy to USB disk")
        label: qsTr("Folder on the USB disk")
        onEntered: cat.copyToUsb(text)
    }
    ConfirmDialog {
        id: deleteDialog
        objectName: "deleteDialog"
        title: qsTr("Delete")
        onAboutToShow: {
            var name = cat.onlySelectedName()
            text = name.length > 0 ? qsTr("Delete \"%1\"?").arg(twSdk.shownName(name))
                                   : qsTr("Delete the %n selected items?", "", cat.model.selectNum)
        }
        onConfirmed: cat.model.fileDelete()
    }
    ShareTargetPicker {
        id: shareDialog
        twTab: cat.twTab
        onShareRequested: cat.model.fileSharing(data)
    }
    CreateLinkDialog {
        id: linkDialog
        onCreateRequested: cat.model.fileCreateExtlink(title, code)
    }
    CreatedLinkDialog { id: linkCard }
}
