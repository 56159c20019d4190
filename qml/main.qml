import QtQuick 2.15
import QtQuick.Window 2.15
import QtQuick.Controls 2.15

ApplicationWindow {
    id: root
    width: 1080
    height: 720
    visible: true
    title: "Tidewell"

    Label {
        anchors.centerIn: parent
        text: twSdk ? qsTr("Tidewell is running") : ""
    }
}
