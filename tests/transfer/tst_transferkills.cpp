// The program killed outright (SIGKILL, no destructor runs) in the middle of
// a transfer, and started again: nothing is lost, nothing arrives twice. The
// killed program is a child process of this test running an engine against
// the test's device; the next start runs in the test itself.
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

#include "core/twfolderinfo.h"
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "tests/transfer/uploadrig.h"
#include "transfer/lvdownloadmanager.h"
#include "transfer/lvuploadmanager.h"

namespace {
const int kWait = 30000;
// The notice is on its way once the queue is seen stopped.
const int kNotice = 10000;

// ---------------------------------------------------------------- the child

// Runs one engine until it is killed: TW_KILL_CHILD "down" or "up",
// TW_KILL_PORT and TW_KILL_DEVICE name the device, TW_KILL_DIR the download
// folder, TW_KILL_ITEM what to add ("id|name" of a device folder, or a local
// path); without an item the engine starts on what is stored.
int childMain(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    twTestSetup();
    TestOwner owner("acc1", qEnvironmentVariable("TW_KILL_DEVICE"));
    if (!owner.connectTo(qEnvironmentVariable("TW_KILL_PORT").toInt(), 0, 0, 10000))
        return 2;
    owner.downDir = qEnvironmentVariable("TW_KILL_DIR");
    const QString item = qEnvironmentVariable("TW_KILL_ITEM");
    if (qEnvironmentVariable("TW_KILL_CHILD") == "down") {
        LVDownloadManager mgr;
        mgr.init(&owner);
        if (item.isEmpty()) {
            mgr.start();
        } else {
            TwFileInfo f;
            f.id = item.section('|', 0, 0).toLongLong();
            f.name = item.section('|', 1);
            f.isFile = false;
            f.filePath = "/" + f.name;
            mgr.addDownFilesPlain(1, owner.downDir, {f});
        }
        return app.exec();
    }
    LVUploadManager mgr;
    mgr.init(&owner);
    if (item.isEmpty())
        mgr.start();
    else
        mgr.addUpFiles(TwFolderInfo(), {QUrl::fromLocalFile(item)}, false);
    return app.exec();
}

// ---------------------------------------------------------------- test side

// One run of the program in a child process.
struct Child
{
    QProcess p;

    bool start(const QString& kind, int port, const QString& deviceId, const QString& dir,
               const QString& item)
    {
        static int runs = 0;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TW_KILL_CHILD", kind);
        env.insert("TW_KILL_PORT", QString::number(port));
        env.insert("TW_KILL_DEVICE", deviceId);
        env.insert("TW_KILL_DIR", dir);
        env.insert("TW_KILL_ITEM", item);
        p.setProcessEnvironment(env);
        // Its log, for a failure's post-mortem.
        const QString log = TestEnv::instance()->root() + QString("/child%1.log").arg(++runs);
        p.setStandardOutputFile(log);
        p.setStandardErrorFile(log, QIODevice::Append);
        p.start(QCoreApplication::applicationFilePath(), QStringList());
        return p.waitForStarted(10000);
    }

    // Kills the child as soon as cond holds (or after timeoutMs), within a
    // fraction of a millisecond: polled off the event loop, which the child
    // does not need. True when cond held.
    bool killWhen(const std::function<bool()>& cond, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        bool held = false;
        while (!(held = cond()) && clock.elapsed() < timeoutMs && p.state() == QProcess::Running)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished(10000);
        return held;
    }

    ~Child()
    {
        if (p.state() != QProcess::NotRunning) {
            ::kill(pid_t(p.processId()), SIGKILL);
            p.waitForFinished(10000);
        }
    }
};

int requestCount(TestDeviceServer& s, const std::string& match)
{
    return int(s.requestsFor(match).size());
}

// A nested folder whose listing takes six requests: Nest, A, D, then B,
// Empty and F.
const std::vector<std::string> kNestFiles = {"Nest/a.txt", "Nest/b.txt", "Nest/A/c.txt",
                                             "Nest/A/B/d.txt", "Nest/D/e.txt", "Nest/D/F/g.txt"};
const int kNestListings = 6;

void seedNest(DownloadRig& rig)
{
    int n = 0;
    for (const std::string& f : kNestFiles)
        rig.server->addFile(f, f + ":" + std::string(100 + 37 * n++, 'x'));
    rig.server->addFolder("Nest/A/Empty");
}

// The next start finishes what the killed runs left and says so. A run
// killed late may have finished the entry itself: the start then finds
// nothing to do and says nothing.
void finishRest(DownloadRig& rig)
{
    const bool left = rig.queued() > 0;
    rig.newManager();
    rig.mgr->start();
    if (!left) {
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->rStops > 0, kWait);
        QVERIFY(rig.rec->finishes.isEmpty());
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty() && !rig.mgr->isRun(), kWait);
    QVERIFY(rig.rec->errors.isEmpty());
    // Said just before the queue stops: it may reach this thread after the
    // stop is seen.
    QTRY_COMPARE_WITH_TIMEOUT(rig.rec->notices, QList<QString>{"File download success"}, kNotice);
}

