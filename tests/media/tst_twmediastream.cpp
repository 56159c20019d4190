#include <atomic>
#include <random>
#include <thread>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <mpv/stream_cb.h>

#include "media/twdownloadfile.h"
#include "media/twmediastream.h"
#include "tests/media/mediarig.h"
#include "tests/testenv.h"

namespace {
int downloads(const MediaRig& rig)
{
    return int(rig.server->requestsFor("/device/download").size());
}

// Bytes of the cache folder's files whose name starts with prefix.
qint64 cachedBytes(const QString& folder, const QString& prefix = QString())
{
    qint64 total = 0;
    for (const QFileInfo& fi : QDir(folder).entryInfoList(QDir::Files))
        if (fi.fileName().startsWith(prefix))
            total += fi.size();
    return total;
}

int threadCount()
{
    return QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
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
        // However many segments, the bytes were fetched about once.
        const qint64 cached = cachedBytes(rig.cacheDir);
        QVERIFY2(cached <= item.fileLen + item.fileLen / 4, qPrintable(QString::number(cached)));
    }

    void segmentsEndWhereCachedBytesBegin()
    {
        // Seeking backwards through the file: every seek lands just before
        // bytes another segment holds already.
        MediaRig rig;
        const qint64 len = 2 * 1024 * 1024;
        const qint64 step = 100 * 1024;
        rig.server->addGeneratedFile("b/back.mkv", len, true, 12);
        const QByteArray whole = rig.serverBytes("b/back.mkv");
        const TwFileInfo item = rig.mediaItem("b/back.mkv");
        TwMediaStream s(nullptr);
        s.play(item, rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://back.mkv"));
        for (qint64 off = len - step; off >= 0; off -= step) {
            QCOMPARE(readAt(s, off, 10), whole.mid(int(off), 10));
            // The new segment fetches up to the one after it, not to the end.
            QTRY_VERIFY_WITH_TIMEOUT(cachedBytes(rig.cacheDir) >= len - off, 10000);
        }
        QCOMPARE(readAt(s, 0, int(len)), whole);
        s.close();
        s.stop();
        // Each byte was fetched about once, and what was fetched stays.
        const qint64 cached = cachedBytes(rig.cacheDir, item.fileMd5);
        QVERIFY2(cached >= len && cached < len + len / 4, qPrintable(QString::number(cached)));
    }

    void manySeeksLeaveNoCrowdOfThreadsBehind()
    {
        MediaRig rig;
        const qint64 len = 4 * 1024 * 1024;
        rig.server->addGeneratedFile("t/threads.mkv", len, true, 13);
        const QByteArray whole = rig.serverBytes("t/threads.mkv");
        rig.server->throttle(256 * 1024);
        const int before = threadCount();
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("t/threads.mkv"), rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://threads.mkv"));
        std::mt19937 rnd(3);
        int peak = 0;
        for (int i = 0; i < 40; ++i) {
            const qint64 off = std::uniform_int_distribution<qint64>(0, len - 1)(rnd);
            QCOMPARE(readAt(s, off, 16), whole.mid(int(off), 16));
            peak = qMax(peak, threadCount());
        }
        QVERIFY2(peak > before + 8, "the seeks should run transfers side by side");
        s.close();
        s.stop();
        rig.server->throttle(0);
        // Transfer threads left idle end, or only a few wait for more work.
        QTRY_VERIFY2_WITH_TIMEOUT(threadCount() <= before + 6,
                                  qPrintable(QString("%1 threads, %2 before").arg(threadCount()).arg(before)),
                                  15000);
    }

    void theCacheDropsTheItemsPlayedLongestAgo()
    {
        MediaRig rig;
        for (const char* name : {"c/one.bin", "c/two.bin", "c/three.bin"})
            rig.server->addGeneratedFile(name, 1024 * 1024, true, 14);
        const TwFileInfo one = rig.mediaItem("c/one.bin");
        const TwFileInfo two = rig.mediaItem("c/two.bin");
        const TwFileInfo three = rig.mediaItem("c/three.bin");
        TwMediaStream s(nullptr);
        s.setCacheLimit(1536 * 1024);
        auto playWhole = [&](const TwFileInfo& f) {
            s.play(f, rig.owner.get(), rig.cacheDir, nullptr);
            QVERIFY(s.open(qPrintable("stream://" + f.name)));
            QCOMPARE(readAt(s, 0, f.fileLen).size(), int(f.fileLen));
            s.close();
            s.stop();
        };
        auto age = [&](const TwFileInfo& f) {
            // Played an hour ago.
            for (const QFileInfo& fi : QDir(rig.cacheDir).entryInfoList(QDir::Files)) {
                if (!fi.fileName().startsWith(f.fileMd5))
                    continue;
                QFile file(fi.filePath());
                QVERIFY(file.open(QIODevice::ReadWrite));
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                         QFileDevice::FileModificationTime));
            }
        };
        playWhole(one);
        QCOMPARE(cachedBytes(rig.cacheDir, one.fileMd5), one.fileLen);   // kept after stop
        age(one);
        playWhole(two);
        // Over the limit at stop: the item played first goes, whole.
        QCOMPARE(cachedBytes(rig.cacheDir, one.fileMd5), qint64(0));
        QCOMPARE(cachedBytes(rig.cacheDir, two.fileMd5), two.fileLen);
        age(two);
        // Files not of the cache stay whatever their age.
        QFile other(rig.cacheDir + "/notes.txt");
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write(QByteArray(4096, 'x'));
        other.close();
        // A lower limit takes effect when the next item starts.
        s.setCacheLimit(512 * 1024);
        s.play(three, rig.owner.get(), rig.cacheDir, nullptr);
        QCOMPARE(cachedBytes(rig.cacheDir, two.fileMd5), qint64(0));
        QVERIFY(QFileInfo::exists(rig.cacheDir + "/notes.txt"));
        s.stop();
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

