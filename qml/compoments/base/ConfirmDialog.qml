import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0

// A yes/no question; `confirmed` on yes.
Dialog {
    id: dlg
    objectName: "confirmDialog"
    property alias text: body.text
    signal confirmed()
    modal: true
    anchors.centerIn: Overlay.overlay
    width: Math.min(420, parent ? parent.width - 40 : 420)
    standardButtons: Dialog.Ok | Dialog.Cancel
    Label {
        id: body
        objectName: "confirmText"
        textFormat: Text.PlainText
        width: parent.width
        wrapMode: Text.Wrap
        font.pixelSize: Theme.fontNormal
    }
    onAccepted: confirmed()
}
