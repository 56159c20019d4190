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
    clip: true
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
    // No name to show: a plain figure.
    Item {
        anchors.fill: parent
        visible: avatar.name.length === 0 && avatar.url.length === 0
        Rectangle {
            width: avatar.size * 0.34; height: width; radius: width / 2
            color: Theme.accent
            anchors.horizontalCenter: parent.horizontalCenter
            y: avatar.size * 0.2
        }
        Rectangle {
            width: avatar.size * 0.56; height: avatar.size * 0.26; radius: height / 2
            color: Theme.accent
            anchors.horizontalCenter: parent.horizontalCenter
            y: avatar.size * 0.58
        }
    }
    SKNetworkImg {
        objectName: "headImage"
        anchors.fill: parent
        anchors.margins: 1
        visible: avatar.url.length > 0
        netDown: typeof twNetDown !== "undefined" ? twNetDown : null
        url: avatar.url
    }
}
