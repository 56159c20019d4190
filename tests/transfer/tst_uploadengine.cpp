#include <QFile>
#include <QMutex>
#include <QSet>
#include <QSignalSpy>
#include <QThreadPool>
#include <QTranslator>

#include "app/tidewellsdk.h"
#include "device/tidewelltab.h"
#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/uploadrig.h"

namespace {

// Counts the hasher's runs through its log line.
std::atomic<int> g_hashRuns{0};
QtMessageHandler g_previous = nullptr;

void countingHandler(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
{
    if (msg.startsWith("FileMd5Asyn::run() filePath:"))
        ++g_hashRuns;
    if (g_previous)
        g_previous(type, ctx, msg);
}

const int kLong = 30000;

} // namespace

class TestUploadEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        g_previous = qInstallMessageHandler(countingHandler);
        QThreadPool::globalInstance()->setMaxThreadCount(3);
    }

    void filesArriveIdentical()
    {
        UploadRig rig("dev-files");
        QVERIFY(rig.startLan());
        rig.makeManager();
        QueuedSpy finish(rig.manager.get(), &LVUploadManager::rUploadFinish);
        QueuedSpy added(rig.manager.get(), &LVUploadManager::rAddUpFiles);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        QueuedSpy toast(rig.owner.get(), &TestOwner::sg_notifyStatus);

        const QByteArray one("x");
        const QByteArray big = UploadRig::bytes(5 * 1024 * 1024 + 123, 7);
        const QString p0 = rig.writeFile("zero.bin", QByteArray());
        const QString p1 = rig.writeFile("one.txt", one);
        const QString p2 = rig.writeFile("big.bin", big);
        rig.add({p0, p1, p2});

        QTRY_COMPARE(added.count(), 1);
        QVERIFY(added.first().at(0).toBool());
        QTRY_COMPARE_WITH_TIMEOUT(finish.count(), 3, kLong);
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QVERIFY(!rig.manager->isRun());
        QVERIFY(rig.manager->hasFinishedFile());
        QCOMPARE(rig.manager->totalNum(), 0);
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(toast.first().at(1).toString(), QString("File upload success"));

        QCOMPARE(rig.stored("zero.bin"), QByteArray());
        QCOMPARE(rig.stored("one.txt"), one);
        QVERIFY(rig.stored("big.bin") == big);

        // The digest went with the upload and stays in the finished list.
        QCOMPARE(rig.createsFor("zero.bin").first().value("fileMd5").toString(),
                 QString("d41d8cd98f00b204e9800998ecf8427e"));
        QCOMPARE(rig.createsFor("one.txt").first().value("fileMd5").toString(), UploadRig::md5(one));
        QCOMPARE(rig.createsFor("big.bin").first().value("fileMd5").toString(), UploadRig::md5(big));
        const QList<FinishFileInfo> done = rig.finished();
        QCOMPARE(done.size(), 3);
        for (const FinishFileInfo& f : done) {
            QVERIFY(f.isUp);
            if (f.fileName == "big.bin")
                QCOMPARE(f.fileMd5, UploadRig::md5(big));
        }
        QVERIFY(rig.queued().isEmpty());
    }

    void taskIdAndDigestAreStoredWhileRunning()
    {
        UploadRig rig("dev-taskid");
        QVERIFY(rig.startLan());
        rig.server->throttle(512 * 1024);
        rig.makeManager();
        const QByteArray data = UploadRig::bytes(1024 * 1024, 3);
        const QString p = rig.writeFile("slow.bin", data);
        rig.add({p});
        QTRY_VERIFY_WITH_TIMEOUT(!rig.queued().isEmpty() && !rig.queued().first().taskId.isEmpty(), kLong);
        const UploadFileInfo row = rig.queued().first();
        QCOMPARE(row.fileState, 1);
        QCOMPARE(row.fileMd5, UploadRig::md5(data));
        // The stored id is the one the data goes to.
        QTRY_VERIFY(!rig.server->requestsFor("/device/upload/data").empty());
        const QUrlQuery q(QString::fromStdString(rig.server->requestsFor("/device/upload/data").front().query));
        QCOMPARE(q.queryItemValue("taskId"), row.taskId);
        rig.server->throttle(0);
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QVERIFY(rig.stored("slow.bin") == data);
    }

    void largeFileSkipsHashByDeviceRule_data()
    {
        QTest::addColumn<QString>("appCode");
        QTest::addColumn<bool>("hashed");
        QTest::newRow("new firmware: no hash") << "4054" << false;
        QTest::newRow("old firmware: hashed") << "4053" << true;
    }
    void largeFileSkipsHashByDeviceRule()
    {
        QFETCH(QString, appCode);
        QFETCH(bool, hashed);
        UploadRig rig("dev-hash-" + appCode);
        rig.owner->device.deviceSn = "QX2000";
        rig.owner->device.appCode = appCode;
        QVERIFY(rig.startLan());
        rig.server->throttle(1024 * 1024);
        rig.makeManager();
        const QString p = rig.local.filePath("sparse.bin");
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(600000000));
        f.close();
        const int runsBefore = g_hashRuns;
        rig.add({p});
        QTRY_VERIFY_WITH_TIMEOUT(!rig.createsFor("sparse.bin").isEmpty(), 60000);
        const QString sent = rig.createsFor("sparse.bin").first().value("fileMd5").toString();
        QCOMPARE(!sent.isEmpty(), hashed);
        QCOMPARE(g_hashRuns - runsBefore, hashed ? 1 : 0);
        QCOMPARE(rig.createsFor("sparse.bin").first().value("fileSize").toVariant().toLongLong(),
                 600000000LL);
        QueuedSpy pause(rig.manager.get(), &LVUploadManager::rUploadPause);
        rig.manager->pauseUpFile(rig.queued().first());
        QTRY_VERIFY_WITH_TIMEOUT(pause.count() >= 1, kLong);
        QTRY_COMPARE(rig.queued().first().fileState, 3);
    }

    void parallelOnLanOneOtherwise_data()
    {
        QTest::addColumn<int>("route");   // 2 lan, 3 mapped, 4 remote
        QTest::addColumn<int>("expected");
        QTest::newRow("lan") << 2 << 3;
        QTest::newRow("mapped") << 3 << 1;
        QTest::newRow("remote") << 4 << 1;
    }
    void parallelOnLanOneOtherwise()
    {
        QFETCH(int, route);
        QFETCH(int, expected);
        UploadRig rig(QString("dev-par-%1").arg(route));
        QVERIFY(rig.server->start());
        if (route == 2) {
            QVERIFY(rig.owner->connectTo(rig.server->port()));
        } else if (route == 3) {
            QVERIFY(rig.owner->connectTo(0, 0, rig.server->port()));
        } else {
            QVERIFY(rig.server->startRemote());
            QVERIFY(rig.owner->connectTo(0, rig.server->remotePort()));
        }
        QCOMPARE(rig.owner->linkState(), route);
        rig.server->throttle(600 * 1024);
        rig.makeManager();

        QSet<int> running;
        int maxRunning = 0;
        QObject ctx;
        connect(rig.manager.get(), &LVUploadManager::rUploadStart, &ctx, [&](UploadFileInfo r) {
            running.insert(r.fId);
            maxRunning = qMax(maxRunning, running.size());
        });
        connect(rig.manager.get(), &LVUploadManager::rUploadFinish, &ctx,
                [&](UploadFileInfo r) { running.remove(r.fId); });
        QStringList paths;
        QList<QByteArray> contents;
        for (int i = 0; i < 6; ++i) {
            contents << UploadRig::bytes(120 * 1024, 100 + i);
            paths << rig.writeFile(QString("p%1.bin").arg(i), contents.last());
        }
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add(paths);
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, 60000);
        QCOMPARE(maxRunning, expected);
        for (int i = 0; i < 6; ++i)
            QVERIFY(rig.stored(QString("p%1.bin").arg(i)) == contents.at(i));
        if (route == 4) {
            for (const auto& r : rig.server->requestsFor("/device/upload"))
                QCOMPARE(r.listener, 1);
        }
    }

    // The same limit with a real tab as the owner: its network type for each
    // route decides how many files go at once.
    void tabRouteSetsTheParallelLimit_data()
    {
        QTest::addColumn<bool>("mapped");
        QTest::addColumn<int>("netType");
        QTest::addColumn<int>("expected");
        QTest::newRow("lan") << false << 1 << LVUploadManager::kMaxLanTasks;
        QTest::newRow("mapped") << true << 2 << 1;
    }
    void tabRouteSetsTheParallelLimit()
    {
        QFETCH(bool, mapped);
        QFETCH(int, netType);
        QFETCH(int, expected);
        UploadRig rig(QString("dev-tab-%1").arg(mapped));
        QVERIFY(rig.server->start());
        rig.server->throttle(400 * 1024);
        TidewellSdk root;
        UserInfo u;
        u.accessId = "acc1";
        root.setUserInfo(u);
        TidewellTab tab(&root);
        DeviceInfo d;
        d.deviceId = rig.owner->device.deviceId;
        d.accessId = "acc1";
        d.deviceSn = "QX2TEST";
        (mapped ? d.mapHost : d.lanHost) = "127.0.0.1";
        (mapped ? d.mapPort : d.lanPort) = rig.server->port();
        QVERIFY(tab.connect_to(d));
        QTRY_COMPARE_WITH_TIMEOUT(tab.linkState(), mapped ? 3 : 2, kLong);
        QCOMPARE(tab.netType(), netType);
        LVUploadManager* m = tab.uploadManager();
        QVERIFY(m);

        QSet<int> running;
        int maxRunning = 0;
        QObject ctx;
        connect(m, &LVUploadManager::rUploadStart, &ctx, [&](UploadFileInfo r) {
            running.insert(r.fId);
            maxRunning = qMax(maxRunning, running.size());
        });
        connect(m, &LVUploadManager::rUploadFinish, &ctx, [&](UploadFileInfo r) { running.remove(r.fId); });
        QList<QUrl> urls;
        for (int i = 0; i < 5; ++i)
            urls << QUrl::fromLocalFile(rig.writeFile(QString("t%1.bin").arg(i), UploadRig::bytes(100 * 1024, 200 + i)));
        QVERIFY(m->addUpFiles(TwFolderInfo(), urls, false));
        QTRY_VERIFY_WITH_TIMEOUT(rig.storedExists("t4.bin") && rig.storedExists("t0.bin") && !m->isRun(), 60000);
        QCOMPARE(maxRunning, expected);
        for (int i = 0; i < 5; ++i)
            QVERIFY(rig.stored(QString("t%1.bin").arg(i)) == UploadRig::bytes(100 * 1024, 200 + i));
    }

    void folderTreeIsRecreated()
    {
        UploadRig rig("dev-tree");
        QVERIFY(rig.startLan());
        rig.makeManager();
        const QByteArray a = UploadRig::bytes(1000, 1);
        const QByteArray b = UploadRig::bytes(70000, 2);
        rig.writeFile("photos/a.txt", a);
        rig.writeFile("photos/2020/may/b.jpg", b);
        QDir().mkpath(rig.local.filePath("photos/empty"));
        QDir().mkpath(rig.local.filePath("photos/2020/june"));
        QDir().mkpath(rig.local.filePath("bare"));
        // The device already holds a folder "photos": device storage merges.
        rig.server->addFolder("photos");
        rig.server->addFile("photos/old.txt", "old");
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        QueuedSpy finish(rig.manager.get(), &LVUploadManager::rUploadFinish);
        rig.add({rig.local.filePath("photos"), rig.local.filePath("bare") + "/"});
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QCOMPARE(finish.count(), 2);
        QVERIFY(rig.stored("photos/a.txt") == a);
        QVERIFY(rig.stored("photos/2020/may/b.jpg") == b);
        QVERIFY(QFileInfo(rig.storage.filePath("photos/empty")).isDir());
        QVERIFY(QFileInfo(rig.storage.filePath("photos/2020/june")).isDir());
        QVERIFY(QFileInfo(rig.storage.filePath("bare")).isDir());
        QVERIFY(rig.queued().isEmpty());
        // The file two levels down made its chain in one request.
        bool chain = false;
        for (const QJsonObject& o : rig.commandBodies("createDirs"))
            if (o.value("folderNames").toVariant().toStringList() == QStringList({"2020", "may"}))
                chain = true;
        QVERIFY(chain);
        // A file directly inside the uploaded folder needs no chain.
        for (const QJsonObject& o : rig.commandBodies("createDirs"))
            QVERIFY(!o.value("folderNames").toArray().isEmpty());
    }

    void groupFolderTakesTheProposedName()
    {
        UploadRig rig("dev-group");
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->addFile("groups/7/trip/keep.txt", "keep");
        const QByteArray c = UploadRig::bytes(3000, 9);
        rig.writeFile("trip/day1/c.txt", c);
        TwFolderInfo group;
        group.type = 5;
        group.groupId = 7;
        group.fid = 0;
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({rig.local.filePath("trip")}, group);
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QVERIFY(rig.stored("groups/7/trip(1)/day1/c.txt") == c);
        QCOMPARE(rig.stored("groups/7/trip/keep.txt"), QByteArray("keep"));
        QCOMPARE(rig.commandCount("createPubDir"), 2);
        // The sub-folder and its file each make the chain "day1" below trip(1).
        QVERIFY(rig.commandCount("createPubDirs") >= 1);
        for (const QJsonObject& o : rig.commandBodies("createPubDirs"))
            QCOMPARE(o.value("folderNames").toVariant().toStringList(), QStringList{"day1"});
    }

    void deviceKeepsRefusingTheName_data()
    {
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<int>("requests");
        // The same proposal again ends the rounds; a name that is not one
        // plain folder name is not sent at all.
        QTest::newRow("same name again") << "same" << 4;
        QTest::newRow("escaping name") << "../up" << 2;
    }
    void deviceKeepsRefusingTheName()
    {
        QFETCH(QString, proposed);
        QFETCH(int, requests);
        UploadRig rig("dev-refuse-" + QString::number(requests));
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->setCommandAnswer("createPubDir",
            QString(R"({"result":0,"errCode":2007,"message":"name exists","data":{"backNewName":"%1"}})")
                .arg(proposed).toStdString());
        rig.writeFile("loop/x.txt", "x");
        rig.writeFile("loop/y.txt", "y");
        TwFolderInfo group;
        group.type = 5;
        group.groupId = 3;
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({rig.local.filePath("loop")}, group);
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QCOMPARE(error.count(), 1);
        const UploadFileInfo folder = error.first().at(0).value<UploadFileInfo>();
        QCOMPARE(folder.fileState, 4);
        QCOMPARE(folder.msg, QString("create Folder fail"));
        QCOMPARE(rig.commandCount("createPubDir"), requests);
        QVERIFY(rig.creates().isEmpty());
        QVERIFY(!QFileInfo::exists(rig.storage.filePath("up")));
    }

    void externalTargetGetsStoragePrefix()
    {
        UploadRig rig("dev-ext");
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->addFolder("storage/usb1/photos");
        const QByteArray d = UploadRig::bytes(5000, 4);
        const QByteArray e = UploadRig::bytes(10, 5);
        rig.writeFile("album/2021/d.jpg", d);
        const QString single = rig.writeFile("e.txt", e);
        QDir().mkpath(rig.local.filePath("hollow"));
        TwFolderInfo usb;
        usb.filePath = "usb1/photos";
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({rig.local.filePath("album"), single, rig.local.filePath("hollow")}, usb);
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QVERIFY(rig.stored("storage/usb1/photos/album/2021/d.jpg") == d);
        QVERIFY(rig.stored("storage/usb1/photos/e.txt") == e);
        QVERIFY(QFileInfo(rig.storage.filePath("storage/usb1/photos/hollow")).isDir());
        bool chain = false;
        for (const QJsonObject& o : rig.commandBodies("createExternalDirs")) {
            QCOMPARE(o.value("externalPath").toString(), QString("/storage/usb1/photos"));
            if (o.value("folderNames").toVariant().toStringList() == QStringList({"album", "2021"}))
                chain = true;
        }
        QVERIFY(chain);
        QCOMPARE(rig.createsFor("e.txt").first().value("externalPath").toString(),
                 QString("/storage/usb1/photos"));
        QVERIFY(rig.createsFor("e.txt").first().value("isExternal").toBool());
    }

    // The program stops right after the last file of an external-target
    // folder was stored as finished, before the folder entry was closed. The
    // next run must not make the folder again: the device refuses an existing
    // folder, which would fail a fully uploaded folder.
    void externalFolderIsNotMadeAgainAfterRestart()
    {
        UploadRig rig("dev-extrestart");
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->addFolder("storage/usb1/photos");
        const QByteArray one = UploadRig::bytes(3000, 61);
        const QByteArray two = UploadRig::bytes(5000, 62);
        rig.writeFile("album/a/one.bin", one);
        rig.writeFile("album/b/two.bin", two);
        std::atomic<bool> halted{false};
        // On the manager's thread, inside the finish of the last file: it
        // stops running and its thread ends before it looks at the folder
        // again (a report already queued behind this one finds it stopped).
        LVUploadManager* halting = rig.manager.get();
        connect(rig.manager.get(), &LVUploadManager::rUploadStart, rig.manager.get(),
                [&halted, halting](const UploadFileInfo& f) {
                    if (f.isFolder && f.num == 0 && !halted.exchange(true)) {
                        halting->stopAll();
                        QThread::currentThread()->quit();
                    }
                },
                Qt::DirectConnection);
        TwFolderInfo usb;
        usb.filePath = "usb1/photos";
        rig.add({rig.local.filePath("album")}, usb);
        QTRY_VERIFY_WITH_TIMEOUT(halted, kLong);
        rig.manager.reset();

        QCOMPARE(rig.queued().size(), 1);
        const UploadFileInfo folder = rig.queued().first();
        QVERIFY(folder.isFolder);
        QCOMPARE(rig.db.getUploadSubFileNum(folder.fId), 0);
        QCOMPARE(folder.pExternalPath, QString("/storage/usb1/photos/album"));
        QVERIFY(rig.finished().isEmpty());

        rig.server->clearRequests();
        rig.server->setCommandAnswer("createExternalDirs",
                                     R"({"result":0,"errCode":2007,"message":"folder exists","data":{}})");
        rig.makeManager();
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy finish(rig.manager.get(), &LVUploadManager::rUploadFinish);
        rig.manager->start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty() || !error.isEmpty(), kLong);
        QVERIFY(error.isEmpty());
        QTRY_COMPARE(finish.count(), 1);
        QCOMPARE(rig.commandCount("createExternalDirs"), 0);
        const QList<FinishFileInfo> done = rig.finished();
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.first().fileName, QString("album"));
        QVERIFY(rig.stored("storage/usb1/photos/album/a/one.bin") == one);
        QVERIFY(rig.stored("storage/usb1/photos/album/b/two.bin") == two);
    }

    void externalTargetOnPcDeviceStaysAsGiven()
    {
        UploadRig rig("dev-extpc");
        rig.owner->device.deviceModel = "QXP-9";
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->addFolder("usb1/photos");
        const QString p = rig.writeFile("f.txt", "pc");
        TwFolderInfo usb;
        usb.filePath = "usb1/photos";
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({p}, usb);
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QCOMPARE(rig.stored("usb1/photos/f.txt"), QByteArray("pc"));
        QCOMPARE(rig.createsFor("f.txt").first().value("externalPath").toString(), QString("usb1/photos"));
    }

    void fatalCodesFailAtOnce_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("msg");
        QTest::addColumn<bool>("english");
        QTest::newRow("2014") << 2014 << "Capacity is full" << false;
        QTest::newRow("2001") << 2001 << "Without permission" << false;
        QTest::newRow("2002") << 2002 << "Without permission" << false;
        QTest::newRow("2201") << 2201 << "Unauthorized operation" << false;
        // Codes without a text of their own show the device's refusal.
        QTest::newRow("403") << 403 << "upload create: refused" << false;
        QTest::newRow("404") << 404 << "File does not exist" << false;
        QTest::newRow("20203") << 20203 << "Space by remove" << false;
        QTest::newRow("20204") << 20204 << "upload create: refused" << false;
        QTest::newRow("20205") << 20205 << "upload create: refused" << false;
        QTest::newRow("2005") << 2005 << "upload create: refused" << false;
        // What an English user reads, through the shipped translation.
        QTest::newRow("2014 en") << 2014 << "Insufficient storage space" << true;
        QTest::newRow("2001 en") << 2001 << "Without copy the permission" << true;
        QTest::newRow("404 en") << 404 << "File removed" << true;
        QTest::newRow("20203 en") << 20203 << "The storage space has been removed" << true;
        QTest::newRow("20205 en") << 20205 << "upload create: refused" << true;
    }
    void fatalCodesFailAtOnce()
    {
        QFETCH(int, code);
        QFETCH(QString, msg);
        QFETCH(bool, english);
        QTranslator translator;
        if (english) {
            QVERIFY(TidewellSdk::loadTranslation(translator));
            QCoreApplication::installTranslator(&translator);
        }
        UploadRig rig(QString("dev-fatal-%1-%2").arg(code).arg(english));
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->refuseUpload(code, "refused");
        const QString p = rig.writeFile("f.txt", "data");
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({p});
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QCOMPARE(error.count(), 1);
        QCOMPARE(error.first().at(0).value<UploadFileInfo>().msg, msg);
        QCOMPARE(rig.creates().size(), 1);
        const UploadFileInfo row = rig.queued().first();
        QCOMPARE(row.fileState, 4);
        QCOMPARE(row.msg, msg);
    }

    void serverErrorIsRetriedSixTimes()
    {
        UploadRig rig("dev-500");
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->failWithStatus(500, -1, "/device/upload/create");
        const QString p = rig.writeFile("f.txt", "data");
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        rig.add({p});
        QTRY_COMPARE_WITH_TIMEOUT(error.count(), 1, 40000);
        QCOMPARE(rig.creates().size(), 7);
        QCOMPARE(rig.queued().first().fileState, 4);
        QCOMPARE(rig.queued().first().msg, QString("upload create: device answered HTTP 500 injected failure"));

        // A few failures in a row are absorbed.
        rig.server->clearFaults();
        rig.server->clearRequests();
        rig.server->failWithStatus(500, 2, "/device/upload/create");
        QueuedSpy finish(rig.manager.get(), &LVUploadManager::rUploadFinish);
        rig.manager->startUpFile(rig.queued().first());
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), 20000);
        QCOMPARE(rig.creates().size(), 3);
        QCOMPARE(rig.stored("f.txt"), QByteArray("data"));
    }

    void stopDuringRetryWaitPausesOnce()
    {
        UploadRig rig("dev-retrystop");
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->failWithStatus(500, -1, "/device/upload/create");
        const QString p = rig.writeFile("f.txt", "data");
        QueuedSpy pause(rig.manager.get(), &LVUploadManager::rUploadPause);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({p});
        QTRY_COMPARE_WITH_TIMEOUT(rig.creates().size(), 1, kLong);
        QTest::qWait(300);   // inside the 2 s wait
        UploadFileInfo row = rig.queued().first();
        rig.manager->pauseUpFile(row);
        QTRY_VERIFY(pause.count() >= 1);
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QTest::qWait(2500);
        QCOMPARE(rig.creates().size(), 1);   // no further attempt
        QCOMPARE(rig.queued().first().fileState, 3);

        // The queue goes on when the entry is started again.
        rig.server->clearFaults();
        rig.manager->startUpFile(rig.queued().first());
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QCOMPARE(rig.stored("f.txt"), QByteArray("data"));
    }

    void failedStartAfterAnAttemptIsRetried()
    {
        UploadRig rig("dev-nostart");
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->failWithStatus(500, 1, "/device/upload/create");
        const QString p = rig.writeFile("f.txt", "late");
        rig.add({p});
        QTRY_COMPARE_WITH_TIMEOUT(rig.creates().size(), 1, kLong);
        rig.owner->allowOnline = false;    // the next start cannot reach the device
        const int calls = rig.owner->onlineCalls;
        QTRY_VERIFY_WITH_TIMEOUT(rig.owner->onlineCalls > calls, 10000);
        // Not connected: the entry waits for the owner's next start, unfailed.
        QTRY_VERIFY_WITH_TIMEOUT(!rig.manager->isRun(), kLong);
        QCOMPARE(rig.queued().first().fileState, 2);
        rig.owner->allowOnline = true;
        rig.manager->start();   // as the tab does on every connection
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QCOMPARE(rig.stored("f.txt"), QByteArray("late"));
    }

    void deletedFileFailsAndSendsNothing()
    {
        UploadRig rig("dev-deleted");
        QVERIFY(rig.server->start());
        QVERIFY(rig.owner->connectTo(0, 0, rig.server->port()));   // one at a time
        rig.server->throttle(100 * 1024);
        rig.makeManager();
        const QString first = rig.writeFile("first.bin", UploadRig::bytes(150 * 1024));
        const QString gone = rig.writeFile("gone.txt", "bye");
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({first, gone});
        QTRY_VERIFY_WITH_TIMEOUT(!rig.createsFor("first.bin").isEmpty(), kLong);
        QVERIFY(QFile::remove(gone));
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QCOMPARE(error.count(), 1);
        const UploadFileInfo failed = error.first().at(0).value<UploadFileInfo>();
        QCOMPARE(failed.fileName, QString("gone.txt"));
        QCOMPARE(failed.msg, QString("File does not exist"));
        QVERIFY(rig.createsFor("gone.txt").isEmpty());
        QVERIFY(!rig.storedExists("gone.txt"));
    }

    void reuploadAsksFirst()
    {
        UploadRig rig("dev-ask");
        QVERIFY(rig.startLan());
        rig.server->throttle(96 * 1024);
        rig.makeManager();
        const QString p = rig.writeFile("it's here.txt", UploadRig::bytes(200 * 1024, 11));
        QueuedSpy ask(rig.manager.get(), &LVUploadManager::rAddUpFiles2);
        QueuedSpy added(rig.manager.get(), &LVUploadManager::rAddUpFiles);
        rig.add({p});
        QTRY_COMPARE(added.count(), 1);
        QCOMPARE(rig.queued().size(), 1);

        // Still queued: asked with isUp true, nothing added.
        rig.add({p});
        QTRY_COMPARE(ask.count(), 1);
        QVERIFY(ask.first().at(2).toBool());
        QCOMPARE(ask.first().at(1).value<QList<QUrl>>(), QList<QUrl>{QUrl::fromLocalFile(p)});
        QTest::qWait(200);
        QCOMPARE(added.count(), 1);
        QCOMPARE(rig.queued().size(), 1);

        // Confirmed: added as a second entry.
        rig.add({p}, TwFolderInfo(), true);
        QTRY_COMPARE(added.count(), 2);
        QCOMPARE(rig.queued().size(), 2);

        rig.server->throttle(0);
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);

        // Finished before: asked with isUp false.
        rig.add({p});
        QTRY_COMPARE(ask.count(), 2);
        QVERIFY(!ask.at(1).at(2).toBool());
        QCOMPARE(added.count(), 2);
    }

    void continuesAfterKillWithoutHashing()
    {
        UploadRig rig("dev-kill");
        QVERIFY(rig.startLan());
        rig.server->throttle(2 * 1024 * 1024);
        rig.makeManager();
        const QByteArray data = UploadRig::bytes(6 * 1024 * 1024, 21);
        const QString p = rig.writeFile("resume.bin", data);
        rig.add({p});
        QTRY_VERIFY_WITH_TIMEOUT(rig.createsFor("resume.bin").size() == 1, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.queued().isEmpty() && !rig.queued().first().taskId.isEmpty(), kLong);
        QTest::qWait(1200);
        rig.manager.reset();   // the program goes away mid-transfer

        const UploadFileInfo row = rig.queued().first();
        QCOMPARE(row.fileState, 1);
        QCOMPARE(row.fileMd5, UploadRig::md5(data));
        QVERIFY(!row.taskId.isEmpty());

        rig.server->throttle(0);
        rig.server->clearRequests();
        const int runs = g_hashRuns;
        rig.makeManager();
        rig.manager->start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QCOMPARE(g_hashRuns, runs);
        const QJsonObject again = rig.createsFor("resume.bin").first();
        QCOMPARE(again.value("taskId").toString(), row.taskId);
        QCOMPARE(again.value("fileMd5").toString(), row.fileMd5);
        const auto puts = rig.server->requestsFor("/device/upload/data");
        QVERIFY(!puts.empty());
        const QUrlQuery q(QString::fromStdString(puts.front().query));
        QVERIFY2(q.queryItemValue("offset").toLongLong() > 0, puts.front().query.c_str());
        QVERIFY(rig.stored("resume.bin") == data);
    }

    void changedFileIsHashedAgain()
    {
        UploadRig rig("dev-changed");
        QVERIFY(rig.startLan());
        rig.server->throttle(1024 * 1024);
        rig.makeManager();
        const QByteArray data = UploadRig::bytes(3 * 1024 * 1024, 31);
        const QString p = rig.writeFile("grow.bin", data);
        rig.add({p});
        QTRY_VERIFY_WITH_TIMEOUT(!rig.queued().isEmpty() && !rig.queued().first().taskId.isEmpty(), kLong);
        QTest::qWait(500);
        rig.manager.reset();

        const QByteArray grown = data + UploadRig::bytes(4096, 32);
        rig.writeFile("grow.bin", grown);
        rig.server->throttle(0);
        rig.server->clearRequests();
        const int runs = g_hashRuns;
        rig.makeManager();
        rig.manager->start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QCOMPARE(g_hashRuns, runs + 1);
        const QJsonObject sent = rig.createsFor("grow.bin").first();
        QCOMPARE(sent.value("fileSize").toVariant().toLongLong(), qint64(grown.size()));
        QCOMPARE(sent.value("fileMd5").toString(), UploadRig::md5(grown));
        QCOMPARE(sent.value("taskId").toString(), QString());
        QVERIFY(rig.stored("grow.bin") == grown);
    }

    void quitDuringHashingIsClean()
    {
        UploadRig rig("dev-quithash");
        QVERIFY(rig.startLan());
        rig.makeManager();
        const QString p = rig.local.filePath("huge.bin");
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(3000) * 1024 * 1024));
        f.close();
        const int runs = g_hashRuns;
        rig.add({p});
        QTRY_VERIFY_WITH_TIMEOUT(g_hashRuns > runs, kLong);
        QTest::qWait(100);
        rig.manager.reset();
        QVERIFY(rig.creates().isEmpty());
        const UploadFileInfo row = rig.queued().first();
        QCOMPARE(row.fileMd5, QString());
        QCOMPARE(row.fileState, 1);
        QThreadPool::globalInstance()->waitForDone(10000);
    }

    void longNamesFail()
    {
        UploadRig rig("dev-names");
        QVERIFY(rig.startLan());
        rig.makeManager();
        const QString ok = rig.writeFile(QString(196, 'a') + ".txt", "ok");      // 200
        const QString bad = rig.writeFile(QString(197, 'b') + ".txt", "bad");    // 201
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({ok, bad});
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QCOMPARE(error.count(), 1);
        QCOMPARE(error.first().at(0).value<UploadFileInfo>().msg, QString("File name too long"));
        QCOMPARE(rig.stored(QString(196, 'a') + ".txt"), QByteArray("ok"));
    }

    void pausingAFolderPausesItsRunningFile()
    {
        UploadRig rig("dev-pausefolder");
        QVERIFY(rig.startLan());
        rig.server->throttle(100 * 1024);
        rig.makeManager();
        rig.writeFile("box/one.bin", UploadRig::bytes(400 * 1024, 41));
        rig.writeFile("box/two.bin", UploadRig::bytes(400 * 1024, 42));
        QueuedSpy pause(rig.manager.get(), &LVUploadManager::rUploadPause);
        rig.add({rig.local.filePath("box")});
        QTRY_VERIFY_WITH_TIMEOUT(rig.creates().size() >= 1, kLong);
        const UploadFileInfo folder = rig.queued().first();
        rig.manager->pauseUpFile(folder);
        QTRY_VERIFY_WITH_TIMEOUT(pause.count() >= 1, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.manager->isRun(), kLong);
        QCOMPARE(rig.queued().first().fileState, 3);
        const int sent = rig.creates().size();
        QTest::qWait(500);
        QCOMPARE(rig.creates().size(), sent);

        rig.server->throttle(0);
        rig.manager->startUpFile(rig.queued().first());
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QVERIFY(rig.stored("box/one.bin").size() == 400 * 1024);
        QVERIFY(rig.stored("box/two.bin").size() == 400 * 1024);
    }

    void queueCommands()
    {
        UploadRig rig("dev-commands");
        QVERIFY(rig.startLan());
        rig.server->throttle(100 * 1024);
        rig.makeManager();
        QueuedSpy list(rig.manager.get(), &LVUploadManager::rUpFileList);
        QueuedSpy total(rig.manager.get(), &LVUploadManager::rGetTotalNum);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.writeFile("dir/a.bin", UploadRig::bytes(300 * 1024, 51));
        rig.writeFile("dir/sub/b.bin", UploadRig::bytes(300 * 1024, 52));
        const QString c = rig.writeFile("c.bin", UploadRig::bytes(300 * 1024, 53));
        rig.add({rig.local.filePath("dir"), c});
        QTRY_VERIFY_WITH_TIMEOUT(rig.manager->isRun() && !rig.creates().isEmpty(), kLong);

        // The page of entries counts a folder's remaining files.
        emit rig.manager->sUpFileList(1, 30);
        QTRY_COMPARE(list.count(), 1);
        QCOMPARE(list.first().at(0).toInt(), 1);
        const auto files = list.first().at(1).value<QList<UploadFileInfo>>();
        QCOMPARE(files.size(), 2);
        for (const UploadFileInfo& f : files)
            if (f.isFolder)
                QVERIFY(f.num >= 2 && f.num <= 3);   // a.bin, sub/b.bin and maybe sub
        rig.manager->getTotalNum();
        QTRY_VERIFY(!total.isEmpty() && total.last().at(1).toInt() == 2);
        QCOMPARE(rig.manager->totalNum(), 2);

        // Stopping everything from the GUI thread pauses what runs.
        rig.manager->stopAll();
        QVERIFY(!rig.manager->isRun());
        // The folder's running files are paused; the folder row keeps its state
        // so a later start picks it up again.
        UploadFileInfo folder;
        for (const UploadFileInfo& f : rig.queued())
            if (f.isFolder)
                folder = f;
        QTRY_VERIFY_WITH_TIMEOUT([&] {
            QList<UploadFileInfo> subs;
            rig.db.getTopUploadSubFileList(folder, subs);
            int paused = 0;
            for (const UploadFileInfo& s : subs)
                paused += s.fileState == 3;
            return paused >= 1;
        }(), kLong);
        QTest::qWait(300);
        const size_t sent = rig.server->requestsFor("/device/upload/create").size();
        QTest::qWait(500);
        QCOMPARE(rig.server->requestsFor("/device/upload/create").size(), sent);

        rig.manager->allPause();
        QTRY_VERIFY(rig.queued().first().fileState == 3 && rig.queued().last().fileState == 3);
        rig.server->throttle(0);
        rig.manager->allStart();
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QVERIFY(rig.storedExists("dir/sub/b.bin"));
        QVERIFY(rig.storedExists("c.bin"));

        // Deleting everything empties the queue and stops the engine.
        rig.server->throttle(50 * 1024);
        const QString d = rig.writeFile("d.bin", UploadRig::bytes(400 * 1024, 54));
        rig.add({d});
        QTRY_VERIFY_WITH_TIMEOUT(!rig.createsFor("d.bin").isEmpty(), kLong);
        const int stops = stop.count();
        rig.manager->allDelete();
        QTRY_VERIFY_WITH_TIMEOUT(stop.count() > stops, kLong);
        QTRY_VERIFY(rig.queued().isEmpty());
        QVERIFY(!rig.manager->isRun());
    }

    void finishedEntryNamesTheStoredFile()
    {
        UploadRig rig("dev-stored");
        QVERIFY(rig.startLan());
        rig.makeManager();
        QueuedSpy finish(rig.manager.get(), &LVUploadManager::rUploadFinish);
        {
            QFile taken(QDir(rig.storage.path()).filePath("report.bin"));
            QVERIFY(taken.open(QIODevice::WriteOnly));
            taken.write("already here");
        }
        const QByteArray data = UploadRig::bytes(3000, 61);
        const QString p = rig.writeFile("report.bin", data);
        rig.add({p});
        QTRY_COMPARE_WITH_TIMEOUT(finish.count(), 1, kLong);
        QCOMPARE(rig.stored("report(1).bin"), data);
        QCOMPARE(finish.first().at(0).value<UploadFileInfo>().fileName, QString("report(1).bin"));
        const QList<FinishFileInfo> done = rig.finished();
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.first().fileName, QString("report(1).bin"));
        // The local side is still the file that was sent.
        QCOMPARE(done.first().filePath, p);
    }
};

TW_TEST_MAIN(TestUploadEngine)
#include "tst_uploadengine.moc"
