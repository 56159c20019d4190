import QtQuick 2.15
import Tidewell 1.0
import Tidewell.Core 1.0
import compoments.transfer 1.0

// Opens a file of any list by its kind, over the page that holds it:
// pictures in the preview over the pictures of that list, videos and music
// in the player with that list's videos and music, documents downloaded
// for the desktop's application. Other files are the list's to download
// (downloadWanted). Rows of an external link carry the link, so they are
// fetched through it; without a device twTab stays null and the root's
// objects serve.
Item {
    id: opener
    objectName: "fileOpener"
    property QtObject twTab: null
    readonly property alias preview: preview
    readonly property alias playerLoader: playerLoader
    readonly property alias document: document
    readonly property QtObject player: playerLoader.item
    // A file of no other kind was opened: the list downloads it.
    signal downloadWanted(var browsing, var info)
    // The picture the preview shows now.
    signal showing(var info)

    // browsing: the list model the row is in; info: the row's map. False
    // for a folder or nothing, which the list opens itself.
    function open(browsing, info) {
        if (!info || info.id === undefined || info.isFile === false || info.type === Common.MT_Folder)
            return false
        var type = info.type
        if (type === Common.MT_Image) {
            preview.open(browsing, info)
        } else if (type === Common.MT_Video || type === Common.MT_Music) {
            playerLoader.active = true
            playerLoader.item.open(browsing, info)
        } else if (document.model.isDocument(info.name)) {
            document.open(info)
        } else {
            downloadWanted(browsing, info)
        }
        return true
    }

    PhotoPreview {
        id: preview
        anchors.fill: parent
        twTab: opener.twTab
        onShowing: opener.showing(info)
    }

    // The player (and its libmpv instance) exists from the first video or
    // piece of music opened here.
    Loader {
        id: playerLoader
        objectName: "playerLoader"
        anchors.fill: parent
        active: false
        sourceComponent: PlayerPage { twTab: opener.twTab }
    }

    PreviewDownload {
        id: document
        twTab: opener.twTab
    }
}
