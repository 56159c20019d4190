import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene

// The file page as a user reads it: a copy into a group, an upload showing
// in the open folder, what a download says, counts and the delete question,
// and where the file dialogs start.
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
        name: "FileFeedback"
        when: windowShown

        property var page: null

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
        function enter(name, shown) {
            mouseDoubleClickSequence(row(name))
            waitRow(shown)
        }
        // Back to the top folder, where nothing is selected.
        function home() {
            mouseClick(scene.find(page, "crumb0"))
            waitRow("Documents")
            tryCompare(page.model, "selectNum", 0)
        }
        // The row ticked by a click on it, unless it is already.
        function select(name) {
            var r = row(name)
            if (!r.selected)
                mouseClick(r)
            tryVerify(function() { return row(name).selected })
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/file/FilePage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            waitRow("Documents")
        }

        // "Copy to" a group folder copies on the device; no button that
        // always fails.
        function test_1_copyIntoAGroup() {
            enter("Documents", "readme.txt")
            var r = row("readme.txt")
            mouseClick(r, 20, r.height / 2, Qt.RightButton)
            var menu = scene.find(page, "fileContextMenu")
            tryCompare(menu, "opened", true)
            var copy = null
            tryVerify(function() { copy = Scene.findText(menu.contentItem, "Copy to"); return copy !== null })
            mouseClick(copy)
            var picker = scene.find(page, "folderPicker")
            tryCompare(picker, "opened", true)
            mouseClick(scene.find(picker, "pickerGroups"))
            var group = null
            tryVerify(function() { group = Scene.findText(scene.find(picker, "pickerList"), "Family album"); return group !== null },
                      10000)
            mouseClick(group)
            tryCompare(picker, "mode", 2)
            picker.accept()
            var folder = "groups/" + testRig.deviceList("groups")[0]
            tryVerify(function() { return testRig.sameBytes(testRig.devicePath(folder + "/readme.txt"), "Documents/readme.txt") },
                      10000, "copied into the group")
            tryVerify(function() { return toast.lastText.length > 0 })
            verify(toast.lastLevel !== Constant.toastError, toast.lastText)
            home()
        }

        // An upload into the open folder shows there when it ends, without
        // a refresh; the list of another folder is left alone.
        function test_2_uploadShowsInTheOpenFolder() {
            enter("Documents", "readme.txt")
            var local = testRig.writeLocalFile("landed.bin", 60000, 3)
            page.upload([twSdk.fileUrl(local)])
            waitRow("landed.bin")
            verify(testRig.sameBytes(local, "Documents/landed.bin"))
            home()
        }

        // A first download says it was added; asking again for a file still
        // in the queue says so.
        function test_3_downloadToasts() {
            testRig.addDeviceFile("Slow/slow.bin", 300000, 4)
            page.refresh()
            enter("Slow", "slow.bin")
            testRig.throttle(20000)
            select("slow.bin")
            mouseClick(scene.find(page, "downloadButton"))
            tryCompare(toast, "lastText", "Added to download", 10000)
            select("slow.bin")
            mouseClick(scene.find(page, "downloadButton"))
            tryCompare(toast, "lastText", "Already in the download list", 10000)
            testRig.throttle(0)
            tryVerify(function() { return testRig.sameBytes(testRig.downloadDir() + "/slow.bin", "Slow/slow.bin") }, 20000,
                      "downloaded once")
            home()
        }

        // Counts in the plural the number needs, whole bytes, and a delete
        // of one item that names it.
        function test_4_countsSizesAndTheDeleteQuestion() {
            testRig.addDeviceFolder("Solo")
            testRig.addDeviceFile("Solo/only.txt", 37, 2)
            page.refresh()
            enter("Solo", "only.txt")
            tryCompare(scene.find(page, "countText"), "text", "1 item")
            var r = row("only.txt")
            compare(Scene.findText(r, "37 B") !== null, true, "whole bytes")
            mouseClick(r)
            tryCompare(page.model, "selectNum", 1)
            mouseClick(scene.find(page, "deleteButton"))
            var del = scene.find(page, "deleteDialog")
            tryCompare(del, "opened", true)
            compare(scene.find(del, "confirmText").text, "Delete \"only.txt\"?")
            verify(testRig.screenshot(del.background.parent, "feedback_delete_one"))
            del.reject()
            tryCompare(del, "visible", false)

            testRig.addDeviceFile("Solo/second.txt", 5, 3)
            page.refresh()
            waitRow("second.txt")
            tryCompare(scene.find(page, "countText"), "text", "2 items")
            page.model.allSelect()
            tryCompare(page.model, "selectNum", 2)
            mouseClick(scene.find(page, "deleteButton"))
            tryCompare(del, "opened", true)
            compare(scene.find(del, "confirmText").text, "Delete the 2 selected items?")
            del.reject()
            tryCompare(del, "visible", false)
            home()
        }

        // File dialogs start in the home folder, later beside the last choice.
        function test_5_fileDialogsStartAtHome() {
            var files = scene.find(page, "uploadFilesDialog")
            var folders = scene.find(page, "uploadFolderDialog")
            compare(String(files.folder), String(feedbackSeed.homeFolder()))
            compare(String(folders.folder), String(feedbackSeed.homeFolder()))
            var picked = testRig.writeLocalFile("picked/one.bin", 10, 1)
            twSdk.keepDialogFolder(twSdk.fileUrl(picked))
            var there = String(feedbackSeed.folderUrl(testRig.localDir() + "/picked"))
            compare(String(files.folder), there)
            compare(String(folders.folder), there)
        }
    }
}
