#include <atomic>
#include <random>
#include <thread>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "media/mediacache.h"
#include "media/twdownloadfile.h"
#include "sdk/task_interface.h"
#include "tests/media/mediarig.h"
#include "tests/testenv.h"

// One cache segment: its file name, its bookkeeping of what it holds, and
// real streaming downloads from the test device.
class TestTwDownloadFile : public QObject
{
    Q_OBJECT
private slots:
    void segmentNamesStayInsideTheFolderAndWithinLimits()
    {
        TwFileInfo f;
        f.fileMd5 = "abc";
        f.name = "v.mp4";
        QCOMPARE(TwDownloadFile::segmentName(f, 1048576), QString("abc_v.mp4_1048576"));
        f.isUsb = true;
        QCOMPARE(TwDownloadFile::segmentName(f, 1048576), QString("abc_usb_v.mp4_1048576"));

        f.isUsb = false;
        for (const QString& bad : {QString("../../etc/passwd"), QString("a/b\\c"), QString(".."), QString("")}) {
            f.name = bad;
            const QString n = TwDownloadFile::segmentName(f, 7);
            QVERIFY2(!n.contains('/') && !n.contains('\\') && n != ".." && !n.isEmpty(), qPrintable(n));
        }
        f.fileMd5 = "../x";
        QVERIFY(!TwDownloadFile::segmentName(f, 0).contains('/'));

        // Long names (multi-byte too) are cut to the limit; two long names
        // that share their first 250 bytes stay apart.
        f.fileMd5 = QString(32, 'f');
        f.name = QString(300, QChar(0x00e9)) + "a.mp4";
        const QString a = TwDownloadFile::segmentName(f, 123456789);
        f.name = QString(300, QChar(0x00e9)) + "b.mp4";
        const QString b = TwDownloadFile::segmentName(f, 123456789);
        QVERIFY(a.toUtf8().size() <= 255);
        QVERIFY(b.toUtf8().size() <= 255);
        QVERIFY(a != b);
        QVERIFY(a.endsWith("_123456789"));
    }

    void heldBytesAreReadBackAtTheirOffsets()
    {
        MediaRig rig;
        TwFileInfo f = rig.mediaItem("none.bin");   // not on the device: the download fails, the file stays
        f.id = 999999;
        TwDownloadFile seg(rig.owner.get(), nullptr);
        QVERIFY(seg.start(f, 100, rig.cacheDir));
        QVERIFY(QFileInfo(seg.path()).path() == rig.cacheDir);
        QTRY_VERIFY_WITH_TIMEOUT(seg.state() == TwDownloadFile::Failed, 20000);
        // Chunks land in order at the segment's end.
        QCOMPARE(seg.fwrite("abcd", 4, 0), qint64(4));
        QCOMPARE(seg.fwrite("efghij", 6, 4), qint64(6));
        QCOMPARE(seg.endOffset(), qint64(110));
        QCOMPARE(QFileInfo(seg.path()).size(), qint64(10));
        char buf[32] = {};
        QCOMPARE(seg.get(buf, 3, 102), qint64(3));
        QCOMPARE(QByteArray(buf, 3), QByteArray("cde"));
        QCOMPARE(seg.get(buf, 32, 105), qint64(5));   // only what is held
        QCOMPARE(QByteArray(buf, 5), QByteArray("fghij"));
        QCOMPARE(seg.get(buf, 4, 110), qint64(-1));   // at the end
        QCOMPARE(seg.get(buf, 4, 99), qint64(-1));    // before the start
        QVERIFY(seg.stop());
        QVERIFY(seg.stop());
        QCOMPARE(seg.fwrite("x", 1, 10), qint64(-2));   // closed
    }

    void streamsTheRemoteFileFromItsOffset()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("v/clip.mp4", 3 * 1024 * 1024 + 17, true, 5);
        const TwFileInfo f = rig.mediaItem("v/clip.mp4");
        const QByteArray whole = rig.serverBytes("v/clip.mp4");
        TwDownloadFile seg(rig.owner.get(), nullptr);
        QVERIFY(seg.start(f, 1048576, rig.cacheDir));
        QCOMPARE(QFileInfo(seg.path()).fileName(), f.fileMd5 + "_clip.mp4_1048576");
        QTRY_VERIFY_WITH_TIMEOUT(seg.state() == TwDownloadFile::Finished, 20000);
        QCOMPARE(seg.endOffset(), f.fileLen);
        QByteArray got(int(f.fileLen - 1048576), '\0');
        QCOMPARE(seg.get(got.data(), got.size(), 1048576), qint64(got.size()));
        QCOMPARE(got, whole.mid(1048576));
        const auto reqs = rig.server->requestsFor("/device/download");
        QCOMPARE(int(reqs.size()), 1);
        QCOMPARE(QString::fromStdString(reqs[0].range), QString("bytes=1048576-"));
        QVERIFY(seg.stop());

