import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// Opens a device by address: host, port, the user to act as and the
// device's token.
Dialog {
    id: dlg
    objectName: "openDeviceDialog"
    title: qsTr("Open a device")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 380
    standardButtons: Dialog.Ok | Dialog.Cancel
    signal openRequested(string host, int port, string user, string token)

    GridLayout {
        width: parent.width
        columns: 2
        columnSpacing: Theme.spacing
        Label { text: qsTr("Host") }
        TextField { id: host; objectName: "hostField"; Layout.fillWidth: true; text: "127.0.0.1"; selectByMouse: true }
        Label { text: qsTr("Port") }
        TextField {
            id: port
            objectName: "portField"
            Layout.fillWidth: true
            selectByMouse: true
            validator: IntValidator { bottom: 1; top: 65535 }
        }
        Label { text: qsTr("User") }
        TextField { id: user; objectName: "userField"; Layout.fillWidth: true; selectByMouse: true }
        Label { text: qsTr("Token") }
        TextField { id: token; objectName: "tokenField"; Layout.fillWidth: true; echoMode: TextInput.Password; selectByMouse: true }
    }
    onAccepted: {
        var p = parseInt(port.text)
        if (host.text.trim().length === 0 || !(p > 0 && p < 65536)) {
            Notifier.toast(qsTr("Enter the device's host and port"), Constant.toastError)
            return
        }
        openRequested(host.text.trim(), p, user.text.trim(), token.text)
    }
}
