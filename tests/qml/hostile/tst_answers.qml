import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// Slow and broken answers as the pages show them: a Refresh while the
// first page is on its way leaves no busy overlay behind; a list whose
// answer fails says the device's own reason, with no count over it.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "HostileAnswers"
        when: windowShown

        function load(url) {
            loader.source = ""
            loader.setSource(url, { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            return loader.item
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
        }
        function cleanup() { testRig.clearFaults() }

        function test_1_refreshWhileTheFirstPageIsSlow() {
            testRig.clearRequests()
            testRig.delayAnswer(3000, 1, "getFileFromClassForDate3")
            var page = load("qrc:/compoments/media/MediaPage.qml")
            var pictures = page.category(0)
            var busy = H.find(pictures, "busyOverlay")
            tryVerify(function() { return testRig.requestCount("getFileFromClassForDate3") === 1 }, 5000)
            verify(busy.visible)
            mouseClick(H.find(pictures, "refreshButton"))
            tryVerify(function() { return H.find(pictures, "thumb_harbour.jpg") !== null }, 15000, "new listing")
            // The first answer comes late and is dropped: it takes its
            // overlay with it.
            wait(3000)
            tryCompare(busy, "visible", false, 5000)
            compare(busy.depth, 0)
            mouseClick(H.find(pictures, "thumb_harbour.jpg"))
            tryCompare(pictures.model, "selectNum", 1)
            verify(testRig.screenshot(page, "hostile_media_refreshed"))
        }

        function test_2_groupListSaysTheDevicesReason() {
            var page = load("qrc:/compoments/pubgroup/PubGroupPage.qml")
            var groups = page.groups
            tryVerify(function() { return groups.rowCount() > 0 }, 15000)
            var count = H.find(page, "groupCount")
            verify(count.text !== "0 groups", count.text)
            hostileRig.failWithMessage("getPubGroupList", 500, "storage engine failure")
            mouseClick(H.find(page, "groupRefresh"))
            var empty = H.find(H.find(page, "groupList").parent, "emptyView")
            tryCompare(empty, "state_", 2, 15000)
            compare(H.find(empty, "emptyText").text, "storage engine failure")
            compare(count.text, "0 groups")
            wait(100)
            verify(testRig.screenshot(page, "hostile_group_list_failed"))
            // An empty answer and a dropped connection say what happened.
            hostileRig.answerEmpty("getPubGroupList")
            mouseClick(H.find(page, "groupRefresh"))
            tryCompare(H.find(empty, "emptyText"), "text", "The device's answer could not be read", 15000)
            hostileRig.dropAnswer("getPubGroupList")
            mouseClick(H.find(page, "groupRefresh"))
            tryCompare(H.find(empty, "emptyText"), "text", "The connection was closed", 15000)
            mouseClick(H.find(page, "groupRefresh"))
            tryVerify(function() { return groups.rowCount() > 0 }, 15000)
            compare(empty.state_, 0)
            verify(count.text !== "0 groups", count.text)
        }
    }
}
