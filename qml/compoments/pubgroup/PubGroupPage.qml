import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// The public groups of the device: the list with its sort header and the
// group commands (create, rename, delete, leave, add members); opening a
// group shows its header and files.
Rectangle {
    id: page
    objectName: "pubGroupPage"
    color: Theme.surface
    property QtObject twTab: null
    readonly property alias groups: groupModel
    readonly property bool ready: twTab !== null && twTab.linkState >= 2
    // The group shown (its list map), null for the list.
    property var openGroup: null
    readonly property var selectedGroup: groupModel.selectNum > 0 ? groupModel.get() : ({})

    // Opens the row (or, for -1, the selected group).
    function open(index) {
        if (index >= 0)
            groupModel.singleSelect(index, true)
        var g = groupModel.get()
        if (g && g.gId)
            openGroup = g
    }
    // Back from an outage: a list that failed to load asks again.
    onReadyChanged: if (ready && groupModel.rowCount() === 0) groupModel.resetData()
    function sortBy(type) {
        if (groupModel.sortType === type)
            groupModel.isSort = !groupModel.isSort
        else
            groupModel.sortType = type
    }

    // A column of the sort header; the same column again turns the order.
    component SortButton: ToolButton {
        property int type: 0
        property string label: ""
        font.pixelSize: Theme.fontSmall
        focusPolicy: Qt.NoFocus
        text: label + (groupModel.sortType === type ? (groupModel.isSort ? " \u25b2" : " \u25bc") : "")
        onClicked: page.sortBy(type)
        contentItem: Label {
            text: parent.text
            textFormat: Text.PlainText
            font: parent.font
            color: groupModel.sortType === parent.type ? Theme.accent : Theme.textMuted
            horizontalAlignment: Text.AlignLeft
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle { color: parent.hovered ? Theme.hover : "transparent"; radius: Theme.radius }
    }

    PubGroupModel {
        id: groupModel
        objectName: "groupModel"
        tw: page.twTab ? page.twTab.twDevice : null
        onIsSortChanged: refershData()
        onSortTypeChanged: refershData()
        onRCreatePubGroup: {
            refershData()
            memberPicker.openFor(gId)
        }
    }
    ModelHooks { model: groupModel; overlay: busy; emptyView: empty; emptyText: qsTr("No Public Group") }

    StackLayout {
        anchors.fill: parent
        currentIndex: page.openGroup ? 1 : 0

        ColumnLayout {
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
                        text: qsTr("Public groups")
                        font.pixelSize: Theme.fontLarge
                        font.bold: true
                        color: Theme.text
                    }
                    Label {
                        objectName: "groupCount"
                        textFormat: Text.PlainText
                        text: qsTr("%n groups", "", groupModel.totalNum)
                        color: Theme.textMuted
                        font.pixelSize: Theme.fontSmall
                    }
                    Item { Layout.fillWidth: true }
                    ToolButton { objectName: "groupRefresh"; text: qsTr("Refresh"); onClicked: groupModel.resetData() }
                }
            }
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: groupCommands.implicitHeight + 12
                color: Theme.background
                Flow {
                    id: groupCommands
                    x: 6; y: 6
                    width: parent.width - 12
                    spacing: 6
                    Button {
                        objectName: "createGroupButton"
                        text: qsTr("New group")
                        onClicked: { createDialog.value = ""; createDialog.open() }
                    }
                    Button {
                        objectName: "openGroupButton"
                        text: qsTr("Open")
                        enabled: groupModel.selectNum > 0
                        onClicked: page.open(-1)
                    }
                    Button {
                        objectName: "addMembersButton"
                        text: qsTr("Add members")
                        enabled: groupModel.selectNum > 0 && page.selectedGroup.memberAuthority === 0
                        onClicked: memberPicker.openFor(page.selectedGroup.gId)
                    }
                    Button {
                        objectName: "renameGroupButton"
                        text: qsTr("Rename")
                        enabled: groupModel.selectNum > 0 && page.selectedGroup.memberAuthority === 0
                        onClicked: { renameDialog.value = page.selectedGroup.gName; renameDialog.open() }
                    }
                    Button {
                        objectName: "deleteGroupButton"
                        text: qsTr("Delete")
                        enabled: groupModel.selectNum > 0 && page.selectedGroup.memberAuthority === 0
                        onClicked: deleteDialog.open()
                    }
                    Button {
                        objectName: "leaveGroupButton"
                        text: qsTr("Leave")
                        enabled: groupModel.selectNum > 0 && page.selectedGroup.memberAuthority !== 0
                        onClicked: leaveDialog.open()
                    }
                }
            }
            // Sort header: modification time (0), creation time (1), name (2).
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 32
                color: Theme.surface
                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: Theme.margin
                    anchors.rightMargin: Theme.margin
                    spacing: Theme.spacing
                    SortButton { objectName: "sortName"; type: 2; label: qsTr("Name"); Layout.fillWidth: true }
                    Label { Layout.preferredWidth: 120; text: qsTr("Owner"); color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                    Label { Layout.preferredWidth: 80; text: qsTr("Size"); color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                    SortButton { objectName: "sortCreated"; type: 1; label: qsTr("Created"); Layout.preferredWidth: 130 }
                    SortButton { objectName: "sortModified"; type: 0; label: qsTr("Modified"); Layout.preferredWidth: 130 }
                }
            }
            Item {
                Layout.fillWidth: true
                Layout.fillHeight: true
                ListView {
                    id: list
                    objectName: "groupList"
                    anchors.fill: parent
                    clip: true
                    model: page.ready ? groupModel : null
                    boundsBehavior: Flickable.StopAtBounds
                    ScrollBar.vertical: ScrollBar {}
                    PageFeeder { view: list }
                    delegate: Rectangle {
                        objectName: "groupRow_" + model.$GName
                        width: list.width
                        height: Theme.rowHeight
                        color: model.$Selected ? Theme.selection : (rowArea.containsMouse ? Theme.hover : Theme.surface)
                        MouseArea {
                            id: rowArea
                            anchors.fill: parent
                            hoverEnabled: true
                            acceptedButtons: Qt.LeftButton | Qt.RightButton
                            onClicked: {
                                list.currentIndex = index
                                if (mouse.button === Qt.RightButton) {
                                    groupModel.singleSelect(index, true)
                                    groupMenu.popup()
                                } else {
                                    groupModel.singleSelect(index)
                                }
                            }
                            onDoubleClicked: page.open(index)
                        }
                        RowLayout {
                            anchors.fill: parent
                            anchors.leftMargin: Theme.margin
                            anchors.rightMargin: Theme.margin
                            spacing: Theme.spacing
                            Rectangle {
                                Layout.preferredWidth: Theme.iconSize
                                Layout.preferredHeight: Theme.iconSize
                                radius: Theme.radius
                                color: model.$IsOwer ? Theme.accent : Theme.textMuted
                                Label { anchors.centerIn: parent; text: "\u2605"; color: "white"; visible: model.$IsOwer }
                            }
                            Label {
                                objectName: "groupName"
                                Layout.fillWidth: true
                                text: model.$GName
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                color: Theme.text
                                font.pixelSize: Theme.fontNormal
                            }
                            Label { Layout.preferredWidth: 120; text: model.$GUser; elide: Text.ElideRight; color: Theme.textMuted; font.pixelSize: Theme.fontSmall; textFormat: Text.PlainText }
                            Label { Layout.preferredWidth: 80; text: model.$GSize; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                            Label { Layout.preferredWidth: 130; text: model.$CreateTime; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                            Label { Layout.preferredWidth: 130; text: model.$ModifyTime; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                        }
                        Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.background }
                    }
                }
                EmptyView { id: empty; anchors.fill: parent }
                BusyOverlay { id: busy }
            }
        }

        GroupView {
            id: groupView
            twTab: page.twTab
            group: page.openGroup
            onBack: { page.openGroup = null; groupModel.refershData() }
        }
    }

    Menu {
        id: groupMenu
        objectName: "groupMenu"
        MenuItem { text: qsTr("Open"); onTriggered: page.open(-1) }
        MenuItem {
            text: qsTr("Add members")
            enabled: page.selectedGroup.memberAuthority === 0
            onTriggered: memberPicker.openFor(page.selectedGroup.gId)
        }
        MenuItem {
            text: qsTr("Rename")
            enabled: page.selectedGroup.memberAuthority === 0
            onTriggered: { renameDialog.value = page.selectedGroup.gName; renameDialog.open() }
        }
        MenuItem { text: qsTr("Delete"); enabled: page.selectedGroup.memberAuthority === 0; onTriggered: deleteDialog.open() }
        MenuItem { text: qsTr("Leave"); enabled: page.selectedGroup.memberAuthority !== 0; onTriggered: leaveDialog.open() }
    }

    InputDialog {
        id: createDialog
        objectName: "createGroupDialog"
        title: qsTr("New group")
        placeholder: qsTr("Group name")
        onEntered: groupModel.createPubGroup(text, groupModel.diskSerial)
    }
    InputDialog {
        id: renameDialog
        objectName: "renameGroupDialog"
        title: qsTr("Rename")
        onEntered: groupModel.editPubGroupName(text)
    }
    ConfirmDialog {
        id: deleteDialog
        objectName: "deleteGroupDialog"
        title: qsTr("Delete")
        text: qsTr("Delete the group \"%1\" and its files?").arg(twSdk.shownName(page.selectedGroup.gName || ""))
        onConfirmed: groupModel.delPubGroup()
    }
    ConfirmDialog {
        id: leaveDialog
        objectName: "leaveGroupDialog"
        title: qsTr("Leave")
        text: qsTr("Leave the group \"%1\"?").arg(twSdk.shownName(page.selectedGroup.gName || ""))
        onConfirmed: groupModel.exitPubGroup()
    }
    MemberPicker {
        id: memberPicker
        twTab: page.twTab
        onPicked: groupModel.editPubGroupMember(groupId, 1, userIds)
    }
}
