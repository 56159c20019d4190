import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// The media of a device: pictures, videos, music and favourites, each
// grouped by day or as a list; pictures open in the preview, videos and
// music in the player, both over the page.
Rectangle {
    id: page
    objectName: "mediaPage"
    color: Theme.surface
    property QtObject twTab: null
    property alias current: tabs.currentIndex
    readonly property var fileTypes: [1, 2, 3, 7]

    function category(i) { return categories.itemAt(i) }
    function openPicture(browsing, info) { opener.open(browsing, info) }
    function openMedia(browsing, info) { opener.open(browsing, info) }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0
        TabBar {
            id: tabs
            objectName: "mediaTabs"
            Layout.fillWidth: true
            TabButton { objectName: "tabPictures"; text: qsTr("Pictures") }
            TabButton { objectName: "tabVideos"; text: qsTr("Videos") }
            TabButton { objectName: "tabMusic"; text: qsTr("Music") }
            TabButton { objectName: "tabFavourites"; text: qsTr("Favourites") }
        }
        StackLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: tabs.currentIndex
            Repeater {
                id: categories
                model: page.fileTypes
                MediaCategory {
                    objectName: "category" + modelData
                    twTab: page.twTab
                    fileType: modelData
                    shown: tabs.currentIndex === index && page.visible
                    onOpenPicture: page.openPicture(browsing, info)
                    onOpenMedia: page.openMedia(browsing, info)
                }
            }
        }
    }

    FileOpener {
        id: opener
        anchors.fill: parent
        twTab: page.twTab
        onDownloadWanted: browsing.fileDownload(twSdk.downloadFolder())
        onShowing: {
            var cat = page.category(tabs.currentIndex)
            if (cat)
                cat.reveal(info)
        }
    }
}
