import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// One row of a file list: check box, icon, name, size, time. Bound to the
// file-list roles; cheap enough for thousands of rows.
Rectangle {
    id: row
    property bool selected: false
    property string name: ""
    property string size: ""
    property string time: ""
    property url icon
    property bool shared: false
    property bool loved: false
    signal clicked(var mouse)
    signal doubleClicked()
    signal rightClicked()
    signal checkToggled()

    height: Theme.rowHeight
    color: selected ? Theme.selection : (area.containsMouse ? Theme.hover : Theme.surface)

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: mouse.button === Qt.RightButton ? row.rightClicked() : row.clicked(mouse)
        onDoubleClicked: if (mouse.button === Qt.LeftButton) row.doubleClicked()
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.margin
        anchors.rightMargin: Theme.margin
        spacing: Theme.spacing
        CheckBox {
            objectName: "rowCheck"
            checked: row.selected
            padding: 0
            onClicked: row.checkToggled()
        }
        Image {
            Layout.preferredWidth: Theme.iconSize
            Layout.preferredHeight: Theme.iconSize
            source: row.icon
            sourceSize.width: 48
            sourceSize.height: 48
            fillMode: Image.PreserveAspectFit
            // Thumbnails load off the GUI thread; bundled icons at once.
            asynchronous: String(row.icon).indexOf("qrc:") !== 0
        }
        Label {
            objectName: "rowName"
            Layout.fillWidth: true
            text: row.name
            textFormat: Text.PlainText
            elide: Text.ElideMiddle
            font.pixelSize: Theme.fontNormal
            color: Theme.text
        }
        Label {
            visible: row.shared
            text: qsTr("Shared")
            font.pixelSize: Theme.fontSmall
            color: Theme.accent
        }
        Label {
            visible: row.loved
            text: "\u2665"
            color: Theme.error
        }
        Label {
            Layout.preferredWidth: 90
            text: row.size
            horizontalAlignment: Text.AlignRight
            font.pixelSize: Theme.fontSmall
            color: Theme.textMuted
        }
        Label {
            Layout.preferredWidth: 130
            text: row.time
            horizontalAlignment: Text.AlignRight
            font.pixelSize: Theme.fontSmall
            color: Theme.textMuted
        }
    }
    Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.background }
}
