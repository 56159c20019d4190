import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "../share"
import "../media"

// The files behind one link, folder by folder. A received link's selection
// is saved into the application's download queue and the link can be
// reported; a link of the device is only looked into.
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
    signal back()

    function save() {
        if (current)
            current.fileDownload(twSdk.downloadFolder())
    }

    onLinkChanged: {
        if (link)
            levels.reset(link.title || qsTr("Link"))
        else
            levels.clear()
    }

    Component { id: fileModel; ExtlinkFileListModel {} }

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
                        text: view.link ? view.link.title : ""
                        textFormat: Text.PlainText
                        font.pixelSize: Theme.fontLarge
                        font.bold: true
                        color: Theme.text
                    }
                    Label {
                        text: view.link && view.link.userNickname ? qsTr("Shared by %1").arg(view.link.userNickname) : ""
                        textFormat: Text.PlainText
                        visible: text.length > 0
                        color: Theme.textMuted
                        font.pixelSize: Theme.fontSmall
                    }
                }
                Item { Layout.fillWidth: true }
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
                m.isSortChanged.connect(m.refreshData)
                m.sortTypeChanged.connect(m.refreshData)
            }
            onFileOpened: opener.open(levels.current, fileInfo)
        }
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
