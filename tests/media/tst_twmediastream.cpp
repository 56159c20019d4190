#include <atomic>
#include <random>
#include <thread>

#include <QElapsedTimer>
#include <QFile>

#include "media/twdownloadfile.h"
#include "media/twmediastream.h"
#include "tests/media/mediarig.h"
#include "tests/testenv.h"

namespace {
QByteArray readAt(TwMediaStream& s, qint64 offset, qint64 length)
{
    if (s.seek(offset) != offset)
        return QByteArray("<seek failed>");
    QByteArray out;
    while (out.size() < length) {
        QByteArray buf(int(length - out.size()), '\0');
        const qint64 n = s.read(buf.data(), buf.size());
        if (n <= 0)
            break;
        out.append(buf.constData(), int(n));
    }
    return out;
}

int downloads(const MediaRig& rig)
{
    return int(rig.server->requestsFor("/device/download").size());
}
}

// The media stream on its own: the StreamI calls libmpv would make, served
// from cache segments fetched from the test device.
class TestTwMediaStream : public QObject
{
    Q_OBJECT
private slots:
    void randomSeeksAgainstAThrottledDeviceReturnTheRightBytes()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("m/movie.mkv", 2 * 1024 * 1024 + 333, true, 11);
        const QByteArray whole = rig.serverBytes("m/movie.mkv");
        rig.server->throttle(1024 * 1024);
        TwMediaStream s(nullptr);
        const TwFileInfo item = rig.mediaItem("m/movie.mkv");
        s.play(item, rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://movie.mkv"));
        QCOMPARE(s.size(), item.fileLen);

        std::mt19937 rnd(7);
        for (int i = 0; i < 1000; ++i) {
            const qint64 off = std::uniform_int_distribution<qint64>(0, item.fileLen - 1)(rnd);
            const qint64 len = std::uniform_int_distribution<qint64>(1, 64 * 1024)(rnd);
            const QByteArray got = readAt(s, off, len);
            const QByteArray want = whole.mid(int(off), int(len));
            if (got != want)
                QFAIL(qPrintable(QString("pair %1: %2 bytes at %3 differ").arg(i).arg(len).arg(off)));
        }
        // The end of the item and beyond.
        char b[16];
        QCOMPARE(s.seek(item.fileLen - 4), item.fileLen - 4);
        QCOMPARE(s.read(b, 16), qint64(4));   // waits for its bytes
        QCOMPARE(s.read(b, 16), qint64(0));
        QCOMPARE(s.seek(item.fileLen + 10), qint64(0));
        QCOMPARE(s.read(b, 16), qint64(0));
        s.close();
        s.stop();
        QCOMPARE(s.segmentCount(), 0);
    }

