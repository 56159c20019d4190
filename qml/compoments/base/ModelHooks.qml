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
