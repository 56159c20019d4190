import QtQuick 2.15
import Tidewell 1.0

// Joins a list model's page signals to a page: toasts go to the window,
// the busy overlay and the empty view are the page's own.
QtObject {
    id: hooks
    property QtObject model
    property Item overlay
    property Item emptyView
    // Message shown when the model reports an empty list without one.
    property string emptyText: ""
    // Loads the list again. While set and `live`, a list whose load failed
    // asks again every few seconds, so it comes back by itself once the
    // device answers, also when the tab never noticed it gone.
    property var reload: null
    property bool live: true

    property Timer _again: Timer {
        interval: 4000
        repeat: true
        running: hooks.reload !== null && hooks.live && hooks.emptyView !== null && hooks.emptyView.state_ === 2
        onTriggered: hooks.reload()
    }

    property Connections _c: Connections {
        target: hooks.model
        ignoreUnknownSignals: true
        function onSg_notifyStatus(code, message, level) { Notifier.toast(message, level) }
        function onSg_showLoading() { if (hooks.overlay) hooks.overlay.show() }
        function onSg_cancelLading() { if (hooks.overlay) hooks.overlay.hide() }
        function onSg_DefaultStateChange(dState, message) {
            if (hooks.emptyView)
                hooks.emptyView.setState(dState, message.length > 0 ? message : hooks.emptyText)
        }
    }
}
