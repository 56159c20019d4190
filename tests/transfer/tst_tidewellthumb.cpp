// The thumbnail service against the test device: queue order, bounded
// parallel downloads, retries, offline, outage and pause handling, partial
// resume, and the cache files.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrlQuery>
#include <map>
#include <memory>

#include "app/tidewellsdk.h"
#include "core/common.h"
#include "core/utils.h"
#include "device/tidewelltab.h"
#include "tests/testowner.h"
#include "tests/transfer/outagerig.h"
#include "tests/transfer/thumbrig.h"
#include "tools/testdeviceserver.h"
#include "transfer/thumbdownloadtask.h"
#include "transfer/tidewellthumb.h"

// An owner that pauses the service from inside device_online when it finds
// itself offline, on whatever thread asks.
class PausingOwner : public TestOwner
{
    Q_OBJECT
public:
    using TestOwner::TestOwner;
    TidewellThumb* service = nullptr;
    std::atomic<int> pauses{0};

    bool device_online(const NetworkShare& share, OnlineFn fn) override
    {
        if (!allowOnline && service) {
            ++pauses;
            service->pause();
            return false;
        }
        return TestOwner::device_online(share, fn);
    }
};

class TestTidewellThumb : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<PausingOwner> m_owner;
    int m_caches = 0;

    QString newCacheRoot() { return TestEnv::instance()->root() + "/c" + QString::number(++m_caches); }

    // Downloads per file id of the given mode.
    std::map<qint64, int> downloadsById(const char* mode = "1")
    {
        std::map<qint64, int> out;
        for (const auto& r : m_server->requestsFor("/device/download")) {
            const QUrlQuery q(QString::fromStdString(r.query));
            if (q.queryItemValue("mode") == mode)
                ++out[q.queryItemValue("fileId").toLongLong()];
        }
        return out;
    }

    // Pictures <prefix><i>.jpg, each a little different.
    QList<qint64> addPictures(int count, const std::string& prefix, int w, int h)
    {
        QList<qint64> ids;
        for (int i = 0; i < count; ++i)
            ids << addPicture(*m_server, prefix + std::to_string(i) + ".jpg", w, h, i);
        return ids;
    }

    QByteArray fileBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QUrl ask(TidewellThumb& t, qint64 id, const QString& md5 = QString())
    {
        return t.small(NetworkShare(), Common::MT_Image, id, "acc1", md5, 0);
    }

    QString smallPath(const TidewellThumb& t, qint64 id, const QString& md5 = QString())
    {
        ThumbInfo info(Common::MT_Image, m_owner->deviceId());
        info.setSmall(id, "acc1", md5, 0);
        return info.cacheFilePath(t.cacheRoot());
    }

    QByteArray thumbOf(const std::string& rel) { return QByteArray::fromStdString(m_server->thumbnailBytes(rel, 1)); }

    QString rangeOf(qint64 id)
    {
        QString range = "none";
        for (const auto& r : m_server->requestsFor("/device/download")) {
            if (QUrlQuery(QString::fromStdString(r.query)).queryItemValue("fileId").toLongLong() == id)
                range = QString::fromStdString(r.range);
        }
        return range;
    }

