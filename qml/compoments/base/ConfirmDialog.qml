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
    // Sized by the window, not by the item that declares it, which may be
    // a hidden row of no width.
    width: Math.max(240, Math.min(420, (Overlay.overlay ? Overlay.overlay.width : 460) - 40))
    standardButtons: Dialog.Ok | Dialog.Cancel
    Label {
        id: body
        objectName: "confirmText"
        textFormat: Text.PlainText
        // The dialog's own width: the content item's would feed the wrapped
        // text's height back into the dialog's size.
        width: dlg.availableWidth
        wrapMode: Text.Wrap
        font.pixelSize: Theme.fontNormal
    }
    onAccepted: confirmed()
}
