import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.PaintItem 1.0

// The share card of a link: its QR code, title, URL and code, and where to
// hand it: the clipboard (URL, code or all of it) or an outside service.
// `shareRequested` with the type the link list's shareExtlink takes.
Dialog {
    id: dlg
    objectName: "linkCard"
    property var info: ({})
    // A code came with the link (an earlier link's stays hidden otherwise).
    property bool hasCode: false
    signal shareRequested(string type)

    title: qsTr("Share link")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 460
    standardButtons: Dialog.Close

    // image: the link's QR code as the link list drew it.
    function show(link, image) {
        info = link
        hasCode = image !== undefined && image !== null
        if (hasCode)
            qr.img = image
        open()
    }

    ColumnLayout {
        width: parent.width
        spacing: Theme.spacing
        RowLayout {
            spacing: Theme.margin
            Rectangle {
                Layout.preferredWidth: 136
                Layout.preferredHeight: 136
                color: "white"
                border.color: Theme.border
                PaintItem {
                    id: qr
                    objectName: "linkQr"
                    // What the code holds.
                    readonly property string text: dlg.info.url || ""
                    anchors.fill: parent
                    anchors.margins: 8
                    // Pixels of the code, not a photo: no smoothing.
                    smooth: false
                    visible: dlg.hasCode
                }
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 4
                Label {
                    objectName: "linkCardTitle"
                    Layout.fillWidth: true
                    text: twSdk.shownName(dlg.info.title || "")
                    textFormat: Text.PlainText
                    font.pixelSize: Theme.fontLarge
                    font.bold: true
                    elide: Text.ElideRight
                }
                Label {
                    objectName: "linkCardUrl"
                    Layout.fillWidth: true
                    text: twSdk.shownName(dlg.info.url || "")
                    textFormat: Text.PlainText
                    wrapMode: Text.WrapAnywhere
                    color: Theme.textMuted
                    font.pixelSize: Theme.fontSmall
                }
                Label {
                    objectName: "linkCardCode"
                    visible: (dlg.info.code || "").length > 0
                    text: qsTr("Extraction code: %1").arg(dlg.info.code || "")
                    textFormat: Text.PlainText
                }
            }
        }
        Flow {
            Layout.fillWidth: true
            spacing: 6
            Button { objectName: "cardCopyUrl"; text: qsTr("Copy link"); onClicked: dlg.shareRequested("url") }
            Button {
                objectName: "cardCopyCode"
                text: qsTr("Copy code")
                enabled: (dlg.info.code || "").length > 0
                onClicked: dlg.shareRequested("code")
            }
            Button { objectName: "cardCopyAll"; text: qsTr("Copy all"); onClicked: dlg.shareRequested("all") }
            Button { objectName: "cardWeibo"; text: qsTr("Share to microblog"); onClicked: dlg.shareRequested("weibo") }
            Button { objectName: "cardQq"; text: qsTr("Share to messenger"); onClicked: dlg.shareRequested("qq") }
        }
    }
}