private slots:
    void init()
    {
        m_server.reset(new TestDeviceServer((TestEnv::instance()->root() + "/dev").toStdString()));
        QVERIFY(m_server->start());
        QVERIFY(m_server->startRemote());
        m_owner.reset(new PausingOwner);
    }

    void cleanup()
    {
        m_owner.reset();
        m_server.reset();
    }

    // A video's thumbnail is a frame of it, scaled like a picture's.
    void aVideoGetsAFrameAsItsThumbnail()
    {
        const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
        if (ffmpeg.isEmpty())
            QSKIP("ffmpeg is not installed");
        const QString made = TestEnv::instance()->root() + "/clip.mp4";
        QProcess p;
        p.start(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=duration=2:size=640x360:rate=10",
                         "-c:v", "mpeg4", made});
        QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
        const QByteArray clip = fileBytes(made);
        const qint64 id = m_server->addFile("videos/clip.mp4", std::string(clip.constData(), std::size_t(clip.size())));
        QVERIFY(m_owner->connectTo(m_server->port()));

        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        t.resume();
        t.small(NetworkShare(), Common::MT_Video, id, "acc1", QString(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 30000);
        QCOMPARE(done.first().at(1).toInt(), 100310);
        const QUrl url = t.small(NetworkShare(), Common::MT_Video, id, "acc1", QString(), 0);
        QImage thumb(url.toLocalFile());
        QVERIFY2(!thumb.isNull(), qPrintable(url.toString()));
        QCOMPARE(thumb.width(), 160);
        QCOMPARE(thumb.height(), 90);
    }

    void queueOrderAndCacheAnswers()
    {
        TidewellThumb t;
        const QString root = newCacheRoot();
        t.init(m_owner.get(), root);
        t.pause();   // nothing starts: only the queues are looked at
        QCOMPARE(t.cacheRoot(), root + "/thumbs");
        for (const char* sub : {"small", "medium", "original"})
            QVERIFY(QFileInfo(t.cacheRoot() + "/" + sub).isDir());

        for (int id = 1; id <= 3; ++id)
            QCOMPARE(ask(t, id), getFileTypeIcon(Common::MT_Image));
        ask(t, 4);
        QCOMPARE(t.smallQueue().at(3).fileId, 4);   // fourth of four
        // Already queued: not again, still the icon.
        QCOMPARE(ask(t, 2), getFileTypeIcon(Common::MT_Image));
        QCOMPARE(t.smallQueue().size(), 4);
        for (int id = 5; id <= 16; ++id)
            ask(t, id);
        QCOMPARE(t.smallQueue().at(5).fileId, 16);   // index 5 below 16 waiting
        ask(t, 17);
        QCOMPARE(t.smallQueue().first().fileId, 17); // 16 waiting: to the front

        TwFileInfo item;
        item.name = "m.jpg";
        for (int id = 101; id <= 104; ++id) {
            item.id = id;
            QCOMPARE(t.medium(NetworkShare(), Common::MT_Image, item), QUrl());
        }
        QList<qint64> medium;
        for (const ThumbInfo& i : t.mediumQueue())
            medium << i.fileId;
        QCOMPARE(medium, (QList<qint64>{104, 103, 102}));
        QCOMPARE(t.mediumQueue().first().sizeKind, int(ThumbInfo::Medium));

        // A cached medium answers a medium request; an original request
        // still queues an original.
        ThumbInfo m(Common::MT_Image, "dev1");
        m.fileId = 200;
        m.toMedium();
        QFile f(m.cacheFilePath(t.cacheRoot()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(pictureBytes(200, 150));
        f.close();
        item.id = 200;
        bool original = false;
        QCOMPARE(t.medium(NetworkShare(), Common::MT_Image, item, original),
                 QUrl::fromLocalFile(m.cacheFilePath(t.cacheRoot())));
        QVERIFY(!original);
        QCOMPARE(t.original(NetworkShare(), Common::MT_Image, item), QUrl());
        QCOMPARE(t.mediumQueue().first().sizeKind, int(ThumbInfo::Original));
        m.toOriginal();
        QVERIFY(QFile::copy(f.fileName(), m.cacheFilePath(t.cacheRoot())));
        original = false;
        QCOMPARE(t.medium(NetworkShare(), Common::MT_Image, item, original),
                 QUrl::fromLocalFile(m.cacheFilePath(t.cacheRoot())));
        QVERIFY(original);

        // A zero-length cached file is no thumbnail: deleted, and asked for.
        ThumbInfo z(Common::MT_Image, "dev1");
        z.setSmall(300, "", "", 0);
        QVERIFY(QFile(z.cacheFilePath(t.cacheRoot())).open(QIODevice::WriteOnly));
        QCOMPARE(ask(t, 300), getFileTypeIcon(Common::MT_Image));
        QVERIFY(!QFile::exists(z.cacheFilePath(t.cacheRoot())));

        const int pending = t.pendingCount();
        t.pause();
        QCOMPARE(t.pendingCount(), pending);
        t.stop();
        QCOMPARE(t.pendingCount(), 0);
    }

    void boundedParallelDownloads_data()
    {
        QTest::addColumn<bool>("lan");
        QTest::addColumn<int>("limit");
        QTest::newRow("remote") << false << 5;
        QTest::newRow("local network") << true << 20;
    }

    void boundedParallelDownloads()
    {
        QFETCH(bool, lan);
        QFETCH(int, limit);
        const QList<qint64> ids = addPictures(60, "pics/p", 320, 240);
        QVERIFY(lan ? m_owner->connectTo(m_server->port())
                    : m_owner->connectTo(0, m_server->remotePort()));
        m_server->setThumbnailLatency(150);
        m_server->clearRequests();

        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        t.resume();
        QCOMPARE(t.maxCount(), limit);
        for (qint64 id : ids) {
            ask(t, id);
            ask(t, id);   // asked twice while waiting or running
        }
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 60, 60000);
        QVERIFY2(m_server->thumbnailPeak() <= limit, qPrintable(QString::number(m_server->thumbnailPeak())));
        QVERIFY(m_server->thumbnailPeak() > (lan ? 5 : 1));
        const auto perId = downloadsById();
        QCOMPARE(int(perId.size()), 60);
        for (const auto& kv : perId)
            QCOMPARE(kv.second, 1);
        for (const auto& args : done)
            QCOMPARE(args.at(1).toInt(), 100310);
        // Now cached: the file's URL, with the device's scaled picture.
        const QUrl url = ask(t, ids.at(7));
        QVERIFY(url.isLocalFile());
        const QByteArray cached = fileBytes(url.toLocalFile());
        QCOMPARE(cached, QByteArray::fromStdString(m_server->thumbnailBytes("pics/p7.jpg", 1)));
        QImage img;
        QVERIFY(img.loadFromData(cached));
        QVERIFY(img.width() <= 160 && img.height() <= 160);
        QCOMPARE(t.runningCount(), 0);
        QCOMPARE(t.pendingCount(), 0);
    }

    // Answers are taken on the thread that owns the service; while it is
    // busy, a task that has answered still holds its slot.
    void answeredTasksHoldTheirSlotUntilReleased()
    {
        const QList<qint64> ids = addPictures(30, "f", 160, 120);
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_server->failWithStatus(500, -1, "/device/download");
        m_server->clearRequests();
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        QCOMPARE(t.maxCount(), 5);
        for (qint64 id : ids)
            ask(t, id);
        QThread::msleep(1500);   // every start fails at once; no answer is taken
        QCOMPARE(int(m_server->requestsFor("/device/download").size()), 5);
        QVERIFY(t.runningCount() <= 5);
        m_server->clearFaults();
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 30, 30000);
        for (const auto& args : done)
            QCOMPARE(args.at(1).toInt(), 100310);
        QCOMPARE(int(m_server->requestsFor("/device/download").size()), 35);
    }

    void retriesAndMissingFiles()
    {
        const qint64 pic = addPicture(*m_server, "a.jpg");
        const qint64 text = m_server->addFile("notes.jpg", "just some words, not a picture\n");
        const qint64 noise = m_server->addGeneratedFile("noise.jpg", 3000, true, 7);
        QVERIFY(m_owner->connectTo(m_server->port()));
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());

        // Two failures, then the picture: three starts, one answer.
        m_server->failWithStatus(500, 2, "/device/download");
        ask(t, pic);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(done.at(0).at(1).toInt(), 100310);
        QCOMPARE(downloadsById()[pic], 3);
        QCOMPARE(t.execCount(), 3);

        // A missing file is reported after the first attempt.
        ask(t, 987654);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
        QVERIFY(done.at(1).at(2).toString().startsWith("404"));
        QCOMPARE(downloadsById()[987654], 1);

        // Text, or bytes of no picture format, where a picture should be:
        // three tries, then reported, and nothing is cached.
        for (qint64 id : {text, noise}) {
            const int before = done.count();
            ask(t, id);
            QTRY_COMPARE_WITH_TIMEOUT(done.count(), before + 1, 20000);
            QCOMPARE(done.last().at(1).toInt(), -1);
            QCOMPARE(done.last().at(2).toString(), QString("file is not image data"));
            QCOMPARE(downloadsById()[id], 3);
            QVERIFY(!QFile::exists(smallPath(t, id)));
            QVERIFY(!QFile::exists(smallPath(t, id) + "_tmp"));
        }
        QTest::qWait(200);
        QCOMPARE(done.count(), 4);   // no answer is given twice
    }

    // Garbage, an error page or a cut picture in the cache is no thumbnail:
    // removed when asked for, and fetched again.
    void cachedFileThatIsNoWholePictureIsFetchedAgain()
    {
        const QList<qint64> ids = addPictures(4, "g", 400, 300);
        QVERIFY(m_owner->connectTo(m_server->port()));
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        t.pause();
        const QByteArray whole = thumbOf("g3.jpg");
        const QList<QByteArray> bad{QByteArray("\x13\x37\x00\x01 no picture at all", 22),
                                    "<html><body><h1>502 Bad Gateway</h1></body></html>",
                                    whole.left(whole.size() / 2)};
        for (int i = 0; i < 4; ++i) {
            QFile f(smallPath(t, ids.at(i)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(i < 3 ? bad.at(i) : whole);
        }
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(ask(t, ids.at(i)), getFileTypeIcon(Common::MT_Image));
            QVERIFY(!QFile::exists(smallPath(t, ids.at(i))));
        }
        QCOMPARE(ask(t, ids.at(3)), QUrl::fromLocalFile(smallPath(t, ids.at(3))));
        QCOMPARE(ask(t, ids.at(3)), QUrl::fromLocalFile(smallPath(t, ids.at(3))));
        QCOMPARE(t.pendingCount(), 3);

        t.resume();
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 3, 20000);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(done.at(i).at(1).toInt(), 100310);
            QCOMPARE(ask(t, ids.at(i)), QUrl::fromLocalFile(smallPath(t, ids.at(i))));
            QCOMPARE(fileBytes(smallPath(t, ids.at(i))), thumbOf("g" + std::to_string(i) + ".jpg"));
        }
    }

    // A part left by a dropped download goes on only while the device holds
    // the same picture; a new picture under the same id starts over.
    void partialFileIsResumedOnlyForTheSameVersion()
    {
        const qint64 same = addPicture(*m_server, "v/same.jpg", 1600, 1200, 4);
        const qint64 changed = addPicture(*m_server, "v/changed.jpg", 1600, 1200, 5);
        const QByteArray before = thumbOf("v/changed.jpg");
        const int part = 300;
        QVERIFY(before.size() > 2 * part && thumbOf("v/same.jpg").size() > 2 * part);
        QVERIFY(m_owner->connectTo(m_server->port()));
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        m_server->stallAfter(part, 2);
        ask(t, same, "md5-same");
        ask(t, changed, "md5-old");
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(smallPath(t, same, "md5-same") + "_tmp").size(), qint64(part), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(smallPath(t, changed, "md5-old") + "_tmp").size(), qint64(part), 10000);
        t.pause();   // both given back, their parts kept
        QCOMPARE(done.count(), 0);
        m_server->clearFaults();
        addPicture(*m_server, "v/changed.jpg", 1200, 900, 9);
        const QByteArray after = thumbOf("v/changed.jpg");
        QVERIFY(after != before);

        m_server->clearRequests();
        ask(t, same, "md5-same");
        ask(t, changed, "md5-new");
        t.resume();
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
        for (const auto& args : done)
            QCOMPARE(args.at(1).toInt(), 100310);
        QCOMPARE(rangeOf(same), "bytes=" + QString::number(part) + "-");
        QCOMPARE(rangeOf(changed), QString());
        QCOMPARE(fileBytes(smallPath(t, same, "md5-same")), thumbOf("v/same.jpg"));
        QCOMPARE(fileBytes(smallPath(t, changed, "md5-new")), after);
        for (qint64 id : {same, changed})
            QVERIFY(QDir(QFileInfo(smallPath(t, id)).path()).entryList({"*_tmp*"}, QDir::Files).isEmpty());
    }

    // The device goes away mid-queue and comes back on the same port: the
    // queue waits without spending attempts, then fetches everything.
    void unreachableDeviceCostsNoAttempt()
    {
        ShortPacing pacing(400, 60000);
        const QList<qint64> ids = addPictures(40, "u/p", 160, 120);
        const int port = m_server->port();
        QVERIFY(m_owner->connectTo(port));
        m_server->setThumbnailLatency(50);
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        for (qint64 id : ids)
            ask(t, id);
        QTRY_VERIFY_WITH_TIMEOUT(done.count() >= 3, 10000);
        m_server->stopListener(0);
        const int calls = m_owner->onlineCalls.load();
        QTest::qWait(2000);
        for (const auto& args : done)
            QCOMPARE(args.at(1).toInt(), 100310);
        QVERIFY(done.count() < 40);
        // Looked for now and then, not once per waiting request.
        QVERIFY2(m_owner->onlineCalls.load() - calls < 20,
                 qPrintable(QString::number(m_owner->onlineCalls.load() - calls)));

        QVERIFY(m_server->start(port));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 40, 30000);
        for (const auto& args : done)
            QCOMPARE(args.at(1).toInt(), 100310);
        for (qint64 id : ids)
            QVERIFY(ask(t, id).isLocalFile());
        QCOMPARE(t.pendingCount(), 0);
    }

    void offlineRequestsWaitWithoutSpinning()
    {
        const QList<qint64> ids = addPictures(3, "o", 200, 200);
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_owner->allowOnline = false;   // refuses like a tab that lost its device
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        for (qint64 id : ids)
            ask(t, id);
        QTest::qWait(1000);
        QCOMPARE(done.count(), 0);
        // Each try takes a request out for a moment and puts it back.
        QTRY_COMPARE(t.pendingCount(), 3);
        QTRY_COMPARE(t.runningCount(), 0);
        QVERIFY2(m_owner->onlineCalls.load() < 60, qPrintable(QString::number(m_owner->onlineCalls.load())));

        m_owner->allowOnline = true;
        t.resume();
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 3, 20000);
    }

    void pauseFromTheServiceThreadDoesNotBlock()
    {
        const qint64 id = addPicture(*m_server, "s.jpg");
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_owner->allowOnline = false;
        TidewellThumb t;
        m_owner->service = &t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        ask(t, id);
        QTRY_VERIFY_WITH_TIMEOUT(m_owner->pauses.load() > 0, 10000);
        QTRY_VERIFY(t.isStopped());
        QTRY_COMPARE(t.pendingCount(), 1);   // back in its queue
        QCOMPARE(t.runningCount(), 0);
        m_owner->allowOnline = true;
        t.resume();
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        m_owner->service = nullptr;
    }

    void pauseReturnsOnceTasksAreReleased()
    {
        const QList<qint64> ids = addPictures(8, "w", 200, 150);
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_server->setThumbnailLatency(3000);
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        for (qint64 id : ids)
            ask(t, id);
        QTRY_COMPARE_WITH_TIMEOUT(t.runningCount(), 5, 10000);
        t.pause();
        QCOMPARE(t.runningCount(), 0);
        QCOMPARE(t.pendingCount(), 3);
        const qint64 started = t.execCount();
        m_server->setThumbnailLatency(0);
        QTest::qWait(500);
        QCOMPARE(t.execCount(), started);
        QCOMPARE(done.count(), 0);   // released tasks answer nothing

        t.resume();
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 3, 20000);
        // The released ones come back when a view asks again.
        for (qint64 id : ids)
            ask(t, id);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 8, 20000);
    }

    // The slot is given back before the file is looked into and renamed;
    // the answer still comes only once the whole picture is in place, and
    // a request meanwhile is answered by it rather than fetched again.
    void answerComesOnceThePictureIsInPlace()
    {
        const QList<qint64> ids = addPictures(12, "w", 320, 240);
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_server->clearRequests();
        TidewellThumb t;
        t.init(m_owner.get(), newCacheRoot());
        t.resume();
        int answered = 0;
        QStringList faults;
        connect(&t, &TidewellThumb::sFinished, this, [&](ThumbInfo info, int code, QString) {
            ++answered;
            const QString path = info.cacheFilePath(t.cacheRoot());
            QImage img;
            if (code != 100310 || !img.load(path) || QFile::exists(path + "_tmp"))
                faults << QString::number(info.fileId);
            ask(t, info.fileId);   // cached by now: answered at once, nothing queued
        });
        for (qint64 id : ids) {
            ask(t, id);
            QTimer::singleShot(5, this, [&t, this, id] { ask(t, id); });
        }
        QTRY_COMPARE_WITH_TIMEOUT(answered, 12, 20000);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(",")));
        QTest::qWait(100);
        QCOMPARE(answered, 12);
        QCOMPARE(t.pendingCount(), 0);
        for (const auto& kv : downloadsById())
            QCOMPARE(kv.second, 1);
    }

    void finishedThumbnailReplacesOlderFile()
    {
        const qint64 id = addPicture(*m_server, "r.jpg");
        QVERIFY(m_owner->connectTo(m_server->port()));
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        t.reinit(true, QString());   // downloads even over a cached file
        t.pause();
        ask(t, id);
        ThumbInfo info(Common::MT_Image, m_owner->deviceId());
        info.setSmall(id, "acc1", QString(), 0);
        const QString path = info.cacheFilePath(t.cacheRoot());
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older thumbnail");
        old.close();
        t.resume();
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(done.at(0).at(1).toInt(), 100310);
        QCOMPARE(fileBytes(path), QByteArray::fromStdString(m_server->thumbnailBytes("r.jpg", 1)));
        QVERIFY(!QFile::exists(path + "_tmp"));
    }

    // The picture is replaced on the device under the same id: asked with
    // its new MD5, the new thumbnail is fetched, small and medium; a
    // thumbnail cached under the name without an MD5 goes once replaced.
    void aChangedPictureGetsTheNewThumbnail()
    {
        const qint64 id = addPicture(*m_server, "c/pic.jpg", 400, 300, 1);
        const QByteArray oldSmall = thumbOf("c/pic.jpg");
        QVERIFY(m_owner->connectTo(m_server->port()));
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        t.resume();
        QFile legacy(smallPath(t, id));
        QVERIFY(legacy.open(QIODevice::WriteOnly));
        legacy.write(pictureBytes(160, 120, 7));
        legacy.close();
        ask(t, id, "md5-a");
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(ask(t, id, "md5-a"), QUrl::fromLocalFile(smallPath(t, id, "md5-a")));
        QCOMPARE(fileBytes(smallPath(t, id, "md5-a")), oldSmall);
        QVERIFY(!QFile::exists(smallPath(t, id)));

        QCOMPARE(addPicture(*m_server, "c/pic.jpg", 640, 480, 2), id);
        const QByteArray newSmall = thumbOf("c/pic.jpg");
        QVERIFY(newSmall != oldSmall);
        QCOMPARE(ask(t, id, "md5-b"), getFileTypeIcon(Common::MT_Image));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
        QCOMPARE(done.at(1).at(1).toInt(), 100310);
        QCOMPARE(ask(t, id, "md5-b"), QUrl::fromLocalFile(smallPath(t, id, "md5-b")));
        QCOMPARE(fileBytes(smallPath(t, id, "md5-b")), newSmall);

        TwFileInfo item;
        item.id = id;
        item.name = "pic.jpg";
        item.ower = "acc1";
        item.fileMd5 = "md5-b";
        QCOMPARE(t.medium(NetworkShare(), Common::MT_Image, item), QUrl());
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 3, 20000);
        const QUrl medium = t.medium(NetworkShare(), Common::MT_Image, item);
        QCOMPARE(fileBytes(medium.toLocalFile()), QByteArray::fromStdString(m_server->thumbnailBytes("c/pic.jpg", 3)));
        item.fileMd5 = "md5-c";
        QCOMPARE(t.medium(NetworkShare(), Common::MT_Image, item), QUrl());
    }

    void destroyedWhileDownloading()
    {
        const QList<qint64> ids = addPictures(4, "d", 200, 150);
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_server->stallAfter(100, 4);
        {
            TidewellThumb t;
            t.init(m_owner.get(), newCacheRoot());
            for (qint64 id : ids)
                ask(t, id);
            QTRY_COMPARE_WITH_TIMEOUT(t.runningCount(), 4, 10000);
            QTRY_COMPARE_WITH_TIMEOUT(int(downloadsById().size()), 4, 10000);
        }   // every task given back; no callback reaches a freed task
        m_server->clearFaults();
        QTest::qWait(200);
    }

    // A device that takes the request and then sends nothing: each stalled
    // attempt ends after the stall time, drops its part and counts as one
    // of the three; the request is answered as failed after the third.
    void stalledDownloadIsEndedAnsweredAndTriedAgain()
    {
        const qint64 id = addPicture(*m_server, "s.jpg", 400, 300, 2);
        m_owner->setStallTimeout(1);
        QVERIFY(m_owner->connectTo(m_server->port()));
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), newCacheRoot());
        m_server->stallAfter(0, 3);
        ask(t, id);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 15000);
        QVERIFY(done.at(0).at(1).toInt() != 100310);
        QVERIFY2(done.at(0).at(2).toString().contains("stalled"), qPrintable(done.at(0).at(2).toString()));
        QCOMPARE(downloadsById()[id], 3);
        QCOMPARE(t.runningCount(), 0);
        const QString small = QFileInfo(smallPath(t, id)).path();
        QCOMPARE(QDir(small).entryList(QDir::Files), QStringList());
        m_server->clearFaults();
        ask(t, id);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 15000);
        QCOMPARE(done.at(1).at(1).toInt(), 100310);
    }

    void tabEndsAStalledTaskAndFetchesItAgain()
    {
        const qint64 id = addPicture(*m_server, "big.jpg", 1600, 1200, 3);
        const std::string thumb = m_server->thumbnailBytes("big.jpg", 1);
        QVERIFY(thumb.size() > 400);
        const int part = int(thumb.size() / 2);
        TidewellSdk root;
        TidewellTab tab(&root);
        sdk::cores::model::channel_option option;
        option.stall_timeout_s = 2;
        tab.setChannelOption(option);
        tab.initObjects();
        TidewellThumb* t = tab.thumbService();
        QVERIFY(t);
        QCOMPARE(tab.twThumb(), static_cast<QObject*>(t));
        QCOMPARE(tab.thumb(), static_cast<ThumbI*>(t));
        QueuedSpy done(t, &TidewellThumb::sFinished);
        DeviceInfo d;
        d.deviceId = "dev1";
        d.accessId = "acc1";
        d.lanHost = "127.0.0.1";
        d.lanPort = m_server->port();
        QVERIFY(tab.connect_to(d));
        QTRY_COMPARE_WITH_TIMEOUT(tab.linkState(), 2, 10000);
        QTRY_COMPARE(t->maxCount(), 20);   // resumed on the local network

        m_server->stallAfter(part, 1);
        m_server->clearRequests();
        t->small(NetworkShare(), Common::MT_Image, id, "acc1", "md5-big", 0);
        // Ended after the stall, its part dropped, fetched again whole.
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 15000);
        QCOMPARE(done.at(0).at(1).toInt(), 100310);
        const auto reqs = m_server->requestsFor("/device/download");
        QCOMPARE(int(reqs.size()), 2);
        QCOMPARE(reqs.back().range, std::string());
        ThumbInfo info(Common::MT_Image, "dev1");
        info.setSmall(id, "acc1", "md5-big", 0);
        const QString path = info.cacheFilePath(t->cacheRoot());
        QCOMPARE(fileBytes(path), QByteArray::fromStdString(thumb));
        QVERIFY(!QFileInfo::exists(path + "_tmp"));
        m_server->clearFaults();

        // A closed tab stops its service: queued requests are dropped.
        t->pause();
        t->small(NetworkShare(), Common::MT_Image, id + 100000, "acc1", QString(), 0);
        QCOMPARE(t->pendingCount(), 1);
        tab.close();
        QCOMPARE(t->pendingCount(), 0);
    }

    void rootServiceStopsOnSignOut()
    {
        TidewellSdk root;
        TidewellThumb* t = root.thumbService();
        QVERIFY(t);
        QCOMPARE(root.thumb(), static_cast<ThumbI*>(t));
        QCOMPARE(QDir(t->cacheRoot()).dirName(), QString("thumbs"));
        t->pause();
        t->small(NetworkShare(), Common::MT_Image, 5, "acc1", QString(), 0);
        QCOMPARE(t->pendingCount(), 1);
        root.release();
        QCOMPARE(t->pendingCount(), 0);
        QVERIFY(t->isStopped());
    }
};

TW_TEST_MAIN(TestTidewellThumb)
#include "tst_tidewellthumb.moc"
