import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0

// A thin progress bar with its percentage; value 0..100.
Row {
    property real value: 0
    spacing: Theme.spacing
    ProgressBar {
        anchors.verticalCenter: parent.verticalCenter
        width: 120
        from: 0; to: 100
        value: parent.value
    }
    Label {
        anchors.verticalCenter: parent.verticalCenter
        text: Math.round(parent.value) + "%"
        font.pixelSize: Theme.fontSmall
        color: Theme.textMuted
    }
}