        // The same item and offset again: the file is reopened, not cut, and
        // written from its beginning.
        TwDownloadFile again(rig.owner.get(), nullptr);
        rig.server->stallAfter(1000);
        QVERIFY(again.start(f, 1048576, rig.cacheDir));
        QTRY_VERIFY_WITH_TIMEOUT(again.endOffset() == 1048576 + 1000, 20000);
        QCOMPARE(QFileInfo(again.path()).size(), f.fileLen - 1048576);
        QVERIFY(again.stop());
        rig.server->clearFaults();
    }

    void readsWhileChunksArriveSeeOnlyTheRightBytes()
    {
        // The player reads a segment on its thread while the library writes
        // it on another.
        MediaRig rig;
        TwFileInfo f = rig.mediaItem("none.bin");
        f.id = 999998;
        TwDownloadFile seg(rig.owner.get(), nullptr);
        const qint64 start = 4096;
        QVERIFY(seg.start(f, start, rig.cacheDir));
        QTRY_VERIFY_WITH_TIMEOUT(seg.state() == TwDownloadFile::Failed, 20000);
        auto byteAt = [](qint64 pos) { return char((pos * 31 + pos / 251) & 0xff); };
        const int chunk = 1000;
        const int chunks = 4000;
        std::atomic<bool> written{false};
        std::thread writer([&] {
            QByteArray buf(chunk, '\0');
            for (int c = 0; c < chunks; ++c) {
                const qint64 at = start + qint64(c) * chunk;
                for (int i = 0; i < chunk; ++i)
                    buf[i] = byteAt(at + i);
                if (seg.fwrite(buf.constData(), chunk, at - start) != chunk)
                    break;
            }
            written = true;
        });
        std::mt19937 rnd(5);
        QByteArray got(3000, '\0');
        int reads = 0;
        int wrong = 0;
        while (!written.load() || reads < 1000) {
            const qint64 end = seg.endOffset();
            if (end <= start)
                continue;
            const qint64 off = std::uniform_int_distribution<qint64>(start, end - 1)(rnd);
            const qint64 n = seg.get(got.data(), got.size(), off);
            ++reads;
            // More may have come since end was read, never less.
            if (n < qMin<qint64>(got.size(), end - off) || n > got.size()) {
                ++wrong;
                continue;
            }
            for (qint64 i = 0; i < n; ++i)
                if (got[int(i)] != byteAt(off + i)) {
                    ++wrong;
                    break;
                }
        }
        writer.join();
        QCOMPARE(wrong, 0);
        QCOMPARE(seg.endOffset(), start + qint64(chunk) * chunks);
        // The file holds every chunk where it belongs.
        QFile file(seg.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray all = file.readAll();
        QCOMPARE(all.size(), chunk * chunks);
        for (int i = 0; i < all.size(); ++i)
            if (all[i] != byteAt(start + i))
                QFAIL(qPrintable(QString("byte %1 of the segment file is wrong").arg(i)));
        seg.stop();
    }

    void aSegmentStopsWhereTheNextOneBegins()
    {
        MediaRig rig;
        TwFileInfo f = rig.mediaItem("none.bin");
        f.id = 999997;
        TwDownloadFile seg(rig.owner.get(), nullptr);
        QVERIFY(seg.start(f, 100, rig.cacheDir));
        QTRY_VERIFY_WITH_TIMEOUT(seg.state() == TwDownloadFile::Failed, 20000);
        TwDownloadFile live(rig.owner.get(), nullptr);
        rig.server->addGeneratedFile("l.bin", 64 * 1024, true, 4);
        rig.server->stallAfter(0, -1);
        QVERIFY(live.start(rig.mediaItem("l.bin"), 100, rig.cacheDir));
        QCOMPARE(live.state(), TwDownloadFile::Running);
        live.limitTo(110);
        // A chunk crossing the limit is cut there and the task told to stop.
        QCOMPARE(live.on_data("abcdef", 6), 0);
        QCOMPARE(live.on_data("ghijkl", 6), 1);
        QCOMPARE(live.endOffset(), qint64(110));
        QCOMPARE(live.state(), TwDownloadFile::Finished);
        QVERIFY(!live.isLive());
        QCOMPARE(QFileInfo(live.path()).size(), qint64(10));
        // A limit at or below what is held ends it at once.
        TwDownloadFile other(rig.owner.get(), nullptr);
        QVERIFY(other.start(rig.mediaItem("l.bin"), 5000, rig.cacheDir));
        QCOMPARE(other.on_data("abcdef", 6), 0);
        other.limitTo(5003);
        QVERIFY(!other.isLive());
        QCOMPARE(other.on_data("x", 1), 1);
        other.limitTo(9000);   // never raised again
        QCOMPARE(other.limit(), qint64(5003));
        live.stop();
        other.stop();
        rig.server->clearFaults();
    }

    void aFileOnAnAttachedDiskStreamsByItsPath()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("usb/disk one/a b.bin", 300 * 1024, true, 9);
        const QByteArray whole = rig.serverBytes("usb/disk one/a b.bin");
        TwFileInfo f;
        f.isUsb = true;
        f.name = "a b.bin";
        f.filePath = "/disk one/a b.bin";
        f.url = "/usb/disk one/a b.bin";
        f.fileLen = whole.size();
        TwDownloadFile seg(rig.owner.get(), nullptr);
        QVERIFY(seg.start(f, 1000, rig.cacheDir));
        QVERIFY(QFileInfo(seg.path()).fileName().startsWith("_usb_a b.bin_1000"));
        QTRY_VERIFY_WITH_TIMEOUT(seg.state() == TwDownloadFile::Finished, 20000);
        QByteArray got(whole.size() - 1000, '\0');
        QCOMPARE(seg.get(got.data(), got.size(), 1000), qint64(got.size()));
        QCOMPARE(got, whole.mid(1000));
    }

    void aFailedWriteEndsTheSegment()
    {
        if (!QFileInfo::exists("/dev/full"))
            QSKIP("no /dev/full");
        MediaRig rig;
        rig.server->addGeneratedFile("full.bin", 512 * 1024, true, 2);
        const TwFileInfo f = rig.mediaItem("full.bin");
        // The segment's file is a device that refuses every write.
        QVERIFY(QFile::link("/dev/full", rig.cacheDir + "/" + TwDownloadFile::segmentName(f, 0)));
        TwDownloadFile seg(rig.owner.get(), nullptr);
        QVERIFY(seg.start(f, 0, rig.cacheDir));
        QTRY_VERIFY_WITH_TIMEOUT(seg.state() == TwDownloadFile::Failed, 20000);
        QCOMPARE(seg.endOffset(), qint64(0));
        // The library task was told to stop: nothing more arrives.
        QCOMPARE(seg.on_data("abc", 3), 1);
        QCOMPARE(seg.endOffset(), qint64(0));
    }

    void aSegmentWhoseFileCannotBeMadeStopsItsRequest()
    {
        // The request goes out while the file is made; a file that cannot
        // be made ends both, and nothing is held or stored.
        MediaRig rig;
        rig.server->addGeneratedFile("d.bin", 2 * 1024 * 1024, true, 4);
        const TwFileInfo f = rig.mediaItem("d.bin");
        const QString blocked = rig.cacheDir + "/" + TwDownloadFile::segmentName(f, 0);
        QVERIFY(QDir().mkpath(blocked));   // a folder where the segment file belongs
        for (int i = 0; i < 5; ++i) {
            TwDownloadFile seg(rig.owner.get(), nullptr);
            QVERIFY(!seg.start(f, 0, rig.cacheDir));
            QCOMPARE(seg.state(), TwDownloadFile::Failed);
            QVERIFY(!seg.isLive());
            QCOMPARE(seg.endOffset(), qint64(0));
            char buf[8] = {};
            QCOMPARE(seg.get(buf, 8, 0), qint64(-1));
            QVERIFY(!MediaCache::isHeld(blocked));
            QVERIFY(seg.stop());
        }
        QVERIFY(QFileInfo(blocked).isDir());
        QVERIFY(QDir(blocked).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

        // The next offset has its file and streams as usual.
        TwDownloadFile next(rig.owner.get(), nullptr);
        QVERIFY(next.start(f, 1000, rig.cacheDir));
        QTRY_VERIFY_WITH_TIMEOUT(next.state() == TwDownloadFile::Finished, 20000);
        QByteArray got(int(f.fileLen - 1000), '\0');
        QCOMPARE(next.get(got.data(), got.size(), 1000), qint64(got.size()));
        QCOMPARE(got, rig.serverBytes("d.bin").mid(1000));
        QVERIFY(next.stop());
    }

    void bytesThatComeBeforeTheFileAreHeldInMemory()
    {
        // The request goes out first; what the device answers before the
        // file is made is read from memory, up to a cap, and then lands in
        // the file whole.
        MediaRig rig;
        const qint64 cap = TwDownloadFile::kEarlyCap;
        rig.server->addGeneratedFile("e.bin", int(cap + 700 * 1024), true, 6);
        const TwFileInfo f = rig.mediaItem("e.bin");
        const QByteArray whole = rig.serverBytes("e.bin");
        TwDownloadFile seg(rig.owner.get(), nullptr);
        QVERIFY(seg.begin(f, 500, rig.cacheDir));
        QVERIFY(seg.isOpening());
        QTRY_VERIFY_WITH_TIMEOUT(seg.endOffset() > 500 + cap - 512 * 1024, 20000);
        QTest::qWait(100);
        QVERIFY(seg.endOffset() <= 500 + cap);   // the task waits for the file
        QVERIFY(seg.isLive());
        QVERIFY(!QFileInfo::exists(seg.path()));
        char buf[4096];
        QCOMPARE(seg.get(buf, sizeof buf, 1000), qint64(sizeof buf));
        QCOMPARE(QByteArray(buf, sizeof buf), whole.mid(1000, sizeof buf));
        QVERIFY(!seg.begin(f, 0, rig.cacheDir));   // one start at a time
        QVERIFY(seg.openFile());
        QVERIFY(!seg.isOpening());
        QTRY_VERIFY_WITH_TIMEOUT(seg.state() == TwDownloadFile::Finished, 20000);
        QByteArray got(int(f.fileLen - 500), '\0');
        QCOMPARE(seg.get(got.data(), got.size(), 500), qint64(got.size()));
        QCOMPARE(got, whole.mid(500));
        QFile file(seg.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), whole.mid(500));

        // Dropped before its file is made, its task waiting for room: the
        // task ends, nothing is stored or held.
        TwDownloadFile dropped(rig.owner.get(), nullptr);
        QVERIFY(dropped.begin(f, 0, rig.cacheDir));
        QTRY_VERIFY_WITH_TIMEOUT(dropped.endOffset() > cap - 512 * 1024, 20000);
        QVERIFY(dropped.stop());
        QVERIFY(!dropped.isLive());
        QCOMPARE(dropped.get(buf, 16, 0), qint64(-2));
        QVERIFY(!QFileInfo::exists(dropped.path()));
        QVERIFY(!MediaCache::isHeld(dropped.path()));

        // A file that cannot be made leaves nothing held, in memory either.
        TwDownloadFile blocked(rig.owner.get(), nullptr);
        QVERIFY(QDir().mkpath(rig.cacheDir + "/" + TwDownloadFile::segmentName(f, 100)));
        QVERIFY(blocked.begin(f, 100, rig.cacheDir));
        QTRY_VERIFY_WITH_TIMEOUT(blocked.endOffset() > 100, 20000);
        QVERIFY(!blocked.openFile());
        QCOMPARE(blocked.state(), TwDownloadFile::Failed);
        QCOMPARE(blocked.endOffset(), qint64(100));
        QCOMPARE(blocked.get(buf, 16, 100), qint64(-1));
    }

    void aSegmentWithoutItsFileDoesNotStart()
    {
        MediaRig rig;
        rig.server->addGeneratedFile("a.bin", 1000, true, 3);
        TwDownloadFile seg(rig.owner.get(), nullptr);
        QVERIFY(!seg.start(rig.mediaItem("a.bin"), 0, rig.dir.path() + "/missing/folder"));
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()), 0);

        TwDownloadFile noOwner(nullptr, nullptr);
        QVERIFY(!noOwner.start(rig.mediaItem("a.bin"), 0, rig.cacheDir));

        rig.owner->allowOnline = false;
        TwDownloadFile offline(rig.owner.get(), nullptr);
        QVERIFY(!offline.start(rig.mediaItem("a.bin"), 0, rig.cacheDir));
        QCOMPARE(offline.state(), TwDownloadFile::Failed);
    }
};

TW_TEST_MAIN(TestTwDownloadFile)
#include "tst_twdownloadfile.moc"
