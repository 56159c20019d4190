import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene
import "../paging.js" as Paging

// The transfer view's other long lists, each of more rows than three
// pages, read to the last row by the wheel and by the scroll bar: the
// failed files of a folder download, the upload queue, the device's
// finished download tasks and its failed copies.
Item {
    id: scene
    width: 1000
    height: 700

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }
    // The file page in a window of its own, beside the transfer view.
    Window {
        width: 900
        height: 600
        visible: true
        Loader {
            id: files
            anchors.fill: parent
            source: "qrc:/compoments/file/FilePage.qml"
            onLoaded: item.twTab = tab
        }
    }

    TestCase {
        id: tc
        name: "TransferLists"
        when: windowShown
        readonly property int total: 170

        function find(item, name) { return Scene.find(item, name) }
        function body() { return loader.item ? loader.item.content : null }
        function showTransfers(tabName) {
            loader.active = false
            loader.setSource("qrc:/compoments/transfer/TransferPage.qml", { twTab: tab })
            loader.active = true
            tryVerify(function() { return body() !== null }, 10000)
            mouseClick(find(loader.item, tabName))
        }
        function row(listName, i) {
            var list = find(loader.item, listName)
            list.forceLayout()
            return list.itemAtIndex(i)
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
        }

        function test_1_failedFilesOfAFolder() {
            for (var i = 0; i < total; ++i)
                testRig.addDeviceFile("Broken many/b-" + (1000 + i) + ".txt", 100, i)
            testRig.failWithStatus(404, 100000, "/device/download")
            Scene.downloadItem(tc, files.item, "Broken many")
            showTransfers("downloadTab")
            var detail = null
            tryVerify(function() {
                var r = row("downList", 0)
                detail = r ? find(r, "fileDetail") : null
                return detail && detail.visible
            }, 30000, "the folder fails")
            testRig.clearFaults()
            var alert = body().failAlert
            var open = function() {
                if (alert.opened)
                    alert.close()
                tryCompare(alert, "opened", false)
                mouseClick(find(row("downList", 0), "fileDetail"))
                tryCompare(alert, "opened", true)
            }
            open()
            var list = function() { return find(alert.contentItem, "failList") }
            Paging.bothWays(tc, list, total, open, "failed files")
            verify(testRig.screenshot(alert.background.parent, "paging-failures-end"))
            alert.close()
            mouseClick(find(row("downList", 0), "delete"))
            var ask = find(loader.item, "downDeleteDialog")
            tryCompare(ask, "opened", true)
            ask.accept()
            tryVerify(function() { return body().downModel.loadNum === 0 }, 15000)
        }

        function test_2_uploads() {
            var urls = []
            for (var i = 0; i < total; ++i)
                urls.push(twSdk.fileUrl(testRig.writeLocalFile("up/u-" + (1000 + i) + ".bin", 3000, i)))
            // They crawl, so the queue stays long.
            testRig.throttle(1)
            files.item.upload(urls)
            showTransfers("uploadTab")
            tryVerify(function() { return body().upModel.totalNum === total }, 30000, "all queued")
            var list = function() { return find(body().uploadView, "upList") }
            Paging.bothWays(tc, list, total, function() { showTransfers("uploadTab") }, "uploads")
            verify(Scene.findText(body().uploadView, "Total " + total) !== null, "the header's total")
            verify(testRig.screenshot(loader.item, "paging-uploads-end"))
            mouseClick(find(body().uploadView, "upDeleteAll"))
            var ask = find(loader.item, "upDeleteDialog")
            tryCompare(ask, "opened", true)
            ask.accept()
            tryVerify(function() { return body().upModel.totalNum === 0 }, 20000)
            testRig.clearFaults()
        }

        function test_3_finishedDeviceTasks() {
            for (var i = 0; i < total; ++i)
                transferRig.addBtTask("done-" + (1000 + i) + ".iso", 6, 5000)
            showTransfers("deviceTaskTab")
            var smart = body().deviceTasks
            tryCompare(smart, "status", Loader.Ready)
            var sp = smart.item
            mouseClick(find(sp, "btFinishedTab"))
            var list = function() { return find(sp, "btFinishedList") }
            tryVerify(function() { return list() !== null && list().count > 0 }, 10000)
            var show = function() { mouseClick(find(sp, "btRefresh")) }
            Paging.bothWays(tc, list, total, show, "finished device tasks")
            verify(testRig.screenshot(loader.item, "paging-devicetasks-end"))
        }

        function test_4_failedCopies() {
            transferRig.addCopyJob("photo.jpg", 2)
            for (var i = 0; i < total; ++i)
                transferRig.addCopyFailure("c-" + (1000 + i) + ".pdf", "/Docs/c-" + i + ".pdf", 1, 2014)
            showTransfers("uploadTab")
            var box = find(loader.item, "fileCopyView")
            box.start()
            tryVerify(function() { return box.visible }, 10000, "the status box shows")
            var alert = find(box, "copyFailAlert")
            var open = function() {
                if (alert.opened)
                    alert.close()
                tryCompare(alert, "opened", false)
                mouseClick(find(box, "copyStateLink"))
                tryCompare(alert, "opened", true)
            }
            open()
            var list = function() { return find(alert.contentItem, "copyFailList") }
            Paging.bothWays(tc, list, total, open, "failed copies")
            compare(alert.title, "Total " + total + " fail copy")
            verify(testRig.screenshot(alert.background.parent, "paging-copyfail-end"))
            alert.close()
        }
    }
}
