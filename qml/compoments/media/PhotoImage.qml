import QtQuick 2.15
import QtQml 2.15
import Tidewell.PaintItem 1.0

// A photo of a list (a thumbnail cell, the preview's strip) decoded off the
// GUI thread and cropped to the item; the favourites placeholder shows
// until it is decoded. A bundled icon (a file type, a thumbnail still on
// its way) shows as it is.
Item {
    id: photo
    property url source
    property int iconSize: 96
    readonly property bool isIcon: String(source).indexOf("file:") !== 0
    readonly property alias image: picture
    // The picture itself is on screen (not the placeholder).
    property bool decoded: false
    readonly property int status: isIcon ? icon.status : decoded ? Image.Ready : Image.Loading
    implicitWidth: isIcon ? icon.implicitWidth : decoded ? picture.width : 0
    implicitHeight: isIcon ? icon.implicitHeight : decoded ? picture.height : 0
    clip: true

    Image {
        id: icon
        anchors.fill: parent
        visible: photo.isIcon
        source: photo.isIcon ? photo.source : ""
        sourceSize.width: photo.iconSize
        sourceSize.height: photo.iconSize
        fillMode: Image.PreserveAspectFit
    }
    SKImage {
        id: picture
        objectName: "photoImage"
        visible: !photo.isIcon
        anchors.centerIn: parent
        defaultSource: "qrc:/compoments/base/Image/love_default@2x.png"
        // The item takes the picture's size; scaled to cover the cell.
        scale: width > 0 && height > 0 ? Math.max(photo.width / width, photo.height / height) : 1
    }
    // The placeholder is shown before a new source is announced; a picture
    // after it.
    Connections {
        target: picture
        function onSourceChanged() { photo.decoded = false }
        function onPaintedWidthChanged() { photo.decoded = true }
    }
    // Only pictures on disk go to the decoder.
    Binding {
        target: picture
        property: "source"
        value: photo.source
        when: !photo.isIcon
        restoreMode: Binding.RestoreNone
    }
}
