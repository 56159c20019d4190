import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.PaintItem 1.0

// A link just made for the selection: its QR code, the whole URL and its
// code. Copy puts the link with its code on the clipboard, the form that
// Add link takes back.
Dialog {
    id: dlg
    objectName: "linkCard"
    property string url: ""
    property string code: ""
    readonly property string copyText: twSdk.linkWithCode(url, code)

    function show(linkUrl, linkCode) {
        url = linkUrl
        code = linkCode || ""
        open()
    }

    title: qsTr("Link created")
    modal: true
    anchors.centerIn: Overlay.overlay
    width: 520
    standardButtons: Dialog.Close

    RowLayout {
        width: parent.width
        spacing: Theme.margin
        Rectangle {
            Layout.preferredWidth: 136
            Layout.preferredHeight: 136
            Layout.alignment: Qt.AlignTop
            color: "white"
            border.color: Theme.border
            SKQRCodeImg {
                objectName: "linkQr"
                anchors.fill: parent
                anchors.margins: 8
                text: dlg.copyText
                smooth: false
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing
            Label {
                objectName: "linkUrl"
                Layout.fillWidth: true
                text: dlg.url
                textFormat: Text.PlainText
                wrapMode: Text.WrapAnywhere
            }
            Label {
                objectName: "linkCode"
                visible: dlg.code.length > 0
                text: qsTr("Extraction code: %1").arg(dlg.code)
                textFormat: Text.PlainText
            }
            Button {
                objectName: "linkCopy"
                text: qsTr("Copy")
                onClicked: {
                    twSdk.setClipboardText(dlg.copyText)
                    Notifier.toast(qsTr("Copied"), Constant.toastSuccess)
                }
            }
        }
    }
}
