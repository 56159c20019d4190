// Partial thumbnail downloads in the cache: which ones a new download goes
// on from, and that anything else at a temporary path is written over.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrlQuery>
#include <memory>

#include "core/common.h"
#include "tests/testowner.h"
#include "tests/transfer/thumbrig.h"
#include "tools/testdeviceserver.h"
#include "transfer/tidewellthumb.h"

class TestThumbResume : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TestOwner> m_owner;
    int m_caches = 0;

    QString newCacheRoot() { return TestEnv::instance()->root() + "/p" + QString::number(++m_caches); }

    QUrl ask(TidewellThumb& t, qint64 id, const QString& md5)
    {
        return t.small(NetworkShare(), Common::MT_Image, id, "acc1", md5, 0);
    }

    QString smallPath(const QString& cacheRoot, qint64 id, const QString& md5 = QString())
    {
        ThumbInfo info(Common::MT_Image, m_owner->deviceId());
        info.setSmall(id, "acc1", md5, 0);
        return info.cacheFilePath(cacheRoot + "/thumbs");
    }

    QByteArray fileBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QByteArray thumbOf(const std::string& rel) { return QByteArray::fromStdString(m_server->thumbnailBytes(rel, 1)); }

    // The Range header of the last download of id ("" when none was sent).
    QString rangeOf(qint64 id)
    {
        QString range = "never asked";
        for (const auto& r : m_server->requestsFor("/device/download")) {
            if (QUrlQuery(QString::fromStdString(r.query)).queryItemValue("fileId").toLongLong() == id)
                range = QString::fromStdString(r.range);
        }
        return range;
    }

    int downloadsOf(qint64 id)
    {
        int n = 0;
        for (const auto& r : m_server->requestsFor("/device/download"))
            n += QUrlQuery(QString::fromStdString(r.query)).queryItemValue("fileId").toLongLong() == id;
        return n;
    }

    QStringList leftovers(const QString& cacheRoot, qint64 id)
    {
        return QDir(QFileInfo(smallPath(cacheRoot, id)).path()).entryList({"*_tmp*"}, QDir::Files);
    }

private slots:
    void init()
    {
        m_server.reset(new TestDeviceServer((TestEnv::instance()->root() + "/dev").toStdString()));
        QVERIFY(m_server->start());
        m_owner.reset(new TestOwner);
        QVERIFY(m_owner->connectTo(m_server->port()));
    }

    void cleanup()
    {
        m_owner.reset();
        m_server.reset();
    }

    // A partial file that a service left when it ended (a restart of the program)
    // is found by the next service on the same cache and gone on from;
    // afterwards neither the partial file nor its version file stays.
    void partLeftByAnEarlierServiceIsResumed()
    {
        const qint64 id = addPicture(*m_server, "r/big.jpg", 1600, 1200, 3);
        const QByteArray whole = thumbOf("r/big.jpg");
        const int part = 300;
        QVERIFY(whole.size() > 2 * part);
        const QString root = newCacheRoot();
        {
            TidewellThumb first;
            QueuedSpy done(&first, &TidewellThumb::sFinished);
            first.init(m_owner.get(), root);
            m_server->stallAfter(part, 1);
            ask(first, id, "md5-r");
            QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(smallPath(root, id, "md5-r") + "_tmp").size(), qint64(part), 10000);
            first.pause();
            QCOMPARE(done.count(), 0);
        }
        m_server->clearFaults();
        m_server->clearRequests();
        QVERIFY(QFileInfo::exists(smallPath(root, id, "md5-r") + "_tmp.ver"));

        TidewellThumb second;
        QueuedSpy done(&second, &TidewellThumb::sFinished);
        second.init(m_owner.get(), root);
        ask(second, id, "md5-r");
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(done.at(0).at(1).toInt(), 100310);
        QCOMPARE(rangeOf(id), "bytes=" + QString::number(part) + "-");
        QCOMPARE(fileBytes(smallPath(root, id, "md5-r")), whole);
        QCOMPARE(leftovers(root, id), QStringList());
    }

    // Bytes at a temporary path that no download of this service left (put
    // there by another program, or by another service on the same cache
    // after this one looked), even with a version file that fits, are not
    // gone on from: one download from 0 writes over all of them, also when
    // they are longer than the thumbnail, and the cached file is the
    // device's picture and nothing else.
    void unknownBytesAtTheTemporaryPathAreWrittenOver()
    {
        const qint64 first = addPicture(*m_server, "u/first.jpg", 320, 240, 1);
        const qint64 id = addPicture(*m_server, "u/pic.jpg", 320, 240, 2);
        const QByteArray whole = thumbOf("u/pic.jpg");
        const QString root = newCacheRoot();
        TidewellThumb t;
        QueuedSpy done(&t, &TidewellThumb::sFinished);
        t.init(m_owner.get(), root);
        // The service has looked at its cache and fetched one thumbnail.
        ask(t, first, "md5-f");
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);

        QFile stale(smallPath(root, id, "md5-p") + "_tmp");
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray(whole.size() * 3, 'x'));
        stale.close();
        QFile ver(smallPath(root, id, "md5-p") + "_tmp.ver");
        QVERIFY(ver.open(QIODevice::WriteOnly));
        ver.write("md5-p/0/0");
        ver.close();
        m_server->clearRequests();
        ask(t, id, "md5-p");
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
        QCOMPARE(done.at(1).at(1).toInt(), 100310);
        QCOMPARE(downloadsOf(id), 1);
        QCOMPARE(rangeOf(id), QString());
        QCOMPARE(fileBytes(smallPath(root, id, "md5-p")), whole);
        QVERIFY(!QFileInfo::exists(smallPath(root, id, "md5-p") + "_tmp"));

        // Fetched again over the cached file: again whole, from 0.
        t.reinit(true, QString());
        m_server->clearRequests();
        ask(t, id, "md5-p");
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 3, 20000);
        QCOMPARE(done.at(2).at(1).toInt(), 100310);
        QCOMPARE(downloadsOf(id), 1);
        QCOMPARE(rangeOf(id), QString());
        QCOMPARE(fileBytes(smallPath(root, id, "md5-p")), whole);
    }
};

TW_TEST_MAIN(TestThumbResume)
#include "tst_thumbresume.moc"
