import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import Tidewell.Media 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene

// The player opened from the media page, streaming from the test device:
// a video plays, a seek through the bar lands where asked, the end of an
// item starts the next entry; music plays on the same page, and so do
// local files added to the play list.
Item {
    id: scene
    width: 1000
    height: 700

    TidewellTab { id: tab; root: twSdk }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    function find(item, name) { return Scene.find(item, name) }

    TestCase {
        id: tc
        name: "PlayerPage"
        when: windowShown

        property var page: null
        property var playerPage: null
        property var player: null
        property bool haveVideo: false

        function thumb(cat, name) { return scene.find(cat, "thumb_" + name) }
        // The tab is chosen directly: under the X server a click on the tab
        // bar can land on its neighbour while the bar settles.
        function open(catIndex, name) {
            page.current = catIndex
            var cat = page.category(catIndex)
            tryVerify(function() { return thumb(cat, name) !== null }, 15000, name)
            mouseDoubleClickSequence(thumb(cat, name))
            tryVerify(function() { return playerPage.visible && playerPage.current.name === name }, 10000)
        }
        function advancing() {
            var from = player.position
            tryVerify(function() { return player.position >= from + 1 }, 15000, "position from " + from)
        }

        function initTestCase() {
            if (!playerSeed.gl)
                skip("Xvfb is not installed")
            haveVideo = testRig.deviceHas("Videos/test-pattern.mp4")
            if (haveVideo)
                verify(playerSeed.copyOnDevice("Videos/test-pattern.mp4", "Videos/second-pattern.mp4", 2))
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/media/MediaPage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            // The player exists from here on; no sound card in a test.
            var pl = scene.find(page, "playerLoader")
            pl.active = true
            playerPage = pl.item
            player = playerPage.player
            player.setProperty("ao", "null")
        }

        function test_1_videoPlaysSeeksAndAdvances() {
            if (!haveVideo)
                skip("ffmpeg is not installed")
            open(1, "test-pattern.mp4")
            var list = playerPage.playList
            compare(list.rowCount(), 2)
            compare(list.currentSelected, 0)
            verify(scene.find(playerPage, "entry_test-pattern.mp4").highlighted)
            advancing()
            tryCompare(player, "duration", 8, 10000)
            wait(300)
            verify(testRig.screenshot(playerPage, "media_player_video"))

            // A click at three quarters of the bar: 6 s of 8.
            var bar = scene.find(playerPage, "seekBar")
            mouseClick(bar, bar.leftPadding + bar.availableWidth * 0.75, bar.height / 2)
            tryVerify(function() { return Math.abs(player.position - 6) <= 1 }, 5000, "at " + player.position)

            // Its end starts the next entry.
            tryCompare(list, "currentSelected", 1, 15000)
            tryCompare(playerPage.current, "name", "second-pattern.mp4")
            verify(scene.find(playerPage, "entry_second-pattern.mp4").highlighted)
            advancing()

            mouseClick(scene.find(playerPage, "stopButton"))
            var stoppedAt = player.position
            wait(1500)
            verify(player.position <= stoppedAt + 1)
            mouseClick(scene.find(playerPage, "playerClose"))
            verify(!playerPage.visible)
        }

        function test_2_musicPlaysOnTheSamePage() {
            open(2, "tune.wav")
            compare(playerPage.playList.rowCount(), 2)
            verify(playerPage.isMusic)
            verify(scene.find(playerPage, "musicCover").visible)
            verify(!player.visible)
            advancing()
            tryCompare(player, "duration", 12, 10000)
            // Pause holds the position, play goes on.
            mouseClick(scene.find(playerPage, "playButton"))
            tryCompare(player, "state", TwMediaPlayer.PausedState)
            var held = player.position
            wait(1500)
            verify(player.position <= held + 1)
            mouseClick(scene.find(playerPage, "playButton"))
            tryCompare(player, "state", TwMediaPlayer.PlayingState)
            advancing()
            // Volume and mute reach the player.
            player.volume = 40
            compare(player.volume, 40)
            mouseClick(scene.find(playerPage, "muteButton"))
            verify(playerPage.muted)
            verify(testRig.screenshot(playerPage, "media_player_music"))
        }

        function test_3_localFileJoinsThePlayList() {
            var path = playerSeed.copyToLocal("Music/short-tune.wav")
            verify(path.length > 0)
            var before = playerPage.playList.rowCount()
            playerPage.addLocal([twSdk.fileUrl(path)])
            compare(playerPage.playList.rowCount(), before + 1)
            compare(playerPage.playList.currentSelected, 0)
            tryCompare(playerPage.current, "name", "short-tune.wav")
            tryCompare(player, "duration", 4, 10000)
            advancing()
            mouseClick(scene.find(playerPage, "playerClose"))
        }
    }
}
