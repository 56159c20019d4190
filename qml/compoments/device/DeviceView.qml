import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// One open device: its tab object, the connection line and the sections
// (files, transfers, media, shares, groups, links), each page loaded the
// first time it is shown.
Item {
    id: view
    objectName: "deviceView"
    property var deviceMap: ({})
    property int section: Constant.pageFiles
    property alias twTab: tab
    readonly property bool connected: tab.linkState >= 2
    // Why the device does not answer, once asked.
    property string failReason: ""

    TidewellTab {
        id: tab
        root: twSdk
        onSg_notifyStatus: Notifier.toast(message, level)
        onSg_showLoading: busy.show()
        onSg_cancelLading: busy.hide()
        onRUploadAskTip: {
            askUpload.text = isUp ? qsTr("Ask_upload_tip_upload") : qsTr("Ask_upload_tip_finish")
            askUpload.open()
        }
    }

    Connections {
        target: tab
        function onLinkStateChanged() {
            if (tab.linkState >= 1)
                view.failReason = ""
            else if (typeof twLauncher !== "undefined" && twLauncher)
                twLauncher.diagnose(view.deviceMap)
        }
    }
    Connections {
        target: typeof twLauncher !== "undefined" ? twLauncher : null
        ignoreUnknownSignals: true
        function onDiagnosed(deviceId, reason) {
            if (deviceId === view.deviceMap.deviceId && tab.linkState === 0)
                view.failReason = reason
        }
    }

    Component.onCompleted: tab.connect_to(deviceMap)
    Component.onDestruction: tab.close()

    ConfirmDialog {
        id: askUpload
        objectName: "askUploadDialog"
        title: qsTr("Upload")
        onConfirmed: tab.goUploadFiles()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 28
            color: view.connected ? Theme.accentLight : "#fff4e5"
            visible: !view.connected
            Label {
                objectName: "linkStateText"
                anchors.centerIn: parent
                font.pixelSize: Theme.fontSmall
                textFormat: Text.PlainText
                text: tab.linkState === 1 ? qsTr("Connecting to the device...")
                      : view.failReason.length > 0 ? qsTr("The device is not connected: %1").arg(view.failReason)
                      : qsTr("The device is not connected")
            }
        }

        StackLayout {
            id: stack
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: view.section
            Repeater {
                model: [Constant.filePage, Constant.transferPage, Constant.mediaPage,
                        Constant.sharePage, Constant.pubGroupPage, Constant.extlinkPage]
                Loader {
                    objectName: "sectionLoader" + index
                    active: index === view.section || status === Loader.Ready
                    asynchronous: false
                    source: modelData
                    onLoaded: {
                        if (item.hasOwnProperty("twTab"))
                            item.twTab = tab
                    }
                }
            }
        }
    }

    BusyOverlay { id: busy }
}
