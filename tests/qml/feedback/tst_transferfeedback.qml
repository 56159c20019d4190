import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene

// The transfer page as a user reads it: it opens on the list that changed
// last, a failure's whole reason can be read, and badges name the kind.
Item {
    id: scene
    // Narrow, as a window beside others: reasons do not fit their column.
    width: 760
    height: 620

    TidewellTab { id: tab; root: twSdk }
    DirListModel { id: dirs; tw: tab.twDevice }
    // The file page in a window of its own, beside the page under test.
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
    Loader { id: loader; anchors.fill: parent; active: false }
    Toast { id: toast }

    function find(item, name) { return Scene.find(item, name) }

    TestCase {
        id: tc
        name: "TransferFeedback"
        when: windowShown

        property var page: null

        // Queues a device item (top level) for download on the file page.
        function download(name) {
            Scene.downloadItem(tc, files.item, name)
        }
        function listRow(listName, i) {
            var list = scene.find(page, listName)
            list.forceLayout()
            return list.itemAtIndex(i)
        }
        // Clicks a row's control until popup shows: the list may be read
        // again meanwhile, so the row of now is clicked.
        function clickUntilShown(listName, control, popup) {
            tryVerify(function() {
                if (!popup.visible) {
                    var r = listRow(listName, 0)
                    var c = r ? scene.find(r, control) : null
                    if (c && c.visible)
                        mouseClick(c)
                }
                return popup.opened
            }, 10000, popup.objectName + " opens")
        }
        function rowNamed(listName, name) {
            var list = scene.find(page, listName)
            list.forceLayout()
            for (var i = 0; i < list.count; ++i) {
                var r = list.itemAtIndex(i)
                if (r && scene.find(r, "name").text === name)
                    return r
            }
            return null
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
        }

        // A download was the last change: the page opens on downloads. While
        // out of sight it follows an upload started meanwhile.
        function test_1_opensOnTheListThatChangedLast() {
            testRig.addDeviceFile("first-down.bin", 4000, 2)
            download("first-down.bin")
            tryCompare(tab, "lastQueue", 1, 10000)
            loader.setSource("qrc:/compoments/transfer/TransferPage.qml", { twTab: tab })
            loader.active = true
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            tryVerify(function() { return page.content !== null }, 5000)
            tryCompare(page, "section", 1)
            compare(scene.find(page, "transferTitle").text, "Transfer > Download")

            page.visible = false
            var local = testRig.writeLocalFile("later-up.bin", 3000, 4)
            tab.addUploadFiles(dirs.folder, [twSdk.fileUrl(local)])
            tryCompare(page, "section", 0, 10000)
            page.visible = true
            compare(scene.find(page, "transferTitle").text, "Transfer > Uploading")
            tryVerify(function() { return testRig.sameBytes(local, "later-up.bin") }, 20000)
            // In sight, the page stays where the user is.
            page.section = 2
            testRig.addDeviceFile("second-down.bin", 3000, 5)
            download("second-down.bin")
            tryCompare(tab, "lastQueue", 1, 10000)
            compare(page.section, 2)
        }

        // A failure's reason reads whole: in a tooltip over a row too narrow
        // for it, wrapped in a folder's "File Detail".
        function test_2_failureReasonReadsWhole() {
            testRig.addDeviceFolder("Broken")
            testRig.addDeviceFile("Broken/x.txt", 2000, 5)
            testRig.failWithStatus(404, 1, "/device/download")
            page.section = 1
            download("Broken")
            var m = page.content.downModel
            var state = null
            tryVerify(function() {
                var r = listRow("downList", 0)
                state = r ? scene.find(r, "state") : null
                return m.loadNum === 1 && state && state.text.indexOf("Download failed, ") === 0
            }, 20000)
            verify(state.text.indexOf("The file was not found on the device") > 0, state.text)
            // The list may be read again meanwhile: the row's cells of now.
            var tip = null
            tryVerify(function() {
                state = scene.find(listRow("downList", 0), "state")
                if (!state.truncated)
                    return false
                mouseMove(state, 5, state.height / 2)
                tip = scene.find(state, "stateTip")
                return tip !== null && tip.visible
            }, 10000, "a tooltip over the cut reason")
            compare(tip.text, state.text)
            verify(testRig.screenshot(scene.parent, "feedback_reason_tooltip"))
            mouseMove(scene, 5, 5)
            var del = scene.find(page, "downDeleteDialog")
            clickUntilShown("downList", "delete", del)
            del.accept()
            tryVerify(function() { return m.loadNum === 0 }, 15000)

            // A folder upload whose file the device refuses with its reason.
            var reason = "The device refused the file while its storage volume is being checked"
            feedbackSeed.refuseUpload(2005, reason, 1)
            testRig.writeLocalFile("Refused/one.bin", 3000, 8)
            page.section = 0
            tab.addUploadFiles(dirs.folder, [twSdk.fileUrl(testRig.localDir() + "/Refused")])
            var ups = page.content.upModel
            var detail = null
            tryVerify(function() {
                var r = listRow("upList", 0)
                detail = r ? scene.find(r, "fileDetail") : null
                return ups.loadNum === 1 && detail && detail.visible
            }, 20000, "the folder row fails")
            var alert = page.content.failAlert
            clickUntilShown("upList", "fileDetail", alert)
            var row = null
            tryVerify(function() { return (row = scene.find(alert.contentItem, "failRow0")) !== null }, 10000)
            var message = scene.find(row, "message")
            verify(message.text.indexOf(reason) >= 0, message.text)
            // Wrapped, and the row as high as all its lines once laid out.
            tryVerify(function() {
                return !message.truncated && message.lineCount > 1 && message.height >= message.contentHeight
                    && row.height >= message.y + message.height
            }, 5000, "the reason is not cut off")
            verify(testRig.screenshot(alert.background.parent, "feedback_reason_detail"))
            alert.close()
            var upDel = scene.find(page, "upDeleteDialog")
            clickUntilShown("upList", "delete", upDel)
            upDel.accept()
            tryVerify(function() { return ups.loadNum === 0 }, 15000)
        }

        // A piece of music carries the music badge, whatever its format.
        function test_3_badgeFollowsTheKind() {
            page.section = 2
            var r = null
            testRig.addDeviceFile("tone.wav", 2000, 7)
            download("tone.wav")
            tryVerify(function() { return (r = rowNamed("finishList", "tone.wav")) !== null }, 20000)
            compare(scene.find(r, "badgeText").text, "AUD")
            verify(testRig.screenshot(page, "feedback_badges"))
        }
    }
}
