import QtQuick 2.15
import QtQuick.Window 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Qt.labs.platform 1.1 as Platform
import Tidewell 1.0
import compoments.base 1.0
import compoments.device 1.0

ApplicationWindow {
    id: appWindow
    objectName: "mainWindow"
    width: 1180
    height: 760
    minimumWidth: 880
    minimumHeight: 560
    visible: true
    title: "Tidewell"
    color: Theme.background

    // Open device tabs: one map per device as connect_to takes it.
    property var devices: []
    property int currentDevice: devices.length > 0 ? 0 : -1
    // -1: a device tab; otherwise a section of the application-level view.
    property int appSection: -1
    property int section: Constant.pageFiles
    readonly property bool trayAvailable: tray.available
    readonly property var currentView: currentDevice >= 0 && deviceRepeater.count > currentDevice
                                       ? deviceRepeater.itemAt(currentDevice) : null

    function openDevice(device) {
        for (var i = 0; i < devices.length; ++i) {
            if (devices[i].deviceId === device.deviceId) {
                currentDevice = i
                appSection = -1
                return
            }
        }
        var list = devices.slice()
        list.push(device)
        devices = list
        currentDevice = list.length - 1
        appSection = -1
    }

    function closeDevice(index) {
        if (typeof twLauncher !== "undefined" && twLauncher && index >= 0 && index < devices.length)
            twLauncher.forgetDevice(devices[index])
        var list = devices.slice()
        list.splice(index, 1)
        devices = list
        currentDevice = Math.min(currentDevice, list.length - 1)
    }

    function showSection(s) {
        section = s
        if (currentDevice < 0)
            appSection = (s === Constant.pageTransfers) ? Constant.pageTransfers : Constant.pageLinks
        else
            appSection = -1
    }

    function showAppSection(s) { appSection = s }

    // A link handed over at start or by a later start.
    function takeExtlink() {
        var link = twSdk.extraExtlink
        if (!link || !link.shareId || link.shareId.length === 0)
            return
        twSdk.extraExtlink = ({})
        appSection = Constant.pageLinks
        console.log("main.qml - link page opened for", link.shareId)
        Notifier.openLink(link)
    }

    Connections {
        target: twSdk
        function onExtraExtlinkChanged() { appWindow.takeExtlink() }
    }
    Connections {
        target: twExtlink
        ignoreUnknownSignals: true
        function onSg_showLoading() { windowBusy.show() }
        function onSg_cancelLading() { windowBusy.hide() }
    }

    Component.onCompleted: {
        if (typeof twLauncher !== "undefined" && twLauncher) {
            var list = twLauncher.devices()
            for (var i = 0; i < list.length; ++i)
                openDevice(list[i])
        }
        takeExtlink()
    }

    onClosing: {
        if (trayAvailable) {
            close.accepted = false
            appWindow.hide()
        } else {
            twSdk.release()
        }
    }

    Platform.SystemTrayIcon {
        id: tray
        // The icon is given once the tray item is complete, and the tray is
        // shown after: an icon given earlier would only load when the tray
        // is shown, which is refused without one.
        property bool iconSet: false
        visible: available && iconSet
        Component.onCompleted: {
            icon.source = "qrc:/compoments/base/Image/app_icon.png"
            iconSet = true
        }
        onVisibleChanged: if (visible) console.log("main.qml - tray icon shown")
        tooltip: "Tidewell"
        onActivated: { appWindow.show(); appWindow.raise(); appWindow.requestActivate() }
        menu: Platform.Menu {
            Platform.MenuItem {
                text: qsTr("&Show")
                onTriggered: { appWindow.show(); appWindow.raise() }
            }
            Platform.MenuItem {
                text: qsTr("&Quit")
                onTriggered: { twSdk.release(); Qt.quit() }
            }
        }
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.background
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        SideBar {
            id: sideBar
            Layout.fillHeight: true
            Layout.preferredWidth: Theme.sidebarWidth
            devices: appWindow.devices
            currentDevice: appWindow.appSection < 0 ? appWindow.currentDevice : -1
            section: appWindow.section
            appSection: appWindow.appSection
            onDeviceClicked: { appWindow.currentDevice = index; appWindow.appSection = -1 }
            onSectionClicked: appWindow.showSection(s)
            onAppSectionClicked: appWindow.showAppSection(s)
            onOpenDeviceClicked: openDeviceDialog.open()
            onCloseDeviceClicked: appWindow.closeDevice(index)
            twTab: appWindow.currentView ? appWindow.currentView.twTab : null
        }

        StackLayout {
            id: content
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: appWindow.appSection >= 0 || appWindow.currentDevice < 0
                          ? appWindow.devices.length : appWindow.currentDevice

            Repeater {
                id: deviceRepeater
                model: appWindow.devices
                DeviceView {
                    deviceMap: modelData
                    section: appWindow.section
                }
            }

            AppView {
                id: appView
                section: appWindow.appSection < 0 ? Constant.pageLinks : appWindow.appSection
                hasDevice: appWindow.devices.length > 0
                onOpenDeviceClicked: openDeviceDialog.open()
            }
        }
    }

    OpenDeviceDialog {
        id: openDeviceDialog
        onDeviceOpened: appWindow.openDevice(device)
    }

    BusyOverlay { id: windowBusy }
    Toast { id: toast }
}
