import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// A received link to add: its URL and, when the link has one, its
// extraction code. `addRequested` with both (the code may be empty).
Dialog {
    id: dlg
    objectName: "addLinkDialog"
    property alias url: urlField.text
    property alias code: codeField.text
    signal addRequested(string url, string code)

    title: qsTr("Add link")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 560
    standardButtons: Dialog.Ok | Dialog.Cancel

    function fill(link) {
        urlField.text = link && link.url ? link.url : ""
        codeField.text = link && link.code ? link.code : ""
        urlField.cursorPosition = 0
    }

    onOpened: urlField.forceActiveFocus()
    onAccepted: addRequested(urlField.text.trim(), codeField.text.trim())

    GridLayout {
        width: parent.width
        columns: 2
        columnSpacing: Theme.spacing
        Label { text: qsTr("Link") }
        TextField {
            id: urlField
            objectName: "addLinkUrl"
            Layout.fillWidth: true
            selectByMouse: true
            placeholderText: qsTr("Paste the link here")
            onAccepted: dlg.accept()
        }
        Label { text: qsTr("Extraction code") }
        TextField {
            id: codeField
            objectName: "addLinkCode"
            Layout.fillWidth: true
            selectByMouse: true
            maximumLength: 16
            placeholderText: qsTr("When the link has one")
            onAccepted: dlg.accept()
        }
    }
}
