import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0
import compoments.share 1.0

// The members of a group. Its owner changes a member's right, removes a
// member or hands the group over; other members only look.
Dialog {
    id: dlg
    objectName: "memberDialog"
    property QtObject twTab: null
    property var group: ({})
    property bool isOwner: false
    readonly property var member: users.selectNum > 0 ? users.get() : ({})
    readonly property bool memberIsOwner: member.accId !== undefined && member.accId === group.ower
    signal addRequested()

    title: isOwner ? qsTr("Manager") : qsTr("Member Info")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 520
    height: 480
    standardButtons: Dialog.Close

    function rightText(auth) {
        return auth === 0 ? qsTr("Has Manager") : auth === 1 ? qsTr("Has Editer") : qsTr("Has Browse")
    }
    function reload() {
        users.groupId = group.gId || 0
        users.accId = group.ower || ""
        users.userType = 1
        users.loadData()
    }

    onOpened: reload()

    PubGroupUserModel {
        id: users
        objectName: "memberUsers"
        tw: dlg.twTab ? dlg.twTab.twDevice : null
        onRChangePubGroupOwner: {
            Notifier.toast(qsTr("Change ower success"), Constant.toastSuccess)
            dlg.close()
        }
    }
    ModelHooks { model: users; overlay: busy; emptyView: empty; emptyText: qsTr("No User") }

    ColumnLayout {
        anchors.fill: parent
        spacing: Theme.spacing
        Flow {
            Layout.fillWidth: true
            spacing: 6
            visible: dlg.isOwner
            Button {
                objectName: "memberAddButton"
                text: qsTr("Add members")
                onClicked: dlg.addRequested()
            }
            Button {
                objectName: "memberEditorButton"
                text: qsTr("Make editor")
                enabled: users.selectNum === 1 && !dlg.memberIsOwner
                onClicked: users.editPubGroupMember(1)
            }
            Button {
                objectName: "memberBrowseButton"
                text: qsTr("Make browse only")
                enabled: users.selectNum === 1 && !dlg.memberIsOwner
                onClicked: users.editPubGroupMember(2)
            }
            Button {
                objectName: "memberRemoveButton"
                text: qsTr("Remove")
                enabled: users.selectNum === 1 && !dlg.memberIsOwner
                onClicked: removeDialog.open()
            }
            Button {
                objectName: "memberOwnerButton"
                text: qsTr("Make owner")
                enabled: users.selectNum === 1 && !dlg.memberIsOwner
                onClicked: ownerDialog.open()
            }
        }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            ListView {
                id: list
                objectName: "memberList"
                anchors.fill: parent
                clip: true
                model: users
                ScrollBar.vertical: ScrollBar {}
                PageFeeder { view: list }
                delegate: Rectangle {
                    objectName: "member_" + model.$UserName
                    width: list.width
                    height: Theme.rowHeight
                    color: model.$Selected ? Theme.selection : (area.containsMouse ? Theme.hover : Theme.surface)
                    MouseArea {
                        id: area
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: users.singleSelect(index)
                    }
                    RowLayout {
                        anchors.fill: parent
                        anchors.leftMargin: Theme.spacing
                        anchors.rightMargin: Theme.spacing
                        spacing: Theme.spacing
                        Avatar { url: model.$UserHead; name: model.$UserName; size: 28 }
                        Label { Layout.fillWidth: true; text: model.$UserName; elide: Text.ElideRight; color: Theme.text; textFormat: Text.PlainText }
                        Label {
                            objectName: "memberRight"
                            Layout.preferredWidth: 100
                            text: dlg.rightText(model.$AuthType)
                            color: model.$AuthType === 0 ? Theme.accent : Theme.textMuted
                            font.pixelSize: Theme.fontSmall
                        }
                        Label { Layout.preferredWidth: 120; text: model.$JoinTime; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                    }
                }
            }
            EmptyView { id: empty; anchors.fill: parent }
            BusyOverlay { id: busy }
        }
    }

    ConfirmDialog {
        id: removeDialog
        objectName: "memberRemoveDialog"
        title: qsTr("Remove")
        text: qsTr("Remove %1 from the group?").arg(dlg.member.markName || "")
        onConfirmed: {
            users.delPubGroupMember()
            // The removed row's number would name the next member.
            users.singleSelect(-1)
        }
    }
    ConfirmDialog {
        id: ownerDialog
        objectName: "memberOwnerDialog"
        title: qsTr("Make owner")
        text: qsTr("Hand the group over to %1?").arg(dlg.member.markName || "")
        onConfirmed: users.changePubGroupOwner()
    }
}
