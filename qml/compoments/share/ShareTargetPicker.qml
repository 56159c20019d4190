import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// Whom to share a selection with: every user of the device, or the groups
// and users picked here (groups first, then users other than oneself).
// `shareRequested` carries what fileSharing takes: {isPublic: true}, or
// {accessIds, isPublic: false}.
Dialog {
    id: dlg
    objectName: "shareTargetPicker"
    property QtObject twTab: null
    readonly property alias targets: targets
    signal shareRequested(var data)

    title: qsTr("Share")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 440
    height: 480
    standardButtons: Dialog.Ok | Dialog.Cancel

    function choose(all) {
        allUsers.checked = all
        if (all)
            targets.clearAllSelect()
    }

    onOpened: {
        allUsers.checked = false
        empty.setState(0, "")
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

    Component.onCompleted: {
        var ok = standardButton(Dialog.Ok)
        if (ok)
            ok.enabled = Qt.binding(function() { return allUsers.checked || targets.isCheck })
    }

    ShareFileModel {
        id: targets
        objectName: "shareTargetModel"
        tw: dlg.twTab ? dlg.twTab.twDevice : null
    }
    ModelHooks { model: targets; emptyView: empty; emptyText: qsTr("No User") }

    ColumnLayout {
        anchors.fill: parent
        spacing: Theme.spacing
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 0
            RadioButton {
                objectName: "shareChosenUsers"
                text: qsTr("Chosen groups and users")
                checked: !allUsers.checked
                onClicked: dlg.choose(false)
            }
            RadioButton {
                id: allUsers
                objectName: "shareAllUsers"
                text: qsTr("All users of the device")
                onClicked: dlg.choose(true)
            }
        }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            ListView {
                id: list
                objectName: "shareTargets"
                anchors.fill: parent
                enabled: !allUsers.checked
                opacity: enabled ? 1 : 0.4
                clip: true
                model: targets
                ScrollBar.vertical: ScrollBar {}
                PageFeeder { view: list }
                delegate: CheckDelegate {
                    id: target
                    objectName: "shareTarget_" + model.$UserName
                    width: list.width
                    height: 42
                    checked: model.$Selected
                    onClicked: targets.multiSelect(index)
                    readonly property var heads: model.$UserHeads || []
                    readonly property string rowName: model.$UserName
                    contentItem: RowLayout {
                        spacing: Theme.spacing
                        // A group shows its first members' heads.
                        Row {
                            spacing: -8
                            Repeater {
                                model: Math.max(1, Math.min(3, target.heads.length))
                                Avatar { url: target.heads[index] || ""; name: index === 0 ? target.rowName : ""; size: 26 }
                            }
                        }
                        Label {
                            Layout.fillWidth: true
                            text: target.rowName
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            color: Theme.text
                        }
                        Label {
                            visible: target.heads.length > 1
                            textFormat: Text.PlainText
                            text: qsTr("%n members", "", target.heads.length)
                            color: Theme.textMuted
                            font.pixelSize: Theme.fontSmall
                        }
                        // The check box sits beside the content.
                        Item { Layout.preferredWidth: target.indicator.width + target.spacing }
                    }
                }
            }
            // Named apart: pages that hold the picker look for their own empty view.
            EmptyView { id: empty; objectName: "shareTargetsEmpty"; anchors.fill: parent }
        }
    }
}
