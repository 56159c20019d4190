import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// Navigation: the open devices with their sections, then what works
// without a device (links and their downloads).
Rectangle {
    id: bar
    objectName: "sideBar"
    color: Theme.sidebar
    property var devices: []
    property int currentDevice: -1
    property int section: 0
    property int appSection: -1
    property QtObject twTab: null

    signal deviceClicked(int index)
    signal closeDeviceClicked(int index)
    signal sectionClicked(int s)
    signal appSectionClicked(int s)
    signal openDeviceClicked()

    readonly property var sections: [
        { id: Constant.pageFiles, name: qsTr("Files"), key: "navFiles" },
        { id: Constant.pageTransfers, name: qsTr("Transfers"), key: "navTransfers" },
        { id: Constant.pageMedia, name: qsTr("Media"), key: "navMedia" },
        { id: Constant.pageShares, name: qsTr("Shares"), key: "navShares" },
        { id: Constant.pageGroups, name: qsTr("Public groups"), key: "navGroups" },
        { id: Constant.pageLinks, name: qsTr("External links"), key: "navLinks" }
    ]

    component NavItem: ItemDelegate {
        property bool active: false
        property int count: 0
        width: bar.width
        height: 34
        leftPadding: 24
        contentItem: RowLayout {
            Label {
                Layout.fillWidth: true
                text: parent.parent.text
                textFormat: Text.PlainText
                color: parent.parent.active ? "white" : Theme.sidebarText
                font.pixelSize: Theme.fontNormal
                elide: Text.ElideRight
            }
            Rectangle {
                visible: parent.parent.count > 0
                Layout.preferredWidth: Math.max(20, countText.implicitWidth + 10)
                Layout.preferredHeight: 18
                radius: 9
                color: Theme.accent
                Label {
                    id: countText
                    objectName: "navCount"
                    anchors.centerIn: parent
                    text: parent.parent.parent.count
                    color: "white"
                    font.pixelSize: Theme.fontSmall
                }
            }
        }
        background: Rectangle { color: parent.active ? Theme.sidebarActive : (parent.hovered ? "#2b323b" : "transparent") }
    }

    Flickable {
        anchors.fill: parent
        contentHeight: col.implicitHeight
        clip: true
        Column {
            id: col
            width: bar.width
            Item { width: 1; height: 12 }
            Label {
                x: 16
                text: "Tidewell"
                color: "white"
                font.pixelSize: Theme.fontLarge
                font.bold: true
            }
            Item { width: 1; height: 12 }

            Repeater {
                model: bar.devices
                Column {
                    width: bar.width
                    ItemDelegate {
                        objectName: "deviceEntry" + index
                        width: bar.width
                        height: 36
                        leftPadding: 12
                        contentItem: RowLayout {
                            Label {
                                Layout.fillWidth: true
                                text: twSdk.shownName(modelData.deviceName || modelData.deviceId || "")
                                textFormat: Text.PlainText
                                color: "white"
                                font.bold: true
                                font.pixelSize: Theme.fontNormal
                                elide: Text.ElideRight
                            }
                            ToolButton {
                                objectName: "closeDevice" + index
                                text: "\u00d7"
                                implicitWidth: 24; implicitHeight: 24
                                onClicked: bar.closeDeviceClicked(index)
                                contentItem: Label { text: parent.text; color: Theme.sidebarText; horizontalAlignment: Text.AlignHCenter }
                                background: Item {}
                            }
                        }
                        background: Rectangle { color: parent.hovered ? "#2b323b" : "transparent" }
                        onClicked: bar.deviceClicked(index)
                    }
                    Repeater {
                        model: index === bar.currentDevice ? bar.sections : []
                        NavItem {
                            objectName: modelData.key
                            text: modelData.name
                            active: bar.section === modelData.id && bar.appSection < 0
                            count: modelData.id === Constant.pageTransfers && bar.twTab ? bar.twTab.hasTaskNum : 0
                            onClicked: bar.sectionClicked(modelData.id)
                        }
                    }
                }
            }

            ItemDelegate {
                objectName: "openDeviceButton"
                width: bar.width
                height: 34
                leftPadding: 12
                text: qsTr("+ Open a device")
                contentItem: Label { text: parent.text; color: Theme.sidebarText; font.pixelSize: Theme.fontNormal }
                background: Rectangle { color: parent.hovered ? "#2b323b" : "transparent" }
                onClicked: bar.openDeviceClicked()
            }

            Item { width: 1; height: 16 }
            Label {
                x: 12
                text: qsTr("Without a device")
                color: Theme.textMuted
                font.pixelSize: Theme.fontSmall
            }
            NavItem {
                objectName: "navAppLinks"
                text: qsTr("External links")
                active: bar.appSection === Constant.pageLinks
                onClicked: bar.appSectionClicked(Constant.pageLinks)
            }
            NavItem {
                objectName: "navAppTransfers"
                text: qsTr("Link downloads")
                active: bar.appSection === Constant.pageTransfers
                onClicked: bar.appSectionClicked(Constant.pageTransfers)
            }
        }
    }
}
