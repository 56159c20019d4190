import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene
import "../paging.js" as Paging

// The public groups with more rows than three pages: the list of groups,
// a group's files, what a search in it finds and its members, each read to the last row by the wheel
// and by the scroll bar, the rows matching the header's count.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "Groups"
        when: windowShown
        readonly property int total: 170
        property var page: null
        property int firstGroup: 0
        property int allGroups: 0

        function find(item, name) { return Scene.find(item, name) }
        function groupList() { return find(page, "groupList") }
        function reload() {
            loader.active = false
            loader.setSource("qrc:/compoments/pubgroup/PubGroupPage.qml", { twTab: tab })
            loader.active = true
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
        }

        function initTestCase() {
            firstGroup = pagingSeed.addGroups("Group ", total)
            for (var i = 0; i < total; ++i)
                testRig.addDeviceFile("groups/" + firstGroup + "/g-" + (1000 + i) + ".txt", 100, i)
            pagingSeed.addMembers(firstGroup, total)
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            reload()
            tryVerify(function() { return groupList().count > 0 }, 15000)
        }

        function test_1_groups() {
            // The sample's groups and the new ones.
            allGroups = page.groups.totalNum
            verify(allGroups > total, allGroups)
            Paging.bothWays(tc, groupList, allGroups, reload, "groups")
            verify(Scene.findText(page, allGroups + " groups") !== null, "the header's count")
            verify(testRig.screenshot(page, "paging-groups-end"))
        }

        function test_2_filesAndMembers() {
            var view = find(page, "groupView")
            var files = function() { return find(view, "levelList") }
            var open = function() {
                if (page.openGroup !== null)
                    mouseClick(find(view, "groupBack"))
                tryVerify(function() { return page.openGroup === null })
                mouseDoubleClickSequence(Paging.reveal(tc, groupList(), "groupRow_Group 1000"))
                tryVerify(function() { return files().count > 0 }, 15000)
            }
            open()
            Paging.bothWays(tc, files, total, open, "group files")
            compare(find(view, "levelAll").text, total + " items")
            verify(testRig.screenshot(page, "paging-groupfiles-end"))

            // The files found by a search, a level of their own.
            var search = function() {
                if (find(view, "levelCrumb1") !== null)
                    mouseClick(find(view, "levelCrumb0"))
                tryVerify(function() { return find(view, "levelCrumb1") === null })
                var field = find(view, "groupSearch")
                mouseClick(field)
                keyClick("g")
                keyClick("-")
                keyClick("1")
                keyClick(Qt.Key_Return)
                tryVerify(function() { return find(view, "levelCrumb1") !== null && files().count > 0 }, 15000)
            }
            search()
            Paging.bothWays(tc, files, total, search, "group search results")
            compare(find(view, "levelAll").text, total + " items")
            verify(testRig.screenshot(page, "paging-groupsearch-end"))

            var dialog = find(view, "memberDialog")
            var show = function() {
                if (dialog.opened)
                    dialog.close()
                tryCompare(dialog, "opened", false)
                mouseClick(find(view, "membersButton"))
                tryCompare(dialog, "opened", true)
            }
            show()
            var members = function() { return find(dialog.contentItem, "memberList") }
            tryVerify(function() { return members().count > 0 }, 15000)
            // The owner and the new members, in one answer of up to 200.
            Paging.bothWays(tc, members, total + 1, show, "members")
            verify(testRig.screenshot(dialog.background.parent, "paging-members-end"))
            dialog.close()
        }
    }
}
