import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0

// Busy overlay over its parent. show()/hide() nest, so two pieces of work
// that overlap keep it up until both end.
Item {
    id: overlay
    objectName: "busyOverlay"
    anchors.fill: parent
    z: 900
    property int depth: 0
    readonly property bool busy: depth > 0
    visible: busy

    function show() { depth = depth + 1 }
    function hide() { depth = Math.max(0, depth - 1) }
    function reset() { depth = 0 }

    Rectangle {
        anchors.fill: parent
        color: "#40ffffff"
    }
    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true
    }
    BusyIndicator {
        anchors.centerIn: parent
        running: overlay.busy
    }
}
