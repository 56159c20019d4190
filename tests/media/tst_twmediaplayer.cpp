#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>

#include "app/tidewellsdk.h"

#include "media/twdownloadfile.h"
#include "media/twmediastream.h"
#include "tests/media/playerrig.h"
#include "tests/testenv.h"

// The player on real libmpv with null outputs, streaming from the test
// device through the media stream.
class TestTwMediaPlayer : public QObject
{
    Q_OBJECT
private slots:
    void controlsAndProperties()
    {
        PlayerRig rig;
        TwMediaPlayer& p = *rig.player;
        QCOMPARE(p.dataMode(), TwMediaPlayer::STREAM);
        QCOMPARE(p.mediaStatus(), TwMediaPlayer::NoMedia);
        QVERIFY(p.seekable());
        QVERIFY(p.error().isEmpty());
        p.setVolume(150);
        QCOMPARE(p.volume(), 100);
        p.setVolume(-5);
        QCOMPARE(p.volume(), 0);
        p.setSpeed(1.5);
        QCOMPARE(p.speed(), 1.5);

        QSignalSpy source(&p, &TwMediaPlayer::sourceChanged);
        p.setSource(QString("file:///tmp/a.wav"));
        p.setSource(QString("file:///tmp/a.wav"));
        QCOMPARE(source.size(), 1);
        p.setSource(QVariant());
        QCOMPARE(source.size(), 1);

        QSignalSpy state(&p, &TwMediaPlayer::stateChanged);
        p.setProperty(QStringLiteral("pause"), true);
        QCOMPARE(p.state(), TwMediaPlayer::PausedState);
        p.pause();
        QCOMPARE(state.size(), 1);
        QCOMPARE(p.state(), TwMediaPlayer::PausedState);
        p.resume();
        QCOMPARE(p.state(), TwMediaPlayer::PlayingState);

        QSignalSpy status(&p, &TwMediaPlayer::mediaStatusChanged);
        p.setMediaStatus(TwMediaPlayer::EndOfMedia);
        p.setMediaStatus(TwMediaPlayer::EndOfMedia);
        QCOMPARE(status.size(), 1);
        p.postMediaStatus(TwMediaPlayer::BufferingMedia);   // arrives through the event loop
        QCOMPARE(status.size(), 1);
        QTRY_COMPARE(p.mediaStatus(), TwMediaPlayer::BufferingMedia);

        // Nothing to play: nothing happens.
        TwMediaPlayer empty;
        QSignalSpy emptyState(&empty, &TwMediaPlayer::stateChanged);
        empty.play();
        QCOMPARE(emptyState.size(), 0);
        QVERIFY(!empty.stream());
    }

    void theQmlTypeIsRegistered()
    {
        TidewellSdk::registerTypes();
        QQmlEngine engine;
        QQmlComponent c(&engine);
        c.setData("import QtQuick 2.15\nimport Tidewell.Media 1.0\n"
                  "TwMediaPlayer { dataMode: TwMediaPlayer.FILE; volume: 40 }",
                  QUrl());
        std::unique_ptr<QObject> obj(c.create());
        QVERIFY2(obj, qPrintable(c.errorString()));
        auto* p = qobject_cast<TwMediaPlayer*>(obj.get());
        QVERIFY(p);
        QCOMPARE(p->dataMode(), TwMediaPlayer::FILE);
        QCOMPARE(p->volume(), 40);
    }

    void aWavPlaysThroughTheStreamToItsEnd()
    {
        PlayerRig rig;
        rig.addWav("music/tone.wav", 2.0);
        QSignalSpy stopChange(rig.player.get(), &TwMediaPlayer::mediaStopChange);
        rig.playItem(rig.mediaItem("music/tone.wav"));
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QCOMPARE(rig.player->duration(), 2LL);
        QCOMPARE(rig.prop("path").toString(), QString("stream://tone.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->mediaStatus(), TwMediaPlayer::EndOfMedia, 30000);
        QVERIFY(rig.statuses.contains(TwMediaPlayer::BufferedMedia));
        QVERIFY(!rig.statusOffThread);
        QVERIFY(rig.server->requestsFor("/device/download").size() >= 1);
        // Idle within 3 s of play() does not advance the play list.
        QVERIFY(rig.waitFor(MPV_EVENT_IDLE, 10000));
        QCoreApplication::processEvents();
        QCOMPARE(stopChange.size(), 0);
    }

    // A WAV may carry DTS or AC3 in its PCM words (disc rips): the player
    // checks fewer of its packets for that than libavformat would, and must
    // still find it, streamed and from a local file, at AC3's highest rate.
    void compressedAudioInAWavIsStillFound_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QStringList>("encode");
        QTest::newRow("dts") << "dts" << QStringList{"-c:a", "dca", "-strict", "-2", "-f", "dts"};
        QTest::newRow("ac3 at 640 kb/s") << "ac3" << QStringList{"-c:a", "ac3", "-b:a", "640k", "-f", "ac3"};
    }

    void compressedAudioInAWavIsStillFound()
    {
        QFETCH(QString, codec);
        QFETCH(QStringList, encode);
        if (!MediaRig::haveFfmpeg())
            QSKIP("ffmpeg is not installed");
        PlayerRig rig;
        const QString raw = rig.dir.path() + "/tone.raw";
        const QString path = rig.storagePath("music/disc.wav");
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(MediaRig::ffmpeg(QStringList{"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-ac", "2", "-ar",
                                             "44100"}
                                 + encode + QStringList{raw}));
        // The coded bytes as the PCM of a plain 16-bit stereo WAV.
        QVERIFY(MediaRig::ffmpeg({"-f", "s16le", "-ar", "44100", "-ac", "2", "-i", raw, "-c:a", "copy", path}));

        rig.playItem(rig.mediaItem("music/disc.wav"));
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QCOMPARE(rig.prop("audio-codec-name").toString(), codec);

        rig.player->setDataMode(TwMediaPlayer::FILE);
        rig.playItem(MediaRig::localItem(path));
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QCOMPARE(rig.prop("path").toString(), path);
        QCOMPARE(rig.prop("audio-codec-name").toString(), codec);
    }

    void eachKindIsReadByItsReader_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("demuxer");
        // Matroska files both.
        QTest::newRow("matroska keeps libmpv's reader") << "video/clip.mkv" << "mkv";
        // Named for libavformat, which still finds what the bytes are.
        QTest::newRow("matroska named .mp3") << "music/clip.mp3" << "lavf";
    }

