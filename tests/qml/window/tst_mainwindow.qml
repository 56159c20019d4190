import QtQuick 2.15
import QtTest 1.15
import Tidewell 1.0
import "../scenefind.js" as Scene

// The whole window as the program loads it: the device opens in a tab and
// its root folder is listed.
TestCase {
    id: tc
    name: "MainWindow"
    when: windowShown
    width: 1180
    height: 760

    property var win: null

    function findChild(item, name) { return Scene.find(item, name) }

    function initTestCase() {
        var comp = Qt.createComponent("qrc:/main.qml")
        verify(comp.status === Component.Ready, comp.errorString())
        win = comp.createObject(null)
        verify(win !== null)
    }

    function cleanupTestCase() {
        if (win)
            win.destroy()
    }

    Image { id: probe }

    // The type icons the lists show are drawn at build time and carried in
    // the program.
    function test_iconsAreCarried() {
        probe.source = "qrc:/compoments/base/Image/fileType/type_folder@2x.png"
        tryCompare(probe, "status", Image.Ready)
        verify(probe.implicitWidth > 0)
        probe.source = "qrc:/compoments/base/Image/app_icon.png"
        tryCompare(probe, "status", Image.Ready)
    }

    SignalSpy { id: linkSpy; target: Notifier; signalName: "openLink" }

    // A link handed over (at start or by a later start) switches to the link
    // page, which is given the link, and the property is cleared.
    function test_linkHandOverOpensTheLinkPage() {
        linkSpy.clear()
        twSdk.extraExtlink = { shareId: "s-1", code: "c1", url: "larkvault://a.share.tidewell.net/share?shareId=s-1&code=c1" }
        tryCompare(win, "appSection", Constant.pageLinks)
        compare(linkSpy.count, 1)
        compare(linkSpy.signalArguments[0][0].shareId, "s-1")
        compare(linkSpy.signalArguments[0][0].code, "c1")
        compare(twSdk.extraExtlink.shareId, undefined)
        win.appSection = -1
    }

    // A device opened by address gets a tab of its own that connects.
    function test_openDeviceByAddress() {
        var before = win.devices.length
        var dlg = findChild(win.contentItem, "openDeviceDialog") || findChild(win.overlay, "openDeviceDialog")
        verify(dlg !== null)
        dlg.open()
        tryCompare(dlg, "opened", true)
        findChild(dlg.contentItem, "portField").text = String(testRig.device().lanPort)
        findChild(dlg.contentItem, "userField").text = "owner"
        findChild(dlg.contentItem, "tokenField").text = "rig-token"
        dlg.accept()
        // The device is asked first; the tab opens once it answered.
        tryVerify(function() { return win.devices.length === before + 1 }, 10000)
        compare(win.currentDevice, before)
        tryVerify(function() { return win.currentView && win.currentView.connected }, 10000)
        win.closeDevice(before)
        compare(win.devices.length, before)
    }

    function test_opensDeviceTab() {
        tryCompare(win, "devices", win.devices)
        compare(win.devices.length, 1)
        var view = findChild(win.contentItem, "deviceView")
        verify(view !== null)
        tryVerify(function() { return view.connected }, 10000, "the tab connects to the test device")
        verify(testRig.screenshot(win.contentItem, "main"))
    }
}
