import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Dialogs 1.3 as Dialogs
import Tidewell 1.0
import Tidewell.Model 1.0
import Tidewell.PaintItem 1.0
import compoments.share 1.0
import compoments.media 1.0

// The files behind one link, folder by folder, sorted by name or date.
// A received link's selection is saved into a local folder the user picks,
// through the application's download queue, and the link can be reported;
// a link of the device is only looked into (and dropped onto: files go into
// the folder shown).
Rectangle {
    id: view
    objectName: "linkFilesView"
    color: Theme.surface
    property QtObject twTab: null
    property bool deviceMode: false
    // The link's map (ExtlinkListModel.get()); null when none is open.
    property var link: null
    readonly property alias files: levels
    readonly property QtObject current: levels.current
    // Sort key ("condition": 0 modified, 2 name; 3 the device's order) and
    // direction of every level.
    property int sortType: 3
    property bool isSort: false
    signal back()

    // Asks for the local folder first.
    function save() {
        if (!current || current.selectNum === 0)
            return
        saveDialog.folder = twSdk.fileUrl(twSdk.downloadFolder())
        saveDialog.open()
    }
    function saveInto(url) {
        var path = twSdk.localPath(url)
        if (!path.length) {
            Notifier.toast(qsTr("Choose a folder on this computer"), Constant.toastError)
            return
        }
        if (current)
            current.fileDownload(path)
    }
    function sortBy(type) {
        var turn = sortType === type
        if (turn)
            isSort = !isSort
        else
            sortType = type
        // Each model reloads on its own change; only the one that changed is
        // written, so the reload asks with both.
        for (var i = 0; i < levels.stack.length; ++i) {
            if (turn)
                levels.stack[i].model.isSort = isSort
            else
                levels.stack[i].model.sortType = sortType
        }
    }

    onLinkChanged: {
        if (link)
            levels.reset(link.title || qsTr("Link"))
        else
            levels.clear()
    }

    Component { id: fileModel; ExtlinkFileListModel {} }

    // The folder shown, as the model hands it over.
    Connections {
        target: view.current
        function onParentChange() { dropZone.folder = view.current.parentModel }
    }
    onCurrentChanged: dropZone.folder = current ? current.parentModel : ({})

    component SortButton: ToolButton {
        property int type: 0
        property string label: ""
        font.pixelSize: Theme.fontSmall
        focusPolicy: Qt.NoFocus
        text: label + (view.sortType === type ? (view.isSort ? " \u25b2" : " \u25bc") : "")
        onClicked: view.sortBy(type)
        contentItem: Label {
            text: parent.text
            textFormat: Text.PlainText
            font: parent.font
            color: view.sortType === parent.type ? Theme.accent : Theme.textMuted
            horizontalAlignment: Text.AlignLeft
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle { color: parent.hovered ? Theme.hover : "transparent"; radius: Theme.radius }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0
        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.headerHeight
            color: Theme.surface
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.margin
                anchors.rightMargin: Theme.margin
                ToolButton { objectName: "linkFilesBack"; text: "\u2190"; onClicked: view.back() }
                ColumnLayout {
                    spacing: 0
                    Label {
                        objectName: "linkFilesTitle"
                        text: view.link ? twSdk.shownName(view.link.title || "") : ""
                        textFormat: Text.PlainText
                        font.pixelSize: Theme.fontLarge
                        font.bold: true
                        color: Theme.text
                    }
                    Label {
                        text: view.link && view.link.userNickname ? qsTr("Shared by %1").arg(twSdk.shownName(view.link.userNickname)) : ""
                        textFormat: Text.PlainText
                        visible: text.length > 0
                        color: Theme.textMuted
                        font.pixelSize: Theme.fontSmall
                    }
                }
                Item { Layout.fillWidth: true }
                Label { text: qsTr("Sort by"); color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                SortButton { objectName: "linkSortName"; type: 2; label: qsTr("Name") }
                SortButton { objectName: "linkSortModified"; type: 0; label: qsTr("Modified") }
                Button {
                    objectName: "linkSave"
                    text: qsTr("Save")
                    visible: !view.deviceMode
                    enabled: view.current !== null && view.current.selectNum > 0
                    onClicked: view.save()
                }
                Button {
                    objectName: "linkReport"
                    text: qsTr("Report")
                    visible: !view.deviceMode
                    onClicked: report.open()
                }
            }
            Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.border }
        }
        FileLevels {
            id: levels
            Layout.fillWidth: true
            Layout.fillHeight: true
            active: view.link !== null
            modelComponent: fileModel
            setup: function(m, folder) {
                // The mode comes before the facade: it decides what is connected.
                m.deviceMode = view.deviceMode
                m.extlinkInfo = view.link
                if (folder)
                    m.my = folder
                m.thumb = view.deviceMode ? (view.twTab ? view.twTab.twThumb : null) : twThumb
                m.tw = view.deviceMode ? (view.twTab ? view.twTab.twDevice : null) : twExtlink
                m.sortType = view.sortType
                m.isSort = view.isSort
                m.isSortChanged.connect(m.refreshData)
                m.sortTypeChanged.connect(m.refreshData)
            }
            onFileOpened: opener.open(levels.current, fileInfo)
        }
    }

    // A link of the device: files dropped onto a folder of it are uploaded
    // there (the link's own top level is no folder of the device's).
    DropArea {
        id: dropZone
        objectName: "linkDropArea"
        property var folder: ({})
        readonly property bool usable: view.deviceMode && view.twTab !== null && (folder.fid || 0) > 0
        x: levels.x
        y: levels.y
        width: levels.width
        height: levels.height
        enabled: usable
        onDropped: {
            if (!drop.hasUrls || !usable)
                return
            // The folder in the owner's own space.
            view.twTab.addUploadFiles({ fid: folder.fid, name: folder.name, isDevice: true,
                                        filePath: "", upPath: folder.upPath || "" }, drop.urls)
            drop.accept()
        }
        Rectangle {
            anchors.fill: parent
            visible: dropZone.containsDrag
            color: "#202f81f7"
            SKDashLineView {
                anchors.fill: parent
                anchors.margins: 6
                lineWidth: 2
                radius: 8
                lineColor: Theme.accent
            }
            Label {
                anchors.centerIn: parent
                text: qsTr("Drop to upload here")
                color: Theme.accent
            }
        }
    }

    Dialogs.FileDialog {
        id: saveDialog
        objectName: "linkSaveDialog"
        title: qsTr("Save to")
        selectFolder: true
        // Accepted with nothing picked, the folder shown is the one meant.
        onAccepted: view.saveInto(fileUrl.toString().length > 0 ? fileUrl : folder)
    }

    ReportDialog {
        id: report
        onReportRequested: view.current.reportExtlink(phone, type, reason)
    }

    // A row plays and previews through its link; without a device (a
    // received link) twTab is null and the root's objects serve.
    FileOpener {
        id: opener
        anchors.fill: parent
        twTab: view.twTab
        // The device's own links offer no saving.
        onDownloadWanted: if (!view.deviceMode) view.save()
    }
}
