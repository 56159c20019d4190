import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import QtQuick.Window 2.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// A link made on the file page and handed on as the program copies it:
// pasted into Add link it is added with its code, once; a refused link
// leaves its text in the dialog; the list is ordered by creation time both
// ways and its URL column never shows a code.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "ReceivedLinks"
        when: windowShown

        function named(item, name) {
            var out = []
            if (!item)
                return out
            if (item.objectName === name && item.visible)
                out.push(item)
            var kids = item.children || []
            for (var i = 0; i < kids.length; ++i)
                out = out.concat(named(kids[i], name))
            return out
        }
        function row(page, title) {
            var r = null
            tryVerify(function() { r = H.find(page, "linkRow_" + title); return r !== null }, 15000, "row " + title)
            return r
        }
        function type(text) {
            for (var i = 0; i < text.length; ++i)
                keyClick(text.charAt(i))
        }
        // Add link, the clipboard pasted, Enter.
        function pasteLink(page) {
            mouseClick(H.find(page, "addLinkButton"))
            tryCompare(page.addDialog, "opened", true)
            keyClick("a", Qt.ControlModifier)
            keyClick("v", Qt.ControlModifier)
            keyClick(Qt.Key_Return)
            tryCompare(page.addDialog, "opened", false)
        }
        function above(page, a, b) {
            var ra = row(page, a), rb = row(page, b)
            return ra.mapToItem(page, 0, 0).y < rb.mapToItem(page, 0, 0).y
        }

        function test_1_createdLinkCopiedWithItsCode() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/file/FilePage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            var page = loader.item
            var docs = null
            tryVerify(function() { docs = H.find(page, "fileRow_Documents"); return docs !== null }, 15000)
            mouseDoubleClickSequence(docs)
            var file = null
            tryVerify(function() { file = H.find(page, "fileRow_readme.txt"); return file !== null }, 15000)
            mouseClick(file)
            mouseClick(H.find(page, "linkButton"))
            var ask = H.find(page, "createLinkDialog")
            tryCompare(ask, "opened", true)
            type("Readme")
            keyClick(Qt.Key_Tab)
            type("bg77")
            // Enter makes the link.
            keyClick(Qt.Key_Return)
            var card = H.find(page, "linkCard")
            tryCompare(card, "opened", true, 10000)
            var qr = H.find(card, "linkQr")
            verify(qr.visible && qr.width >= 100, "the card shows the link's QR code")
            verify(qr.text.indexOf("code=bg77") > 0, qr.text)
            var url = H.find(card, "linkUrl")
            verify(url.text.indexOf("shareId=") > 0)
            compare(url.truncated, false)
            mouseClick(H.find(card, "linkCopy"))
            tryCompare(toast, "lastText", "Copied")
            verify(testRig.screenshot(page.Window.contentItem, "receivedlinks_created"))
            keyClick(Qt.Key_Escape)
            tryCompare(card, "opened", false)
            loader.source = ""
        }

        function test_2_pastedAddedOnceSortedCodeHidden() {
            loader.setSource("qrc:/compoments/file/Page/ExtlinkPage.qml", { twTab: null })
            tryCompare(loader, "status", Loader.Ready)
            var page = loader.item
            tryVerify(function() { return page.links !== null && !page.deviceMode }, 5000)

            // What Copy put on the clipboard: added with its code, no question.
            pasteLink(page)
            var added = row(page, "Readme")
            verify(!H.find(page, "linkCodeDialog").opened)
            var urlText = H.find(added, "linkUrlText").text
            verify(urlText.indexOf("shareId=") > 0, urlText)
            compare(urlText.indexOf("bg77"), -1, "the URL column shows no code")

            // Once is enough, in any form.
            toast.lastText = ""
            pasteLink(page)
            tryCompare(toast, "lastText", "existed extlink", 10000)
            compare(named(page, "linkRow_Readme").length, 1)

            // The text earlier versions copied: the URL and its code in words.
            twSdk.setClipboardText(sharingRig.linkUrl("coded-link-4") + " Extraction code: cd55")
            pasteLink(page)
            row(page, "Coded trip")
            verify(!H.find(page, "linkCodeDialog").opened)

            // A refused link: the service's reason, and Add link opens with
            // the text again.
            var missing = sharingRig.linkUrl("no-such-link")
            twSdk.setClipboardText(missing)
            toast.lastText = ""
            pasteLink(page)
            tryVerify(function() { return toast.lastText.length > 0 }, 10000)
            verify(toast.lastLevel !== Constant.toastSuccess)
            mouseClick(H.find(page, "addLinkButton"))
            tryCompare(page.addDialog, "opened", true)
            compare(H.find(page.addDialog, "addLinkUrl").text, missing)
            verify(testRig.screenshot(page.Window.contentItem, "receivedlinks_refused"))
            keyClick(Qt.Key_Escape)
            tryCompare(page.addDialog, "opened", false)

            // Newest first, then oldest first.
            twSdk.setClipboardText(sharingRig.linkUrl("dated-old"))
            pasteLink(page)
            row(page, "Old trip")
            twSdk.setClipboardText(sharingRig.linkUrl("dated-new"))
            pasteLink(page)
            row(page, "New trip")
            verify(above(page, "Readme", "New trip"))
            verify(above(page, "New trip", "Old trip"))
            mouseClick(H.find(page, "linkSortTime"))
            tryVerify(function() { return above(page, "Old trip", "New trip") }, 10000)
            verify(above(page, "New trip", "Readme"))
            verify(testRig.screenshot(page, "receivedlinks_sorted"))
        }
    }
}
