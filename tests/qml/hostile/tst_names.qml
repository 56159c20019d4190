import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H
import "plain.js" as Plain

// Names a device or another user can send, in the pages: files and folders
// of the personal space, a group, its files and a member, a user sharing a
// file, a link's title. Each shows literally (markup as its characters, a
// direction control written out), no text item draws it as rich text, and
// no image source a name holds is loaded.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "HostileNames"
        when: windowShown

        function root() { return scene.Window.contentItem || scene }
        function load(url) {
            loader.source = ""
            loader.setSource(url, { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            return loader.item
        }
        // The name appears as its own characters on screen.
        function shown(text, what) {
            tryVerify(function() { return Plain.count(root(), text) > 0 }, 15000, what + ": " + text)
        }
        function allPlain(where) {
            var bad = Plain.offenders(root(), Text.PlainText)
            compare(bad.length, 0, where + ": " + bad.join(" | "))
        }
        function nothingLoaded() {
            // Images of rich text load after the frame that lays it out.
            wait(300)
            compare(hostileRig.probeRequests(), 0, "an image source from a name was fetched")
            compare(hostileRig.probeWarnings().length, 0, hostileRig.probeWarnings().join(" | "))
        }

        function initTestCase() {
            hostileRig.seed()
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
        }
        function cleanup() { nothingLoaded() }

        function test_1_personalSpace() {
            var page = load("qrc:/compoments/file/FilePage.qml")
            var files = page.model
            tryVerify(function() { return H.column(files, 257).indexOf("Hostile") >= 0 }, 15000)
            verify(files.openFolder(H.column(files, 257).indexOf("Hostile")))
            shown(hostileRig.markupFile(), "file row")
            shown(hostileRig.bidiShown(), "file row")
            shown(hostileRig.markupFolder(), "folder row")
            allPlain("file rows")
            verify(testRig.screenshot(page, "hostile_file_rows"))
            // Into the folder named as markup: the breadcrumb shows it.
            verify(files.openFolder(H.column(files, 257).indexOf(hostileRig.markupFolder())))
            tryCompare(files, "depth", 2)
            shown(hostileRig.markupFolder(), "breadcrumb")
            allPlain("breadcrumb")
            wait(200)
            verify(testRig.screenshot(page, "hostile_files"))
        }

        function test_2_groupFilesAndMembers() {
            var page = load("qrc:/compoments/pubgroup/PubGroupPage.qml")
            var groups = page.groups
            var name = hostileRig.markupGroup()
            tryVerify(function() { return H.column(groups, 257).indexOf(name) >= 0 }, 15000, "group listed")
            shown(name, "group row")
            allPlain("group list")
            verify(testRig.screenshot(page, "hostile_groups"))
            page.open(H.column(groups, 257).indexOf(name))
            var view = H.find(page, "groupView")
            tryVerify(function() { return view.current && H.column(view.current, 257).length === 2 }, 15000)
            shown(hostileRig.markupFile(), "group file")
            shown(hostileRig.bidiShown(), "group file")
            shown(name, "group title")
            allPlain("group files")
            mouseClick(H.find(page, "membersButton"))
            var members = H.find(page, "memberDialog")
            tryVerify(function() { return members.opened }, 5000)
            shown(hostileRig.markupUser(), "member")
            allPlain("members")
            wait(200)
            verify(testRig.screenshot(root(), "hostile_members"))
            members.close()
        }

        function test_3_sharesAndLinks() {
            var page = load("qrc:/compoments/share/SharePage.qml")
            shown(hostileRig.markupUser(), "user sharing")
            shown(hostileRig.markupFile(), "shared file")
            allPlain("shares")
            verify(testRig.screenshot(page, "hostile_shares"))
            page = load("qrc:/compoments/file/Page/ExtlinkPage.qml")
            shown(hostileRig.markupLink(), "link title")
            allPlain("links")
            verify(testRig.screenshot(page, "hostile_links"))
        }
    }
}
