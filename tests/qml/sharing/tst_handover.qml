import QtQuick 2.15
import QtTest 1.15
import QtQuick.Window 2.15
import Tidewell 1.0
import "../scenefind.js" as H

// A link handed to the program (at start, or by a later start through the
// running window) opens the link page's add-link dialog filled with it.
TestCase {
    id: tc
    name: "LinkHandOver"
    when: windowShown
    width: 1180
    height: 760

    property var win: null
    readonly property var link: ({
        shareId: "sample-link-1",
        code: "tw42",
        url: "https://x.share.tidewell.net/share?shareId=sample-link-1&code=tw42"
    })

    function linkPage() {
        return H.find(H.find(win.contentItem, "appView"), "extlinkPage")
    }

    function cleanup() {
        if (win)
            win.destroy()
        win = null
        wait(0)
    }

    function test_1_atStart() {
        twSdk.extraExtlink = link
        var comp = Qt.createComponent("qrc:/main.qml")
        verify(comp.status === Component.Ready, comp.errorString())
        win = comp.createObject(null)
        verify(win !== null)
        var page = null
        tryVerify(function() { page = linkPage(); return page !== null }, 5000)
        tryCompare(page.addDialog, "opened", true)
        compare(page.addDialog.url, link.url)
        compare(page.addDialog.code, "tw42")
        // Taken: the property is cleared.
        compare(twSdk.extraExtlink.shareId, undefined)
        compare(win.appSection, Constant.pageLinks)
        page.addDialog.close()
    }

    function test_2_laterStart() {
        var comp = Qt.createComponent("qrc:/main.qml")
        win = comp.createObject(null)
        var page = null
        tryVerify(function() { page = linkPage(); return page !== null }, 5000)
        tryCompare(page, "links", page.links)
        verify(!page.addDialog.opened)
        // What the argument parser does with a later start's link.
        var later = {
            shareId: "handover-link-3",
            code: "hh77",
            url: "https://x.share.tidewell.net/share?shareId=handover-link-3&code=hh77"
        }
        twSdk.extraExtlink = later
        tryCompare(page.addDialog, "opened", true)
        compare(page.addDialog.url, later.url)
        compare(page.addDialog.code, "hh77")
        verify(testRig.screenshot(page.addDialog.contentItem.parent, "extlink_handover"))
        // Accepting adds the link with its code.
        page.addDialog.accept()
        tryVerify(function() { return H.column(page.links, 257).indexOf("Handed over") >= 0 }, 15000)
    }
}
