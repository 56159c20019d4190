import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0

// Shows Notifier.toast messages one after another at the bottom of its
// parent; `lastText` and `lastLevel` keep the newest for tests.
Item {
    id: toast
    objectName: "toast"
    // Above open dialogs and their dimming: a dialog's own action reports here.
    parent: Overlay.overlay
    anchors.fill: parent
    z: 1000

    property string lastText: ""
    property int lastLevel: 0
    property var queue: []
    property int duration: 2500

    function show(message, level) {
        if (!message || message.length === 0)
            return
        // Device answers and names inside a message: controls written out.
        message = twSdk.shownName(message)
        lastText = message
        lastLevel = level
        queue.push({ text: message, level: level })
        if (!timer.running)
            next()
    }

    function next() {
        if (queue.length === 0) {
            box.visible = false
            return
        }
        var m = queue.shift()
        label.text = m.text
        box.color = m.level === Constant.toastSuccess ? Theme.success
                  : m.level === Constant.toastError ? Theme.error : Theme.info
        box.visible = true
        timer.restart()
    }

    Connections {
        target: Notifier
        function onToast(message, level) { toast.show(message, level) }
    }

    Timer {
        id: timer
        interval: toast.queue.length > 2 ? 800 : toast.duration
        onTriggered: toast.next()
    }

    Rectangle {
        id: box
        objectName: "toastBox"
        visible: false
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 48
        radius: Theme.radius
        width: Math.min(parent.width - 48, label.implicitWidth + 32)
        height: label.implicitHeight + 20
        opacity: 0.94
        Label {
            id: label
            objectName: "toastText"
            textFormat: Text.PlainText
            anchors.centerIn: parent
            width: Math.min(implicitWidth, toast.width - 80)
            color: "white"
            wrapMode: Text.Wrap
            font.pixelSize: Theme.fontNormal
        }
    }
}
