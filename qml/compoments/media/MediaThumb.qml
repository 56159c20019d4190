import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import Tidewell 1.0

// One cell of a media grid: the thumbnail (or the type icon until it
// arrives), the name, a check box, the favourite mark and the shared tag.
Item {
    id: cell
    property bool selected: false
    property string name: ""
    property url icon
    property bool loved: false
    property bool shared: false
    signal clicked(var mouse)
    signal doubleClicked()
    signal rightClicked()
    signal checkToggled()

    Rectangle {
        anchors.fill: parent
        anchors.margins: 4
        radius: Theme.radius
        color: cell.selected ? Theme.selection : (area.containsMouse ? Theme.hover : Theme.surface)
        border.color: cell.selected ? Theme.accent : Theme.border
        border.width: cell.selected ? 2 : 1

        // A plain image, not the painted photo component: a grid scrolls
        // through thousands of cells, and decoded thumbnails are shared
        // from the image cache.
        Image {
            id: picture
            objectName: "thumbImage"
            x: 6; y: 6
            width: parent.width - 12
            height: parent.height - 30
            source: cell.icon
            // Decoded at the size drawn, so drawing never scales; a cropped
            // picture is cut to the item's bounds by the item itself.
            sourceSize.width: Math.ceil(width * Screen.devicePixelRatio)
            sourceSize.height: Math.ceil(height * Screen.devicePixelRatio)
            fillMode: isIcon ? Image.PreserveAspectFit : Image.PreserveAspectCrop
            // Thumbnails load off the GUI thread; bundled icons at once.
            readonly property bool isIcon: String(cell.icon).indexOf("qrc:") === 0
            asynchronous: !isIcon
        }
        // Plain texts: a page shows many cells at once.
        Text {
            objectName: "thumbName"
            x: 6
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 4
            width: parent.width - 12
            text: cell.name
            textFormat: Text.PlainText
            elide: Text.ElideMiddle
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: Theme.fontSmall
            color: Theme.text
        }
        MouseArea {
            id: area
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onClicked: mouse.button === Qt.RightButton ? cell.rightClicked() : cell.clicked(mouse)
            onDoubleClicked: if (mouse.button === Qt.LeftButton) cell.doubleClicked()
        }
        // A plain check mark rather than a control: a day can hold
        // thousands of cells. Hidden but still clickable when the cell is
        // not pointed at.
        Rectangle {
            objectName: "thumbCheck"
            x: 4; y: 4
            width: 20; height: 20
            radius: 3
            color: cell.selected ? Theme.accent : Theme.surface
            border.color: cell.selected ? Theme.accent : Theme.textMuted
            opacity: cell.selected || area.containsMouse || checkArea.containsMouse ? 1 : 0
            Text {
                anchors.centerIn: parent
                visible: cell.selected
                text: "\u2713"
                color: "white"
                font.pixelSize: 14
            }
            MouseArea {
                id: checkArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: cell.checkToggled()
            }
        }
        Text {
            id: lovedMark
            objectName: "thumbLoved"
            visible: cell.loved
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 6
            text: "\u2665"
            color: Theme.error
            font.pixelSize: Theme.fontLarge
        }
        // Shared with others: a tag under the favourite mark.
        Rectangle {
            objectName: "thumbShared"
            visible: cell.shared
            anchors.right: parent.right
            anchors.top: lovedMark.bottom
            anchors.rightMargin: 6
            width: sharedText.implicitWidth + 8
            height: sharedText.implicitHeight + 2
            radius: 3
            color: Theme.surface
            Text {
                id: sharedText
                anchors.centerIn: parent
                text: qsTr("Shared")
                font.pixelSize: Theme.fontSmall
                color: Theme.accent
            }
        }
    }
}
