import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// Title and extraction code of a new external link for the selection.
Dialog {
    id: dlg
    objectName: "createLinkDialog"
    signal createRequested(string title, string code)
    title: qsTr("Create link")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 400
    standardButtons: Dialog.Ok | Dialog.Cancel
    onOpened: { titleField.text = ""; codeField.text = ""; titleField.forceActiveFocus() }
    GridLayout {
        width: parent.width
        columns: 2
        Label { text: qsTr("Title") }
        TextField { id: titleField; objectName: "linkTitleField"; Layout.fillWidth: true; selectByMouse: true; onAccepted: dlg.accept() }
        Label { text: qsTr("Extraction code") }
        TextField {
            id: codeField
            objectName: "linkCodeField"
            Layout.fillWidth: true
            selectByMouse: true
            maximumLength: 16
            placeholderText: qsTr("Optional")
            onAccepted: dlg.accept()
        }
    }
    onAccepted: createRequested(titleField.text.trim(), codeField.text.trim())
}
