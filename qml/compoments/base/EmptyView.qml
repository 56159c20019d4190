import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0
import Tidewell.PaintItem 1.0

// The empty-list view: hidden for state 0, shown with its message for
// 1 (empty list) and 2 (the first load failed), in a dashed frame.
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

    SKDashLineView {
        objectName: "emptyFrame"
        anchors.centerIn: parent
        width: Math.min(empty.width - 2 * Theme.margin, Math.max(240, msg.implicitWidth + 64))
        height: msg.implicitHeight + 56
        lineWidth: 2
        radius: 8
        lineColor: empty.state_ === 2 ? Theme.error : Theme.border
        // The frame paints again only when asked.
        onLineColorChanged: update()
    }
    Label {
        id: msg
        objectName: "emptyText"
        anchors.centerIn: parent
        width: Math.min(implicitWidth, Math.max(0, empty.width - 2 * Theme.margin - 32))
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        textFormat: Text.PlainText
        text: empty.message.length > 0 ? empty.message : empty.defaultMessage
        color: empty.state_ === 2 ? Theme.error : Theme.textMuted
        font.pixelSize: Theme.fontNormal
    }
}
