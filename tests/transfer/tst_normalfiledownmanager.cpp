// The small-file downloader against pictures served by a test device over
// plain HTTP: what is fetched, what is kept, and in which order answers come.
#include <atomic>
#include <thread>

#include <QBuffer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>

#include "app/tidewellsdk.h"
#include "core/utils.h"
#include "sdk/task_interface.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"
#include "transfer/normalfiledownmanager.h"

static const int kWait = 20000;

// Results as a user of the manager sees them, on the test's thread.
class NetRecorder : public QObject
{
public:
    struct Finish { QString url, savePath; QImage img; };
    struct Error { QString url; int code; QString msg; };
    QList<Finish> finishes;
    QList<Error> errors;

    explicit NetRecorder(NormalFileDownManager* m)
    {
        connect(m, &NormalFileDownManager::rDownFinish, this,
                [this](QString url, QString path, QImage img) { finishes.append({url, path, img}); });
        connect(m, &NormalFileDownManager::rDownError, this,
                [this](QString url, int code, QString msg) { errors.append({url, code, msg}); });
    }
    int results() const { return finishes.size() + errors.size(); }
};

// An owner without a library session: every download is refused.
class NoSessionOwner : public TestOwner
{
public:
    sdk::plugins::tidewell_network_sdk* networkSdk() override { return nullptr; }
};

