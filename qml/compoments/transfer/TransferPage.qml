import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// The transfer view. In a device tab: uploads (shown first), downloads,
// finished transfers and the device's own download tasks, over the tab's
// engines, with the copy status box on top. Without a device (twTab null):
// the downloads saved from links and their finished list, over the root's
// engines.
Rectangle {
    id: page
    objectName: "transferPage"
    color: Theme.surface
    property QtObject twTab: null
    // 0 uploading, 1 download, 2 finished, 3 device tasks
    property int section: 1
    // The views set twTab right after creating the page; the models are
    // made once that has happened, so each engine property is written once.
    property bool settled: false
    readonly property bool hasDevice: twTab !== null
    readonly property bool ready: settled && (!twTab || twTab.twDown !== null)
    readonly property Item content: body.item

    // Opens on the queue that took entries last; while out of sight it
    // follows that queue, so it shows what was just started.
    Component.onCompleted: Qt.callLater(function() {
        page.section = page.twTab ? page.twTab.lastQueue : 1
        page.settled = true
    })
    Connections {
        target: page.twTab
        function onLastQueueChanged() {
            if (!page.visible && page.section <= 1)
                page.section = page.twTab.lastQueue
        }
    }

    function title() {
        switch (section) {
        case 0: return qsTr("Transfer> Uploading")
        case 1: return qsTr("Transfer> Download")
        case 2: return qsTr("Transfer> Finished")
        default: return qsTr("Transfer> Device Tasks")
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.headerHeight
            Layout.leftMargin: Theme.margin
            Layout.rightMargin: Theme.margin
            spacing: Theme.spacing
            Label {
                objectName: "transferTitle"
                text: page.title()
                textFormat: Text.PlainText
                font.pixelSize: Theme.fontLarge
                color: Theme.text
            }
            Item { Layout.fillWidth: true }
            FileCopyView {
                id: copyBox
                objectName: "fileCopyView"
                Layout.preferredWidth: 320
                Layout.preferredHeight: 32
                twTab: page.twTab
            }
        }

        TabBar {
            id: bar
            objectName: "transferTabs"
            Layout.fillWidth: true
            Layout.leftMargin: Theme.margin
            currentIndex: page.section
            onCurrentIndexChanged: page.section = currentIndex
            background: Rectangle { color: Theme.surface }
            // One button per section; uploads and device tasks need a device.
            Repeater {
                model: ["uploadTab", "downloadTab", "finishTab", "deviceTaskTab"]
                TabItem {
                    objectName: modelData
                    visible: page.hasDevice || index === 1 || index === 2
                    text: page.tabText(index)
                }
            }
        }
        Rectangle { Layout.fillWidth: true; Layout.preferredHeight: 1; color: Theme.border }

        Loader {
            id: body
            objectName: "transferBody"
            Layout.fillWidth: true
            Layout.fillHeight: true
            active: page.ready
            sourceComponent: bodyComponent
        }
    }

    function countText(n) {
        return n > 0 ? " (" + n + ")" : ""
    }

    function tabText(s) {
        var c = body.item
        switch (s) {
        case 0:
            // The tab's counts have no change signal of their own: the
            // model's total (asked on every change) re-reads them.
            var up = c ? c.upModel.totalNum : 0
            return qsTr("Uploading") + countText(page.twTab ? page.twTab.upTaskNum : up)
        case 1:
            var down = c ? c.downModel.totalNum : 0
            return qsTr("Download") + countText(page.twTab ? page.twTab.downTaskNum : down)
        case 2:
            return qsTr("Finished")
        default:
            return qsTr("Device Tasks")
        }
    }

    Component {
        id: bodyComponent
        Item {
            readonly property alias upModel: ups
            readonly property alias downModel: downs
            readonly property alias finishModel: finished
            readonly property alias failAlert: fails
            readonly property alias uploadView: upView
            readonly property alias downloadView: downView
            readonly property alias finishView: finView
            readonly property alias deviceTasks: tasksLoader

            // Without a device the upload model has no manager and stays empty.
            UploadFileModel {
                id: ups
                objectName: "uploadModel"
                tw: page.twTab ? page.twTab.twUpload : null
                twfs: page.twTab ? page.twTab.twFinish : null
            }
            DownloadFileModel {
                id: downs
                objectName: "downloadModel"
                down: page.twTab ? page.twTab.twDown : twDown
                twfs: page.twTab ? page.twTab.twFinish : twFinish
            }
            TSFinishFileModel {
                id: finished
                objectName: "finishModel"
                tw: page.twTab ? page.twTab.twFinish : twFinish
            }
            // Finished transfers leave the queues: the finished list follows.
            Connections {
                target: downs
                function onTotalNumChanged() { finished.refershData() }
            }
            Connections {
                target: ups
                function onTotalNumChanged() { finished.refershData() }
            }

            FailListAlert {
                id: fails
                finishManager: page.twTab ? page.twTab.twFinish : twFinish
            }

            StackLayout {
                anchors.fill: parent
                currentIndex: page.section
                QueueView {
                    id: upView
                    objectName: "uploadView"
                    isDown: false
                    model: page.hasDevice ? ups : null
                    onFileDetail: fails.show(title, false, record)
                }
                QueueView {
                    id: downView
                    objectName: "downloadView"
                    isDown: true
                    model: downs
                    onFileDetail: fails.show(title, true, record)
                }
                FinishedView {
                    id: finView
                    objectName: "finishView"
                    model: finished
                }
                Loader {
                    id: tasksLoader
                    objectName: "deviceTasksLoader"
                    active: page.hasDevice && (page.section === 3 || status === Loader.Ready)
                    sourceComponent: Component {
                        SmartDownPage { twTab: page.twTab }
                    }
                }
            }
        }
    }
}
