import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene
import "../paging.js" as Paging

// The pictures grouped by day over a large library: one day of 5,000
// pictures among 10,000. Only the cells in sight exist while the page loads
// and scrolls; the day's header, its check box and clicks still work; and
// queueing everything for download keeps the window responsive and stores
// every file in order.
Item {
    id: scene
    width: 1000
    height: 700

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    // The longest the event loop went without running this timer.
    Timer {
        id: gapTimer
        interval: 1
        repeat: true
        property real last: 0
        property real maxGap: 0
        onTriggered: {
            var now = Date.now()
            if (last > 0)
                maxGap = Math.max(maxGap, now - last)
            last = now
        }
    }

    TestCase {
        id: tc
        name: "BigDay"
        when: windowShown

        property var page: null
        property var pictures: null
        property var group: null
        property var list: null
        // Live cells, and the longest stall of the event loop in ms (the
        // page aims at 50; a loaded test machine gets some slack).
        readonly property int bound: 300
        readonly property int stallBound: 100
        property int mostWhileLoading: 0

        function dayText(daysAgo) {
            var d = new Date()
            d.setDate(d.getDate() - daysAgo)
            return Qt.formatDate(d, "yyyy-MM-dd")
        }
        function headers() {
            var rows = []
            var kids = list.contentItem.children
            for (var i = 0; i < kids.length; ++i) {
                if (String(kids[i].objectName).indexOf("day_") === 0 && kids[i].visible)
                    rows.push(kids[i])
            }
            rows.sort(function(a, b) { return a.y - b.y })
            return rows
        }
        function liveThumbs() {
            var n = 0
            function walk(it) {
                if (String(it.objectName).indexOf("thumb_") === 0)
                    ++n
                var kids = it.children
                for (var i = 0; i < kids.length; ++i)
                    walk(kids[i])
            }
            walk(list.contentItem)
            return n
        }
        function thumb(name) { return Scene.find(pictures, "thumb_" + name) }

        function initTestCase() {
            compare(daysSeed.addPictures("Library", 10000, 5000, 100), 10000)
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/media/MediaPage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            pictures = page.category(0)
            group = pictures.model
            list = Scene.find(pictures, "dayList")
            // Every page, by dragging the scroll bar to the end again and
            // again, counting the cells made meanwhile.
            tryVerify(function() { return list.count > 0 }, 15000, "first page")
            var drag = Paging.dragBar(tc, list)
            Paging.untilEnd(tc, list, 10000, function() {
                drag()
                mostWhileLoading = Math.max(mostWhileLoading, liveThumbs())
            }, "all pages", function() { return group.loadFileNum }, 120000)
        }

        function test_1_largeDayMakesOnlyCellsInSight() {
            verify(mostWhileLoading < bound, "cells made while loading: " + mostWhileLoading)
            var today = group.getItem(0)
            verify(today.rowCount() >= 5000 && today.rowCount() < 5100, today.rowCount())
            var h = headers()
            verify(h.length >= 1)
            compare(Scene.find(h[0], "dayHeader").text, dayText(0) + " (" + today.rowCount() + ")")
            verify(liveThumbs() < bound, liveThumbs())
            for (var i = 0; i < 30; ++i) {
                mouseWheel(list, list.width / 2, list.height / 2, 0, -360)
                wait(20)
                verify(liveThumbs() < bound, "after " + i + " notches: " + liveThumbs())
            }
            // A picture deep in the day, brought into view as the preview
            // does, shows its thumbnail.
            var info = today.get(4000)
            pictures.reveal(info)
            tryVerify(function() { return thumb(info.name) !== null }, 5000, info.name)
            var img = Scene.find(thumb(info.name), "thumbImage")
            tryVerify(function() { return String(img.source).indexOf("file:") === 0 && img.status === Image.Ready },
                      15000, "thumbnail of " + info.name)
            verify(liveThumbs() < bound, liveThumbs())
            wait(200)
            verify(testRig.screenshot(page, "days_large_day"))
        }

        function test_2_daySelectAndClicks() {
            list.positionViewAtBeginning()
            tryVerify(function() { return headers().length > 0 && headers()[0].objectName === "day_" + dayText(0) })
            var today = group.getItem(0)
            mouseClick(Scene.find(headers()[0], "dayCheck"))
            compare(group.selectNum, today.rowCount())
            tryVerify(function() { return Scene.find(headers()[0], "dayCheck").checked })
            // The cells in sight show the selection.
            var first = thumb(today.get(0).name)
            verify(first.selected)
            // A click on a selected picture among many clears the selection;
            // then one click selects only that picture, a second deselects it.
            mouseClick(first)
            compare(group.selectNum, 0)
            verify(!first.selected)
            mouseClick(first)
            compare(group.selectNum, 1)
            verify(first.selected)
            verify(!thumb(today.get(1).name).selected)
            mouseClick(first)
            compare(group.selectNum, 0)
            verify(!Scene.find(headers()[0], "dayCheck").checked)
        }

        function test_3_queueEverythingWithoutStalling() {
            // The first download crawls, so everything stays queued.
            testRig.throttle(1)
            mouseClick(Scene.find(pictures, "headerCheck"))
            var total = group.loadFileNum
            compare(group.selectNum, total)
            var expected = []
            for (var s = 0; s < group.rowCount(); ++s) {
                var sec = group.getItem(s)
                for (var r = 0; r < sec.rowCount(); ++r)
                    expected.push(sec.get(r).name)
            }
            compare(expected.length, total)
            gapTimer.start()
            wait(200)
            gapTimer.maxGap = 0
            mouseClick(Scene.find(pictures, "downloadButton"))
            tryCompare(toast, "lastText", total + " File have been added for download", 55000)
            wait(500)
            gapTimer.stop()
            verify(gapTimer.maxGap < stallBound, "the event loop stalled " + gapTimer.maxGap + " ms")
            compare(group.selectNum, 0)
            var stored = daysSeed.storedDownloads()
            compare(stored.length, total)
            for (var i = 0; i < total; ++i) {
                if (stored[i] !== expected[i])
                    fail("row " + i + " holds " + stored[i] + ", expected " + expected[i])
            }
            tab.twDown.allPause()
            testRig.clearFaults()
        }
    }
}
