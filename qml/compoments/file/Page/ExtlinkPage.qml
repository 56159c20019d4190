import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import compoments.base 1.0
import compoments.extlink 1.0

// External links. In a device tab (twTab set): the links the user created
// on the device, with their visit counters. Without a device (twTab null):
// the links the user received and added by URL and code; a link handed to
// the program opens the add-link dialog. Either way a link can be copied,
// shared as a card, removed and opened to its files.
Rectangle {
    id: page
    objectName: "extlinkPage"
    color: Theme.surface
    property QtObject twTab: null
    readonly property bool deviceMode: twTab !== null
    readonly property bool ready: deviceMode ? twTab.linkState >= 2 : typeof twExtlink !== "undefined" && twExtlink !== null
    // The link list of the present mode (made again when the mode changes,
    // since the mode must be set before the facade).
    property QtObject links: null
    property int selectedRow: -1
    // The link whose files are shown; null for the list.
    property var openLink: null
    // Records view of the file list instead of the link table.
    property bool recordsView: false
    // The code typed with a link, used when the link asks for it.
    property string pendingUrl: ""
    property string pendingCode: ""
    // A link being added; once refused, Add link opens with its text again.
    property bool adding: false
    property bool addRefused: false
    readonly property alias addDialog: addDialog
    readonly property alias linkCard: card
    readonly property alias filesView: filesView
    readonly property alias records: records

    function rebuild() {
        var old = links
        selectedRow = -1
        openLink = null
        var m = linkComp.createObject(page)
        m.deviceMode = deviceMode
        m.tw = deviceMode ? twTab.twDevice : twExtlink
        links = m
        if (old)
            old.destroy()
    }
    // Back from an outage: a list that failed to load asks again.
    onReadyChanged: if (ready && links && links.rowCount() === 0) links.resetData()
    function select(index, isFocus) {
        if (!links)
            return
        links.singleSelect(index, isFocus === true)
        selectedRow = links.selectNum > 0 ? index : -1
    }
    function openRow(index) {
        select(index, true)
        var l = links.get()
        if (l && l.shareId)
            openLink = l
    }
    function offer(link) {
        if ((link && link.url) || !addRefused)
            addDialog.fill(link)
        addRefused = false
        openLink = null
        addDialog.open()
    }
    // Takes the link as the program copies it (its code inside or after it).
    function addLink(text, code) {
        var link = twSdk.pastedLink(text)
        pendingUrl = link.url
        pendingCode = code.length > 0 ? code : link.code
        adding = true
        links.addExtlink(link.url)
    }
    function share(index) {
        select(index, true)
        links.operateShare(index)
    }
    function sortBy(type) {
        if (links.sortType === type)
            links.isSort = !links.isSort
        else
            links.sortType = type
    }

    Component.onCompleted: Qt.callLater(rebuild)
    onTwTabChanged: Qt.callLater(rebuild)

    Connections {
        target: Notifier
        function onOpenLink(link) {
            if (!page.deviceMode && link && link.shareId)
                page.offer(link)
        }
    }

    Component {
        id: linkComp
        ExtlinkListModel {
            id: linkModel
            objectName: "linkModel"
            onIsSortChanged: resetData()
            onSortTypeChanged: resetData()
            onSg_notifyStatus: {
                if (page.adding && level !== Constant.toastSuccess)
                    page.addRefused = true
                page.adding = false
            }
            onExtractedCodeExtlink: {
                page.adding = false
                if (page.pendingCode.length > 0 && value.shareId && page.pendingUrl.indexOf(value.shareId) >= 0) {
                    checkExtlink(page.pendingUrl, page.pendingCode)
                } else {
                    codeDialog.url = page.pendingUrl
                    codeDialog.value = ""
                    codeDialog.open()
                }
            }
            onShowShareAlert: card.show(info, img)
            onSelectNumChanged: if (selectNum === 0) page.selectedRow = -1
            onLoadNumChanged: {
                page.adding = false
                // Rows moved: the page's row number would name another link.
                if (page.selectedRow >= 0)
                    singleSelect(-1)
                if (page.recordsView)
                    records.takeLinks(linkModel)
            }
        }
    }
    ModelHooks {
        model: page.links; overlay: busy; emptyView: empty; emptyText: qsTr("No Extlink Can Add")
        live: page.ready && page.visible && page.openLink === null
        reload: function() { if (page.links) page.links.resetData() }
    }

    MyExtlinkListModel {
        id: records
        objectName: "linkRecords"
        isFileModel: false
    }
    onRecordsViewChanged: records.takeLinks(recordsView ? links : null)

    StackLayout {
        anchors.fill: parent
        currentIndex: page.openLink ? 1 : 0

        ColumnLayout {
            spacing: 0
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: Theme.headerHeight
                color: Theme.surface
                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: Theme.margin
                    anchors.rightMargin: Theme.margin
                    Label {
                        text: page.deviceMode ? qsTr("My links") : qsTr("Received links")
                        font.pixelSize: Theme.fontLarge
                        font.bold: true
                        color: Theme.text
                    }
                    Label {
                        objectName: "linkCount"
                        textFormat: Text.PlainText
                        text: qsTr("%n links", "", page.links ? page.links.loadNum : 0)
                        color: Theme.textMuted
                        font.pixelSize: Theme.fontSmall
                    }
                    Item { Layout.fillWidth: true }
                    ToolButton {
                        objectName: "linkViewToggle"
                        text: page.recordsView ? qsTr("Table") : qsTr("Records")
                        onClicked: page.recordsView = !page.recordsView
                    }
                    ToolButton { objectName: "linkRefresh"; text: qsTr("Refresh"); onClicked: page.links.resetData() }
                }
            }
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: commands.implicitHeight + 12
                color: Theme.background
                Flow {
                    id: commands
                    x: 6; y: 6
                    width: parent.width - 12
                    spacing: 6
                    Button {
                        objectName: "addLinkButton"
                        text: qsTr("Add link")
                        visible: !page.deviceMode
                        onClicked: page.offer({})
                    }
                    Button { objectName: "linkOpen"; text: qsTr("Open"); enabled: page.selectedRow >= 0; onClicked: page.openRow(page.selectedRow) }
                    Button { objectName: "linkCopy"; text: qsTr("Copy"); enabled: page.selectedRow >= 0; onClicked: page.links.operateCopy(page.selectedRow) }
                    Button { objectName: "linkShare"; text: qsTr("Share"); enabled: page.selectedRow >= 0; onClicked: page.share(page.selectedRow) }
                    Button {
                        objectName: "linkRemove"
                        text: page.deviceMode ? qsTr("Delete") : qsTr("Remove")
                        enabled: page.selectedRow >= 0
                        onClicked: removeDialog.open()
                    }
                }
            }
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 32
                color: Theme.surface
                visible: !page.recordsView
                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: Theme.margin
                    anchors.rightMargin: Theme.margin
                    spacing: Theme.spacing
                    Label { Layout.fillWidth: true; text: qsTr("Title"); color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                    // The device's links are the user's own: no owner to show.
                    Label { Layout.preferredWidth: 110; visible: !page.deviceMode; text: qsTr("Owner"); color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                    Label { Layout.preferredWidth: 120; visible: page.deviceMode; text: qsTr("Visits"); color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                    ToolButton {
                        objectName: "linkSortTime"
                        Layout.preferredWidth: 130
                        font.pixelSize: Theme.fontSmall
                        text: qsTr("Created") + (page.links && page.links.isSort ? " \u25b2" : " \u25bc")
                        onClicked: page.sortBy(0)
                        focusPolicy: Qt.NoFocus
                        background: Rectangle { color: parent.hovered ? Theme.hover : "transparent"; radius: Theme.radius }
                    }
                }
            }
            Item {
                Layout.fillWidth: true
                Layout.fillHeight: true
                ListView {
                    id: list
                    objectName: "linkList"
                    anchors.fill: parent
                    visible: !page.recordsView
                    clip: true
                    model: page.ready ? page.links : null
                    boundsBehavior: Flickable.StopAtBounds
                    ScrollBar.vertical: ScrollBar {}
                    PageFeeder { view: list }
                    delegate: Rectangle {
                        objectName: "linkRow_" + model.$Name
                        width: list.width
                        height: 48
                        color: model.$Selected ? Theme.selection : (rowArea.containsMouse ? Theme.hover : Theme.surface)
                        MouseArea {
                            id: rowArea
                            anchors.fill: parent
                            hoverEnabled: true
                            acceptedButtons: Qt.LeftButton | Qt.RightButton
                            onClicked: {
                                if (mouse.button === Qt.RightButton) {
                                    page.select(index, true)
                                    linkMenu.popup()
                                } else {
                                    page.select(index)
                                }
                            }
                            onDoubleClicked: page.openRow(index)
                        }
                        RowLayout {
                            anchors.fill: parent
                            anchors.leftMargin: Theme.margin
                            anchors.rightMargin: Theme.margin
                            spacing: Theme.spacing
                            ColumnLayout {
                                Layout.fillWidth: true
                                spacing: 0
                                Label {
                                    Layout.fillWidth: true
                                    text: model.$Name
                                    textFormat: Text.PlainText
                                    elide: Text.ElideRight
                                    color: Theme.text
                                    font.pixelSize: Theme.fontNormal
                                }
                                Label {
                                    objectName: "linkUrlText"
                                    Layout.fillWidth: true
                                    text: model.$Url
                                    textFormat: Text.PlainText
                                    elide: Text.ElideMiddle
                                    color: Theme.textMuted
                                    font.pixelSize: Theme.fontSmall
                                }
                            }
                            Label { Layout.preferredWidth: 110; visible: !page.deviceMode; text: model.$Owner; elide: Text.ElideRight; color: Theme.textMuted; font.pixelSize: Theme.fontSmall; textFormat: Text.PlainText }
                            ColumnLayout {
                                Layout.preferredWidth: 120
                                visible: page.deviceMode
                                spacing: 0
                                Label { objectName: "linkVisits"; text: model.$UserVisitTime; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                                Label { text: qsTr("File visits: %1").arg(model.$ResVisitTime); color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                            }
                            Label { Layout.preferredWidth: 130; text: model.$CreateTime; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                        }
                        Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.background }
                    }
                }
                // The same links laid out as file-list records.
                ListView {
                    id: recordList
                    objectName: "linkRecordList"
                    anchors.fill: parent
                    visible: page.recordsView
                    clip: true
                    model: page.recordsView ? records : null
                    ScrollBar.vertical: ScrollBar {}
                    PageFeeder { view: recordList }
                    delegate: Rectangle {
                        objectName: "linkRecord_" + model.$FileName
                        width: recordList.width
                        height: Theme.rowHeight
                        color: index === page.selectedRow ? Theme.selection : Theme.surface
                        MouseArea {
                            anchors.fill: parent
                            onClicked: page.select(index)
                            onDoubleClicked: page.openRow(index)
                        }
                        RowLayout {
                            anchors.fill: parent
                            anchors.leftMargin: Theme.margin
                            anchors.rightMargin: Theme.margin
                            spacing: Theme.spacing
                            Image {
                                Layout.preferredWidth: Theme.iconSize
                                Layout.preferredHeight: Theme.iconSize
                                source: model.$FileThumbUrl
                                fillMode: Image.PreserveAspectFit
                            }
                            Label { Layout.fillWidth: true; text: model.$FileName; elide: Text.ElideRight; color: Theme.text; textFormat: Text.PlainText }
                            Label { Layout.preferredWidth: 110; text: model.$FileSize || ""; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                            Label { Layout.preferredWidth: 130; text: model.$FileTime; color: Theme.textMuted; font.pixelSize: Theme.fontSmall }
                        }
                    }
                }
                EmptyView { id: empty; anchors.fill: parent }
                BusyOverlay { id: busy }
            }
        }

        LinkFilesView {
            id: filesView
            twTab: page.twTab
            deviceMode: page.deviceMode
            link: page.openLink
            onBack: page.openLink = null
        }
    }

    Menu {
        id: linkMenu
        objectName: "linkMenu"
        MenuItem { text: qsTr("Open"); onTriggered: page.openRow(page.selectedRow) }
        MenuItem { text: qsTr("Copy"); onTriggered: page.links.operateCopy(page.selectedRow) }
        MenuItem { text: qsTr("Share"); onTriggered: page.share(page.selectedRow) }
        MenuItem { text: page.deviceMode ? qsTr("Delete") : qsTr("Remove"); onTriggered: removeDialog.open() }
    }

    AddLinkDialog {
        id: addDialog
        onAddRequested: page.addLink(url, code)
    }
    InputDialog {
        id: codeDialog
        objectName: "linkCodeDialog"
        property string url: ""
        title: qsTr("Extraction code")
        label: qsTr("This link needs its extraction code.")
        onEntered: page.links.checkExtlink(url, text)
    }
    ConfirmDialog {
        id: removeDialog
        objectName: "linkRemoveDialog"
        title: page.deviceMode ? qsTr("Delete") : qsTr("Remove")
        text: page.deviceMode ? qsTr("Delete this link? Nobody can open it afterwards.")
                              : qsTr("Remove this link from the list?")
        onConfirmed: {
            var row = page.selectedRow
            page.selectedRow = -1
            page.links.operateRemove(row)
        }
    }
    LinkCard {
        id: card
        onShareRequested: page.links.shareExtlink(type)
    }
}
