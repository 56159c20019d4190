import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import QtQuick.Window 2.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// A group's files: sorted by the column header, searched by keyword as a
// level of its own, uploaded into by dropping files onto the list, moved
// without offering the moved folder; and a received link's files saved into
// a folder the user picks.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Loader { id: linkLoader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "GroupFiles"
        when: windowShown

        property var page: null
        readonly property string groupTop: "groups/" + groupRig.groupId()
        readonly property var byDevice: ["Archive", "Gamma", "alpha.txt", "beta.txt", "delta report.txt"]

        function view() { return H.find(page, "groupView") }
        function names() {
            var v = view()
            return v && v.current ? H.column(v.current, 257) : []
        }
        function waitNames(want, what) {
            tryVerify(function() { return JSON.stringify(names()) === JSON.stringify(want) }, 15000,
                      (what || "rows") + ": " + JSON.stringify(want) + ", have " + JSON.stringify(names()))
        }
        function waitName(name) {
            tryVerify(function() { return names().indexOf(name) >= 0 }, 30000, "row " + name)
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/pubgroup/PubGroupPage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            var row = null
            tryVerify(function() { row = H.find(page, "groupRow_Project files"); return row !== null }, 15000)
            mouseDoubleClickSequence(row)
            tryVerify(function() { return page.openGroup && page.openGroup.gName === "Project files" }, 5000)
        }

        function test_1_sortedByColumn() {
            var v = view()
            waitNames(byDevice, "the device's order")
            testRig.clearRequests()
            mouseClick(H.find(v, "groupSortName"))
            compare(v.current.sortType, 2)
            compare(v.current.isSort, false)
            waitNames(["Gamma", "Archive", "delta report.txt", "beta.txt", "alpha.txt"], "names down")
            verify(H.find(v, "groupSortName").text.indexOf("\u25bc") > 0)
            // The same column again turns the direction.
            mouseClick(H.find(v, "groupSortName"))
            compare(v.current.isSort, true)
            tryVerify(function() { return testRig.requestCount("getPubFileList") >= 2 }, 10000)
            waitNames(["Archive", "Gamma", "alpha.txt", "beta.txt", "delta report.txt"], "names up")
            verify(H.find(v, "groupSortName").text.indexOf("\u25b2") > 0)
            verify(testRig.screenshot(page, "groupfiles_sorted"))
        }

        function test_2_searchIsALevelWithAWayBack() {
            var v = view()
            var field = H.find(v, "groupSearch")
            mouseClick(field)
            field.text = "report"
            keyClick(Qt.Key_Return)
            tryCompare(v.files, "depth", 1)
            compare(v.current.keyword, "report")
            compare(v.current.sortType, 2, "a new level keeps the sort")
            // Found below the group's top, nested folders included, in the
            // order chosen (names up).
            waitNames(["delta report.txt", "report 2.txt"], "found")
            compare(H.find(v, "levelCrumb1").text, "Search \"report\"")
            verify(!H.find(v, "groupUpload").enabled, "nothing is uploaded into a search")
            verify(!H.find(v, "groupNewFolder").enabled)
            verify(testRig.screenshot(page, "groupfiles_search"))
            mouseClick(H.find(v, "levelBack"))
            tryCompare(v.files, "depth", 0)
            compare(v.current.keyword, "")
            waitNames(["Archive", "Gamma", "alpha.txt", "beta.txt", "delta report.txt"], "back at the top")
        }

        function test_3_droppedFilesAreUploaded() {
            var v = view()
            var local = testRig.writeLocalFile("dropped.bin", 150000, 3)
            var list = H.find(v, "levelList")
            verify(groupRig.dragOver(list, [local]), "the list takes the drag")
            tryCompare(H.find(v, "groupDropFrame"), "visible", true)
            verify(testRig.screenshot(page, "groupfiles_dropzone"))
            verify(groupRig.drop(), "the drop is taken")
            tryCompare(H.find(v, "groupDropFrame"), "visible", false)
            tryVerify(function() { return testRig.sameBytes(local, groupTop + "/dropped.bin") }, 30000,
                      "uploaded into the group byte-exact")
            // The list follows once the tab's uploads have ended.
            waitName("dropped.bin")

            // Into a folder of the group.
            mouseDoubleClickSequence(H.find(v, "fileRow_Gamma"))
            tryCompare(v.files, "depth", 1)
            waitNames(["report 2.txt"], "Gamma")
            var deeper = testRig.writeLocalFile("into gamma.txt", 5000, 4)
            verify(groupRig.dragOver(H.find(v, "levelList"), [deeper]))
            verify(groupRig.drop())
            tryVerify(function() { return testRig.sameBytes(deeper, groupTop + "/Gamma/into gamma.txt") }, 30000,
                      "uploaded into the folder shown")
            waitName("into gamma.txt")
            verify(testRig.screenshot(page, "groupfiles_uploaded"))
            mouseClick(H.find(v, "levelCrumb0"))
            tryCompare(v.files, "depth", 0)
        }

        function test_4_moveDoesNotOfferTheMovedFolder() {
            var v = view()
            waitName("Gamma")
            mouseClick(H.find(v, "fileRow_Gamma"))
            tryCompare(v.current, "selectNum", 1)
            mouseClick(H.find(v, "groupMove"))
            var picker = H.find(v, "folderPicker")
            tryCompare(picker, "opened", true)
            mouseClick(H.find(picker, "pickerGroups"))
            var entry = null
            tryVerify(function() { entry = H.findText(H.find(picker, "pickerList"), "Project files"); return entry !== null }, 10000)
            mouseClick(entry)
            tryVerify(function() { return H.findText(H.find(picker, "pickerList"), "Archive") !== null }, 10000)
            verify(H.findText(H.find(picker, "pickerList"), "Gamma") === null, "the moved folder is not a target")
            verify(testRig.screenshot(page.Window.contentItem, "groupfiles_movepicker"))
            mouseClick(H.findText(H.find(picker, "pickerList"), "Archive"))
            picker.accept()
            tryVerify(function() { return testRig.deviceHas(groupTop + "/Archive/Gamma/report 2.txt") }, 10000,
                      "moved on the device")
            tryVerify(function() { return names().indexOf("Gamma") < 0 }, 10000)
            // A copy offers every folder again.
            mouseClick(H.find(v, "fileRow_alpha.txt"))
            tryCompare(v.current, "selectNum", 1)
            mouseClick(H.find(v, "groupCopy"))
            tryCompare(picker, "opened", true)
            compare(picker.excludeIds.length, 0)
            picker.close()
        }

        function test_5_linkSavedIntoAChosenFolder() {
            loader.source = ""
            linkLoader.setSource("qrc:/compoments/extlink/LinkFilesView.qml",
                                 { twTab: null, deviceMode: false,
                                   link: { shareId: "save-link-1", code: "", title: "Save me" } })
            tryCompare(linkLoader, "status", Loader.Ready)
            var v = linkLoader.item
            tryVerify(function() { return v.current && v.current.rowCount() === 3 }, 20000, "the link's files")
            compare(H.column(v.current, 257), ["Inner", "data.bin", "notes.txt"])
            // Sorted by name, down.
            mouseClick(H.find(v, "linkSortName"))
            tryVerify(function() {
                return JSON.stringify(H.column(v.current, 257)) === JSON.stringify(["Inner", "notes.txt", "data.bin"])
            }, 15000, "names down")

            mouseClick(H.find(v, "fileRow_data.bin"))
            tryCompare(v.current, "selectNum", 1)
            mouseClick(H.find(v, "linkSave"))
            var ask = H.find(v, "linkSaveDialog")
            tryCompare(ask, "visible", true)
            compare(String(ask.folder), String(twSdk.fileUrl(testRig.downloadDir())))
            verify(testRig.screenshot(v.Window.contentItem, "groupfiles_linksave"))
            var chosen = testRig.localDir() + "/Chosen"
            testRig.writeLocalFile("Chosen/.keep", 1, 1)
            ask.folder = groupRig.localUrl(chosen)
            ask.accept()
            tryCompare(toast, "lastText", "Already added to download", 15000)
            tryCompare(v.current, "selectNum", 0)
            tryVerify(function() { return testRig.sameBytes(chosen + "/data.bin", "Links/Save/data.bin") }, 30000,
                      "saved into the chosen folder byte-exact")
            verify(!testRig.localExists(testRig.downloadDir() + "/data.bin"), "not into the download folder")
            verify(testRig.screenshot(v, "groupfiles_linksaved"))
        }

        // A link of the device: its folders take dropped files.
        function test_6_deviceLinkFolderTakesDrops() {
            linkLoader.source = ""
            linkLoader.setSource("qrc:/compoments/extlink/LinkFilesView.qml",
                                 { twTab: tab, deviceMode: true,
                                   link: { shareId: "save-link-1", code: "", title: "Save me" } })
            tryCompare(linkLoader, "status", Loader.Ready)
            var v = linkLoader.item
            tryVerify(function() { return v.current && v.current.rowCount() === 3 }, 20000, "the link's files")
            var zone = H.find(v, "linkDropArea")
            verify(!zone.enabled, "the link's top level is no folder to upload to")
            mouseDoubleClickSequence(H.find(v, "fileRow_Inner"))
            tryCompare(v.files, "depth", 1)
            tryVerify(function() { return zone.folder.fid === testRig.idForPath("Links/Save/Inner") }, 10000,
                      "the drop area holds the folder shown")
            compare(zone.folder.upPath, "/Save me/Inner")
            verify(zone.enabled)
            var local = testRig.writeLocalFile("to link.txt", 3000, 6)
            verify(groupRig.dragOver(H.find(v, "levelList"), [local]))
            verify(groupRig.drop())
            tryVerify(function() { return testRig.sameBytes(local, "Links/Save/Inner/to link.txt") }, 30000,
                      "uploaded into the link's folder")
            mouseClick(H.find(v, "levelCrumb0"))
            tryCompare(v.files, "depth", 0)
            tryCompare(zone, "enabled", false)
        }
    }
}
