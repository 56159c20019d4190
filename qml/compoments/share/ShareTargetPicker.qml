import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0

// Whom to share a selection with: every user of the device, or the groups
// and users picked here (groups first, then users other than oneself).
// `shareRequested` carries what fileSharing takes.
Dialog {
    id: dlg
    objectName: "shareTargetPicker"
    property QtObject twTab: null
    signal shareRequested(var data)

    title: qsTr("Share")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 420
    height: 460
    standardButtons: Dialog.Ok | Dialog.Cancel

    onOpened: {
        allUsers.checked = false
        targets.clearAllSelect()
        targets.loadData()
    }
    onAccepted: {
        if (allUsers.checked) {
            shareRequested({ isPublic: true })
            return
        }
        var data = targets.getSelectData()
        if (!data || !data.accessIds || data.accessIds.length === 0) {
            Notifier.toast(qsTr("Choose whom to share with"), Constant.toastError)
            return
        }
        data.isPublic = false
        shareRequested(data)
    }

    ShareFileModel {
        id: targets
        tw: dlg.twTab ? dlg.twTab.twDevice : null
        onSg_notifyStatus: Notifier.toast(message, level)
    }

    ColumnLayout {
        anchors.fill: parent
        CheckBox {
            id: allUsers
            objectName: "shareAllUsers"
            text: qsTr("Share with all users of the device")
        }
        ListView {
            id: list
            objectName: "shareTargets"
            Layout.fillWidth: true
            Layout.fillHeight: true
            enabled: !allUsers.checked
            opacity: enabled ? 1 : 0.4
            clip: true
            model: targets
            delegate: CheckDelegate {
                objectName: "shareTarget_" + model.$UserName
                width: list.width
                text: model.$UserName
                checked: model.$Selected
                onClicked: targets.multiSelect(index)
            }
        }
    }
}
