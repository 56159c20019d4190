import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import Tidewell.Media 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as H

// Opening files by their kind from every list that shows files: the file
// page, a share list, a group and a received link (no device), each with a
// picture (the preview over the list's pictures), a video (the player with
// the list's videos and music) and a document (downloaded and handed to
// the desktop). Double-click, Enter and the menu's Open all open.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }
    // Something dragged over a page.
    Item {
        id: dragged
        width: 20; height: 20
        Drag.dragType: Drag.Internal
        Drag.hotSpot.x: 10
        Drag.hotSpot.y: 10
    }

    TestCase {
        id: tc
        name: "Opening"
        when: windowShown

        readonly property string media: openingRig.media.split("/").pop()

        function load(url, props) {
            loader.source = ""
            loader.setSource(url, props)
            tryCompare(loader, "status", Loader.Ready)
            return loader.item
        }
        function row(page, name) {
            var r = null
            tryVerify(function() { r = H.find(page, "fileRow_" + name); return r !== null && r.visible }, 20000,
                      "row " + name)
            return r
        }
        // The player of that page exists, without sound (no sound card here).
        function quietPlayer(opener) {
            opener.playerLoader.active = true
            opener.player.player.setProperty("ao", "null")
        }
        function kindCount(model, kinds) {
            var n = 0
            for (var i = 0; i < model.rowCount(); ++i)
                if (kinds.indexOf(model.get(i).type) >= 0)
                    ++n
            return n
        }

        function pictureShown(opener, browsing, name, shot) {
            var preview = opener.preview
            tryVerify(function() { return preview.visible && preview.model.currentInfo.name === name }, 10000,
                      "the preview of " + name)
            compare(preview.model.rowCount(), kindCount(browsing, [6]), "the list's pictures")
            verify(preview.model.rowCount() >= 1)
            tryVerify(function() { return String(preview.shown).length > 0 && preview.photo.paintedWidth > 200 },
                      20000, "the picture itself shows (" + preview.shown + ")")
            wait(200)
            verify(testRig.screenshot(opener.parent, shot))
            preview.close()
        }
        function mediaPlays(opener, browsing, name, shot) {
            var page = opener.player
            tryVerify(function() { return page.visible && page.current.name === name }, 10000, "the player")
            compare(page.playList.rowCount(), kindCount(browsing, [7, 8]), "the list's videos and music")
            var player = page.player
            tryVerify(function() { return player.position >= 1 }, 25000, "it plays (at " + player.position + ")")
            verify(testRig.screenshot(opener.parent, shot))
            page.close()
            verify(!page.visible)
        }
        // before: the count of files opened before the document was.
        function documentOpened(opener, name, rel, before) {
            tryVerify(function() { return openingRig.openedCount() > before }, 25000,
                      "the desktop opens " + name + " (" + toast.lastText + ")")
            verify(openingRig.lastOpened().indexOf(name.split(".")[0]) > 0, openingRig.lastOpened())
            verify(testRig.sameBytes(openingRig.lastOpened(), rel))
            tryCompare(toast, "lastText", "It's being opened")
            tryCompare(opener.document, "visible", false)
        }
        // A list of rows (FileLevels): picture by double-click, the media
        // by the menu's Open, the document by Enter.
        function openThree(view, browsing, picture, document, documentRel, prefix) {
            var opener = H.find(view, "fileOpener")
            quietPlayer(opener)
            mouseDoubleClickSequence(row(view, picture))
            pictureShown(opener, browsing(), picture, prefix + "_picture")

            var r = row(view, media)
            mouseClick(r, 40, r.height / 2, Qt.RightButton)
            var menu = H.find(view, "levelMenu")
            tryCompare(menu, "opened", true)
            var open = H.find(menu, "menuOpen")
            verify(open.enabled)
            mouseClick(open)
            mediaPlays(opener, browsing(), media, prefix + "_player")

            toast.lastText = ""
            mouseClick(row(view, document))
            var before = openingRig.openedCount()
            keyClick(Qt.Key_Return)
            documentOpened(opener, document, documentRel, before)
        }

        function initTestCase() {
            if (!openingRig.gl)
                skip("Xvfb is not installed")
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
        }

        function test_1_filePage() {
            var page = load("qrc:/compoments/file/FilePage.qml", { twTab: tab })
            var opener = H.find(page, "fileOpener")
            quietPlayer(opener)

            // A picture, through the menu's Open.
            mouseDoubleClickSequence(row(page, "Photos"))
            var r = row(page, "harbour.jpg")
            mouseClick(r, 60, r.height / 2, Qt.RightButton)
            var menu = H.find(page, "fileContextMenu")
            tryCompare(menu, "opened", true)
            mouseClick(H.find(menu, "menuOpen"))
            pictureShown(opener, page.model, "harbour.jpg", "opening_file_picture")

            // A video (or music) by double-click.
            page.model.goTo(0)
            var folder = openingRig.media.split("/")[0]
            mouseDoubleClickSequence(row(page, folder))
            mouseDoubleClickSequence(row(page, media))
            mediaPlays(opener, page.model, media, "opening_file_player")

            // A document by Enter; another kind goes to the download queue.
            page.model.goTo(0)
            mouseDoubleClickSequence(row(page, "Documents"))
            toast.lastText = ""
            mouseClick(row(page, "readme.txt"))
            var before = openingRig.openedCount()
            testRig.delayAnswer(1500, 1, "/device/download")
            keyClick(Qt.Key_Return)
            tryVerify(function() { return opener.document.opened }, 5000, "the download for opening shows")
            verify(testRig.screenshot(page.Window.contentItem, "opening_file_document"))
            documentOpened(opener, "readme.txt", "Documents/readme.txt", before)
            mouseDoubleClickSequence(row(page, "Projects"))
            mouseDoubleClickSequence(row(page, "backup.bin"))
            tryCompare(toast, "lastText", "Already added to download", 10000)
            verify(!opener.document.visible && !opener.preview.visible)

            // The drop zone's dashed frame while something is dragged over.
            dragged.x = page.width / 2
            dragged.y = page.height / 2
            dragged.Drag.active = true
            tryVerify(function() { return H.find(page, "dropZone").visible }, 5000, "the drop zone shows")
            verify(testRig.screenshot(page, "opening_file_dropzone"))
            dragged.Drag.cancel()
            dragged.Drag.active = false
            tryVerify(function() { return !H.find(page, "dropZone").visible }, 5000)
        }

        function test_2_shareList() {
            var page = load("qrc:/compoments/share/SharePage.qml", { twTab: tab })
            openThree(page, function() { return page.current }, "trip.jpg", "recipes.txt", "Shared/recipes.txt",
                      "opening_share")
        }

        function test_3_group() {
            var page = load("qrc:/compoments/pubgroup/PubGroupPage.qml", { twTab: tab })
            var g = null
            tryVerify(function() { g = H.find(page, "groupRow_Opening"); return g !== null }, 15000)
            mouseDoubleClickSequence(g)
            var view = null
            tryVerify(function() { view = H.find(page, "groupView"); return view && view.visible }, 10000)
            openThree(view, function() { return view.current }, "harbour.jpg", "readme.txt",
                      "groups/" + openingRig.groupId + "/readme.txt", "opening_group")
        }

        // A received link without a device: the rows play and preview
        // through the link's own session.
        function test_4_receivedLink() {
            var page = load("qrc:/compoments/file/Page/ExtlinkPage.qml", { twTab: null })
            tryVerify(function() { return page.links !== null && !page.deviceMode }, 5000)
            // No link yet: the empty list's dashed frame.
            tryCompare(H.find(page, "emptyText"), "text", "No Extlink Can Add", 10000)
            verify(H.find(page, "emptyFrame").visible)
            verify(testRig.screenshot(page, "opening_link_empty"))
            page.addLink(openingRig.linkUrl(), openingRig.linkCode())
            var link = null
            tryVerify(function() { link = H.find(page, "linkRow_Opening link"); return link !== null }, 15000)
            mouseDoubleClickSequence(link)
            var view = page.filesView
            tryVerify(function() { return view.current !== null }, 5000)
            openThree(view, function() { return view.current }, "lake.jpg", "readme.txt",
                      "Links/Opening/readme.txt", "opening_link")
            // An e-book of the link opens too, rather than being offered
            // for saving.
            var before = openingRig.openedCount()
            mouseDoubleClickSequence(row(view, "novel.epub"))
            documentOpened(H.find(view, "fileOpener"), "novel.epub", "Links/Opening/novel.epub", before)
            // The preview saves a received link's picture through the link.
            mouseDoubleClickSequence(row(view, "harbour.jpg"))
            var opener = H.find(view, "fileOpener")
            tryVerify(function() { return opener.preview.visible }, 5000)
            compare(opener.preview.model.rowCount(), 2)
            var save = H.find(opener.preview, "previewDownload")
            verify(save.visible)
            mouseClick(save)
            tryVerify(function() {
                return testRig.sameBytes(testRig.downloadDir() + "/harbour.jpg", "Links/Opening/harbour.jpg")
            }, 30000, "the picture lands byte-exact")
            opener.preview.close()
        }

        // Every kind of document, e-books too, opens in the desktop's
        // application rather than going to the download queue.
        function test_4b_documentKinds() {
            var page = load("qrc:/compoments/file/FilePage.qml", { twTab: tab })
            var opener = H.find(page, "fileOpener")
            mouseDoubleClickSequence(row(page, "Documents"))
            mouseDoubleClickSequence(row(page, "Kinds"))
            var kinds = openingRig.documentKinds()
            for (var i = 0; i < kinds.length; ++i) {
                toast.lastText = ""
                var before = openingRig.openedCount()
                mouseDoubleClickSequence(row(page, kinds[i]))
                documentOpened(opener, kinds[i], "Documents/Kinds/" + kinds[i], before)
            }
            verify(testRig.screenshot(page, "opening_document_kinds"))
        }

        // The device's own link: its card carries the code the list drew;
        // its pictures show, but nothing is saved.
        function test_5_ownLink() {
            var page = load("qrc:/compoments/file/Page/ExtlinkPage.qml", { twTab: tab })
            var link = null
            tryVerify(function() { link = H.find(page, "linkRow_Opening link"); return link !== null }, 15000)
            mouseClick(link)
            mouseClick(H.find(page, "linkShare"))
            tryCompare(page.linkCard, "opened", true)
            var qr = H.find(page.linkCard, "linkQr")
            verify(qr.isInit && qr.visible, "the QR code is painted")
            page.linkCard.close()
            tryCompare(page.linkCard, "opened", false)
            mouseDoubleClickSequence(link)
            var view = page.filesView
            mouseDoubleClickSequence(row(view, "harbour.jpg"))
            var opener = H.find(view, "fileOpener")
            tryVerify(function() { return opener.preview.visible }, 5000)
            verify(!H.find(opener.preview, "previewDownload").visible)
            pictureShown(opener, view.current, "harbour.jpg", "opening_ownlink_picture")
        }

        // The media page's menu opens the same way.
        function test_6_mediaMenu() {
            var page = load("qrc:/compoments/media/MediaPage.qml", { twTab: tab })
            var cat = page.category(0)
            var t = null
            tryVerify(function() { t = H.find(cat, "thumb_lake.jpg"); return t !== null }, 15000)
            mouseClick(t, t.width / 2, t.height / 2, Qt.RightButton)
            var menu = H.find(cat, "mediaContextMenu")
            tryCompare(menu, "opened", true)
            mouseClick(H.find(menu, "menuOpen"))
            var opener = H.find(page, "fileOpener")
            tryVerify(function() { return opener.preview.visible && opener.preview.model.currentInfo.name === "lake.jpg" },
                      10000)
            opener.preview.close()
        }
    }
}
