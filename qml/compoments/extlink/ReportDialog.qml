import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// Reports a received link: a reason kind, a description and a phone number
// to answer on. `reportRequested` with what reportExtlink takes.
Dialog {
    id: dlg
    objectName: "reportDialog"
    signal reportRequested(string phone, int type, string reason)

    title: qsTr("Report link")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 420
    standardButtons: Dialog.Ok | Dialog.Cancel
    onOpened: { kind.currentIndex = 0; reason.text = ""; phone.text = "" }
    onAccepted: reportRequested(phone.text.trim(), kind.currentIndex + 1, reason.text.trim())

    GridLayout {
        width: parent.width
        columns: 2
        columnSpacing: Theme.spacing
        Label { text: qsTr("Reason") }
        ComboBox {
            id: kind
            objectName: "reportKind"
            Layout.fillWidth: true
            model: [qsTr("Illegal content"), qsTr("Fraud"), qsTr("Infringement"), qsTr("Other")]
        }
        Label { text: qsTr("Details") }
        TextField { id: reason; objectName: "reportReason"; Layout.fillWidth: true; selectByMouse: true }
        Label { text: qsTr("Phone") }
        TextField { id: phone; objectName: "reportPhone"; Layout.fillWidth: true; selectByMouse: true }
    }
}
