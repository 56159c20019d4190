import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import compoments.base 1.0
import compoments.file 1.0

// A folder-by-folder file list over one model per level (a group's files,
// shared files, a link's files): breadcrumb, rows with selection, the
// empty view and the busy overlay of the level shown. `setup(model, folder)`
// prepares each new level's model (folder is null at the top); opening a
// folder row pushes a level, opening a file emits fileOpened.
ColumnLayout {
    id: levels
    spacing: 0
    property Component modelComponent
    // The model of a folder level when it is another kind (shares).
    property Component folderComponent: null
    property var setup: function(model, folder) {}
    property string rootName: ""
    property string emptyText: qsTr("No File")
    // Sharer's head image and name on each row (share lists).
    property bool showSharer: false
    // The list asks its model for pages only while true.
    property bool active: true
    property var stack: []
    readonly property QtObject current: stack.length > 0 ? stack[stack.length - 1].model : null
    readonly property int depth: stack.length - 1
    readonly property var names: stack.map(function(l) { return l.name })
    readonly property alias view: list
    signal fileOpened(var fileInfo)

    function clear() {
        var old = stack
        stack = []
        empty.setState(0, "")
        busy.reset()
        for (var i = 0; i < old.length; ++i)
            old[i].model.destroy()
    }
    function reset(name) {
        clear()
        push(null, name === undefined ? rootName : name)
    }
    function push(folder, name) {
        var m = (folder && folderComponent ? folderComponent : modelComponent).createObject(levels)
        setup(m, folder)
        m.openFolder.connect(function(info) {
            if (info.type === 5 || info.isFile === false)
                levels.push(info, twSdk.shownName(info.name))
            else
                levels.fileOpened(info)
        })
        var s = stack.slice()
        s.push({ model: m, name: name })
        empty.setState(0, "")
        stack = s
    }
    // The level shown gives way to a new one.
    function replaceTop(folder, name) {
        var gone = stack[stack.length - 1]
        stack = stack.slice(0, stack.length - 1)
        push(folder, name)
        gone.model.destroy()
    }
    // Back to level i; the level shown again reloads.
    function goTo(i) {
        if (i < 0 || i >= stack.length - 1)
            return
        var s = stack.slice(0, i + 1)
        var gone = stack.slice(i + 1)
        empty.setState(0, "")
        busy.reset()
        stack = s
        for (var k = 0; k < gone.length; ++k)
            gone[k].model.destroy()
        current.refreshData()
    }
    function back() { goTo(stack.length - 2) }
    function openRow(index) {
        current.singleSelect(index, true)
        current.openFileItem(index)
    }
    // Enter and the menu's Open: the one selected row.
    function openSelected() {
        if (current && current.selectNum === 1)
            openRow(current.currentSelected)
    }
    // Back from an outage: a level that failed to load (or never loaded)
    // asks again by itself.
    onActiveChanged: if (active && current && current.rowCount() === 0) current.refreshData()

    ModelHooks {
        model: levels.current; overlay: busy; emptyView: empty; emptyText: levels.emptyText
        live: levels.active && levels.visible
        reload: function() { if (levels.current) levels.current.refreshData() }
    }

    RowLayout {
        Layout.fillWidth: true
        Layout.preferredHeight: 34
        Layout.leftMargin: Theme.margin
        Layout.rightMargin: Theme.margin
        spacing: 2
        ToolButton {
            objectName: "levelBack"
            text: "\u2190"
            enabled: levels.depth > 0
            onClicked: levels.back()
        }
        Repeater {
            model: levels.names
            RowLayout {
                spacing: 2
                Label { visible: index > 0; text: "/"; color: Theme.textMuted }
                ToolButton {
                    objectName: "levelCrumb" + index
                    text: modelData
                    contentItem: Label { text: parent.text; font: parent.font; textFormat: Text.PlainText; verticalAlignment: Text.AlignVCenter }
                    font.bold: index === levels.depth
                    onClicked: levels.goTo(index)
                }
            }
        }
        Item { Layout.fillWidth: true }
        CheckBox {
            objectName: "levelAll"
            text: levels.current && levels.current.selectNum > 0
                  ? qsTr("%1 selected").arg(levels.current.selectNum)
                  : qsTr("%n items", "", levels.current ? levels.current.fileNum : 0)
            font.pixelSize: Theme.fontSmall
            checked: levels.current ? levels.current.isAll : false
            onClicked: if (levels.current) levels.current.allSelect()
        }
    }

    Item {
        Layout.fillWidth: true
        Layout.fillHeight: true
        ListView {
            id: list
            objectName: "levelList"
            anchors.fill: parent
            clip: true
            model: levels.active ? levels.current : null
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}
            Keys.onReturnPressed: levels.openSelected()
            Keys.onEnterPressed: levels.openSelected()
            PageFeeder { view: list }
            delegate: FileRow {
                objectName: "fileRow_" + model.$FileName
                width: list.width
                name: model.$FileName
                size: model.$FileSize
                time: model.$FileTime
                icon: model.$FileThumbUrl
                selected: model.$Selected
                onClicked: {
                    list.forceActiveFocus()
                    if (mouse.modifiers & Qt.ControlModifier)
                        levels.current.multiSelect(index)
                    else
                        levels.current.singleSelect(index)
                }
                onCheckToggled: levels.current.multiSelect(index)
                onRightClicked: {
                    if (!model.$Selected)
                        levels.current.singleSelect(index, true)
                    rowMenu.popup()
                }
                onDoubleClicked: levels.openRow(index)
                Row {
                    visible: levels.showSharer
                    anchors.right: parent.right
                    anchors.rightMargin: 240
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 6
                    Avatar {
                        anchors.verticalCenter: parent.verticalCenter
                        url: levels.showSharer ? (model.$UserHead || "") : ""
                        name: levels.showSharer ? (model.$UserName || "") : ""
                        size: 22
                    }
                    Label {
                        objectName: "rowSharer"
                        anchors.verticalCenter: parent.verticalCenter
                        width: 90
                        elide: Text.ElideRight
                        text: levels.showSharer ? (model.$UserName || "") : ""
                        textFormat: Text.PlainText
                        color: Theme.textMuted
                        font.pixelSize: Theme.fontSmall
                    }
                }
            }
        }
        EmptyView { id: empty; anchors.fill: parent }
        BusyOverlay { id: busy }
    }

    Menu {
        id: rowMenu
        objectName: "levelMenu"
        MenuItem {
            objectName: "menuOpen"
            text: qsTr("Open")
            enabled: levels.current !== null && levels.current.selectNum === 1
            onTriggered: levels.openSelected()
        }
    }
}
