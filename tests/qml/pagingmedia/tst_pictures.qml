import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene
import "../paging.js" as Paging

// More pictures than three pages, most of one older day and the rest over
// days before it: grouped by day and as a plain list, each read to its last
// picture by the wheel and by the scroll bar, every picture counted once
// in the header.
Item {
    id: scene
    width: 1000
    height: 700

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    TestCase {
        id: tc
        name: "Pictures"
        when: windowShown

        property var pictures: null
        property int total: 0

        function find(item, name) { return Scene.find(item, name) }
        function refresh() { mouseClick(find(pictures, "refreshButton")) }
        function shownCount() { return find(pictures, "countText").text }

        function initTestCase() {
            // The sample's few pictures of the last days come first, with
            // their day headers, then the large day.
            compare(pagingSeed.addPictures("Many pictures", 230, 180, 10, 5), 230)
            total = pagingSeed.pictureCount()
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/media/MediaPage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            pictures = loader.item.category(0)
            tryVerify(function() { return find(pictures, "dayList").count > 0 }, 15000, "first page")
        }

        function test_1_byDay() {
            var days = function() { return find(pictures, "dayList") }
            Paging.bothWays(tc, days, total, refresh, "pictures by day",
                            function() { return pictures.model.loadFileNum })
            compare(shownCount(), total + " items")
            // Every picture has its cell: the headers' counts add up.
            var sum = 0
            for (var s = 0; s < pictures.model.rowCount(); ++s)
                sum += Number(String(pictures.model.data(pictures.model.index(s, 0), 267)).split("_")[2])
            compare(sum, total)
            verify(testRig.screenshot(loader.item, "paging-pictures-days-end"))
        }

        function test_2_asList() {
            mouseClick(find(pictures, "viewSwitch"))
            var rows = function() { return find(pictures, "plainList") }
            tryVerify(function() { return rows().visible && rows().count > 0 }, 15000)
            Paging.bothWays(tc, rows, total, refresh, "pictures as a list")
            compare(shownCount(), total + " items")
            verify(testRig.screenshot(loader.item, "paging-pictures-list-end"))
        }
    }
}
