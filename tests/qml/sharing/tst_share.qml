import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import QtQuick.Window 2.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// The share pages against the test device: files shared with the user by
// all users and by one user, search, download; a file shared from the file
// page through the picker shows in the user's own shares until the share is
// cancelled.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: shareLoader; anchors.fill: parent }
    Loader { id: fileLoader; anchors.fill: parent; visible: false }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "SharePage"
        when: windowShown

        property var page: null

        function names() { return page.current ? H.column(page.current, 257) : [] }
        function waitNames(expected) {
            tryVerify(function() { return JSON.stringify(names().slice().sort()) === JSON.stringify(expected) },
                      15000, "rows " + expected + " (have " + names() + ")")
        }
        function clickRow(name) {
            var row = null
            tryVerify(function() { row = H.find(page, "fileRow_" + name); return row !== null }, 10000)
            mouseClick(row)
            tryCompare(page.current, "selectNum", 1)
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            shareLoader.setSource("qrc:/compoments/share/SharePage.qml", { twTab: tab })
            tryCompare(shareLoader, "status", Loader.Ready)
            page = shareLoader.item
        }

        function test_1_sharedWithMe() {
            waitNames(["Album", "recipes.txt", "trip.jpg"])
            compare(page.mode, 0)
            var sharer = H.find(H.find(page, "fileRow_recipes.txt"), "rowSharer")
            compare(sharer.text, "Alice")
            // Not the sharer: no cancel or delete.
            verify(!H.find(page, "shareCancel").visible)
            verify(!H.find(page, "shareDelete").visible)
            var alice = null
            tryVerify(function() { alice = H.find(page, "shareUser_Alice"); return alice !== null }, 10000)
            verify(testRig.screenshot(page, "share_all"))
        }

        function test_2_oneUser() {
            mouseClick(H.find(page, "shareUser_Alice"))
            tryCompare(page, "mode", 1)
            compare(page.userId, "alice")
            compare(H.find(page, "shareTitle").text, "Alice")
            waitNames(["Album", "recipes.txt", "trip.jpg"])
            mouseClick(H.find(page, "shareNavAll"))
            tryCompare(page, "mode", 0)
            waitNames(["Album", "recipes.txt", "trip.jpg"])
        }

        function test_2b_sharedFolder() {
            mouseDoubleClickSequence(H.find(page, "fileRow_Album"))
            tryCompare(page.levels, "depth", 1)
            waitNames(["cake.txt"])
            compare(H.find(page, "levelCrumb1").text, "Album")
            verify(!page.isSelf)
            mouseClick(H.find(page, "levelCrumb0"))
            tryCompare(page.levels, "depth", 0)
            waitNames(["Album", "recipes.txt", "trip.jpg"])
        }

        function test_3_searchAndDownload() {
            var field = H.find(page, "shareSearchField")
            field.text = "recipe"
            field.accepted()
            tryCompare(page, "mode", 3)
            waitNames(["recipes.txt"])
            clickRow("recipes.txt")
            mouseClick(H.find(page, "shareDownload"))
            tryCompare(toast, "lastText", "Already added to download", 10000)
            tryVerify(function() {
                return testRig.sameBytes(testRig.downloadDir() + "/recipes.txt", "Shared/recipes.txt")
            }, 20000, "the shared file lands byte-exact")
            verify(testRig.screenshot(page, "share_search"))
            // Copy into the user's own space.
            clickRow("recipes.txt")
            mouseClick(H.find(page, "shareCopy"))
            var picker = H.find(page, "folderPicker")
            tryCompare(picker, "opened", true)
            H.pickFolder(tc, picker, "Documents")
            tryCompare(toast, "lastText", "Copy to success", 10000)
            tryVerify(function() { return testRig.deviceHas("Documents/recipes.txt") }, 10000)
            mouseClick(H.find(page, "shareNavAll"))
            tryCompare(page, "mode", 0)
        }

        function test_4_shareFromFilePageThenCancel() {
            fileLoader.setSource("qrc:/compoments/file/FilePage.qml", { twTab: tab })
            tryCompare(fileLoader, "status", Loader.Ready)
            var files = fileLoader.item
            fileLoader.visible = true
            shareLoader.visible = false
            tryVerify(function() { return H.find(files, "fileRow_Documents") !== null }, 15000)
            mouseDoubleClickSequence(H.find(files, "fileRow_Documents"))
            var readme = null
            tryVerify(function() { readme = H.find(files, "fileRow_readme.txt"); return readme !== null }, 15000)
            mouseClick(readme)
            tryCompare(files.model, "selectNum", 1)
            mouseClick(H.find(files, "shareButton"))
            var picker = H.find(files, "shareTargetPicker")
            tryCompare(picker, "opened", true)
            // Groups first, then the users other than oneself.
            tryVerify(function() { return picker.targets.rowCount() === 3 }, 10000)
            compare(H.column(picker.targets, 258), ["Family", "Alice", "Bob"])
            var ok = picker.standardButton(Dialog.Ok)
            verify(!ok.enabled, "nothing chosen yet")
            var bob = H.find(picker, "shareTarget_Bob")
            mouseClick(bob)
            tryCompare(picker.targets, "isCheck", true)
            verify(ok.enabled)
            verify(testRig.screenshot(files.Window.contentItem, "share_picker"))
            picker.accept()
            var id = testRig.idForPath("Documents/readme.txt")
            tryVerify(function() { return sharingRig.isShared(id) }, 10000, "shared on the device")
            fileLoader.visible = false
            shareLoader.visible = true

            mouseClick(H.find(page, "shareNavMine"))
            tryCompare(page, "mode", 2)
            waitNames(["readme.txt"])
            tryCompare(page, "isSelf", true)
            verify(H.find(page, "shareCancel").visible)
            verify(testRig.screenshot(page, "share_mine"))
            clickRow("readme.txt")
            mouseClick(H.find(page, "shareCancel"))
            var confirm = H.find(page, "shareCancelDialog")
            tryCompare(confirm, "opened", true)
            confirm.accept()
            waitNames([])
            tryVerify(function() { return !sharingRig.isShared(id) }, 10000, "no longer shared")
        }

        // A user's head image comes from the device by URL and is drawn.
        function test_9_headImage() {
            sharingRig.giveHeadImage("alice", "Alice", "#d02020")
            shareLoader.source = ""
            shareLoader.setSource("qrc:/compoments/share/SharePage.qml", { twTab: tab })
            tryCompare(shareLoader, "status", Loader.Ready)
            page = shareLoader.item
            var head = null
            tryVerify(function() {
                var alice = H.find(page, "shareUser_Alice")
                head = alice ? H.find(alice, "headImage") : null
                return head !== null && head.visible
            }, 10000, "Alice's row with her head image")
            tryVerify(function() { return testRig.colorAt(head, head.width / 2, head.height / 2) === "#d02020" },
                      15000, "the picture is drawn (" + testRig.colorAt(head, head.width / 2, head.height / 2) + ")")
            verify(testRig.screenshot(page, "share_head_image"))
        }
    }
}
