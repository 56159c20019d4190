import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// Asks for one line of text (a name, a link); `entered` with the text.
Dialog {
    id: dlg
    objectName: "inputDialog"
    property alias label: prompt.text
    property alias value: field.text
    property alias placeholder: field.placeholderText
    signal entered(string text)
    modal: true
    anchors.centerIn: Overlay.overlay
    width: Math.min(440, parent ? parent.width - 40 : 440)
    standardButtons: Dialog.Ok | Dialog.Cancel
    onOpened: { field.forceActiveFocus(); field.selectAll() }
    ColumnLayout {
        width: parent.width
        spacing: Theme.spacing
        Label { id: prompt; visible: text.length > 0; font.pixelSize: Theme.fontNormal }
        TextField {
            id: field
            objectName: "inputField"
            Layout.fillWidth: true
            selectByMouse: true
            onAccepted: dlg.accept()
        }
        // The field edits the name as it is; a direction control in it
        // would turn what the field draws, so the name is also written out.
        Label {
            objectName: "inputControls"
            readonly property string shown: twSdk.shownName(field.text)
            Layout.fillWidth: true
            visible: shown !== field.text
            text: qsTr("Holds direction controls: %1").arg(shown)
            textFormat: Text.PlainText
            wrapMode: Text.WrapAnywhere
            color: Theme.error
            font.pixelSize: Theme.fontSmall
        }
    }
    onAccepted: if (field.text.trim().length > 0) entered(field.text.trim())
}
