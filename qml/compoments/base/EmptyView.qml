import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0

// The empty-list view: hidden for state 0, shown with its message for
// 1 (empty list) and 2 (the first load failed).
Item {
    id: empty
    objectName: "emptyView"
    property int state_: 0
    property string message: ""
    property string defaultMessage: qsTr("No Data")
    visible: state_ !== 0

    function setState(s, text) {
        state_ = s
        message = text || ""
    }

    Column {
        anchors.centerIn: parent
        spacing: Theme.spacing
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 56; height: 44; radius: 6
            color: "transparent"
            border.color: empty.state_ === 2 ? Theme.error : Theme.border
            border.width: 2
            Rectangle { x: 8; y: -6; width: 20; height: 8; radius: 2; color: parent.border.color }
        }
        Label {
            objectName: "emptyText"
            anchors.horizontalCenter: parent.horizontalCenter
            text: empty.message.length > 0 ? empty.message : empty.defaultMessage
            textFormat: Text.PlainText
            color: empty.state_ === 2 ? Theme.error : Theme.textMuted
            font.pixelSize: Theme.fontNormal
        }
    }
}
