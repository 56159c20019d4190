import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0
import compoments.share 1.0

// Chooses device users to add to a group: the users not yet in it.
// `picked` carries the group and the chosen accessIds.
Dialog {
    id: dlg
    objectName: "memberPicker"
    property QtObject twTab: null
    property int groupId: 0
    signal picked(int groupId, var userIds)

    title: qsTr("Add members")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 400
    height: 440
    standardButtons: Dialog.Ok | Dialog.Cancel

    function openFor(gId) {
        groupId = gId
        open()
    }

    onOpened: {
        users.groupId = groupId
        users.userType = 2
        users.loadData()
    }
    onAccepted: {
        var ids = users.getSelectData().userIds
        if (ids && ids.length > 0)
            picked(groupId, ids)
    }

    PubGroupUserModel {
        id: users
        objectName: "pickerUsers"
        tw: dlg.twTab ? dlg.twTab.twDevice : null
    }
    ModelHooks { model: users; overlay: busy; emptyView: empty; emptyText: qsTr("No User") }

    ColumnLayout {
        anchors.fill: parent
        CheckBox {
            objectName: "pickAllUsers"
            text: qsTr("All")
            checked: users.isAll
            onClicked: users.allSelect()
        }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            ListView {
                id: list
                objectName: "pickerUserList"
                anchors.fill: parent
                clip: true
                model: users
                ScrollBar.vertical: ScrollBar {}
                PageFeeder { view: list }
                delegate: CheckDelegate {
                    id: userRow
                    objectName: "pickUser_" + model.$UserName
                    width: list.width
                    checked: model.$Selected
                    onClicked: users.multiSelect(index)
                    contentItem: RowLayout {
                        spacing: Theme.spacing
                        Avatar { url: model.$UserHead; name: model.$UserName; size: 26 }
                        Label { Layout.fillWidth: true; text: model.$UserName; elide: Text.ElideRight; textFormat: Text.PlainText }
                        Item { Layout.preferredWidth: userRow.indicator.width + userRow.spacing }
                    }
                }
            }
            EmptyView { id: empty; anchors.fill: parent }
            BusyOverlay { id: busy }
        }
    }
}
