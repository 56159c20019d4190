import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import Tidewell.Media 1.0
import "qrc:/compoments/base"
import "../scenefind.js" as Scene

// The media page and its player as a user meets them: no error before the
// page has its device, a video with a picture of its own, an item that
// ended plays again, music shown as music, a player error said, and a
// device that goes away mid-video.
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
        name: "MediaFeedback"
        when: windowShown

        property var page: null
        property var playerPage: null
        property var player: null
        property bool haveVideo: false

        function thumb(cat, name) { return scene.find(cat, "thumb_" + name) }
        function open(catIndex, name) {
            page.current = catIndex
            var cat = page.category(catIndex)
            tryVerify(function() { return thumb(cat, name) !== null }, 15000, name)
            mouseDoubleClickSequence(thumb(cat, name))
            tryVerify(function() { return playerPage.visible && playerPage.current.name === name }, 10000)
        }
        function text(name) { return scene.find(playerPage, name).text }
        function needPlayer() {
            if (!feedbackSeed.gl)
                skip("Xvfb is not installed")
        }

        function initTestCase() {
            haveVideo = testRig.deviceHas("Videos/test-pattern.mp4")
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
        }

        // The page is made before it is given its device: nothing is asked
        // and no error is shown; with the device its pictures load.
        function test_1_noErrorBeforeTheDevice() {
            loader.setSource("qrc:/compoments/media/MediaPage.qml", { twTab: null })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            wait(500)
            compare(toast.lastText, "")
            page.twTab = tab
            var cat = page.category(0)
            tryVerify(function() { return thumb(cat, "harbour.jpg") !== null }, 15000, "pictures load")
            wait(300)
            compare(toast.lastText, "")

            // One picture to delete is named; the question is only asked.
            mouseClick(thumb(cat, "harbour.jpg"))
            tryCompare(cat.model, "selectNum", 1)
            mouseClick(scene.find(cat, "deleteButton"))
            var del = scene.find(cat, "deleteDialog")
            tryCompare(del, "opened", true)
            compare(scene.find(del, "confirmText").text, "Delete \"harbour.jpg\"?")
            del.reject()
            tryCompare(del, "visible", false)
            // A click on the only selected picture deselects it.
            mouseClick(thumb(cat, "harbour.jpg"))
            tryCompare(cat.model, "selectNum", 0)
        }

        // A video shows a frame of its own, not the type icon.
        function test_2_videoHasAPicture() {
            if (!haveVideo)
                skip("ffmpeg is not installed")
            page.current = 1
            var cat = page.category(1)
            var cell = null
            tryVerify(function() { return (cell = thumb(cat, "test-pattern.mp4")) !== null }, 15000)
            var img = scene.find(cell, "thumbImage")
            tryVerify(function() { return !img.isIcon && img.status === Image.Ready }, 20000, String(img.source))
            verify(testRig.screenshot(cat, "feedback_video_thumb"))
        }

        // After its end an item reads "Play" with its length, and Play
        // starts it again.
        function test_3_playAfterTheEnd() {
            needPlayer()
            var pl = scene.find(page, "playerLoader")
            pl.active = true
            playerPage = pl.item
            player = playerPage.player
            player.setProperty("ao", "null")
            open(2, "tune.wav")
            var list = playerPage.playList
            list.currentSelected = list.rowCount() - 1
            var last = playerPage.current.name
            tryVerify(function() { return player.duration > 0 && player.state === TwMediaPlayer.PlayingState }, 10000)
            var length = player.duration
            tryVerify(function() { return player.position >= 1 }, 10000)
            // Near its end (a seek a busy machine may not honour: then it plays on).
            player.position = length - 2
            tryCompare(player, "state", TwMediaPlayer.StoppedState, 20000)
            compare(text("playButton"), "Play")
            compare(text("durationText"), playerPage.timeText(length))
            compare(text("positionText"), playerPage.timeText(length))
            compare(playerPage.current.name, last)
            verify(testRig.screenshot(playerPage, "feedback_player_ended"))
            mouseClick(scene.find(playerPage, "playButton"))
            tryCompare(player, "state", TwMediaPlayer.PlayingState, 10000)
            tryVerify(function() { return player.position >= 1 && player.position < length - 1 }, 10000)
            compare(text("playButton"), "Pause")
        }

        // Music added from this computer after a video is shown as music:
        // no video frame left on screen, a music icon in the list.
        function test_4_localMusicAfterAVideo() {
            needPlayer()
            if (!haveVideo)
                skip("ffmpeg is not installed")
            mouseClick(scene.find(playerPage, "playerClose"))
            open(1, "test-pattern.mp4")
            tryVerify(function() { return player.position >= 1 }, 15000)
            verify(player.visible)
            var path = feedbackSeed.copyToLocal("Music/short-tune.wav")
            playerPage.addLocal([twSdk.fileUrl(path)])
            tryCompare(playerPage.current, "name", "short-tune.wav")
            verify(playerPage.isMusic)
            verify(!player.visible)
            verify(scene.find(playerPage, "musicCover").visible)
            var entry = null
            tryVerify(function() { return (entry = scene.find(playerPage, "entry_short-tune.wav")) !== null })
            var icon = null
            for (var i = 0; i < entry.contentItem.children.length; ++i)
                if (entry.contentItem.children[i].source !== undefined)
                    icon = entry.contentItem.children[i]
            verify(String(icon.source).indexOf("type_music") >= 0, String(icon.source))
            verify(testRig.screenshot(playerPage, "feedback_player_local_music"))
        }

        // Without a sound output the item ends at once and the player says why.
        function test_5_noAudioOutputIsSaid() {
            needPlayer()
            player.setProperty("ao", "pcm")
            player.setProperty("ao-pcm-file", testRig.localDir() + "/no/such/folder/out.wav")
            mouseClick(scene.find(playerPage, "playerClose"))
            open(2, "short-tune.wav")
            var error = scene.find(playerPage, "playerError")
            tryVerify(function() { return error.visible }, 15000)
            verify(error.text.indexOf("No audio output") === 0, error.text)
            compare(playerPage.current.name, "short-tune.wav")
            tryCompare(scene.find(playerPage, "playButton"), "text", "Play")
            verify(error.visible)
            // The message leaves the music's icon in sight.
            var cover = scene.find(playerPage, "musicCover")
            var c = cover.mapToItem(playerPage, 0, 0)
            verify(error.mapToItem(playerPage, 0, 0).y >= c.y + cover.height, "the message is below the icon")
            verify(testRig.screenshot(playerPage, "feedback_player_no_audio"))
            player.setProperty("ao", "null")
            mouseClick(scene.find(playerPage, "playerClose"))
        }

        // A video with sound and no output for it: said as it starts playing,
        // below the picture, while the picture plays on.
        function test_5_noAudioOutputAsTheVideoPlays() {
            needPlayer()
            player.setProperty("ao", "pcm")
            player.setProperty("ao-pcm-file", testRig.localDir() + "/no/such/folder/out.wav")
            mouseClick(scene.find(playerPage, "playerClose"))
            open(1, "test-pattern.mp4")
            var error = scene.find(playerPage, "playerError")
            tryVerify(function() { return error.visible }, 15000)
            verify(error.text.indexOf("No audio output") === 0, error.text)
            compare(scene.find(playerPage, "playButton").text, "Pause")
            verify(player.visible)
            verify(player.mapToItem(playerPage, 0, player.height).y <= error.mapToItem(playerPage, 0, 0).y,
                   "the message is below the picture")
            verify(testRig.screenshot(playerPage, "feedback_player_video_no_audio"))
            player.setProperty("ao", "null")
            mouseClick(scene.find(playerPage, "playerClose"))
        }

        // The device goes away mid-video: the player says it cannot be
        // reached, keeps the item and the list where they are, and plays on
        // from there once the device is back.
        function test_6_deviceAwayMidVideo() {
            needPlayer()
            if (!haveVideo)
                skip("ffmpeg is not installed")
            // About half as fast as it plays: a few seconds ahead at most.
            testRig.throttle(Math.max(8192, feedbackSeed.deviceSize("Videos/test-pattern.mp4") / 16))
            open(1, "test-pattern.mp4")
            var list = playerPage.playList
            var row = list.currentSelected
            tryVerify(function() { return player.position >= 2 }, 20000, "at " + player.position)
            feedbackSeed.deviceAway()
            var error = scene.find(playerPage, "playerError")
            tryVerify(function() { return error.visible }, 30000, "the outage is said")
            verify(error.text.indexOf("cannot be reached") > 0, error.text)
            var at = player.position
            verify(at >= 2, "held at " + at)
            compare(text("playButton"), "Play")
            verify(testRig.screenshot(playerPage, "feedback_player_device_away"))
            wait(3000)
            compare(list.currentSelected, row)
            compare(text("playerTitle"), "test-pattern.mp4")
            verify(error.visible)

            testRig.throttle(0)
            verify(feedbackSeed.deviceBack())
            tryVerify(function() { return !error.visible }, 30000, "plays again")
            tryCompare(player, "state", TwMediaPlayer.PlayingState, 10000)
            verify(player.position >= at - 1, "from " + player.position + ", held at " + at)
            compare(list.currentSelected, row)
            mouseClick(scene.find(playerPage, "playerClose"))
        }
    }
}