// Every file of the nested folder arrives once, byte-exact, and the folder
// ends finished once.
void finishNest(DownloadRig& rig)
{
    finishRest(rig);
    if (QTest::currentTestFailed())
        return;
    QStringList want;
    for (const std::string& f : kNestFiles)
        want << QString::fromStdString(f);
    want << "Nest" << "Nest/A" << "Nest/A/B" << "Nest/A/Empty" << "Nest/D" << "Nest/D/F";
    want.sort();
    QCOMPARE(entriesBelow(rig.downDir), want);
    for (const std::string& f : kNestFiles) {
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + QString::fromStdString(f)),
                 rig.serverBytes(f));
        QCOMPARE(downloadsOf(*rig.server, rig.server->idForPath(f)), 1);
    }
    QCOMPARE(rig.queued(), 0);
    const QList<FinishFileInfo> done = rig.finished();
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.first().fileName, QString("Nest"));
}
} // namespace

class TestTransferKills : public QObject
{
    Q_OBJECT
private slots:
    // Killed when the device has been asked for the killAt-th listing of
    // the folder (every answer comes late), the program lists at its next
    // start what it had not stored.
    void killWhileAFolderIsListed_data()
    {
        QTest::addColumn<int>("killAt");
        for (int k = 1; k <= kNestListings; ++k)
            QTest::newRow(qPrintable(QString("listing %1").arg(k))) << k;
    }
    void killWhileAFolderIsListed()
    {
        QFETCH(int, killAt);
        DownloadRig rig;
        QVERIFY(rig.connected);
        seedNest(rig);
        rig.server->delayAnswer(150);
        rig.server->clearRequests();
        Child run;
        QVERIFY(run.start("down", rig.server->port(), rig.owner->device.deviceId, rig.downDir,
                          QString("%1|Nest").arg(rig.server->idForPath("Nest"))));
        QVERIFY(run.killWhen([&] { return requestCount(*rig.server, "getDirPath") >= killAt; },
                             kWait));
        finishNest(rig);
    }

    // Killed again and again while the listing is taken up after a start.
    void killsWhileTheListingIsTakenUpAgain()
    {
        DownloadRig rig;
        QVERIFY(rig.connected);
        seedNest(rig);
        rig.server->delayAnswer(150);
        rig.server->clearRequests();
        for (int run = 0; run < 4; ++run) {
            const int before = requestCount(*rig.server, "getDirPath");
            Child child;
            const QString item = run == 0 ? QString("%1|Nest").arg(rig.server->idForPath("Nest"))
                                          : QString();
            QVERIFY(child.start("down", rig.server->port(), rig.owner->device.deviceId,
                                rig.downDir, item));
            if (!child.killWhen([&] { return requestCount(*rig.server, "getDirPath") >= before + 2; },
                                8000))
                break;   // nothing left to list
        }
        finishNest(rig);
    }

