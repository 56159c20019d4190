import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import QtQuick.Window 2.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene

// The picture preview opened from the pictures page: the medium picture,
// then the original; stepping through the pictures with the toasts at both
// ends; an animated picture moving; the download of the picture shown.
Item {
    id: scene
    width: 1000
    height: 700

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    function find(item, name) { return Scene.find(item, name) }

    SignalSpy { id: frames; signalName: "paintedWidthChanged" }
    SignalSpy { id: shownSpy; signalName: "shownChanged" }

    TestCase {
        id: tc
        name: "PhotoPreview"
        when: windowShown

        property var page: null
        property var pictures: null
        property var preview: null

        // Picture names in the order of the day sections shown from the
        // top (the sections as the view holds them: a script call handing
        // out a section would make the script engine its owner).
        function pictureNames() {
            var list = scene.find(pictures, "dayList")
            var days = []
            var kids = list.contentItem.children
            for (var k = 0; k < kids.length; ++k) {
                if (String(kids[k].objectName).indexOf("day_") === 0 && kids[k].visible)
                    days.push(kids[k])
            }
            days.sort(function(a, b) { return a.y - b.y })
            var out = []
            for (var d = 0; d < days.length; ++d) {
                var sec = days[d].items
                for (var r = 0; r < sec.rowCount(); ++r) {
                    var it = sec.get(r)
                    if (it.type === 6)
                        out.push(it.name)
                }
            }
            return out
        }
        function screenWidth() { return Math.round(Screen.width * Screen.devicePixelRatio) }
        function screenHeight() { return Math.round(Screen.height * Screen.devicePixelRatio) }
        function originalShown() {
            return preview.model.isOriginal && String(preview.shown).indexOf("/original/") > 0
        }
        // Selects a row and waits for its original, so no late toast of
        // that download follows the next step.
        function selectRow(row) {
            preview.model.currentSelected = row
            tryVerify(originalShown, 15000, "original of row " + row)
        }
        function openPicture(name) {
            if (preview.visible)
                preview.close()
            var t = scene.find(pictures, "thumb_" + name)
            verify(t, name)
            mouseDoubleClickSequence(t)
            tryVerify(function() { return preview.visible && preview.model.currentInfo.name === name })
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/media/MediaPage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            pictures = page.category(0)
            preview = scene.find(page, "photoPreview")
            tryVerify(function() { return scene.find(pictures, "thumb_harbour.jpg") !== null }, 15000)
        }

        function test_1_mediumThenOriginal() {
            shownSpy.target = preview
            shownSpy.clear()
            openPicture("harbour.jpg")
            var photo = preview.photo
            // The device's medium picture is 800 wide, the original 1280.
            tryVerify(function() { return String(preview.shown).indexOf("/medium/") > 0 }, 15000)
            tryCompare(photo, "paintedWidth", 800, 15000)
            tryVerify(originalShown, 15000)
            // The original as large as the screen lets it be shown.
            tryCompare(photo, "paintedWidth", Math.min(1280, screenWidth()), 15000)
            verify(shownSpy.count >= 2)
            compare(scene.find(preview, "previewName").text, "harbour.jpg")
            wait(200)
            verify(testRig.screenshot(page, "media_preview"))
        }

        function test_2_stepThroughWithToastsAtTheEnds() {
            var names = pictureNames()
            var i = names.indexOf("harbour.jpg")
            verify(i >= 0 && i + 1 < names.length, names)
            mouseClick(scene.find(preview, "nextButton"))
            tryVerify(function() { return preview.model.currentInfo.name === names[i + 1] })
            mouseClick(scene.find(preview, "previousButton"))
            tryVerify(function() { return preview.model.currentInfo.name === names[i] })
            keyClick(Qt.Key_Right)
            tryVerify(function() { return preview.model.currentInfo.name === names[i + 1] })

            selectRow(0)
            toast.lastText = ""
            mouseClick(scene.find(preview, "previousButton"))
            tryCompare(toast, "lastText", "Is fisrt photo")
            compare(preview.model.currentSelected, 0)

            selectRow(preview.model.rowCount() - 1)
            toast.lastText = ""
            mouseClick(scene.find(preview, "nextButton"))
            tryCompare(toast, "lastText", "Is last photo")
            compare(preview.model.currentSelected, preview.model.rowCount() - 1)
            mouseClick(scene.find(preview, "previewClose"))
            verify(!preview.visible)
            // The page followed the preview down to the last picture's day
            // (when the pictures are more than a screen holds).
            var list = scene.find(pictures, "dayList")
            if (preview.model.rowCount() > 20)
                verify(list.contentY > 0)
            list.positionViewAtBeginning()
        }

        // A picture far larger than the screen is decoded no larger than
        // the screen, and closing the preview lets it go.
        function test_4_largePictureDecodedForTheScreen() {
            verify(mediaSeed.addLargePicture("Photos/large.jpg", 4000, 3000))
            mouseClick(scene.find(pictures, "refreshButton"))
            var t = null
            tryVerify(function() { t = scene.find(pictures, "thumb_large.jpg"); return t !== null }, 15000)
            mouseDoubleClickSequence(t)
            tryVerify(function() { return preview.visible && preview.model.currentInfo.name === "large.jpg" })
            tryVerify(originalShown, 20000)
            var photo = preview.photo
            tryVerify(function() { return photo.paintedWidth > 0 && photo.paintedWidth === Math.min(4000, screenWidth()) },
                      20000, "original decoded at " + photo.paintedWidth)
            verify(photo.paintedHeight <= screenHeight(), photo.paintedHeight)
            wait(100)
            verify(testRig.screenshot(page, "media_preview_large"))
            mouseClick(scene.find(preview, "previewClose"))
            tryCompare(photo, "paintedWidth", 0)
        }

        function test_3_animatedPictureMovesAndDownloads() {
            frames.target = preview.photo
            frames.clear()
            openPicture("spinner.gif")
            tryVerify(originalShown, 15000)
            // Placeholder and one frame per picture shown; the original
            // adds a frame for every step of the animation.
            tryVerify(function() { return frames.count >= 6 }, 10000, "frames " + frames.count)
            mouseClick(scene.find(preview, "previewDownload"))
            var path = testRig.downloadDir() + "/spinner.gif"
            tryVerify(function() { return testRig.sameBytes(path, "Photos/spinner.gif") }, 20000)
            mouseClick(scene.find(preview, "previewClose"))
        }
    }
}
