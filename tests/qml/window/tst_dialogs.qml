import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import "qrc:/compoments/base"
import "qrc:/compoments/device"
import "../scenefind.js" as Scene

// Dialogs as a user meets them: a question declared in a hidden row of no
// width still opens at a readable size with its text wrapped (and without a
// layout loop); opening a device says why it failed and opens only a device
// that answered to its token; so does the tab of a device that went away.
Item {
    id: scene
    width: 1000
    height: 700

    Row {
        width: 0
        visible: false
        ConfirmDialog {
            id: ask
            title: "Cancel Copy"
            text: "Stop copying? The files not copied yet will not be copied, and the ones copied stay where they are."
        }
    }

    OpenDeviceDialog { id: openDlg }

    Component {
        id: viewOf
        DeviceView { width: 900; height: 600 }
    }

    SignalSpy { id: opened; target: openDlg; signalName: "deviceOpened" }

    TestCase {
        name: "Dialogs"
        when: windowShown

        function find(item, name) { return Scene.find(item, name) }

        function test_questionInAHiddenRowIsReadable() {
            ask.open()
            tryCompare(ask, "opened", true)
            verify(ask.width >= 240, "width " + ask.width)
            var body = find(ask.contentItem, "confirmText")
            verify(body.width <= ask.availableWidth)
            verify(body.lineCount >= 2, "wrapped: " + body.lineCount)
            verify(ask.height > body.height)
            verify(testRig.screenshot(ask.contentItem.parent, "confirm_dialog"))
            ask.close()
            tryCompare(ask, "visible", false)
        }

        // Fills the fields and presses OK; the answer is awaited.
        function tryOpen(port, token) {
            openDlg.open()
            tryCompare(openDlg, "opened", true)
            find(openDlg.contentItem, "portField").text = String(port)
            find(openDlg.contentItem, "userField").text = "owner"
            find(openDlg.contentItem, "tokenField").text = token
            openDlg.accept()
            tryCompare(openDlg, "probing", false, 15000)
        }

        function test_openDeviceSaysWhyAndOpensOnlyADeviceThatAnswered() {
            opened.clear()
            compare(find(openDlg.contentItem, "tokenField").echoMode, TextInput.Password)

            tryOpen(1, "rig-token")   // nothing listens there
            var error = find(openDlg.contentItem, "openDeviceError")
            tryCompare(openDlg, "opened", true)
            verify(error.visible)
            verify(error.text.indexOf("refused") >= 0, error.text)
            // The way back to the sample device is always there.
            verify(find(openDlg.contentItem, "openSampleButton").visible)

            tryOpen(testRig.device().lanPort, "not-the-token")
            verify(error.text.indexOf("refused the token") >= 0, error.text)
            verify(testRig.screenshot(openDlg.contentItem.parent, "open_device_refused"))
            compare(opened.count, 0)

            tryOpen(testRig.device().lanPort, "rig-token")
            compare(opened.count, 1)
            compare(opened.signalArguments[0][0].lanPort, testRig.device().lanPort)
            compare(openDlg.errorText, "")
            tryCompare(openDlg, "visible", false)
        }

        // A tab whose device does not answer says why.
        function test_unreachableTabSaysWhy() {
            var d = testRig.device()
            d.lanPort = 1
            d.deviceId = "nobody-listens"
            var view = createTemporaryObject(viewOf, scene, { deviceMap: d })
            verify(view !== null)
            var line = find(view, "linkStateText")
            tryVerify(function() { return line.text.indexOf("refused") >= 0 }, 20000, line.text)
            verify(line.text.indexOf("The device is not connected") === 0, line.text)
            verify(testRig.screenshot(view, "tab_unreachable"))
        }
    }
}