    void aReadWakesAsSoonAsItsBytesArrive()
    {
        // Each seek lands where nothing is cached yet; with only the 500 ms
        // rounds every one of them would cost a full round.
        MediaRig rig;
        rig.server->addGeneratedFile("w.bin", 4 * 1024 * 1024, true, 3);
        const QByteArray whole = rig.serverBytes("w.bin");
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("w.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://w.bin"));
        QElapsedTimer t;
        t.start();
        const int seeks = 12;
        for (int i = 0; i < seeks; ++i) {
            const qint64 off = qint64(4 * 1024 * 1024 - 1) - qint64(i) * 300 * 1024;
            QCOMPARE(readAt(s, off, 1), whole.mid(int(off), 1));
        }
        QVERIFY2(t.elapsed() < seeks * TwMediaStream::kWaitMs - 500, qPrintable(QString::number(t.elapsed())));
        s.stop();
    }

    void aSeekIntoHeldBytesStartsNothingAndALiveSegmentIsReused()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("r.bin", 1024 * 1024, true, 4);
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("r.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://r.bin"));
        rig.server->stallAfter(64 * 1024);
        QCOMPARE(s.seek(0), qint64(0));
        QCOMPARE(s.seek(0), qint64(0));   // the live segment at 0 serves it
        QCOMPARE(s.segmentCount(), 1);
        char b[100];
        QCOMPARE(s.read(b, 100), qint64(100));
        QCOMPARE(s.seek(1000), qint64(1000));   // held already
        QCOMPARE(readAt(s, 0, 64 * 1024).size(), 64 * 1024);   // all it holds
        QCOMPARE(s.seek(64 * 1024), qint64(64 * 1024));   // at the live end
        QCOMPARE(s.segmentCount(), 1);
        QCOMPARE(downloads(rig), 1);
        rig.server->clearFaults();
        s.stop();
    }

    void aFailedSegmentIsRestartedABoundedNumberOfTimes()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("c.bin", 1024 * 1024, true, 5);
        const QByteArray whole = rig.serverBytes("c.bin");
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("c.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://c.bin"));

        // One cut connection: the read past it starts a new segment there.
        rig.server->cutAfter(100 * 1024, 1);
        QCOMPARE(readAt(s, 0, 300 * 1024), whole.left(300 * 1024));
        QCOMPARE(downloads(rig), 2);

        // Cut again, and the device stops answering: the read gives up after
        // a few tries instead of buffering for ever.
        TwMediaStream t(nullptr);
        t.play(rig.mediaItem("c.bin"), rig.owner.get(), rig.cacheDir + "/2", nullptr);
        QDir().mkpath(rig.cacheDir + "/2");
        QVERIFY(t.open("stream://c.bin"));
        rig.server->clearRequests();
        rig.server->cutAfter(100 * 1024, 1);
        QCOMPARE(readAt(t, 0, 1024), whole.left(1024));
        rig.server->failWithStatus(500, -1, "/device/download");
        QElapsedTimer timer;
        timer.start();
        QByteArray buf(4096, '\0');
        qint64 n = 0;
        qint64 got = 1024;
        while ((n = t.read(buf.data(), buf.size())) > 0)
            got += n;
        QCOMPARE(n, qint64(-1));
        QCOMPARE(got, qint64(100 * 1024));
        QVERIFY(timer.elapsed() < 20000);
        QCOMPARE(downloads(rig), 1 + TwMediaStream::kMaxStarts);
        t.stop();
        s.stop();
    }

    void stopWakesAWaitingReadAndDeletesTheSegments()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("s.bin", 1024 * 1024, true, 6);
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("s.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://s.bin"));
        rig.server->stallAfter(0, -1);
        std::atomic<qint64> result{1};
        std::atomic<bool> done{false};
        std::thread reader([&] {
            char b[10];
            result = s.read(b, 10);
            done = true;
        });
        QTRY_COMPARE_WITH_TIMEOUT(s.segmentCount(), 1, 20000);
        QTest::qWait(700);   // well into its waiting
        QVERIFY(!done.load());
        QElapsedTimer t;
        t.start();
        s.stop();
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 5000);
        reader.join();
        QVERIFY(t.elapsed() < 3000);
        QCOMPARE(result.load(), qint64(-1));
        QCOMPARE(s.segmentCount(), 0);
        char b[4];
        QCOMPARE(s.read(b, 4), qint64(-1));
        QCOMPARE(s.seek(0), qint64(-1));
        QCOMPARE(s.size(), qint64(-1));
        rig.server->clearFaults();
    }

    void anEarlierOpenNeverTouchesTheNextItem()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("a.bin", 200 * 1024, true, 7);
        rig.server->addGeneratedFile("b.bin", 300 * 1024, true, 8);
        const QByteArray b = rig.serverBytes("b.bin");
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("a.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        TwMediaStream::Session* a = s.openSession("stream://a.bin");
        QVERIFY(a);
        QCOMPARE(s.seekIn(a, 1000), qint64(1000));

        s.play(rig.mediaItem("b.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        QCOMPARE(s.segmentCount(), 0);   // a's segments went with a
        // A late open of the earlier item is refused.
        QVERIFY(!s.openSession("stream://a.bin"));
        TwMediaStream::Session* bs = s.openSession("stream://b.bin");
        QVERIFY(bs);
        char buf[64];
        QCOMPARE(s.readIn(a, buf, 64), qint64(-1));
        QCOMPARE(s.seekIn(a, 5), qint64(-1));
        QCOMPARE(s.sizeOf(a), qint64(-1));
        s.closeSession(a);
        delete a;
        QCOMPARE(s.sizeOf(bs), qint64(300 * 1024));
        QCOMPARE(s.seekIn(bs, 4096), qint64(4096));
        QCOMPARE(s.readIn(bs, buf, 64), qint64(64));
        QCOMPARE(QByteArray(buf, 8), b.mid(4096, 8));
        for (int i = 0; i < 3; ++i)
            QVERIFY(QFileInfo(rig.cacheDir).exists());

        // A cancelled session's waiting read returns at once.
        rig.server->stallAfter(0, -1);
        QCOMPARE(s.seekIn(bs, 200 * 1024), qint64(200 * 1024));
        std::atomic<bool> done{false};
        std::thread reader([&] {
            char x[4];
            s.readIn(bs, x, 4);
            done = true;
        });
        QTest::qWait(300);
        s.cancel(bs);
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 3000);
        reader.join();
        s.closeSession(bs);
        delete bs;
        rig.server->clearFaults();
        s.stop();
    }

    void aSegmentThatCannotStartFailsTheSeek()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("x.bin", 100 * 1024, true, 9);
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("x.bin"), rig.owner.get(), rig.dir.path() + "/no/such/folder", nullptr);
        QVERIFY(s.open("stream://x.bin"));
        QCOMPARE(s.seek(10), qint64(-1));
        QCOMPARE(s.segmentCount(), 0);
        s.stop();

        TwMediaStream none(nullptr);
        none.play(rig.mediaItem("x.bin"), nullptr, rig.cacheDir, nullptr);
        QVERIFY(none.open("stream://x.bin"));
        QCOMPARE(none.seek(10), qint64(-1));
        // No item-sized file is made in the cache folder.
        QCOMPARE(QDir(rig.cacheDir).entryList(QDir::Files).size(), 0);
    }

    void aLocalItemIsReadFromItsOwnFile()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/song.wav";
        const QByteArray w = MediaRig::wav(0.5);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(w);
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner);   // read-only is enough
        TwFileInfo item = MediaRig::localItem(path);
        TwMediaStream s(nullptr);
        s.play(item, nullptr, dir.path(), nullptr);
        QVERIFY(s.open("stream://song.wav"));
        QCOMPARE(s.size(), qint64(w.size()));
        QCOMPARE(readAt(s, 10, 100), w.mid(10, 100));
        QCOMPARE(s.seek(w.size()), qint64(w.size()));
        char b[4];
        QCOMPARE(s.read(b, 4), qint64(0));
        s.close();

        item.filePath = dir.path() + "/missing.wav";
        s.play(item, nullptr, dir.path(), nullptr);
        QVERIFY(!s.open("stream://song.wav"));
    }
};

TW_TEST_MAIN(TestTwMediaStream)
#include "tst_twmediastream.moc"
