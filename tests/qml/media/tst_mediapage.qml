import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene

// The media page against the test device: pictures grouped by day with
// drawn thumbnails, paging by scrolling, the plain list and its sort, and
// the operations on a selection (download, favourites).
Item {
    id: scene
    width: 1000
    height: 700

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    function find(item, name) { return Scene.find(item, name) }

    SignalSpy { id: linkSpy; signalName: "extlinkCreated" }

    TestCase {
        id: tc
        name: "MediaPage"
        when: windowShown

        property var page: null
        property var pictures: null
        property var group: null

        function dayText(daysAgo) {
            var d = new Date()
            d.setDate(d.getDate() - daysAgo)
            return Qt.formatDate(d, "yyyy-MM-dd")
        }
        // Day headers as shown, top to bottom.
        function headers(cat) {
            var list = scene.find(cat, "dayList")
            var rows = []
            var kids = list.contentItem.children
            for (var i = 0; i < kids.length; ++i) {
                if (String(kids[i].objectName).indexOf("day_") === 0 && kids[i].visible)
                    rows.push(kids[i])
            }
            rows.sort(function(a, b) { return a.y - b.y })
            return rows.map(function(r) { return scene.find(r, "dayHeader").text })
        }
        function thumb(cat, name) { return scene.find(cat, "thumb_" + name) }

        function initTestCase() {
            // Five a day from five days back: more pictures than one page
            // holds, the last day of the first page cut by its end.
            compare(mediaSeed.addPictures("Camera", "old", 60, 5, 5), 60)
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/media/MediaPage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            pictures = page.category(0)
            group = pictures.model
            tryVerify(function() { return group.loadFileNum >= 60 }, 15000, "first page")
        }

        function test_1_daysWithThumbnails() {
            var h = headers(pictures)
            verify(h.length >= 3, h)
            compare(h[0].indexOf(dayText(0)), 0)
            compare(h[1], dayText(1) + " (3)")
            compare(h[2], dayText(2) + " (2)")
            var names = ["harbour.jpg", "sunrise.jpg", "meadow.jpg", "garden.jpg", "evening.jpg",
                         "lake.jpg", "market.jpg", "snow.jpg"]
            for (var i = 0; i < names.length; ++i) {
                var t = thumb(pictures, names[i])
                verify(t, names[i])
                var img = scene.find(t, "thumbImage")
                tryVerify(function() {
                    return String(img.source).indexOf("file:") === 0 && img.status === Image.Ready
                }, 15000, "thumbnail of " + names[i])
                verify(img.implicitWidth > 0)
            }
            wait(200)
            verify(testRig.screenshot(page, "media_pictures"))
        }

        function test_2_scrollingLoadsTheNextPage() {
            compare(group.loadFileNum, 60)
            var list = scene.find(pictures, "dayList")
            verify(!list.atYEnd)
            for (var i = 0; i < 60 && group.loadFileNum < 71; ++i) {
                mouseWheel(list, list.width / 2, list.height / 2, 0, -360)
                wait(20)
            }
            tryCompare(group, "loadFileNum", 71, 15000)
            // The day spread over both pages is one section.
            tryVerify(function() { return headers(pictures).indexOf(dayText(14) + " (5)") >= 0 }, 5000,
                      headers(pictures).join(", "))
            tryVerify(function() { return headers(pictures).indexOf(dayText(16) + " (5)") >= 0 }, 5000,
                      headers(pictures).join(", "))
            verify(testRig.screenshot(page, "media_pictures_paged"))
        }

        function test_3_downloadTwoPictures() {
            mouseClick(scene.find(pictures, "refreshButton"))
            tryVerify(function() { return thumb(pictures, "harbour.jpg") && thumb(pictures, "sunrise.jpg") })
            mouseClick(thumb(pictures, "harbour.jpg"))
            compare(group.selectNum, 1)
            mouseClick(scene.find(thumb(pictures, "sunrise.jpg"), "thumbCheck"))
            compare(group.selectNum, 2)
            compare(group.menuType, 2)
            mouseClick(scene.find(pictures, "downloadButton"))
            tryCompare(toast, "lastText", "2 File have been added for download")
            var dir = testRig.downloadDir()
            tryVerify(function() { return testRig.sameBytes(dir + "/harbour.jpg", "Photos/harbour.jpg") }, 20000)
            tryVerify(function() { return testRig.sameBytes(dir + "/sunrise.jpg", "Photos/sunrise.jpg") }, 20000)
            compare(group.selectNum, 0)
        }

        function test_4_favouritesPage() {
            mouseClick(thumb(pictures, "lake.jpg"))
            // A click on the only selected picture deselects it.
            mouseClick(thumb(pictures, "lake.jpg"))
            compare(group.selectNum, 0)
            mouseClick(scene.find(thumb(pictures, "harbour.jpg"), "thumbCheck"))
            mouseClick(scene.find(thumb(pictures, "meadow.jpg"), "thumbCheck"))
            compare(group.selectNum, 2)
            mouseClick(scene.find(pictures, "loveButton"))
            tryCompare(toast, "lastText", "Operation Successfully.")
            mouseClick(scene.find(page, "tabFavourites"))
            var loves = page.category(3)
            tryVerify(function() { return thumb(loves, "harbour.jpg") && thumb(loves, "meadow.jpg") }, 15000)
            compare(loves.model.loadFileNum, 2)
            verify(!thumb(loves, "sunrise.jpg"))
            wait(300)
            verify(testRig.screenshot(page, "media_favourites"))
            // Taken back there, it leaves the favourites.
            mouseClick(scene.find(thumb(loves, "meadow.jpg"), "thumbCheck"))
            mouseClick(scene.find(loves, "unloveButton"))
            tryVerify(function() { return !thumb(loves, "meadow.jpg") }, 10000)
            verify(thumb(loves, "harbour.jpg"))
        }

        function test_5_plainListAndSort() {
            mouseClick(scene.find(page, "tabPictures"))
            mouseClick(scene.find(pictures, "viewSwitch"))
            var list = pictures.model
            tryVerify(function() { return list.loadFileNum >= 60 }, 15000)
            compare(list.get(0).name, "spinner.gif")
            var sort = scene.find(pictures, "sortSwitch")
            verify(sort.enabled)
            mouseClick(sort)
            tryVerify(function() { return list.rowCount() > 0 && list.get(0).name === "old-059.jpg" }, 15000)
            mouseClick(scene.find(pictures, "headerCheck"))
            compare(list.selectNum, list.rowCount())
            compare(list.menuType, 2)
            wait(200)
            verify(testRig.screenshot(page, "media_list"))
            mouseClick(scene.find(pictures, "headerCheck"))
            compare(list.selectNum, 0)
        }

        // Link, rename and delete on a selection of the grouped view.
        function test_6_linkRenameDelete() {
            mouseClick(scene.find(pictures, "viewSwitch"))
            verify(pictures.grouped)
            var g = pictures.model
            tryVerify(function() { return thumb(pictures, "lake.jpg") && thumb(pictures, "evening.jpg") }, 15000)

            linkSpy.target = g
            linkSpy.clear()
            mouseClick(thumb(pictures, "lake.jpg"))
            g.fileCreateExtlink("Lake", "ab12")
            linkSpy.wait(10000)
            verify(String(linkSpy.signalArguments[0][0]).indexOf("shareId=") > 0)
            compare(linkSpy.signalArguments[0][1], "ab12")
            compare(g.selectNum, 0)
            // The card of the new link is closed before the next click.
            var card = scene.find(pictures, "linkCard")
            tryCompare(card, "opened", true)
            mouseClick(card.standardButton(Dialog.Close))
            tryCompare(card, "opened", false)

            // The grouped list keeps the suffix itself.
            mouseClick(thumb(pictures, "evening.jpg"))
            tryCompare(g, "selectNum", 1)
            pictures.rename("dusk")
            tryVerify(function() { return thumb(pictures, "dusk.jpg") !== null }, 10000)
            compare(toast.lastText, "Operation Successfully.")
            verify(testRig.deviceHas("Photos/dusk.jpg"))
            verify(testRig.deviceHas("Photos/lake.jpg"), "the picture ticked before keeps its name")

            mouseClick(thumb(pictures, "dusk.jpg"))
            g.fileDelete()
            tryVerify(function() { return thumb(pictures, "dusk.jpg") === null }, 10000)
            verify(!testRig.deviceHas("Photos/dusk.jpg"))
            tryVerify(function() { return headers(pictures).indexOf(dayText(1) + " (2)") >= 0 }, 5000,
                      headers(pictures).join(", "))
        }

        // Favourite and shared marks of cells inside the days, and a copy
        // onto the attached USB disk with a typed folder.
        function test_7_marksAndUsbCopy() {
            verify(pictures.grouped)
            var g = pictures.model
            tryVerify(function() { return thumb(pictures, "garden.jpg") && thumb(pictures, "sunrise.jpg") }, 15000)
            mouseClick(thumb(pictures, "garden.jpg"))
            mouseClick(scene.find(thumb(pictures, "sunrise.jpg"), "thumbCheck"))
            compare(g.selectNum, 2)
            verify(!thumb(pictures, "garden.jpg").loved)
            mouseClick(scene.find(pictures, "loveButton"))
            tryVerify(function() { return scene.find(thumb(pictures, "garden.jpg"), "thumbLoved").visible }, 10000)
            verify(scene.find(thumb(pictures, "sunrise.jpg"), "thumbLoved").visible)
            verify(!scene.find(thumb(pictures, "market.jpg"), "thumbLoved").visible)

            mouseClick(thumb(pictures, "garden.jpg"))
            compare(g.selectNum, 1)
            mouseClick(scene.find(pictures, "shareButton"))
            var picker = scene.find(pictures, "shareTargetPicker")
            tryCompare(picker, "opened", true)
            mouseClick(scene.find(picker, "shareAllUsers"))
            var ok = picker.standardButton(Dialog.Ok)
            tryCompare(ok, "enabled", true)
            mouseClick(ok)
            tryVerify(function() { return scene.find(thumb(pictures, "garden.jpg"), "thumbShared").visible }, 10000)
            verify(!scene.find(thumb(pictures, "sunrise.jpg"), "thumbShared").visible)
            compare(testRig.requestCount("shareFileToAll"), 1)
            wait(200)
            verify(testRig.screenshot(page, "media_marks"))

            testRig.addDeviceFolder("usb/Backup")
            mouseClick(thumb(pictures, "garden.jpg"))
            mouseClick(scene.find(thumb(pictures, "sunrise.jpg"), "thumbCheck"))
            compare(g.selectNum, 2)
            mouseClick(scene.find(pictures, "usbButton"))
            var usb = scene.find(pictures, "usbDialog")
            tryCompare(usb, "opened", true)
            toast.lastText = ""
            var path = "/Backup"
            for (var i = 0; i < path.length; ++i)
                keyClick(path[i])
            keyClick(Qt.Key_Return)
            tryCompare(toast, "lastText", "Operation Successfully.", 10000)
            verify(testRig.sameBytes(testRig.devicePath("usb/Backup/garden.jpg"), "Photos/garden.jpg"))
            verify(testRig.sameBytes(testRig.devicePath("usb/Backup/sunrise.jpg"), "Photos/sunrise.jpg"))
            compare(g.selectNum, 0)
        }
    }
}
