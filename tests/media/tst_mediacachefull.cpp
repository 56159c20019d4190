// Streaming onto a cache disk that runs full: a small file system of its
// own under the media cache, the test device behind it.
#include <QDateTime>
#include <QSignalSpy>

#include "media/mediacache.h"
#include "media/twdownloadfile.h"
#include "media/twmediastream.h"
#include "tests/media/playerrig.h"
#include "tests/testenv.h"
#include "tests/transfer/smalldisk.h"

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

class TestMediaCacheFull : public QObject
{
    Q_OBJECT
public:
    TestMediaCacheFull() { testFunctionTimeout(120000); }

private slots:
    // 12 MB through a disk of 4 MB holding an old item: the old item goes,
    // the item reads whole and right past what the disk takes, the cached
    // bytes read again without the device, the reason is the system's, and
    // after stop the item leaves nothing on the disk.
    void aFullDiskPlaysOnFromTheDevice()
    {
        MediaRig rig;
        SmallDisk disk(rig.dir.path() + "/small", "4m");
        if (!disk.ok())
            QSKIP("cannot mount a small file system here");
        const qint64 len = 12 * 1024 * 1024;
        const qint64 mb = 1024 * 1024;
        rig.server->addGeneratedFile("v/big.bin", len, true, 5);
        const TwFileInfo item = rig.mediaItem("v/big.bin");
        const QByteArray want = fileBytes(rig.storagePath("v/big.bin"));
        QCOMPARE(qint64(want.size()), len);
        const QString old = disk.path() + "/oldmd5_old.bin_0";
        {
            QFile f(old);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(int(mb), 'o'));
            f.close();
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        }

        TwMediaStream s(nullptr);
        s.play(item, rig.owner.get(), disk.path(), nullptr);
        QVERIFY(s.open(qPrintable(s.url())));
        QCOMPARE(readAt(s, 0, len), want);
        QVERIFY2(s.cacheFullReason().contains("No space left on device"), qPrintable(s.cacheFullReason()));
        QVERIFY(!QFile::exists(old));

        const std::size_t asked = rig.server->requestsFor("/device/download").size();
        QCOMPARE(readAt(s, mb, mb), want.mid(int(mb), int(mb)));
        QCOMPARE(rig.server->requestsFor("/device/download").size(), asked);
        // Read past, from the device again.
        QCOMPARE(readAt(s, 9 * mb, mb), want.mid(int(9 * mb), int(mb)));

        s.close();
        s.stop();
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList());
        QVERIFY(MediaCache::freeBytes(disk.path()) >= 4 * mb - 64 * 1024);
    }

    // The player says so, with the system's reason, and plays the item to
    // its end; stopped, it leaves the disk as it found it.
    void thePlayerSaysTheCacheDiskIsFull()
    {
        PlayerRig rig;
        SmallDisk disk(rig.player->mediaCachePath(), "32k");
        if (!disk.ok())
            QSKIP("cannot mount a small file system here");
        rig.addWav("music/long.wav", 4.0);
        const TwFileInfo item = rig.mediaItem("music/long.wav");
        QVERIFY(item.fileLen > 32 * 1024);
        QSignalSpy stopChange(rig.player.get(), &TwMediaPlayer::mediaStopChange);
        rig.playItem(item);
        QTRY_VERIFY_WITH_TIMEOUT(rig.player->error().contains("No space left on device"), 30000);
        mpv_event_end_file end{};
        QVERIFY(rig.waitFor(MPV_EVENT_END_FILE, 60000, &end));
        QCOMPARE(int(end.reason), int(MPV_END_FILE_REASON_EOF));
        QTRY_COMPARE_WITH_TIMEOUT(stopChange.size(), 1, 30000);
        QCOMPARE(rig.player->duration(), 4LL);
        rig.player->stop();
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList());
    }
};

TW_TEST_MAIN(TestMediaCacheFull)
#include "tst_mediacachefull.moc"
