import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import QtQuick.Window 2.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// The link page in both modes. Device mode: the device's links with their
// counters, copy and the share card. Client mode: adding links by URL and
// code (wrong code, right code, a link already there, a link without
// code), a link's files saved into the application's queue, reporting, and
// the records view.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: deviceLoader; anchors.fill: parent }
    Loader { id: clientLoader; anchors.fill: parent }
    Toast { id: toast }

    // The application-level transfer lists, as the transfer view reads them.
    ListView {
        width: 10; height: 10; opacity: 0
        model: DownloadFileModel { id: appDownloads; down: twDown; twfs: twFinish }
        delegate: Item { width: 1; height: 1 }
    }
    ListView {
        width: 10; height: 10; opacity: 0
        model: TSFinishFileModel { id: appFinished; tw: twFinish }
        delegate: Item { width: 1; height: 1 }
    }

    TestCase {
        id: tc
        name: "ExtlinkPage"
        when: windowShown

        function titles(page) { return page.links ? H.column(page.links, 257) : [] }
        function waitTitle(page, title, present) {
            tryVerify(function() { return (titles(page).indexOf(title) >= 0) === (present !== false) }, 15000,
                      "link " + title + " (have " + titles(page) + ")")
        }
        function fileNames(page) {
            var c = page.filesView.current
            return c ? H.column(c, 257) : []
        }
        function addLink(page, url, code) {
            mouseClick(H.find(page, "addLinkButton"))
            var dlg = page.addDialog
            tryCompare(dlg, "opened", true)
            dlg.url = url
            dlg.code = code
            dlg.accept()
            tryCompare(dlg, "opened", false)
        }

        function test_1_deviceLinks() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            deviceLoader.setSource("qrc:/compoments/file/Page/ExtlinkPage.qml", { twTab: tab })
            tryCompare(deviceLoader, "status", Loader.Ready)
            var page = deviceLoader.item
            tryCompare(page, "deviceMode", true)
            waitTitle(page, "Holiday pictures")
            waitTitle(page, "Open folder")
            verify(!H.find(page, "addLinkButton").visible, "the device's links are made on the file page")
            var row = H.find(page, "linkRow_Holiday pictures")
            verify(H.find(row, "linkVisits").text.indexOf("Visit Time:") === 0)
            mouseClick(row)
            tryVerify(function() { return page.selectedRow >= 0 }, 5000)
            compare(page.links.get().title, "Holiday pictures")
            mouseClick(H.find(page, "linkCopy"))
            tryVerify(function() { return toast.lastText.indexOf("copy:") === 0 }, 5000)
            verify(toast.lastText.indexOf("shareId=sample-link-1") > 0)
            verify(toast.lastText.indexOf("&code=tw42") > 0)
            mouseClick(H.find(page, "linkShare"))
            tryCompare(page.linkCard, "opened", true)
            compare(page.linkCard.info.title, "Holiday pictures")
            verify(H.find(page.linkCard, "linkQr").text.indexOf("sample-link-1") > 0)
            verify(testRig.screenshot(page.Window.contentItem, "extlink_device_card"))
            mouseClick(H.find(page.linkCard, "cardCopyCode"))
            tryCompare(toast, "lastText", "copyed code")
            page.linkCard.close()
            verify(testRig.screenshot(page, "extlink_device"))
            deviceLoader.source = ""
        }

        function test_2_clientAddLinks() {
            clientLoader.setSource("qrc:/compoments/file/Page/ExtlinkPage.qml", { twTab: null })
            tryCompare(clientLoader, "status", Loader.Ready)
            var page = clientLoader.item
            tryVerify(function() { return page.links !== null && !page.deviceMode }, 5000)
            tryCompare(H.find(page, "emptyText"), "text", "No Extlink Can Add", 10000)

            // Not a link at all.
            addLink(page, "abc", "")
            tryCompare(toast, "lastText", "input extlink", 10000)

            // A wrong code: the service's answer, no row.
            addLink(page, sharingRig.linkUrl("sample-link-1"), "nope")
            tryCompare(toast, "lastText", "wrong extraction code", 10000)
            compare(titles(page), [])

            // No code typed: the page asks for it.
            addLink(page, sharingRig.linkUrl("sample-link-1"), "")
            var ask = H.find(page, "linkCodeDialog")
            tryCompare(ask, "opened", true, 10000)
            compare(titles(page), [])
            ask.value = "tw42"
            ask.accept()
            tryCompare(toast, "lastText", "add extlink url ok", 10000)
            waitTitle(page, "Holiday pictures")

            // Once is enough.
            toast.lastText = ""
            addLink(page, sharingRig.linkUrl("sample-link-1"), "tw42")
            tryCompare(toast, "lastText", "existed extlink", 10000)
            compare(titles(page).length, 1)

            // A link without a code is added as it is.
            toast.lastText = ""
            addLink(page, sharingRig.linkUrl("open-link-2"), "")
            waitTitle(page, "Open folder")
            compare(toast.lastText, "")

            verify(testRig.screenshot(page, "extlink_client"))
        }

        function test_3_linkFilesSaved() {
            var page = clientLoader.item
            var row = null
            tryVerify(function() { row = H.find(page, "linkRow_Holiday pictures"); return row !== null }, 10000)
            mouseDoubleClickSequence(row)
            tryVerify(function() { return page.openLink !== null }, 5000)
            tryVerify(function() {
                return JSON.stringify(fileNames(page).sort()) === JSON.stringify(["beach.jpg", "itinerary.txt"])
            }, 20000, "the link's files are listed")
            var files = page.filesView
            verify(testRig.screenshot(page, "extlink_files"))
            mouseClick(H.find(files, "levelAll"))
            tryCompare(files.current, "selectNum", 2)
            mouseClick(H.find(files, "linkSave"))
            // The folder is asked for, starting at the download folder.
            var ask = H.find(files, "linkSaveDialog")
            tryCompare(ask, "visible", true)
            compare(String(ask.folder), String(twSdk.fileUrl(testRig.downloadDir())))
            ask.accept()
            tryCompare(toast, "lastText", "Already added to download", 15000)
            tryCompare(files.current, "selectNum", 0)
            var dir = testRig.downloadDir()
            tryVerify(function() {
                return testRig.sameBytes(dir + "/beach.jpg", "Links/Holiday/beach.jpg")
                    && testRig.sameBytes(dir + "/itinerary.txt", "Links/Holiday/itinerary.txt")
            }, 30000, "both files land byte-exact")
            // The application-level transfer lists hold them.
            appFinished.refershData()
            tryVerify(function() {
                var all = H.column(appFinished, 258).concat(H.column(appDownloads, 258))
                return all.indexOf("beach.jpg") >= 0 && all.indexOf("itinerary.txt") >= 0
            }, 15000, "the saved files show in the application's transfers")
        }

        function test_4_reportAndRecords() {
            var page = clientLoader.item
            var files = page.filesView
            mouseClick(H.find(files, "linkReport"))
            var report = H.find(files, "reportDialog")
            tryCompare(report, "opened", true)
            H.find(report, "reportReason").text = "not mine"
            report.accept()
            tryCompare(toast, "lastText", "Report Extlink Successful.", 10000)
            compare(sharingRig.shareLinkReports("sample-link-1"), 1)
            mouseClick(H.find(files, "linkFilesBack"))
            tryCompare(page, "openLink", null)

            mouseClick(H.find(page, "linkViewToggle"))
            tryCompare(page, "recordsView", true)
            tryCompare(page.records, "isFileModel", false)
            tryVerify(function() { return page.records.rowCount() === 2 }, 5000)
            verify(H.find(page, "linkRecord_Holiday pictures") !== null)
            verify(testRig.screenshot(page, "extlink_records"))
            mouseClick(H.find(page, "linkViewToggle"))
            tryCompare(page, "recordsView", false)
        }
    }
}
