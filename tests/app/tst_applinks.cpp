// What the application object does with external links by itself, without
// a device tab: its download queue goes on after the program was killed, a
// link folder whose listing was put off is listed again, and a document of
// a link opens through the link's own session.
#include <chrono>
#include <csignal>
#include <thread>

#include <QAbstractItemModelTester>
#include <QDesktopServices>
#include <QDirIterator>
#include <QGuiApplication>
#include <QProcess>

#include "app/tidewellsdk.h"
#include "core/dbhelp.h"
#include "core/twhandle.h"
#include "core/utils.h"
#include "core/extlink.h"
#include "device/tidewellextlink.h"
#include "sharing/extlinkfilelistmodel.h"
#include "tests/queuedspy.h"
#include "tests/serverrig.h"
#include "tests/testenv.h"
#include "transfer/filedownmodel.h"
#include "transfer/lvdownloadmanager.h"
#include "transfer/singlefiledownmanager.h"

namespace {
const int kWait = 15000;
const char* kAccount = "acc-links";

// A root object as the program makes it, its link sessions routed to the
// test device on port.
void prepareRoot(TidewellSdk& root, int port, const QString& downDir)
{
    root.config()->setValue("LarkVault", "SavePath", downDir);
    root.setExtlinkWaitMs(5000);
    root.setExtlinkResolver([port](const NetworkShare& s, sdk::cores::model::device_addr& a) {
        a.lan_host = "127.0.0.1";
        a.lan_port = port;
        a.device_id = "dev-" + s.shareId.toStdString();
        return true;
    });
    UserInfo u;
    u.accessId = kAccount;
    root.setUserInfo(u);
}

// The killed program: queues one file of a link ("id|name|size" in
// TW_LINK_ITEM) and downloads until it is killed.
int childMain(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    twTestSetup();
    TidewellSdk root;
    prepareRoot(root, qEnvironmentVariable("TW_LINK_PORT").toInt(), qEnvironmentVariable("TW_LINK_DIR"));
    const QString item = qEnvironmentVariable("TW_LINK_ITEM");
    TwFileInfo f;
    f.id = item.section('|', 0, 0).toLongLong();
    f.name = item.section('|', 1, 1);
    f.fileLen = item.section('|', 2, 2).toLongLong();
    f.isFile = true;
    const NetworkShare share(1, qEnvironmentVariable("TW_LINK_SHARE"), QString());
    if (!root.twExtlink()->addDownFiles(1, share, root.downloadPath(), {f}, 7))
        return 3;
    return app.exec();
}

qint64 largestFileIn(const QString& dir)
{
    qint64 n = 0;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        n = qMax(n, QFileInfo(it.next()).size());
    return n;
}

qint64 rangeStart(const TestDeviceServer::Request& r)
{
    const QString range = QString::fromStdString(r.range);
    return range.startsWith("bytes=") ? range.mid(6).section('-', 0, 0).toLongLong() : 0;
}

// Stands in for the desktop's application of a document.
class Opener : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
    Opener() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~Opener() override { QDesktopServices::unsetUrlHandler("file"); }
public slots:
    void open(const QUrl& url) { opened << url; }
};

struct LinkRig : ServerRig
{
    QString base;
    QString downDir;

    explicit LinkRig(const QString& name)
    {
        base = TestEnv::instance()->root() + "/" + name;
        downDir = base + "/Downloads";
        QDir().mkpath(downDir);
        server.reset(new TestDeviceServer((base + "/storage").toStdString()));
    }
    int queued(TidewellSdk& root)
    {
        DBHelp db;
        int n = -1;
        db.getDownFileTotalNum(root.currentDevice(), n);
        return n;
    }
};
} // namespace

class TestAppLinks : public QObject
{
    Q_OBJECT
private slots:
    void linkDownloadResumesAfterAKill()
    {
        LinkRig rig("kill");
        QVERIFY(rig.server->start());
        const qint64 size = 2 * 1024 * 1024;
        const qint64 id = rig.server->addGeneratedFile("pub/K1/big.bin", size, true, 31);
        rig.server->addShareLink("K1", "", "Kill me", "pub/K1");
        rig.server->throttle(256 * 1024);

        // The temporary files of the root's queue.
        DeviceInfo dev;
        {
            TidewellSdk probe;
            UserInfo u;
            u.accessId = kAccount;
            probe.setUserInfo(u);
            dev = probe.currentDevice();
        }
        const QString tmpDir = getTmpPath() + "/" + md5String(dev.accessId + "|" + dev.deviceId);

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TW_LINK_CHILD", "1");
        env.insert("TW_LINK_PORT", QString::number(rig.server->port()));
        env.insert("TW_LINK_DIR", rig.downDir);
        env.insert("TW_LINK_SHARE", "K1");
        env.insert("TW_LINK_ITEM", QString("%1|big.bin|%2").arg(id).arg(size));
        child.setProcessEnvironment(env);
        const QString log = rig.base + "/child.log";
        child.setStandardOutputFile(log);
        child.setStandardErrorFile(log, QIODevice::Append);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForStarted(10000));
        QElapsedTimer clock;
        clock.start();
        while (largestFileIn(tmpDir) < 128 * 1024 && clock.elapsed() < kWait
               && child.state() == QProcess::Running)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished(10000);
        const qint64 partial = largestFileIn(tmpDir);
        qDebug() << "killed after" << clock.elapsed() << "ms with" << partial << "bytes";
        QVERIFY2(partial >= 128 * 1024 && partial < size, qPrintable(QString::number(partial)));
        QVERIFY(!QFileInfo::exists(rig.downDir + "/big.bin"));