    void eachKindIsReadByItsReader()
    {
        QFETCH(QString, name);
        QFETCH(QString, demuxer);
        if (!MediaRig::haveFfmpeg())
            QSKIP("ffmpeg is not installed");
        PlayerRig rig;
        const QString path = rig.storagePath(name.toStdString());
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(MediaRig::ffmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-c:a", "mp2", "-f", "matroska",
                                  path}));
        rig.playItem(rig.mediaItem(name.toStdString()));
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QCOMPARE(rig.prop("current-demuxer").toString(), demuxer);
        QCOMPARE(rig.prop("audio-codec-name").toString(), QString("mp2"));
        QCOMPARE(rig.player->duration(), 2LL);
    }

    void mp4PlaysWithSeekIntoUncachedRange_data()
    {
        QTest::addColumn<bool>("faststart");
        QTest::newRow("index at the end") << false;
        QTest::newRow("index at the start") << true;
    }

    void mp4PlaysWithSeekIntoUncachedRange()
    {
        QFETCH(bool, faststart);
        if (!MediaRig::haveFfmpeg())
            QSKIP("ffmpeg is not installed");
        PlayerRig rig;
        const QString path = rig.storagePath("video/clip.mp4");
        QVERIFY(MediaRig::makeMp4(path, 6, faststart, "320x240", true));
        const qint64 moov = MediaRig::moovOffset(path);
        const qint64 len = QFileInfo(path).size();
        QVERIFY(faststart ? moov < len / 2 : moov > len / 2);
        const TwFileInfo item = rig.mediaItem("video/clip.mp4");
        // The whole file takes about sixteen seconds to come.
        rig.server->throttle(qMax<qint64>(len / 16, 8 * 1024));
        rig.playItem(item);
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QCOMPARE(rig.player->duration(), 6LL);
        QVERIFY(rig.waitFor(MPV_EVENT_PLAYBACK_RESTART));
        const int before = int(rig.server->requestsFor("/device/download").size());
        rig.player->setPosition(4);
        QVERIFY(rig.waitFor(MPV_EVENT_PLAYBACK_RESTART));
        const double at = rig.prop("time-pos").toDouble();
        QVERIFY2(at >= 3.5 && at <= 5.0, qPrintable(QString::number(at)));
        QVERIFY(int(rig.server->requestsFor("/device/download").size()) > before);
        rig.server->throttle(0);
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->mediaStatus(), TwMediaPlayer::EndOfMedia, 30000);
    }

    void playAStopPlayBNeverMixesThem()
    {
        PlayerRig rig;
        rig.addWav("a/one.wav", 1.0, 440);
        rig.addWav("b/three.wav", 3.0, 880);
        const TwFileInfo a = rig.mediaItem("a/one.wav");
        const TwFileInfo b = rig.mediaItem("b/three.wav");
        rig.server->throttle(64 * 1024);
        QDir cache(rig.player->mediaCachePath());
        for (const QString& f : cache.entryList(QDir::Files))
            cache.remove(f);
        for (int i = 0; i < 4; ++i) {
            rig.playItem(a);
            QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
            QCOMPARE(rig.prop("path").toString(), QString("stream://one.wav"));
            QCOMPARE(rig.player->duration(), 1LL);
            rig.player->stop();
            rig.playItem(b);
            QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
            QCOMPARE(rig.prop("path").toString(), QString("stream://three.wav"));
            QCOMPARE(rig.player->duration(), 3LL);
        }
        // Every segment file of the cache belongs to one of the two.
        const QStringList files = QDir(rig.player->mediaCachePath()).entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString& f : files)
            QVERIFY2(f.startsWith(a.fileMd5 + "_one.wav_") || f.startsWith(b.fileMd5 + "_three.wav_"),
                     qPrintable(f));
        rig.server->throttle(0);
        // The last item plays to its end, more than 3 s after play(): the
        // play list is told to move on.
        QSignalSpy stopChange(rig.player.get(), &TwMediaPlayer::mediaStopChange);
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->mediaStatus(), TwMediaPlayer::EndOfMedia, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(stopChange.size(), 1, 10000);
    }

    void theFirstSegmentReachesTheDiskOnceTheItemPlays()
    {
        // Its bytes are served from memory until the first frame; then its
        // file holds every one of them, and the rest as they come.
        PlayerRig rig;
        rig.addWav("f/first.wav", 2.0, 660);
        const QByteArray whole = MediaRig::wav(2.0, 660);
        const TwFileInfo item = rig.mediaItem("f/first.wav");
        const QString path = rig.player->mediaCachePath() + "/" + TwDownloadFile::segmentName(item, 0);
        QFile::remove(path);
        rig.playItem(item);
        QVERIFY(rig.waitFor(MPV_EVENT_PLAYBACK_RESTART));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() == whole.size(), 10000);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), whole);
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->mediaStatus(), TwMediaPlayer::EndOfMedia, 30000);

        // Without a frame (nothing libmpv can play), the file is made all the
        // same, a moment later.
        rig.server->addFile("f/noise.wav", std::string(4096, 'x'));
        const TwFileInfo noise = rig.mediaItem("f/noise.wav");
        const QString noisePath = rig.player->mediaCachePath() + "/" + TwDownloadFile::segmentName(noise, 0);
        rig.playItem(noise);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(noisePath).size() == 4096, 10000);
    }

    void fileModePlaysALocalFile()
    {
        PlayerRig rig;
        const QString path = rig.dir.path() + "/local/song.wav";
        QDir().mkpath(rig.dir.path() + "/local");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(MediaRig::wav(1.0));
        }
        const TwFileInfo item = MediaRig::localItem(path);
        rig.player->setDataMode(TwMediaPlayer::FILE);
        rig.playItem(item);
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QCOMPARE(rig.player->duration(), 1LL);
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->mediaStatus(), TwMediaPlayer::EndOfMedia, 30000);
        QVERIFY(!rig.player->stream());

        // A local item in STREAM mode goes through the stream's file mode.
        TwMediaPlayer::connect(rig.player.get(), &TwMediaPlayer::mediaStatusChanged, [] {});
        rig.player->setDataMode(TwMediaPlayer::STREAM);
        rig.playItem(item);
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QCOMPARE(rig.prop("path").toString(), QString("stream://song.wav"));
        QCOMPARE(rig.player->duration(), 1LL);
    }

    // libmpv reads ahead a second only until an item's first frame, then
    // as far as its cache goes; the next item and later plays start narrow
    // again, and the player's own setting is never lost.
    void theReadAheadWidensAtTheFirstFrame()
    {
        PlayerRig rig;
        rig.addWav("music/wide.wav", 30.0);
        const TwFileInfo item = rig.mediaItem("music/wide.wav");
        const double global = rig.prop("cache-secs").toDouble();
        QVERIFY(global > TwMediaStream::kStartReadAheadSecs);
        for (int i = 0; i < 2; ++i) {
            // The device waits before it answers: no frame until then.
            rig.server->delayAnswer(1500, 1, "/device/download");
            rig.playItem(item);
            QTRY_COMPARE_WITH_TIMEOUT(rig.prop("cache-secs").toDouble(), TwMediaStream::kStartReadAheadSecs, 1000);
            QVERIFY(rig.waitFor(MPV_EVENT_PLAYBACK_RESTART));
            QTRY_COMPARE_WITH_TIMEOUT(rig.prop("cache-secs").toDouble(), global, 2000);
            rig.player->stop();
            QVERIFY(rig.waitFor(MPV_EVENT_IDLE, 10000));
            QCOMPARE(rig.prop("cache-secs").toDouble(), global);
        }
    }

    // After its end an item is stopped (Play, not Pause) with its length
    // still shown, and play() starts it again from the beginning.
    void anItemEndsStoppedAndPlaysAgain()
    {
        PlayerRig rig;
        rig.addWav("music/again.wav", 2.0);
        rig.playItem(rig.mediaItem("music/again.wav"));
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->state(), TwMediaPlayer::PlayingState, 5000);
        QVERIFY(rig.waitFor(MPV_EVENT_IDLE, 20000));
        QTRY_COMPARE(rig.player->state(), TwMediaPlayer::StoppedState);
        QCOMPARE(rig.player->duration(), 2LL);
        QCOMPARE(rig.player->position(), 2LL);
        QVERIFY(rig.player->error().isEmpty());

        rig.player->play();
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->state(), TwMediaPlayer::PlayingState, 5000);
        QVERIFY(rig.player->position() <= 1);
    }
};

TW_TEST_MAIN(TestTwMediaPlayer)
#include "tst_twmediaplayer.moc"
