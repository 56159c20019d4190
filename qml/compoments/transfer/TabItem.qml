import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0

// A flat tab in the page's colours, underlined when chosen.
TabButton {
    id: control
    width: visible ? implicitWidth + 24 : 0
    contentItem: Label {
        text: control.text
        font.pixelSize: Theme.fontNormal
        color: control.checked ? Theme.accent : Theme.text
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        implicitHeight: 36
        color: control.hovered && !control.checked ? Theme.hover : Theme.surface
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 2
            color: control.checked ? Theme.accent : "transparent"
        }
    }
}