        // The next start: nobody presses a button.
        rig.server->throttle(0);
        rig.server->clearRequests();
        TidewellSdk root;
        QueuedSpy toasts(&root, &TidewellSdk::sg_notifyStatus);
        root.initObjects();
        prepareRoot(root, rig.server->port(), rig.downDir);
        QCOMPARE(rig.queued(root), 1);
        // (QTRY doubles its wait before failing: these stay below the watchdog.)
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued(root) == 0, 15000);
        QVERIFY(ServerRig::bytesOf(rig.downDir + "/big.bin") == rig.serverBytes("pub/K1/big.bin"));
        const auto asked = rig.server->requestsFor("/device/download");
        QVERIFY(!asked.empty());
        QCOMPARE(rangeStart(asked.front()), partial);
        QVERIFY(QString::fromStdString(asked.front().query).contains("shareId=K1"));
        QTRY_VERIFY_WITH_TIMEOUT(!root.downloadManager()->isRun(), kWait);
        // Said just before the queue stops: it may come after the stop is seen.
        QTRY_VERIFY_WITH_TIMEOUT(!toasts.isEmpty(), kWait);
        QCOMPARE(toasts.last().at(1).toString(), QString("File download success"));
    }

    // The device answers a folder listing as if it were away: the queue
    // lists it again later instead of stopping for good.
    void deferredLinkFolderListingResumes()
    {
        LinkRig rig("defer");
        QVERIFY(rig.server->start());
        rig.server->addFile("pub/K2/Top/a.txt", "alpha");
        rig.server->addFile("pub/K2/Top/Sub/b.txt", "bravo");
        rig.server->addFile("pub/K2/Top/Sub/Deep/c.txt", "charlie");
        rig.server->addShareLink("K2", "", "Deferred", "pub/K2");
        TidewellSdk root;
        root.initObjects();
        prepareRoot(root, rig.server->port(), rig.downDir);
        QVERIFY(!root.isOnline());
        rig.server->failWithStatus(503, 2, "getLinkDirPath");
        TwFileInfo top = rig.item("pub/K2/Top", false);
        QVERIFY(root.twExtlink()->addDownFiles(twNewHandle(), NetworkShare(1, "K2", ""), rig.downDir,
                                               {top}, 7));
        QTRY_COMPARE_WITH_TIMEOUT(ServerRig::bytesOf(rig.downDir + "/Top/Sub/Deep/c.txt"),
                                  QByteArray("charlie"), kWait);
        QCOMPARE(ServerRig::bytesOf(rig.downDir + "/Top/a.txt"), QByteArray("alpha"));
        QCOMPARE(ServerRig::bytesOf(rig.downDir + "/Top/Sub/b.txt"), QByteArray("bravo"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.queued(root), 0, kWait);
        // The link's session is the root's library object now.
        QVERIFY(root.isOnline());
        QVERIFY(root.linkOnline(NetworkShare(1, "K2", "")));
        QVERIFY(!root.linkOnline(NetworkShare(1, "never-opened", "")));
    }

    // The device stops answering its pings: the link's session, opened by
    // the listing of a folder, gives up on it. The queue keeps trying the
    // walk (each try pings again; a queue that stopped pings twice), and
    // once the device is back it lists the folder and downloads it.
    void walkResumesOnceAGivenUpLinkSessionIsBack()
    {
        LinkRig rig("away");
        QVERIFY(rig.server->start());
        rig.server->addFile("pub/K4/Top/a.txt", "alpha");
        rig.server->addFile("pub/K4/Top/Sub/b.txt", "bravo");
        rig.server->addShareLink("K4", "", "Away", "pub/K4");
        rig.server->failWithStatus(503, -1, "ping");
        TidewellSdk root;
        root.initObjects();
        prepareRoot(root, rig.server->port(), rig.downDir);
        root.setExtlinkWaitMs(500);
        auto pings = [&] {
            int n = 0;
            for (const auto& r : rig.server->requests())
                n += r.command == "ping";
            return n;
        };
        const TwFileInfo top = rig.item("pub/K4/Top", false);
        QVERIFY(root.twExtlink()->addDownFiles(twNewHandle(), NetworkShare(1, "K4", ""), rig.downDir,
                                               {top}, 7));
        QTRY_VERIFY_WITH_TIMEOUT(pings() >= 5, 15000);
        QVERIFY(root.downloadManager()->isRun());
        QVERIFY(!QFileInfo::exists(rig.downDir + "/Top"));

        rig.server->clearFaults();
        QTRY_COMPARE_WITH_TIMEOUT(ServerRig::bytesOf(rig.downDir + "/Top/Sub/b.txt"), QByteArray("bravo"),
                                  40000);
        QCOMPARE(ServerRig::bytesOf(rig.downDir + "/Top/a.txt"), QByteArray("alpha"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.queued(root), 0, kWait);
    }

    // Without a device tab: a document of a received link is fetched by its
    // path through the link's session and opened; a picture is not.
    void rootPreviewOpensLinkDocuments()
    {
        LinkRig rig("preview");
        QVERIFY(rig.server->start());
        rig.server->addGeneratedFile("pub/K3/Papers/report.pdf", 300 * 1024, true, 7);
        rig.server->addGeneratedFile("pub/K3/Papers/photo.jpg", 1000, true, 8);
        rig.server->addShareLink("K3", "", "Papers", "pub/K3");
        TidewellSdk root;
        root.initObjects();
        prepareRoot(root, rig.server->port(), rig.downDir);
        Opener opener;
        FileDownModel m;
        m.setTw(&root);
        m.setDown(root.singleDownManager());
        QSignalSpy finished(&m, &FileDownModel::sDownFinish);
        QSignalSpy failed(&m, &FileDownModel::sDownFail);

        // The item as the link's file list hands it out when it is opened.
        ExtlinkFileListModel files;
        Extlink link;
        link.shareId = "K3";
        link.title = "Papers";
        files.setExtlinkInfo(link.toVariantMap());
        files.setTw(root.twExtlink());
        QAbstractItemModelTester tester(&files);
        files.fetchMore(QModelIndex());
        QSignalSpy opened(&files, &ExtlinkFileListModel::openFolder);
        QTRY_COMPARE_WITH_TIMEOUT(files.rowCount(), 1, kWait);
        files.openFileItem(0);
        QCOMPARE(opened.count(), 1);
        QVariantMap papers = opened.takeFirst().at(0).toMap();
        ExtlinkFileListModel inFolder;
        inFolder.setExtlinkInfo(link.toVariantMap());
        inFolder.setMy(papers);
        inFolder.setTw(root.twExtlink());
        inFolder.fetchMore(QModelIndex());
        QSignalSpy openedFile(&inFolder, &ExtlinkFileListModel::openFolder);
        QTRY_COMPARE_WITH_TIMEOUT(inFolder.rowCount(), 2, kWait);
        const int row = inFolder.get(0).value("name") == "report.pdf" ? 0 : 1;
        inFolder.openFileItem(row);
        const QVariantMap doc = openedFile.takeFirst().at(0).toMap();
        QCOMPARE(doc.value("shareId").toString(), QString("K3"));
        QVERIFY(!doc.value("filePath").toString().isEmpty());
        m.start(doc);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() + failed.count() > 0, kWait);
        QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(0).toString()));
        QCOMPARE(finished.count(), 1);
        const QString saved = rig.downDir + "/report.pdf";
        QCOMPARE(ServerRig::bytesOf(saved), rig.serverBytes("pub/K3/Papers/report.pdf"));
        QCOMPARE(opener.opened, QList<QUrl>{QUrl::fromLocalFile(saved)});
        const auto asked = rig.server->requestsFor("/device/download");
        QCOMPARE(int(asked.size()), 1);
        QVERIFY2(QString::fromStdString(asked.front().query).contains("path="),
                 asked.front().query.c_str());

        QVariantMap pic = rig.item("pub/K3/Papers/photo.jpg").toVariantMap();
        pic["shareId"] = "K3";
        m.start(pic);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.first().at(0).toString(), QString("Only documents are opened here"));
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()), 1);
        QVERIFY(FileDownModel::isDocument("Book.EPUB"));
        QVERIFY(FileDownModel::isDocument("sheet.xlsx"));
        QVERIFY(!FileDownModel::isDocument("clip.mp4"));
    }
};

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsSet("TW_LINK_CHILD"))
        return childMain(argc, argv);
    TestEnv env;
    QGuiApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    twTestSetup();
    TestAppLinks tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_applinks.moc"
