#include <QSignalSpy>

#include "media/twmediastream.h"
#include "tests/media/playerrig.h"
#include "tests/testenv.h"

// The player when things go wrong: a dropped connection, a close while a
// read waits, no audio output, a file gone from the device, the device gone
// away mid-item. Real libmpv with null outputs, the test device behind it.
class TestTwMediaPlayerFaults : public QObject
{
    Q_OBJECT
public:
    // One case waits out a device outage while it plays in real time.
    TestTwMediaPlayerFaults() { testFunctionTimeout(90000); }

private slots:
    void aDroppedConnectionEndsPlaybackInBoundedTime()
    {
        PlayerRig rig;
        rig.addWav("music/long.wav", 8.0);
        const TwFileInfo item = rig.mediaItem("music/long.wav");
        rig.server->throttle(32 * 1024);
        rig.server->cutAfter(item.fileLen / 3, 1);
        rig.playItem(item);
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        // The device goes away after the first connection was cut.
        rig.server->failWithStatus(500, -1, "/device/download");
        QElapsedTimer t;
        t.start();
        mpv_event_end_file end{};
        QVERIFY(rig.waitFor(MPV_EVENT_END_FILE, 40000, &end));
        QVERIFY(t.elapsed() < 40000);
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->mediaStatus(), TwMediaPlayer::EndOfMedia, 5000);
        QVERIFY(rig.prop("time-pos").toDouble() < 7.0 || mpv::qt::isError(rig.prop("time-pos")));
        // A few rounds of restarts at most, not a retry for ever.
        QVERIFY(int(rig.server->requestsFor("/device/download").size()) <= 2 + 4 * TwMediaStream::kMaxStarts);
    }

    void closingWhileAReadWaitsReturnsAtOnce()
    {
        PlayerRig rig;
        rig.addWav("music/held.wav", 2.0);
        rig.server->stallAfter(0, -1);
        rig.playItem(rig.mediaItem("music/held.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->mediaStatus(), TwMediaPlayer::BufferingMedia, 20000);
        QTest::qWait(200);
        QElapsedTimer t;
        t.start();
        rig.closePlayer();
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        rig.server->clearFaults();
    }

    // No sound output: the item ends at once and says why; the play list
    // is not moved on.
    void noAudioOutputIsReported()
    {
        PlayerRig rig;
        rig.player->setProperty(QStringLiteral("ao"), "pcm");
        rig.player->setProperty(QStringLiteral("ao-pcm-file"), rig.dir.path() + "/no/such/folder/out.wav");
        rig.addWav("music/silent.wav", 2.0);
        QSignalSpy stopChange(rig.player.get(), &TwMediaPlayer::mediaStopChange);
        QSignalSpy error(rig.player.get(), &TwMediaPlayer::errorChanged);
        rig.playItem(rig.mediaItem("music/silent.wav"));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.player->error().isEmpty(), 20000);
        QVERIFY2(rig.player->error().contains("audio"), qPrintable(rig.player->error()));
        QVERIFY(!rig.player->unreachable());
        QCOMPARE(rig.player->state(), TwMediaPlayer::StoppedState);
        QTest::qWait(2500);   // longer than the item
        QCOMPARE(stopChange.size(), 0);
        QCOMPARE(error.size(), 1);
    }

    // The device answers that the file is gone: said so, not retried, and
    // the play list is not moved on.
    void aFileGoneFromTheDeviceIsSaid()
    {
        PlayerRig rig;
        rig.addWav("music/gone.wav", 3.0);
        const TwFileInfo item = rig.mediaItem("music/gone.wav");
        QVERIFY(QFile::remove(rig.storagePath("music/gone.wav")));
        rig.player->setRetryDelay(300);
        QSignalSpy stopChange(rig.player.get(), &TwMediaPlayer::mediaStopChange);
        rig.playItem(item);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.player->error().isEmpty(), 20000);
        QVERIFY2(rig.player->error().contains("no longer"), qPrintable(rig.player->error()));
        QVERIFY(!rig.player->unreachable());
        const int asked = int(rig.server->requestsFor("/device/download").size());
        QTest::qWait(1500);   // five retry delays
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()), asked);
        QCOMPARE(stopChange.size(), 0);
        QCOMPARE(rig.player->state(), TwMediaPlayer::StoppedState);
    }

    // The device goes away mid-item: the player says so, keeps the item,
    // never moves the play list on, and plays on from where it stopped once
    // the device is back.
    void aLostDeviceKeepsTheItemAndResumes()
    {
        PlayerRig rig;
        rig.addWav("music/long.wav", 20.0);
        const TwFileInfo item = rig.mediaItem("music/long.wav");
        rig.player->setRetryDelay(500);
        QSignalSpy stopChange(rig.player.get(), &TwMediaPlayer::mediaStopChange);
        // Faster than it plays: a few seconds ahead when the device goes.
        rig.server->throttle(24 * 1024);
        rig.playItem(item);
        QTRY_VERIFY_WITH_TIMEOUT(rig.player->position() >= 2, 15000);
        const int port = rig.server->port();
        rig.server->stop();

        QTRY_VERIFY_WITH_TIMEOUT(rig.player->unreachable(), 20000);
        QVERIFY(!rig.player->error().isEmpty());
        const qlonglong at = rig.player->position();
        QVERIFY2(at >= 2 && at < 20, qPrintable(QString::number(at)));
        QCOMPARE(rig.player->duration(), 20LL);
        QCOMPARE(rig.player->state(), TwMediaPlayer::StoppedState);
        // Tries again on its own while the device stays away, keeping the item.
        QTest::qWait(2500);
        QVERIFY(rig.player->unreachable());
        QCOMPARE(stopChange.size(), 0);
        QCOMPARE(rig.player->item().name, item.name);

        rig.server->throttle(0);
        QVERIFY(rig.server->start(port));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.player->unreachable(), 15000);
        QVERIFY(rig.player->error().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(rig.player->state(), TwMediaPlayer::PlayingState, 5000);
        QVERIFY2(rig.player->position() >= at - 1, qPrintable(QString::number(rig.player->position())));
        // Played to its end, it moves the play list on once.
        rig.player->setPosition(16);
        QTRY_COMPARE_WITH_TIMEOUT(stopChange.size(), 1, 15000);
    }
};

TW_TEST_MAIN(TestTwMediaPlayerFaults)
#include "tst_twmediaplayerfaults.moc"