    // Killed again and again while a folder of small files arrives, with
    // files moved into place whose finish is not written yet: the next
    // start finds them in place, so every file arrives once, byte-exact,
    // under its own name, and the folder ends finished once.
    void killsInABurstOfSmallDownloads()
    {
        DownloadRig rig;
        QVERIFY(rig.connected);
        const int files = 400;
        QStringList want;
        for (int i = 0; i < files; ++i) {
            const QString name = QString("f%1.txt").arg(i, 3, 10, QChar('0'));
            rig.server->addFile("Many/" + name.toStdString(), std::string(50 + i, char('a' + i % 26)));
            want << name;
        }
        rig.server->clearRequests();
        bool unrecordedSeen = false;
        for (int run = 0; run < 6; ++run) {
            const int before = requestCount(*rig.server, "/device/download");
            Child child;
            const QString item = run == 0 ? QString("%1|Many").arg(rig.server->idForPath("Many"))
                                          : QString();
            QVERIFY(child.start("down", rig.server->port(), rig.owner->device.deviceId,
                                rig.downDir, item));
            if (!child.killWhen(
                    [&] { return requestCount(*rig.server, "/device/download") >= before + 40 + 9 * run; },
                    8000))
                break;   // all arrived
            // Files in place beyond those whose finish is written.
            QList<DownFileInfo> rows;
            QVERIFY(rig.db.getDownFileList(1, 10, rig.owner->device, rows));
            if (rows.size() == 1) {
                const int placed = QDir(rig.downDir + "/Many").entryList(QDir::Files).size();
                unrecordedSeen = unrecordedSeen || placed > files - rig.db.getDownSubFileNum(rows.first().fId);
            }
        }
        QVERIFY(unrecordedSeen);

        finishRest(rig);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(QDir(rig.downDir + "/Many").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), want);
        for (int i = 0; i < files; ++i)
            QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/Many/" + want.at(i)),
                     QByteArray(50 + i, char('a' + i % 26)));
        QCOMPARE(rig.queued(), 0);
        QCOMPARE(rig.finished().size(), 1);
    }

    // Killed after the last file of a folder was recorded but before the
    // folder's own finish: the next start finishes the folder and says so.
    void killedBetweenTheLastFileAndItsFolder()
    {
        DownloadRig rig;
        QVERIFY(rig.connected);
        rig.server->addFile("Done/a.txt", "a");
        DownFileInfo folder = DownFileInfo::fromItem(rig.item("Done", false));
        folder.accessId = rig.owner->device.accessId;
        folder.deviceId = rig.owner->device.deviceId;
        folder.savePath = rig.downDir;
        folder.fileState = 2;
        QList<DownFileInfo> noneLeft;
        QVERIFY(rig.db.addDownFile(folder, noneLeft));
        QVERIFY(QDir().mkpath(rig.downDir + "/Done"));

        rig.mgr->start();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty() && !rig.mgr->isRun(), kWait);
        QVERIFY(rig.rec->errors.isEmpty());
        QCOMPARE(rig.queued(), 0);
        QCOMPARE(rig.finished().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->notices, QList<QString>{"File download success"}, kNotice);
    }

    // Killed many times just as a small file of a folder has gone out: the
    // device's task of every file is known to the next start, which
    // continues it instead of sending the file again under a new name.
    void killsInABurstOfSmallUploads()
    {
        UploadRig rig("kill-up");
        QVERIFY(rig.startLan());
        const int files = 90;
        for (int i = 0; i < files; ++i)
            QVERIFY(!rig.writeFile(QString("Burst/f%1.txt").arg(i, 3, 10, QChar('0')),
                                   UploadRig::bytes(200 + 31 * i, i + 1))
                         .isEmpty());
        const QString folder = rig.local.filePath("Burst");
        for (int run = 0; run < 10; ++run) {
            const int before = requestCount(*rig.server, "/device/upload/data");
            Child child;
            QVERIFY(child.start("up", rig.server->port(), rig.owner->device.deviceId, QString(),
                                run == 0 ? folder : QString()));
            if (!child.killWhen(
                    [&] { return requestCount(*rig.server, "/device/upload/data") >= before + 4 + run; },
                    8000))
                break;   // all sent
        }

        rig.makeManager();
        rig.manager->start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty() && !rig.manager->isRun(), kWait);
        QStringList want;
        for (int i = 0; i < files; ++i)
            want << QString("f%1.txt").arg(i, 3, 10, QChar('0'));
        QCOMPARE(QDir(rig.storage.filePath("Burst")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 want);
        QCOMPARE(QDir(rig.storage.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"Burst"});
        for (int i = 0; i < files; ++i) {
            const QString name = QString("f%1.txt").arg(i, 3, 10, QChar('0'));
            QCOMPARE(rig.stored("Burst/" + name), UploadRig::bytes(200 + 31 * i, i + 1));
        }
        // No task the device holds data for was left behind.
        for (const QFileInfo& part : QDir(rig.storage.filePath(".tw_uploads")).entryInfoList(QDir::Files))
            QVERIFY2(part.size() == 0, qPrintable(part.fileName()));
    }
};

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsSet("TW_KILL_CHILD"))
        return childMain(argc, argv);
    TestEnv env;
    QGuiApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    twTestSetup();
    TestTransferKills tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_transferkills.moc"