    void seeksToTheEndOrIntoHeldBytesStartNothing()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("r.bin", 1024 * 1024, true, 4);
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("r.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://r.bin"));
        // Exactly at the end: nothing to fetch there.
        QCOMPARE(s.seek(1024 * 1024), qint64(0));
        char end[16];
        QCOMPARE(s.read(end, 16), qint64(0));
        QCOMPARE(s.segmentCount(), 0);
        QTest::qWait(200);
        QCOMPARE(downloads(rig), 0);
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

    void aCancelAfterItsCloseTouchesNothing()
    {
        // libmpv may cancel an open a moment after closing it; by then the
        // next open may sit at the closed one's address.
        MediaRig rig;
        rig.server->addGeneratedFile("c.bin", 64 * 1024, true, 12);
        const QByteArray c = rig.serverBytes("c.bin");
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("c.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        char uri[] = "stream://c.bin";
        mpv_stream_cb_info first{};
        QCOMPARE(TwMediaStream::openCallback(&s, uri, &first), 0);
        first.close_fn(first.cookie);
        for (int i = 0; i < 20; ++i) {
            mpv_stream_cb_info next{};
            QCOMPARE(TwMediaStream::openCallback(&s, uri, &next), 0);
            first.cancel_fn(first.cookie);
            QCOMPARE(first.read_fn(first.cookie, nullptr, 4), int64_t(-1));
            first.close_fn(first.cookie);
            char buf[16];
            QCOMPARE(next.seek_fn(next.cookie, 1000), int64_t(1000));
            QCOMPARE(next.read_fn(next.cookie, buf, 16), int64_t(16));
            QCOMPARE(QByteArray(buf, 16), c.mid(1000, 16));
            QCOMPARE(next.size_fn(next.cookie), int64_t(c.size()));
            next.close_fn(next.cookie);
            first = next;
        }
        s.stop();
    }

    void aSegmentThatCannotStartFailsTheSeek()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("x.bin", 100 * 1024, true, 9);
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("x.bin"), rig.owner.get(), rig.dir.path() + "/no/such/folder", nullptr);
        QVERIFY(s.open("stream://x.bin"));
        // Where the read already is, nothing needs to start: libmpv asks this
        // at open, and a refusal would make the stream one that never seeks.
        QCOMPARE(s.seek(0), qint64(0));
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

    // The device's session ends (its tab closed) under a live segment: the
    // stream stopped afterwards touches nothing of the session.
    void aSessionEndingUnderALiveSegmentIsSafe()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("e.bin", 1024 * 1024, true, 11);
        const QByteArray whole = rig.serverBytes("e.bin");
        rig.server->throttle(64 * 1024);
        TwMediaStream s(nullptr);
        s.play(rig.mediaItem("e.bin"), rig.owner.get(), rig.cacheDir, nullptr);
        QVERIFY(s.open("stream://e.bin"));
        QCOMPARE(readAt(s, 0, 1024), whole.left(1024));
        QCOMPARE(s.segmentCount(), 1);
        rig.owner.reset();
        s.stop();
        QCOMPARE(s.segmentCount(), 0);
        rig.server->clearFaults();
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

        // Played to the end block by block, each block the next one.
        QCOMPARE(s.seek(0), qint64(0));
        QByteArray played;
        QByteArray block(1000, '\0');
        for (int i = 0; i <= w.size() / block.size() + 1; ++i) {
            const qint64 n = s.read(block.data(), block.size());
            QVERIFY(n >= 0);
            if (n == 0)
                break;
            played.append(block.constData(), int(n));
        }
        QCOMPARE(played.size(), w.size());
        QVERIFY(played == w);
        s.close();

        item.filePath = dir.path() + "/missing.wav";
        s.play(item, nullptr, dir.path(), nullptr);
        QVERIFY(!s.open("stream://song.wav"));
    }
};

TW_TEST_MAIN(TestTwMediaStream)
#include "tst_twmediastream.moc"
