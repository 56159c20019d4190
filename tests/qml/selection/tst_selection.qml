import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// Every action on "the selection" takes exactly the ticked rows, whatever
// row was clicked last: rows ticked and unticked by their check boxes, then
// the command buttons, menus and keys, and what reached the device (or the
// download folder, or the desktop) is checked. Also: a received link's
// document, sorting inside a link and among a group's search results, and
// failed loads that keep their reason and load again by themselves.
Item {
    id: scene
    width: 1180
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "Selection"
        when: windowShown

        property var page: null
        property var ids: ({})

        function load(url, props) {
            loader.source = ""
            loader.setSource(url, props)
            tryCompare(loader, "status", Loader.Ready)
            return loader.item
        }
        function row(item, name) {
            var r = null
            tryVerify(function() { r = H.find(item, "fileRow_" + name); return r !== null && r.visible }, 20000,
                      "row " + name)
            return r
        }
        // Ticks or unticks a row by its check box.
        function tick(item, name) {
            var r = row(item, name)
            var was = r.selected
            mouseClick(H.find(r, "rowCheck"))
            tryCompare(r, "selected", !was, 5000, name)
        }
        function ticked(item, names) {
            for (var i = 0; i < names.length; ++i)
                tick(item, names[i])
        }
        function ok(dialog) {
            tryCompare(dialog, "opened", true)
            mouseClick(dialog.standardButton(Dialog.Ok))
            tryCompare(dialog, "opened", false)
        }
        function typeText(text) {
            for (var i = 0; i < text.length; ++i)
                keyClick(text[i])
        }
        function typeInto(dialog, text) {
            tryCompare(dialog, "opened", true)
            keySequence(StandardKey.SelectAll)
            typeText(text)
            keyClick(Qt.Key_Return)
            tryCompare(dialog, "opened", false)
        }
        function opened(before, rel) {
            tryVerify(function() { return selectionRig.opened().length > before }, 25000,
                      "the desktop opens a file (" + toast.lastText + ")")
            var got = selectionRig.opened()[selectionRig.opened().length - 1]
            verify(testRig.sameBytes(got, rel), got + " is " + rel)
        }
        function pickFolder(picker, path) {
            tryCompare(picker, "opened", true)
            for (var i = 0; i < path.length; ++i) {
                var entry = null
                tryVerify(function() { entry = H.findText(H.find(picker, "pickerList"), path[i]); return entry !== null },
                          10000, "picker folder " + path[i])
                mouseClick(entry)
                tryVerify(function() { return H.find(picker, "pickerPath").text.indexOf(path[i]) >= 0 }, 10000)
            }
            ok(picker)
        }

        function initTestCase() {
            var names = ["A", "B", "C", "D", "E", "F", "G", "H"]
            for (var i = 0; i < names.length; ++i)
                ids[names[i]] = testRig.addDeviceFile("Pick/" + names[i] + ".txt", 1000 + i, i + 1)
            testRig.addDeviceFolder("Pick/Target")
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            page = load("qrc:/compoments/file/FilePage.qml", { twTab: tab })
            mouseDoubleClickSequence(row(page, "Pick"))
            row(page, "H.txt")
        }

        // The case as it was met: tick A, tick B, untick A, rename.
        function test_1_renameTakesTheTickedRow() {
            ticked(page, ["A.txt", "B.txt", "A.txt"])
            compare(H.find(page, "countText").text, "1 selected")
            mouseClick(H.find(page, "renameButton"))
            var dlg = H.find(page, "renameDialog")
            tryCompare(dlg, "opened", true)
            compare(dlg.value, "B.txt")
            typeInto(dlg, "B2.txt")
            tryVerify(function() { return testRig.deviceHas("Pick/B2.txt") }, 10000, "B renamed")
            verify(testRig.deviceHas("Pick/A.txt"), "A keeps its name")
            row(page, "B2.txt")
            verify(testRig.screenshot(page, "selection_renamed"))
        }

        // Unticking the row clicked last: the menu's Open and Enter open
        // the row still ticked.
        function test_2_openTakesTheTickedRow() {
            ticked(page, ["A.txt", "C.txt", "C.txt"])
            var r = row(page, "A.txt")
            var before = selectionRig.opened().length
            mouseClick(r, r.width / 2, r.height / 2, Qt.RightButton)
            var menu = H.find(page, "fileContextMenu")
            tryCompare(menu, "opened", true)
            mouseClick(H.find(menu, "menuOpen"))
            opened(before, "Pick/A.txt")

            ticked(page, ["D.txt", "A.txt"])
            compare(H.find(page, "countText").text, "1 selected")
            H.find(page, "fileList").forceActiveFocus()
            before = selectionRig.opened().length
            keyClick(Qt.Key_Return)
            opened(before, "Pick/D.txt")
            ticked(page, ["D.txt"])
        }

        // The page has taken the device's answer: it clears the selection.
        function answered() {
            tryCompare(page.model, "selectNum", 0, 10000, "the answer came")
        }

        function test_3_commandsTakeTheTickedRows() {
            var dir = testRig.downloadDir()
            ticked(page, ["E.txt", "F.txt", "E.txt"])
            mouseClick(H.find(page, "downloadButton"))
            tryVerify(function() { return testRig.sameBytes(dir + "/F.txt", "Pick/F.txt") }, 20000, "F downloaded")
            verify(!testRig.localExists(dir + "/E.txt"), "E is not downloaded")
            answered()

            ticked(page, ["E.txt", "F.txt", "F.txt"])
            mouseClick(H.find(page, "shareButton"))
            var share = H.find(page, "shareTargetPicker")
            tryCompare(share, "opened", true)
            mouseClick(H.find(share, "shareAllUsers"))
            ok(share)
            tryVerify(function() { return selectionRig.isShared("Pick/E.txt") }, 10000, "E shared")
            verify(!selectionRig.isShared("Pick/F.txt"), "F is not shared")
            answered()

            ticked(page, ["G.txt", "F.txt", "G.txt"])
            mouseClick(H.find(page, "linkButton"))
            var link = H.find(page, "createLinkDialog")
            tryCompare(link, "opened", true)
            typeText("Only F")
            ok(link)
            tryVerify(function() { return selectionRig.lastBody("createExternalLink").length > 0 }, 10000)
            compare(JSON.parse(selectionRig.lastBody("createExternalLink")).data.fileIds, [ids.F])
            tryCompare(H.find(page, "linkCard"), "opened", true, 10000)
            H.find(page, "linkCard").close()
            answered()

            ticked(page, ["H.txt", "G.txt", "H.txt"])
            mouseClick(H.find(page, "copyButton"))
            pickFolder(H.find(page, "folderPicker"), ["Pick", "Target"])
            tryVerify(function() { return testRig.deviceHas("Pick/Target/G.txt") }, 20000, "G copied")
            verify(!testRig.deviceHas("Pick/Target/H.txt"), "H is not copied")
            answered()

            ticked(page, ["G.txt", "H.txt", "G.txt"])
            mouseClick(H.find(page, "moveButton"))
            pickFolder(H.find(page, "folderPicker"), ["Pick", "Target"])
            tryVerify(function() { return testRig.deviceHas("Pick/Target/H.txt") }, 20000, "H moved")
            verify(testRig.deviceHas("Pick/G.txt"), "G stays")
            tryVerify(function() { return H.find(page, "fileRow_H.txt") === null }, 10000)

            ticked(page, ["G.txt", "F.txt", "F.txt"])
            mouseClick(H.find(page, "deleteButton"))
            var del = H.find(page, "deleteDialog")
            tryCompare(del, "opened", true)
            compare(H.find(del, "confirmText").text, "Delete \"G.txt\"?")
            ok(del)
            tryVerify(function() { return !testRig.deviceHas("Pick/G.txt") }, 10000, "G deleted")
            verify(testRig.deviceHas("Pick/F.txt"), "F stays")
            verify(testRig.screenshot(page, "selection_commands"))
        }

        // A group's rows (one model per level): unticking the row clicked
        // last leaves the menu's Open and Rename on the row still ticked.
        function test_4_groupFiles() {
            var g = selectionRig.addGroup("Tick group")
            testRig.addDeviceFile("groups/" + g + "/a.txt", 300, 11)
            testRig.addDeviceFile("groups/" + g + "/b.txt", 400, 12)
            page = load("qrc:/compoments/pubgroup/PubGroupPage.qml", { twTab: tab })
            var entry = null
            tryVerify(function() { entry = H.find(page, "groupRow_Tick group"); return entry !== null }, 15000)
            mouseDoubleClickSequence(entry)
            var view = null
            tryVerify(function() { view = H.find(page, "groupView"); return view && view.visible }, 10000)

            ticked(view, ["a.txt", "b.txt", "b.txt"])
            var r = row(view, "a.txt")
            var before = selectionRig.opened().length
            mouseClick(r, r.width / 2, r.height / 2, Qt.RightButton)
            var menu = H.find(view, "levelMenu")
            tryCompare(menu, "opened", true)
            mouseClick(H.find(menu, "menuOpen"))
            opened(before, "groups/" + g + "/a.txt")

            ticked(view, ["b.txt", "a.txt"])
            mouseClick(H.find(view, "groupRename"))
            var dlg = H.find(view, "groupRenameDialog")
            tryCompare(dlg, "opened", true)
            compare(dlg.value, "b")
            typeInto(dlg, "b2")
            tryVerify(function() { return testRig.deviceHas("groups/" + g + "/b2.txt") }, 10000, "b renamed")
            verify(testRig.deviceHas("groups/" + g + "/a.txt"))
            verify(testRig.screenshot(page, "selection_group"))
        }

        // Pictures by day: a row ticked in another day and unticked again
        // leaves Rename on the picture still ticked.
        function test_5_mediaDays() {
            page = load("qrc:/compoments/media/MediaPage.qml", { twTab: tab })
            var pictures = page.category(0)
            function thumb(name) {
                var t = null
                tryVerify(function() { t = H.find(pictures, "thumb_" + name); return t !== null }, 15000, name)
                return t
            }
            function tickThumb(name) {
                var t = thumb(name)
                var was = t.selected
                mouseClick(H.find(t, "thumbCheck"))
                tryCompare(t, "selected", !was, 5000, name)
            }
            tickThumb("harbour.jpg")
            tickThumb("lake.jpg")
            tickThumb("lake.jpg")
            compare(H.find(pictures, "countText").text, "1 selected")
            mouseClick(H.find(pictures, "renameButton"))
            var dlg = H.find(pictures, "renameDialog")
            tryCompare(dlg, "opened", true)
            compare(dlg.value, "harbour")
            typeInto(dlg, "harbour-2")
            tryVerify(function() { return testRig.deviceHas("Photos/harbour-2.jpg") }, 10000, "harbour renamed")
            verify(testRig.deviceHas("Photos/lake.jpg"), "lake keeps its name")
            verify(testRig.screenshot(page, "selection_media"))
        }

        // A received link's document opens through the link's own session,
        // by double-click and by the menu's Open; its sub-folder follows the
        // chosen sort, also after leaving the link and coming back.
        function test_6_receivedLink() {
            testRig.addDeviceFile("Links/Holiday/Days/b-second.txt", 200, 21)
            testRig.addDeviceFile("Links/Holiday/Days/c-third.txt", 300, 22)
            testRig.addDeviceFile("Links/Holiday/Days/a-first.txt", 100, 23)
            page = load("qrc:/compoments/file/Page/ExtlinkPage.qml", { twTab: null })
            tryVerify(function() { return page.links !== null && !page.deviceMode }, 5000)
            mouseClick(H.find(page, "addLinkButton"))
            var add = H.find(page, "addLinkDialog")
            tryCompare(add, "opened", true)
            mouseClick(H.find(add, "addLinkUrl"))
            typeText("https://x.share.tidewell.net/share?shareId=sample-link-1")
            mouseClick(H.find(add, "addLinkCode"))
            typeText("tw42")
            ok(add)
            var link = null
            tryVerify(function() { link = H.find(page, "linkRow_Holiday pictures"); return link !== null }, 20000)
            mouseDoubleClickSequence(link)
            var view = page.filesView

            var before = selectionRig.opened().length
            mouseDoubleClickSequence(row(view, "itinerary.txt"))
            opened(before, "Links/Holiday/itinerary.txt")
            verify(toast.lastText.indexOf("401") < 0, toast.lastText)
            var r = row(view, "itinerary.txt")
            before = selectionRig.opened().length
            mouseClick(r, r.width / 2, r.height / 2, Qt.RightButton)
            var menu = H.find(view, "levelMenu")
            tryCompare(menu, "opened", true)
            mouseClick(H.find(menu, "menuOpen"))
            opened(before, "Links/Holiday/itinerary.txt")

            function names() { return view.current ? H.column(view.current, 257) : [] }
            function waitNames(want) {
                tryVerify(function() { return JSON.stringify(names()) === JSON.stringify(want) }, 15000,
                          JSON.stringify(want) + ", have " + JSON.stringify(names()))
            }
            mouseDoubleClickSequence(row(view, "Days"))
            row(view, "a-first.txt")
            mouseClick(H.find(view, "linkSortName"))
            waitNames(["c-third.txt", "b-second.txt", "a-first.txt"])
            mouseClick(H.find(view, "linkSortName"))
            waitNames(["a-first.txt", "b-second.txt", "c-third.txt"])
            mouseClick(H.find(view, "linkSortName"))
            waitNames(["c-third.txt", "b-second.txt", "a-first.txt"])
            verify(testRig.screenshot(page, "selection_link_sorted"))
            mouseClick(H.find(view, "linkFilesBack"))
            tryCompare(page, "openLink", null)
            mouseDoubleClickSequence(H.find(page, "linkRow_Holiday pictures"))
            mouseDoubleClickSequence(row(view, "Days"))
            waitNames(["c-third.txt", "b-second.txt", "a-first.txt"])
        }

        // Group search results follow the chosen sort; searching from the
        // results replaces them instead of stacking another level.
        function test_7_groupSearch() {
            var g = selectionRig.addGroup("Search group")
            testRig.addDeviceFile("groups/" + g + "/x-2.txt", 20, 31)
            testRig.addDeviceFile("groups/" + g + "/x-3.txt", 30, 32)
            testRig.addDeviceFile("groups/" + g + "/Inner/x-1.txt", 10, 33)
            page = load("qrc:/compoments/pubgroup/PubGroupPage.qml", { twTab: tab })
            var entry = null
            tryVerify(function() { entry = H.find(page, "groupRow_Search group"); return entry !== null }, 15000)
            mouseDoubleClickSequence(entry)
            var view = null
            tryVerify(function() { view = H.find(page, "groupView"); return view && view.visible }, 10000)
            function names() { return view.current ? H.column(view.current, 257) : [] }
            function waitNames(want) {
                tryVerify(function() { return JSON.stringify(names()) === JSON.stringify(want) }, 15000,
                          JSON.stringify(want) + ", have " + JSON.stringify(names()))
            }
            row(view, "x-3.txt")
            mouseClick(H.find(view, "groupSortName"))
            var field = H.find(view, "groupSearch")
            mouseClick(field)
            typeText("x-")
            keyClick(Qt.Key_Return)
            tryCompare(view.files, "depth", 1)
            waitNames(["x-3.txt", "x-2.txt", "x-1.txt"])
            mouseClick(H.find(view, "groupSortName"))
            waitNames(["x-1.txt", "x-2.txt", "x-3.txt"])
            mouseClick(field)
            typeText("x-2")
            keyClick(Qt.Key_Return)
            waitNames(["x-2.txt"])
            compare(view.files.depth, 1, "the second search took the first one's place")
            compare(H.find(view, "levelCrumb1").text, "Search \"x-2\"")
            verify(testRig.screenshot(page, "selection_group_search"))
            mouseClick(H.find(view, "levelBack"))
            tryCompare(view.files, "depth", 0)
        }

        // Failures keep their reason on the page, and the page loads again
        // by itself once the device answers.
        function test_8_failuresSayWhy() {
            selectionRig.quiet(tab)
            selectionRig.failWithMessage("getFileFromClassForDate3", 500, "the picture index is being rebuilt")
            page = load("qrc:/compoments/media/MediaPage.qml", { twTab: tab })
            var pictures = page.category(0)
            var empty = H.find(pictures, "emptyView")
            tryCompare(empty, "state_", 2, 15000)
            compare(H.find(empty, "emptyText").text, "the picture index is being rebuilt")
            verify(testRig.screenshot(page, "selection_media_failed"))
            tryVerify(function() { return H.find(pictures, "thumb_spinner.gif") !== null }, 30000,
                      "the pictures load again")
            compare(empty.state_, 0)
            selectionRig.answerMalformed("getFileFromClassForDate3")
            mouseClick(H.find(pictures, "refreshButton"))
            tryCompare(empty, "state_", 2, 15000)
            tryCompare(H.find(empty, "emptyText"), "text", "The device's answer could not be read", 15000)
            testRig.clearFaults()
            tryVerify(function() { return H.find(pictures, "thumb_spinner.gif") !== null }, 30000)

            selectionRig.failWithMessage("getExternalLinkList", 500, "links are being counted")
            page = load("qrc:/compoments/file/Page/ExtlinkPage.qml", { twTab: tab })
            var linkEmpty = H.find(page, "emptyView")
            tryCompare(linkEmpty, "state_", 2, 15000)
            compare(H.find(linkEmpty, "emptyText").text, "links are being counted")
            verify(testRig.screenshot(page, "selection_links_failed"))
            tryVerify(function() { return H.find(page, "linkRow_Holiday pictures") !== null }, 30000,
                      "the links load again")

            // A group folder opened while the device is briefly away, too
            // briefly for the tab to notice.
            page = load("qrc:/compoments/pubgroup/PubGroupPage.qml", { twTab: tab })
            var entry = null
            tryVerify(function() { entry = H.find(page, "groupRow_Tick group"); return entry !== null }, 15000)
            selectionRig.away()
            mouseDoubleClickSequence(entry)
            var view = null
            tryVerify(function() { view = H.find(page, "groupView"); return view && view.visible }, 10000)
            var folderEmpty = H.find(view.files, "emptyView")
            tryCompare(folderEmpty, "state_", 2, 15000)
            verify(H.find(folderEmpty, "emptyText").text.length > 0)
            verify(selectionRig.back())
            tryVerify(function() { return H.find(view, "fileRow_a.txt") !== null }, 30000, "the folder loads again")
            compare(folderEmpty.state_, 0)
        }
    }
}
