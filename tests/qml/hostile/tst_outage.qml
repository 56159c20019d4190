import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// Pages opened while the device is away (before the tab has noticed) fail
// to load; once the tab has lost the link and found the device again they
// load by themselves, without the user navigating away and back.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "HostileOutage"
        when: windowShown

        function load(url) {
            loader.source = ""
            loader.setSource(url, { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            return loader.item
        }
        // The tab notices the device gone, then the device comes back.
        function outageEnds() {
            hostileRig.quickLink(tab, 500)
            tryVerify(function() { return tab.linkState < 2 }, 15000, "the tab notices the device gone")
            verify(hostileRig.back())
            tryVerify(function() { return tab.linkState >= 2 }, 15000, "the tab reconnects")
        }

        function initTestCase() {
            var g = hostileRig.plainGroup()
            hostileRig.addGroupFile(g, "plan.txt")
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
        }
        function init() { hostileRig.quickLink(tab, 60000) }
        function cleanup() {
            hostileRig.back()
            tryVerify(function() { return tab.linkState >= 2 }, 20000)
        }

        function test_1_groupFolder() {
            var page = load("qrc:/compoments/pubgroup/PubGroupPage.qml")
            var groups = page.groups
            tryVerify(function() { return H.column(groups, 257).indexOf("Hostile group") >= 0 }, 15000)
            hostileRig.away()
            page.open(H.column(groups, 257).indexOf("Hostile group"))
            var view = H.find(page, "groupView")
            tryVerify(function() { return view.current !== null }, 5000)
            var empty = H.find(view.files, "emptyView")
            tryCompare(empty, "state_", 2, 15000)
            verify(testRig.screenshot(page, "hostile_group_folder_away"))
            outageEnds()
            tryVerify(function() { return H.column(view.current, 257).indexOf("plan.txt") >= 0 }, 15000,
                      "the folder loads again")
            compare(empty.state_, 0)
            verify(testRig.screenshot(page, "hostile_group_folder_back"))
        }

        function test_2_media() {
            hostileRig.away()
            var page = load("qrc:/compoments/media/MediaPage.qml")
            var pictures = page.category(0)
            var empty = H.find(pictures, "emptyView")
            tryVerify(function() { return empty.state_ !== 0 }, 15000, "the first load fails")
            outageEnds()
            tryVerify(function() { return H.find(pictures, "thumb_harbour.jpg") !== null }, 15000,
                      "the pictures load again")
            verify(testRig.screenshot(page, "hostile_media_back"))
        }

        function test_3_sharesAndLinks() {
            hostileRig.away()
            var shares = load("qrc:/compoments/share/SharePage.qml")
            var empty = H.find(shares.levels, "emptyView")
            tryCompare(empty, "state_", 2, 15000)
            outageEnds()
            tryVerify(function() { return H.column(shares.current, 257).indexOf("recipes.txt") >= 0 }, 15000,
                      "the shares load again")
            tryVerify(function() { return shares.shareUsers.rowCount() > 0 }, 15000, "the sharers load again")
            verify(testRig.screenshot(shares, "hostile_shares_back"))

            hostileRig.quickLink(tab, 60000)
            hostileRig.away()
            var links = load("qrc:/compoments/file/Page/ExtlinkPage.qml")
            tryVerify(function() { return links.links !== null }, 5000)
            // The list fails at once: nothing answers on the device's port.
            wait(1000)
            compare(links.links.rowCount(), 0)
            outageEnds()
            tryVerify(function() { return H.column(links.links, 257).indexOf("Holiday pictures") >= 0 }, 15000,
                      "the links load again")
        }
    }
}
