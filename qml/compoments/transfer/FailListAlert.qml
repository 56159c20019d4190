import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0

// The failed files of one folder transfer, each with its own reason.
// Every opening re-targets the one list: direction first, then the folder
// record, then a reset (the record is read according to the direction).
Dialog {
    id: dlg
    objectName: "failListAlert"
    property QtObject finishManager: null
    readonly property alias model: fails
    modal: true
    anchors.centerIn: Overlay.overlay
    width: Math.min(560, parent ? parent.width - 40 : 560)
    height: Math.min(420, parent ? parent.height - 40 : 420)
    standardButtons: Dialog.Close

    function show(title, isDown, record) {
        dlg.title = title
        fails.isDown = isDown
        fails.task = record
        fails.resetData()
        open()
    }

    TSFailListModel { id: fails; tw: dlg.finishManager }

    Item {
        anchors.fill: parent
        ListView {
            id: list
            objectName: "failList"
            anchors.fill: parent
            clip: true
            model: fails
            ScrollBar.vertical: ScrollBar {}
            PageFeeder { view: list }
            delegate: RowLayout {
                objectName: "failRow" + index
                width: list.width
                // A long reason wraps: the row grows to show all of it.
                height: Math.max(Theme.rowHeight, implicitHeight + 8)
                spacing: Theme.spacing
                FileIcon { mediaType: model.$FileType }
                Label {
                    objectName: "name"
                    Layout.fillWidth: true
                    text: model.$FileName
                    textFormat: Text.PlainText
                    elide: Text.ElideMiddle
                }
                Label {
                    text: model.$FileSize
                    color: Theme.textMuted
                    font.pixelSize: Theme.fontSmall
                }
                Label {
                    objectName: "message"
                    Layout.preferredWidth: 220
                    Layout.maximumWidth: 220
                    text: model.$ErrorMsg
                    textFormat: Text.PlainText
                    wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                    color: Theme.error
                    font.pixelSize: Theme.fontSmall
                }
            }
        }
        EmptyView { id: empty; objectName: "failEmptyView"; anchors.fill: parent }
        BusyOverlay { id: busy }
        ModelHooks { model: fails; overlay: busy; emptyView: empty; emptyText: qsTr("No Data") }
    }
}
