import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene

// The file page against the test device: folders, download, upload (and
// the question before uploading a path again), new folder, rename, delete,
// and a failed first load.
Item {
    id: scene
    width: 1000
    height: 700

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    function find(item, name) { return Scene.find(item, name) }

    TestCase {
        id: tc
        name: "FilePage"
        when: windowShown

        property var page: null

        // The row's delegate, once the list has made it.
        function row(name) {
            var r = null
            tryVerify(function() { r = scene.find(tc.page, "fileRow_" + name); return r !== null }, 10000,
                      "row item " + name)
            return r
        }
        function rowNames() {
            var out = []
            var m = tc.page.model
            for (var i = 0; i < m.rowCount(); ++i)
                out.push(m.get(i).name)
            return out
        }
        function waitRow(name) {
            tryVerify(function() { return rowNames().indexOf(name) >= 0 }, 15000, "row " + name)
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/file/FilePage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            waitRow("Documents")
        }

        function test_1_openFolderAndBack() {
            var docs = row("Documents")
            mouseDoubleClickSequence(docs)
            waitRow("Projects")
            compare(page.model.depth, 1)
            compare(page.model.pathNames[1], "Documents")
            mouseClick(scene.find(page, "crumb0"))
            waitRow("Photos")
            compare(page.model.depth, 0)
            verify(testRig.screenshot(page, "filepage"))
        }

        function test_2_download() {
            mouseDoubleClickSequence(row("Documents"))
            waitRow("readme.txt")
            mouseClick(row("readme.txt"))
            compare(page.model.selectNum, 1)
            mouseClick(scene.find(page, "downloadButton"))
            var target = testRig.downloadDir() + "/readme.txt"
            tryVerify(function() { return testRig.sameBytes(target, "Documents/readme.txt") }, 20000,
                      "the file lands byte-exact")
            page.model.goTo(0)
            waitRow("Photos")
        }

        function test_3_uploadAndAskAgain() {
            var local = testRig.writeLocalFile("upload-me.bin", 200000, 5)
            page.upload([twSdk.fileUrl(local)])
            tryVerify(function() { return testRig.sameBytes(local, "upload-me.bin") }, 20000, "uploaded")
            page.refresh()
            waitRow("upload-me.bin")
            // Again: the tab asks first, and yes uploads it once more.
            page.upload([twSdk.fileUrl(local)])
            // The question belongs to the device view in the program; here
            // the tab's signal is answered directly.
            tryVerify(function() { return asked }, 10000, "the tab asks before uploading again")
            tab.goUploadFiles()
            tryVerify(function() {
                return testRig.deviceList("").filter(function(n) { return n.indexOf("upload-me") === 0 }).length >= 2
            }, 20000, "uploaded again under a free name")
        }

        property bool asked: false
        Connections {
            target: tab
            function onRUploadAskTip(isUp) { tc.asked = true }
        }

        function test_4_newFolderRenameDelete() {
            mouseClick(scene.find(page, "newFolderButton"))
            var dlg = scene.find(page, "newFolderDialog")
            tryCompare(dlg, "opened", true)
            dlg.value = "Fresh folder"
            dlg.accept()
            tryVerify(function() { return testRig.deviceHas("Fresh folder") }, 10000)
            waitRow("Fresh folder")
            tryVerify(function() { return toast.lastText.length > 0 })

            mouseClick(row("Fresh folder"))
            tryCompare(page.model, "selectNum", 1)
            mouseClick(scene.find(page, "renameButton"))
            var rn = scene.find(page, "renameDialog")
            tryCompare(rn, "opened", true)
            compare(rn.value, "Fresh folder")
            rn.value = "Renamed folder"
            rn.accept()
            tryVerify(function() { return testRig.deviceHas("Renamed folder") }, 10000, JSON.stringify(testRig.deviceList("")) + toast.lastText)
            waitRow("Renamed folder")

            if (!row("Renamed folder").selected)
                mouseClick(row("Renamed folder"))
            tryVerify(function() { return row("Renamed folder").selected })
            mouseClick(scene.find(page, "deleteButton"))
            var del = scene.find(page, "deleteDialog")
            tryCompare(del, "opened", true)
            del.accept()
            tryVerify(function() { return !testRig.deviceHas("Renamed folder") }, 10000)
            tryVerify(function() { return rowNames().indexOf("Renamed folder") < 0 }, 10000)
        }

        function test_5_failedFirstLoadShowsDeviceMessage() {
            testRig.failCommandOnce("getDirPath", 2001, "The disk is being checked")
            page.refresh()
            var empty = scene.find(page, "emptyView")
            tryVerify(function() { return empty.visible }, 10000, "the empty view shows the failure")
            compare(scene.find(empty, "emptyText").text, "The disk is being checked")
            verify(testRig.screenshot(page, "filepage-error"))
            testRig.clearFaults()
            page.refresh()
            waitRow("Documents")
            verify(!empty.visible)
        }
    }
}
