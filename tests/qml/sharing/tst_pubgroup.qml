import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import QtQuick.Window 2.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// The public-group page against the test device: the list and its sort
// header, a new group with the member picker, rename and leave, the group's
// header and members, and its files.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "PubGroupPage"
        when: windowShown

        property var page: null
        readonly property var groups: page ? page.groups : null

        function names() { return H.column(groups, 257) }
        function waitGroup(name, present) {
            tryVerify(function() { return (names().indexOf(name) >= 0) === (present !== false) }, 15000,
                      "group " + name + (present === false ? " gone" : ""))
        }
        function rowOf(name) { return names().indexOf(name) }
        function selectGroup(name) {
            // The busy overlay of a command still being answered takes the
            // click: a user waits for it to go and for the list to settle.
            var list = H.find(page, "groupList")
            tryCompare(H.find(list.parent, "busyOverlay"), "visible", false, 10000)
            tryVerify(function() { return !isPolishScheduled(list) })
            var row = H.find(list, "groupRow_" + name)
            verify(row, "row " + name)
            mouseClick(row)
            tryCompare(groups, "selectNum", 1)
            compare(groups.get().gName, name)
        }
        function groupView() { return H.find(page, "groupView") }
        function fileNames() {
            var v = groupView()
            return v.current ? H.column(v.current, 257) : []
        }
        function waitFile(name, present) {
            tryVerify(function() { return (fileNames().indexOf(name) >= 0) === (present !== false) }, 15000,
                      "file " + name)
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/pubgroup/PubGroupPage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            waitGroup("Family album")
            waitGroup("Alice trips")
        }

        function test_1_sortHeaderReloads() {
            testRig.clearRequests()
            mouseClick(H.find(page, "sortName"))
            compare(groups.sortType, 2)
            tryVerify(function() { return testRig.requestCount("getPubGroupList") >= 1 }, 10000)
            // Clicks while the list is still on its way are not lost.
            mouseClick(H.find(page, "sortCreated"))
            compare(groups.sortType, 1)
            tryVerify(function() { return testRig.requestCount("getPubGroupList") >= 2 }, 10000)
            // The same column again turns the direction.
            var before = groups.isSort
            mouseClick(H.find(page, "sortCreated"))
            compare(groups.isSort, !before)
            waitGroup("Family album")
            tryVerify(function() { return testRig.requestCount("getPubGroupList") >= 3 }, 10000)
            verify(testRig.screenshot(page, "pubgroup_list"))
        }

        function test_2_createThenPickMembers() {
            mouseClick(H.find(page, "createGroupButton"))
            var dlg = H.find(page, "createGroupDialog")
            tryCompare(dlg, "opened", true)
            dlg.value = "Garden club"
            dlg.accept()
            waitGroup("Garden club")
            // The picker opens for the new group with the users not in it.
            var picker = H.find(page, "memberPicker")
            tryCompare(picker, "opened", true)
            var alice = null
            tryVerify(function() { alice = H.find(picker, "pickUser_Alice"); return alice !== null }, 10000)
            verify(H.find(picker, "pickUser_Owner") === null, "the owner is in the group already")
            verify(testRig.screenshot(page.Window.contentItem, "pubgroup_memberpicker"))
            mouseClick(alice)
            tryCompare(alice, "checked", true)
            picker.accept()
            var gId = picker.groupId
            verify(gId > 0)
            tryVerify(function() { return sharingRig.pubGroupAuthority(gId, "alice") === 1 }, 10000,
                      "alice joined as an editor")
            compare(sharingRig.pubGroupDisk(gId), sharingRig.personalDisk(), "made on the personal disk")
        }

        // A group seen on another disk does not move new groups there.
        function test_2b_newGroupOnThePersonalDisk() {
            sharingRig.addOwnGroup("Scans", "usb-7")
            mouseClick(H.find(page, "sortName"))
            waitGroup("Scans")
            selectGroup("Scans")
            mouseClick(H.find(page, "createGroupButton"))
            var dlg = H.find(page, "createGroupDialog")
            tryCompare(dlg, "opened", true)
            var name = "Scan club"
            for (var i = 0; i < name.length; ++i)
                keyClick(name[i])
            keyClick(Qt.Key_Return)
            waitGroup(name)
            var picker = H.find(page, "memberPicker")
            tryCompare(picker, "opened", true)
            var gId = picker.groupId
            keyClick(Qt.Key_Escape)
            tryCompare(picker, "opened", false)
            compare(sharingRig.pubGroupName(gId), name)
            compare(sharingRig.pubGroupDisk(gId), sharingRig.personalDisk())
        }

        function test_3_renameAndLeave() {
            selectGroup("Garden club")
            mouseClick(H.find(page, "renameGroupButton"))
            var dlg = H.find(page, "renameGroupDialog")
            tryCompare(dlg, "opened", true)
            compare(dlg.value, "Garden club")
            dlg.value = "Garden friends"
            dlg.accept()
            waitGroup("Garden friends")
            waitGroup("Garden club", false)

            selectGroup("Alice trips")
            var gId = groups.get().gId
            verify(!H.find(page, "renameGroupButton").enabled, "a member does not rename")
            mouseClick(H.find(page, "leaveGroupButton"))
            var leave = H.find(page, "leaveGroupDialog")
            tryCompare(leave, "opened", true)
            leave.accept()
            waitGroup("Alice trips", false)
            tryVerify(function() { return sharingRig.pubGroupAuthority(gId, "owner") === -1 }, 10000)
        }

        function test_4_headerAndMembers() {
            var row = H.find(page, "groupRow_Garden friends")
            mouseDoubleClickSequence(row)
            var view = groupView()
            tryVerify(function() { return page.openGroup && page.openGroup.gName === "Garden friends" }, 5000)
            var summary = H.find(view, "memberSummary")
            tryCompare(summary, "text", "2 members", 10000)
            tryCompare(H.find(view, "avatarRepeater"), "count", 2)
            compare(H.find(view, "groupRight").text.indexOf("Has Manager"), 0)
            mouseClick(H.find(view, "membersButton"))
            var members = H.find(view, "memberDialog")
            tryCompare(members, "opened", true)
            compare(members.title, "Manager")
            var alice = null
            tryVerify(function() { alice = H.find(members, "member_Alice"); return alice !== null }, 10000)
            verify(H.find(members, "member_Owner") !== null)
            verify(testRig.screenshot(page.Window.contentItem, "pubgroup_members"))
            // Browse only for Alice: the device has it and the row says so.
            mouseClick(alice)
            mouseClick(H.find(members, "memberBrowseButton"))
            var gId = page.openGroup.gId
            tryVerify(function() { return sharingRig.pubGroupAuthority(gId, "alice") === 2 }, 10000)
            // The list follows the change (it may have been loaded again).
            tryVerify(function() {
                var row = H.find(members, "member_Alice")
                return row !== null && H.find(row, "memberRight").text === "Has Browse"
            }, 10000)
            // Removal: the row, the device and the header's summary follow.
            mouseClick(H.find(members, "member_Alice"))
            mouseClick(H.find(members, "memberRemoveButton"))
            var confirm = H.find(members, "memberRemoveDialog")
            tryCompare(confirm, "opened", true)
            confirm.accept()
            tryVerify(function() { return sharingRig.pubGroupAuthority(gId, "alice") === -1 }, 10000)
            tryVerify(function() { return H.find(members, "member_Alice") === null }, 10000)
            tryCompare(summary, "text", "1 members", 10000)
            members.close()
            mouseClick(H.find(view, "groupBack"))
            tryCompare(page, "openGroup", null)
        }

        function test_5_groupFiles() {
            mouseDoubleClickSequence(H.find(page, "groupRow_Family album"))
            var view = groupView()
            var gId = page.openGroup.gId
            var top = "groups/" + gId
            waitFile("welcome.txt")
            waitFile("Holidays")

            // New folder.
            mouseClick(H.find(view, "groupNewFolder"))
            var nf = H.find(view, "groupNewFolderDialog")
            tryCompare(nf, "opened", true)
            nf.value = "Notes"
            nf.accept()
            waitFile("Notes")
            tryVerify(function() { return testRig.deviceHas(top + "/Notes") }, 10000)

            // Rename keeps the suffix.
            mouseClick(H.find(view, "fileRow_welcome.txt"))
            tryCompare(view.current, "selectNum", 1)
            mouseClick(H.find(view, "groupRename"))
            var rn = H.find(view, "groupRenameDialog")
            tryCompare(rn, "opened", true)
            compare(rn.value, "welcome")
            rn.value = "hello"
            rn.accept()
            waitFile("hello.txt")
            tryVerify(function() { return testRig.deviceHas(top + "/hello.txt") }, 10000)
            verify(!testRig.deviceHas(top + "/welcome.txt"))

            // Download through the tab's queue.
            mouseClick(H.find(view, "fileRow_hello.txt"))
            tryCompare(view.current, "selectNum", 1)
            mouseClick(H.find(view, "groupDownload"))
            tryCompare(toast, "lastText", "Already added to download", 10000)
            var target = testRig.downloadDir() + "/hello.txt"
            tryVerify(function() { return testRig.sameBytes(target, top + "/hello.txt") }, 20000,
                      "the file lands byte-exact")

            // Copy out of the group into the personal space.
            tryCompare(view.current, "selectNum", 0)
            mouseClick(H.find(view, "fileRow_hello.txt"))
            tryCompare(view.current, "selectNum", 1)
            mouseClick(H.find(view, "groupCopy"))
            var picker = H.find(view, "folderPicker")
            tryCompare(picker, "opened", true)
            H.pickFolder(tc, picker, "Documents")
            tryCompare(toast, "lastText", "Copying file", 10000)
            tryVerify(function() { return testRig.sameBytes(testRig.devicePath("Documents/hello.txt"), top + "/hello.txt") },
                      10000, "copied on the device")

            // Move into a folder of the group.
            tryCompare(picker, "visible", false)
            mouseClick(H.find(view, "fileRow_hello.txt"))
            tryCompare(view.current, "selectNum", 1)
            mouseClick(H.find(view, "groupMove"))
            tryCompare(picker, "opened", true)
            mouseClick(H.find(picker, "pickerGroups"))
            var groupEntry = null
            tryVerify(function() { groupEntry = H.findText(H.find(picker, "pickerList"), "Family album"); return groupEntry !== null }, 10000)
            mouseClick(groupEntry)
            var notes = null
            tryVerify(function() { notes = H.findText(H.find(picker, "pickerList"), "Notes"); return notes !== null }, 10000)
            mouseClick(notes)
            tryVerify(function() { return H.find(picker, "pickerPath").text.indexOf("Notes") >= 0 }, 10000)
            picker.accept()
            waitFile("hello.txt", false)
            tryVerify(function() { return testRig.deviceHas(top + "/Notes/hello.txt") }, 10000, "moved on the device")

            // Into a folder and back.
            mouseDoubleClickSequence(H.find(view, "fileRow_Holidays"))
            tryCompare(view.files, "depth", 1)
            tryCompare(H.find(view.files, "emptyText"), "visible", true)
            mouseClick(H.find(view, "levelCrumb0"))
            tryCompare(view.files, "depth", 0)
            waitFile("Notes")
            verify(testRig.screenshot(page, "pubgroup_files"))
        }
    }
}
