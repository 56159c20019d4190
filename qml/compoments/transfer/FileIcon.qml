import QtQuick 2.15
import Tidewell 1.0

// A small coloured badge for a file's media type (5 is a folder): the
// label names the kind, not one format of it.
Rectangle {
    property int mediaType: 21
    width: Theme.iconSize
    height: Theme.iconSize
    radius: Theme.radius
    color: mediaType === 5 ? "#e3b341"
         : mediaType === 6 ? "#3fb950"
         : mediaType === 7 ? "#a371f7"
         : mediaType === 8 ? "#f778ba"
         : mediaType >= 9 && mediaType <= 13 ? "#2f81f7"
         : "#8c959f"
    Text {
        objectName: "badgeText"
        anchors.centerIn: parent
        color: "white"
        font.pixelSize: 10
        font.bold: true
        text: parent.mediaType === 5 ? "DIR"
            : parent.mediaType === 6 ? "IMG"
            : parent.mediaType === 7 ? "VID"
            : parent.mediaType === 8 ? "AUD"
            : parent.mediaType === 12 ? "PDF"
            : parent.mediaType === 13 ? "TXT"
            : parent.mediaType >= 9 && parent.mediaType <= 11 ? "DOC"
            : parent.mediaType === 14 ? "ZIP"
            : parent.mediaType === 17 ? "BT" : "FILE"
    }
}
