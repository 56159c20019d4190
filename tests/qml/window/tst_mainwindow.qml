import QtQuick 2.15
import QtTest 1.15
import Tidewell 1.0

// The whole window as the program loads it: the device opens in a tab and
// its root folder is listed.
TestCase {
    id: tc
    name: "MainWindow"
    when: windowShown
    width: 1180
    height: 760

    property var win: null

    function findChild(root, name) {
        if (!root)
            return null
        if (root.objectName === name)
            return root
        var kids = root.data || root.children || []
        for (var i = 0; i < kids.length; ++i) {
            var r = findChild(kids[i], name)
            if (r)
                return r
        }
        if (root.contentItem && root.contentItem !== root) {
            var c = findChild(root.contentItem, name)
            if (c)
                return c
        }
        return null
    }

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

    function test_opensDeviceTab() {
        tryCompare(win, "devices", win.devices)
        compare(win.devices.length, 1)
        var view = findChild(win.contentItem, "deviceView")
        verify(view !== null)
        tryVerify(function() { return view.connected }, 10000, "the tab connects to the test device")
        verify(testRig.screenshot(win.contentItem, "main"))
    }
}
