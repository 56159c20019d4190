import QtQuick 2.15

// Asks a list's model for its next page while its view is shown within
// `reach` of its end, whether the wheel, the scroll bar, keys or a page too
// short to fill the view brought it there. The end is counted from originY:
// a view whose rows differ in height moves its origin as it learns their
// sizes, and contentHeight alone then places the end too far away.
QtObject {
    id: feeder
    property Flickable view: null
    // Asks for the next page; the view's model's fetchMore unless set. The
    // model itself ignores it while a page is under way or none is left.
    property var fetch: null
    property real reach: view ? view.height : 0
    property bool enabled: true

    function check() {
        var v = view
        if (!enabled || !v || !v.visible || !v.model || v.count === 0)
            return
        if (v.originY + v.contentHeight - v.contentY - v.height >= reach)
            return
        if (fetch) {
            fetch()
        } else if (typeof v.model.fetchMore === "function") {
            var m = v.model
            // index(-1, 0) is the invalid index: the top of a flat list.
            if (m.canFetchMore(m.index(-1, 0)))
                m.fetchMore(m.index(-1, 0))
        }
    }
    // After the change is through: a page arriving may still be updating
    // its model's state when the view hears of its rows.
    function later() { Qt.callLater(check) }

    onEnabledChanged: later()
    property Connections _view: Connections {
        target: feeder.view
        function onContentYChanged() { feeder.later() }
        function onContentHeightChanged() { feeder.later() }
        function onOriginYChanged() { feeder.later() }
        function onHeightChanged() { feeder.later() }
        function onCountChanged() { feeder.later() }
        function onVisibleChanged() { feeder.later() }
    }
}