class TestNormalFileDownManager : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::unique_ptr<TestDeviceServer> m_server;
    int m_case = 0;

    static QByteArray png(int w, int h)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        return bytes;
    }
    // A URL no other case uses (the picture folder is shared by all cases).
    QString url(const QString& name) const
    {
        return QString("http://127.0.0.1:%1/static/c%2/%3").arg(m_server->port()).arg(m_case).arg(name);
    }
    std::string rel(const QString& name) const
    {
        return QString("c%1/%2").arg(m_case).arg(name).toStdString();
    }
    int fetches() const { return int(m_server->requestsFor("/static").size()); }
    static void keep(const NormalFileDownManager& m, const QString& u, const QByteArray& bytes)
    {
        QFile f(m.imageDir() + "/" + NormalFileDownManager::fileNameOf(u));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void init()
    {
        ++m_case;
        m_server.reset(new TestDeviceServer((m_dir.path() + "/storage").toStdString()));
        QVERIFY(m_server->start());
    }
    void cleanup() { m_server.reset(); }

    void fetchedOnceThenServedFromTheFolder()
    {
        TestOwner owner;
        NormalFileDownManager m;
        QVERIFY(!m.init(nullptr));
        QVERIFY(m.init(&owner));
        NetRecorder rec(&m);
        m_server->addFile(rel("a.png"), png(7, 5).toStdString());
        const QString u = url("a.png");
        QVERIFY(m.addDownUrl(u));
        QVERIFY(m.addDownUrl(u));
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishes.size(), 2, kWait);
        QCOMPARE(fetches(), 1);
        const QString kept = m.imageDir() + "/" + md5String(u) + ".jpg";
        for (const auto& f : rec.finishes) {
            QCOMPARE(f.url, u);
            QCOMPARE(f.savePath, kept);
            QCOMPARE(f.img.size(), QSize(7, 5));   // a PNG under a ".jpg" name
        }
        QVERIFY(rec.errors.isEmpty());
        // Partial pictures live apart from the download queues' files.
        QVERIFY(m.tempDir().startsWith(getTmpPath() + "/"));
        QVERIFY(QDir(m.tempDir()).entryList(QDir::Files).isEmpty());
    }

    void cachedUrlsAnsweredInOrderWithoutRequest()
    {
        TestOwner owner;
        NormalFileDownManager m;
        QVERIFY(m.init(&owner));
        NetRecorder rec(&m);
        const QByteArray bytes = png(2, 2);
        QStringList urls;
        for (int i = 0; i < 3000; ++i) {
            urls << url(QString("p%1.png").arg(i));
            keep(m, urls.last(), bytes);
        }
        for (const QString& u : urls)
            QVERIFY(m.addDownUrl(u));
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishes.size(), urls.size(), kWait);
        for (int i = 0; i < urls.size(); ++i) {
            QCOMPARE(rec.finishes.at(i).url, urls.at(i));
            QVERIFY(!rec.finishes.at(i).img.isNull());
        }
        QCOMPARE(fetches(), 0);
    }

    void urlAddedWhileTheWorkerEndsIsAnswered()
    {
        TestOwner owner;
        NormalFileDownManager m;
        QVERIFY(m.init(&owner));
        const int n = 2000;
        const QByteArray bytes = png(1, 1);
        QStringList urls;
        for (int i = 0; i < n; ++i) {
            urls << url(QString("q%1.png").arg(i));
            keep(m, urls.last(), bytes);
        }
        // Counted as the answer leaves the manager; the next URL is added
        // from another thread at once, while the worker is on its way to
        // finding the queue empty.
        std::atomic<int> answered{0};
        connect(&m, &NormalFileDownManager::rDownFinish, &m, [&] { ++answered; },
                Qt::DirectConnection);
        std::atomic<int> added{0};
        std::thread adder([&] {
            QElapsedTimer t;
            t.start();
            for (int i = 0; i < n && t.elapsed() < kWait; ++i) {
                m.addDownUrl(urls.at(i));
                ++added;
                while (answered.load() <= i && t.elapsed() < kWait)
                    std::this_thread::yield();
            }
        });
        adder.join();
        QCOMPARE(added.load(), n);
        QCOMPARE(answered.load(), n);
    }

    void acceptedAndRefusedUrls()
    {
        TestOwner owner;
        NormalFileDownManager m;
        QVERIFY(m.init(&owner));
        NetRecorder rec(&m);
        QVERIFY(!m.addDownUrl(""));
        QVERIFY(!m.addDownUrl("ftp://127.0.0.1/a.png"));
        QVERIFY(!m.addDownUrl("HTTP://127.0.0.1/a.png"));
        // "http" anywhere will do; the library then fails on it.
        const QString odd = QString("xhttp://127.0.0.1:%1/a.png").arg(m_server->port());
        QVERIFY(m.addDownUrl(odd));
        const QString missing = url("missing.png");
        QVERIFY(m.addDownUrl(missing));
        QTRY_COMPARE_WITH_TIMEOUT(rec.errors.size(), 2, kWait);
        QCOMPARE(rec.errors.at(0).url, odd);
        QCOMPARE(rec.errors.at(1).url, missing);
        QCOMPARE(rec.errors.at(1).code, int(sdk::cores::tidewell::status_download_failed));
        QVERIFY(rec.finishes.isEmpty());
        QVERIFY(!QFile::exists(m.imageDir() + "/" + NormalFileDownManager::fileNameOf(missing)));
    }

    void bodyThatIsNoPictureIsNotKept()
    {
        TestOwner owner;
        NormalFileDownManager m;
        QVERIFY(m.init(&owner));
        NetRecorder rec(&m);
        m_server->addFile(rel("page.png"), "<html>sign in first</html>");
        const QString u = url("page.png");
        const QString kept = m.imageDir() + "/" + NormalFileDownManager::fileNameOf(u);
        QVERIFY(m.addDownUrl(u));
        QTRY_COMPARE_WITH_TIMEOUT(rec.errors.size(), 1, kWait);
        QCOMPARE(rec.errors.at(0).url, u);
        QCOMPARE(rec.errors.at(0).msg, QString("Not a picture"));
        QVERIFY(!QFile::exists(kept));
        QVERIFY(!QFile::exists(m.tempDir() + "/" + NormalFileDownManager::fileNameOf(u)));

        // Once the picture is there it is fetched and kept.
        m_server->addFile(rel("page.png"), png(3, 4).toStdString());
        QVERIFY(m.addDownUrl(u));
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishes.size(), 1, kWait);
        QCOMPARE(rec.finishes.at(0).img.size(), QSize(3, 4));
        QCOMPARE(rec.finishes.at(0).savePath, kept);
        QCOMPARE(fetches(), 2);
    }

    void keptPictureThatNoLongerDecodesIsFetchedAgain()
    {
        TestOwner owner;
        NormalFileDownManager m;
        QVERIFY(m.init(&owner));
        NetRecorder rec(&m);
        m_server->addFile(rel("b.png"), png(6, 6).toStdString());
        const QString u = url("b.png");
        keep(m, u, "truncated");
        QVERIFY(m.addDownUrl(u));
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishes.size(), 1, kWait);
        QCOMPARE(rec.finishes.at(0).img.size(), QSize(6, 6));
        QCOMPARE(fetches(), 1);
        QVERIFY(!QImage(rec.finishes.at(0).savePath).isNull());
    }

    void refusedStartGivesNoSignal()
    {
        NoSessionOwner owner;
        NormalFileDownManager m;
        QVERIFY(m.init(&owner));
        NetRecorder rec(&m);
        const QString cached = url("cached.png");
        keep(m, cached, png(1, 2));
        QVERIFY(m.addDownUrl(url("never.png")));
        QVERIFY(m.addDownUrl(cached));
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishes.size(), 1, kWait);
        QCOMPARE(rec.finishes.at(0).url, cached);
        QTest::qWait(200);
        QCOMPARE(rec.results(), 1);
    }

    void rootExposesOneDownloader()
    {
        TidewellSdk sdk;
        QQmlEngine engine;
        sdk.exposeTo(engine.rootContext());
        NormalFileDownManager* m = sdk.netDownManager();
        QVERIFY(m);
        QCOMPARE(engine.rootContext()->contextProperty("twNetDown").value<QObject*>(),
                 static_cast<QObject*>(m));
        // The root's session fetches plain URLs too.
        NetRecorder rec(m);
        m_server->addFile(rel("r.png"), png(4, 4).toStdString());
        QVERIFY(m->addDownUrl(url("r.png")));
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishes.size(), 1, kWait);
    }
};

TW_TEST_MAIN(TestNormalFileDownManager)
#include "tst_normalfiledownmanager.moc"
