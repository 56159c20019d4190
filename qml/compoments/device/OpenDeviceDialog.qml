import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// Opens a device by address: host, port, the user to act as and the
// device's token. The device is asked first; only one that answered opens
// (and is remembered), otherwise the dialog says why. The sample device can
// always be opened again from here.
Dialog {
    id: dlg
    objectName: "openDeviceDialog"
    title: qsTr("Open a device")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 420
    standardButtons: Dialog.Ok | Dialog.Cancel
    // A device that answered (its map as connect_to takes it).
    signal deviceOpened(var device)

    property bool probing: false
    property string errorText: ""

    readonly property bool hasLauncher: typeof twLauncher !== "undefined" && twLauncher !== null

    Connections {
        target: dlg.hasLauncher ? twLauncher : null
        function onProbeFinished(device, error) {
            if (!dlg.probing)
                return
            dlg.probing = false
            if (device && device.deviceId) {
                dlg.errorText = ""
                dlg.deviceOpened(device)
            } else {
                dlg.errorText = error
                dlg.open()
            }
        }
    }

    onRejected: errorText = ""

    ColumnLayout {
        width: dlg.availableWidth
        spacing: Theme.spacing

        GridLayout {
            Layout.fillWidth: true
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
        Label {
            objectName: "openDeviceError"
            Layout.fillWidth: true
            visible: dlg.errorText.length > 0
            text: dlg.errorText
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: Theme.error
        }
        Button {
            objectName: "openSampleButton"
            visible: dlg.hasLauncher
            text: qsTr("Open the sample device")
            flat: true
            onClicked: {
                var d = twLauncher.openSample()
                if (d && d.deviceId) {
                    dlg.close()
                    dlg.deviceOpened(d)
                } else {
                    dlg.errorText = qsTr("The sample device cannot be started.")
                }
            }
        }
    }
    onAccepted: {
        var p = parseInt(port.text)
        if (host.text.trim().length === 0 || !(p > 0 && p < 65536)) {
            errorText = qsTr("Enter the device's host and port")
            open()
            return
        }
        if (!hasLauncher)
            return
        errorText = ""
        probing = true
        twLauncher.probeDevice(host.text.trim(), p, user.text.trim(), token.text)
    }
}
