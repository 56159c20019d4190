import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene
import "../paging.js" as Paging

// A folder of more rows than three pages, as a user meets it: the file
// list read to its end, every row ticked and downloaded, the download
// list read to its end while they wait, then the finished list once they
// are done; each by the wheel and by the scroll bar, the rows on screen
// matching the count in the header.
Item {
    id: scene
    width: 1000
    height: 700

    TidewellTab { id: tab; root: twSdk }
    Loader { id: files; anchors.fill: parent }
    Loader { id: transfers; anchors.fill: parent; visible: false }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "Downloads"
        when: windowShown
        readonly property int total: 220

        function find(item, name) { return Scene.find(item, name) }
        function fileList() { return find(files.item, "fileList") }
        function openFolder(name) {
            var r = null
            tryVerify(function() { r = find(files.item, "fileRow_" + name); return r !== null }, 15000, "row " + name)
            mouseDoubleClickSequence(r)
            tryVerify(function() { return files.item.model.depth === 1 && fileList().count > 0 }, 15000)
        }
        function body() { return transfers.item ? transfers.item.content : null }
        function showTransfers(tabName) {
            transfers.active = false
            transfers.setSource("qrc:/compoments/transfer/TransferPage.qml", { twTab: tab })
            transfers.active = true
            tryVerify(function() { return body() !== null }, 10000)
            mouseClick(find(transfers.item, tabName))
        }

        function initTestCase() {
            for (var i = 0; i < total; ++i)
                testRig.addDeviceFile("Many/f-" + (1000 + i) + ".bin", 4000, i)
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            files.setSource("qrc:/compoments/file/FilePage.qml", { twTab: tab })
            tryCompare(files, "status", Loader.Ready)
            openFolder("Many")
        }

        function test_1_filesThenDownloadsThenFinished() {
            Paging.bothWays(tc, fileList, total, function() {
                mouseClick(find(files.item, "crumb0"))
                openFolder("Many")
            }, "files")
            compare(find(files.item, "countText").text, total + " items")
            verify(testRig.screenshot(files.item, "paging-files-end"))

            // Everything ticked and downloaded; the transfers crawl, so
            // the queue stays long.
            testRig.throttle(1)
            mouseClick(find(files.item, "headerCheck"))
            compare(find(files.item, "countText").text, total + " selected")
            mouseClick(find(files.item, "downloadButton"))
            files.visible = false
            transfers.visible = true
            showTransfers("downloadTab")
            var head = function() { return find(body().downloadView, "downList") }
            tryVerify(function() { return body().downModel.totalNum === total }, 20000, "all queued")
            Paging.bothWays(tc, head, total, function() { showTransfers("downloadTab") }, "downloads")
            verify(Scene.findText(body().downloadView, "Total " + total) !== null, "the header's total")
            verify(testRig.screenshot(transfers.item, "paging-downloads-end"))

            // Done: every one is listed as finished.
            testRig.clearFaults()
            showTransfers("finishTab")
            tryVerify(function() { return body().finishModel.totalNum === total }, 40000, "all finished")
            var done = function() { return find(body().finishView, "finishList") }
            Paging.bothWays(tc, done, total, function() { showTransfers("finishTab") }, "finished")
            verify(Scene.findText(body().finishView, "Total " + total) !== null, "the header's total")
            verify(testRig.screenshot(transfers.item, "paging-finished-end"))
        }
    }
}
