import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0
import Tidewell.PaintItem 1.0

// A user's head image through the small-file downloader, over a circle
// with the name's first letter while the picture is missing.
Rectangle {
    id: avatar
    property string url: ""
    property string name: ""
    property int size: 28
    width: size
    height: size
    radius: size / 2
    color: Theme.accentLight
    border.color: Theme.surface
    border.width: 1
    Label {
        anchors.centerIn: parent
        visible: avatar.name.length > 0
        text: avatar.name.length > 0 ? avatar.name.charAt(0).toUpperCase() : ""
        color: Theme.accent
        font.pixelSize: Math.round(avatar.size * 0.45)
        font.bold: true
    }
    SKNetworkImg {
        anchors.fill: parent
        anchors.margins: 1
        visible: avatar.url.length > 0
        netDown: typeof twNetDown !== "undefined" ? twNetDown : null
        url: avatar.url
    }
}
