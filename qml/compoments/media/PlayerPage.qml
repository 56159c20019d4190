import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Dialogs 1.3 as Dialogs
import Tidewell 1.0
import Tidewell.Media 1.0

// The player over the media page: the video surface (or the cover of a
// piece of music), play/pause, a seek bar, volume and mute, and the play
// list of the list it was opened from; an item's end starts the next one.
Rectangle {
    id: page
    objectName: "playerPage"
    color: "#0d0f12"
    visible: false
    property QtObject twTab: null
    readonly property alias player: player
    readonly property alias playList: playList
    readonly property var current: playList.currentInfo
    readonly property bool isMusic: current.type === 8
    property bool muted: false

    // Videos and music of the browsing model, the opened item selected.
    function open(browsing, info) {
        visible = true
        playList.pType = TwMediaPlayList.ALL
        playList.tw = browsing
        playList.currentInfo = info
    }
    function close() {
        player.stop()
        visible = false
    }
    function togglePlay() {
        if (player.state === TwMediaPlayer.PlayingState)
            player.pause()
        else if (player.state === TwMediaPlayer.PausedState)
            player.resume()
        else
            player.play()
    }
    function seek(seconds) { player.position = Math.max(0, Math.round(seconds)) }
    function setMuted(on) {
        muted = on
        player.setProperty("mute", on)
    }
    // Files of this computer go on top of the play list and play at once.
    function addLocal(urls) {
        for (var i = urls.length - 1; i >= 0; --i)
            playList.add(urls[i])
    }
    function timeText(s) {
        s = Math.max(0, Math.floor(s))
        var m = Math.floor(s / 60)
        var r = s % 60
        return m + ":" + (r < 10 ? "0" : "") + r
    }

    TwMediaPlayList {
        id: playList
        objectName: "playList"
        // Every selection (also of the entry playing) sets the source as a
        // record, which always plays.
        onCurrentSelectedChanged: {
            if (currentInfo.name !== undefined)
                player.source = currentInfo
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.headerHeight
            Layout.leftMargin: Theme.margin
            Layout.rightMargin: Theme.margin
            Label {
                objectName: "playerTitle"
                Layout.fillWidth: true
                text: page.current.name !== undefined ? twSdk.shownName(page.current.name) : ""
                textFormat: Text.PlainText
                color: "white"
                elide: Text.ElideMiddle
                font.pixelSize: Theme.fontLarge
            }
            Button { objectName: "addLocalButton"; text: qsTr("Add files"); onClicked: localDialog.open() }
            Button { objectName: "playerClose"; text: qsTr("Close"); onClicked: page.close() }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 0

            Item {
                Layout.fillWidth: true
                Layout.fillHeight: true
                TwMediaPlayer {
                    id: player
                    objectName: "player"
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.bottom: playerError.visible ? playerError.top : parent.bottom
                    visible: !page.isMusic
                    tw: page.twTab
                    tw2: twSdk
                    dataMode: TwMediaPlayer.STREAM
                    onSourceChanged: play()
                    onMediaStopChange: playList.next()
                }
                // Music: its cover when the list has one, else its icon.
                Column {
                    anchors.centerIn: parent
                    visible: page.isMusic
                    spacing: Theme.spacing
                    Image {
                        objectName: "musicCover"
                        anchors.horizontalCenter: parent.horizontalCenter
                        width: 160; height: 160
                        sourceSize.width: 192; sourceSize.height: 192
                        source: "qrc:/compoments/base/Image/fileType/type_music@2x.png"
                        fillMode: Image.PreserveAspectFit
                    }
                    Label {
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: page.current.name !== undefined ? twSdk.shownName(page.current.name) : ""
                        textFormat: Text.PlainText
                        color: "white"
                        font.pixelSize: Theme.fontLarge
                    }
                }
                // Why the item stopped: no sound output, a file that cannot
                // be played, a device that went away (the item is kept).
                Label {
                    id: playerError
                    objectName: "playerError"
                    // Below the picture or the music's icon, never over them.
                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: Theme.margin
                    width: Math.min(parent.width - 40, 520)
                    visible: player.error.length > 0
                    text: player.error
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    horizontalAlignment: Text.AlignHCenter
                    padding: Theme.margin
                    color: "white"
                    font.pixelSize: Theme.fontNormal
                    background: Rectangle { color: "#d0402020"; radius: Theme.radius }
                }
            }

            // The play list, the entry playing marked.
            Rectangle {
                Layout.preferredWidth: 240
                Layout.fillHeight: true
                color: "#1b1f24"
                ListView {
                    id: entries
                    objectName: "playListView"
                    anchors.fill: parent
                    clip: true
                    model: playList
                    delegate: ItemDelegate {
                        objectName: "entry_" + model.fileName
                        width: entries.width
                        highlighted: model.checked
                        background: Rectangle { color: model.checked ? "#2d3b4d" : "transparent" }
                        contentItem: RowLayout {
                            Image {
                                Layout.preferredWidth: 20; Layout.preferredHeight: 20
                                sourceSize.width: 40; sourceSize.height: 40
                                source: "qrc:/compoments/base/Image/fileType/type_"
                                        + (model.fileType === 8 ? "music" : "video") + "@2x.png"
                            }
                            Label {
                                Layout.fillWidth: true
                                text: model.fileName
                                textFormat: Text.PlainText
                                elide: Text.ElideMiddle
                                color: model.checked ? "#6cb6ff" : "#d0d7de"
                            }
                        }
                        onClicked: playList.currentSelected = index
                    }
                }
            }
        }

        // Controls: previous, play/pause, next, stop, the seek bar with the
        // times, mute and volume.
        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 56
            color: "#1b1f24"
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.margin
                anchors.rightMargin: Theme.margin
                spacing: Theme.spacing
                Button { objectName: "previousButton"; text: qsTr("Previous"); onClicked: playList.previous() }
                Button {
                    objectName: "playButton"
                    text: player.state === TwMediaPlayer.PlayingState ? qsTr("Pause") : qsTr("Play")
                    onClicked: page.togglePlay()
                }
                Button { objectName: "nextButton"; text: qsTr("Next"); onClicked: playList.next() }
                Button { objectName: "stopButton"; text: qsTr("Stop"); onClicked: player.stop() }
                Label {
                    objectName: "positionText"
                    text: page.timeText(player.position)
                    color: "white"
                }
                Slider {
                    id: seekBar
                    objectName: "seekBar"
                    Layout.fillWidth: true
                    from: 0
                    to: Math.max(1, player.duration)
                    onMoved: page.seek(value)
                    // Follows playback unless the user holds it.
                    Binding on value { when: !seekBar.pressed; value: player.position; restoreMode: Binding.RestoreNone }
                }
                Label {
                    objectName: "durationText"
                    text: page.timeText(player.duration)
                    color: "white"
                }
                Button {
                    objectName: "muteButton"
                    text: page.muted ? qsTr("Unmute") : qsTr("Mute")
                    onClicked: page.setMuted(!page.muted)
                }
                Slider {
                    objectName: "volumeBar"
                    Layout.preferredWidth: 100
                    from: 0
                    to: 100
                    value: player.volume
                    onMoved: player.volume = Math.round(value)
                }
            }
        }
    }

    Dialogs.FileDialog {
        id: localDialog
        objectName: "addLocalDialog"
        title: qsTr("Add files")
        selectMultiple: true
        folder: twSdk.dialogFolder
        nameFilters: [qsTr("Media files (*.mp4 *.mkv *.avi *.mov *.mp3 *.wav *.flac *.m4a *.ogg)"), qsTr("All files (*)")]
        onAccepted: { twSdk.keepDialogFolder(fileUrls[0]); page.addLocal(fileUrls) }
    }
}
