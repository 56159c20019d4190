// The media cache folder shared by every player: held to its cap while an
// item plays, never emptied under another player's feet, and no byte of an
// item stored twice.
#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "media/mediacache.h"
#include "media/twdownloadfile.h"
#include "media/twmediastream.h"
#include "tests/media/mediarig.h"
#include "tests/testenv.h"

namespace {
// Bytes of the cache folder's files whose name starts with prefix.
qint64 cachedBytes(const QString& folder, const QString& prefix = QString())
{
    qint64 total = 0;
    for (const QFileInfo& fi : QDir(folder).entryInfoList(QDir::Files))
        if (fi.fileName().startsWith(prefix))
            total += fi.size();
    return total;
}

// A segment file of an item played an hour ago.
void oldSegment(const QString& path, qint64 bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(bytes));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
}

// Sets or clears the immutable flag (even root cannot remove such a file);
// false where the file system has no such flag.
bool setImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}
}

class TestMediaCache : public QObject
{
    Q_OBJECT
private slots:
    // The cap holds while the item plays: older items go as its segments
    // grow, never what it needs itself (it alone may be above the cap).
    void theCapHoldsWhileAnItemPlays()
    {
        MediaRig rig;
        const qint64 cap = 3 * 1024 * 1024;
        const qint64 len = 4 * 1024 * 1024;
        rig.server->addGeneratedFile("c/now.bin", len, true, 21);
        const QByteArray whole = rig.serverBytes("c/now.bin");
        const TwFileInfo now = rig.mediaItem("c/now.bin");
        oldSegment(rig.cacheDir + "/oldmd5_old.bin_0", 2 * 1024 * 1024);
        oldSegment(rig.cacheDir + "/oldmd5_old.bin_4194304", 1024 * 1024);
        rig.server->throttle(8 * 1024 * 1024);

        TwMediaStream s(nullptr);
        s.setCacheLimit(cap);
        s.play(now, rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://now.bin"));
        qint64 worst = 0;
        const qint64 chunk = 256 * 1024;
        for (qint64 off = 0; off < len; off += chunk) {
            QCOMPARE(readAt(s, off, chunk), whole.mid(int(off), int(chunk)));
            const qint64 held = cachedBytes(rig.cacheDir, now.fileMd5);
            worst = qMax(worst, cachedBytes(rig.cacheDir) - qMax(cap, held));
        }
        // One trim step and a chunk in flight at most.
        QVERIFY2(worst <= 1024 * 1024, qPrintable(QString::number(worst)));
        QCOMPARE(cachedBytes(rig.cacheDir, "oldmd5"), qint64(0));
        QCOMPARE(cachedBytes(rig.cacheDir, now.fileMd5), len);
        s.close();
        s.stop();
    }

    // Every tab's player shares the folder: one's trim leaves the files
    // the other has open, and removes its own finished ones.
    void aTrimLeavesWhatAnotherPlayerHasOpen()
    {
        MediaRig rig;
        const qint64 len = 1024 * 1024;
        rig.server->addGeneratedFile("x/a.bin", len, true, 22);
        rig.server->addGeneratedFile("x/b.bin", 64 * 1024, true, 23);
        const QByteArray wholeA = rig.serverBytes("x/a.bin");
        const TwFileInfo a = rig.mediaItem("x/a.bin");
        const TwFileInfo b = rig.mediaItem("x/b.bin");
        rig.server->throttle(512 * 1024);

        TwMediaStream first(nullptr);
        first.play(a, rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(first.open("stream://a.bin"));
        QCOMPARE(readAt(first, 0, 1000), wholeA.left(1000));
        const QString fileA = rig.cacheDir + "/" + TwDownloadFile::segmentName(a, 0);
        QVERIFY(QFileInfo::exists(fileA));

        TwMediaStream second(nullptr);
        second.setCacheLimit(1);
        second.play(b, rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(second.open("stream://b.bin"));
        QCOMPARE(readAt(second, 0, b.fileLen).size(), int(b.fileLen));
        second.close();
        second.stop();
        QCOMPARE(cachedBytes(rig.cacheDir, b.fileMd5), qint64(0));
        QVERIFY(QFileInfo::exists(fileA));

        // The first plays on, and what it fetches stays counted on disk.
        QCOMPARE(readAt(first, 0, len), wholeA);
        QCOMPARE(cachedBytes(rig.cacheDir, a.fileMd5), len);
        first.close();
        first.stop();
    }

    // A removal that fails is counted and reported; its bytes still count,
    // so the next item goes instead.
    void aFailedRemovalIsCountedAndItsBytesStillCount()
    {
        MediaRig rig;
        const QString stuck = rig.cacheDir + "/aaa_stuck.bin_0";
        const QString other = rig.cacheDir + "/bbb_other.bin_0";
        oldSegment(stuck, 600 * 1024);
        oldSegment(other, 600 * 1024);
        QFile f(stuck);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-7200), QFileDevice::FileModificationTime));
        f.close();
        if (!setImmutable(stuck, true))
            QSKIP("the file system cannot make a file immutable");
        const int failedBefore = MediaCache::failedRemovals();
        TwMediaStream s(nullptr);
        s.setCacheLimit(700 * 1024);
        s.play(rig.mediaItem("none.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        s.stop();
        setImmutable(stuck, false);
        QVERIFY(QFileInfo::exists(stuck));
        QVERIFY(!QFileInfo::exists(other));
        QCOMPARE(MediaCache::failedRemovals(), failedBefore + 1);
    }

    // Seeks that land just ahead of a segment while it is receiving: the
    // earlier one ends before the new one starts, or serves the position
    // itself. Every byte of the item is stored exactly once.
    void segmentsNeverHoldAByteTwice()
    {
        MediaRig rig;
        const qint64 len = 48 * 1024 * 1024;
        rig.server->addGeneratedFile("o/big.bin", len, true, 24);
        const TwFileInfo item = rig.mediaItem("o/big.bin");
        TwMediaStream s(nullptr);
        s.setCacheLimit(4 * len);
        s.play(item, rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://big.bin"));
        QCOMPARE(readAt(s, 0, 1).size(), 1);
        // A seek each time about a megabyte more has come, while it comes.
        int seeks = 0;
        qint64 last = 0;
        QElapsedTimer clock;
        clock.start();
        while (seeks < 40 && clock.elapsed() < 30000) {
            const qint64 held = cachedBytes(rig.cacheDir, item.fileMd5);
            if (held >= len - 2 * 1024 * 1024)
                break;
            if (held < last + 1024 * 1024) {
                QThread::usleep(200);
                continue;
            }
            const qint64 at = held + 32 * 1024;
            QCOMPARE(s.seek(at), at);
            last = at;
            ++seeks;
        }
        QTRY_VERIFY_WITH_TIMEOUT(cachedBytes(rig.cacheDir, item.fileMd5) >= len, 15000);
        QTest::qWait(200);
        QVERIFY(seeks > 3);
        QCOMPARE(cachedBytes(rig.cacheDir, item.fileMd5), len);
        const QByteArray whole = rig.serverBytes("o/big.bin");
        QCOMPARE(readAt(s, len - 1000, 1000), whole.right(1000));
        s.close();
        s.stop();
    }
};

TW_TEST_MAIN(TestMediaCache)
#include "tst_mediacache.moc"
