// The preview downloader against a test device: where a finished file goes,
// how a pause, a replacing start and a late finish are reported, and that
// its temporary files outlive the download queue's clean-up.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QUrlQuery>

#include "core/safepath.h"
#include "core/utils.h"
#include "tests/hostilenames.h"
#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "transfer/singlefiledownmanager.h"

static const int kWait = 20000;

// What the manager reports, on the test's thread.
class SingleRecorder : public QObject
{
public:
    QList<DownFileInfo> progress, finishes, pauses, errors;
    explicit SingleRecorder(SingleFileDownManager* m)
    {
        connect(m, &SingleFileDownManager::rDownProggress, this, [this](DownFileInfo f) { progress << f; });
        connect(m, &SingleFileDownManager::rDownFinish, this, [this](DownFileInfo f) { finishes << f; });
        connect(m, &SingleFileDownManager::rDownPause, this, [this](DownFileInfo f) { pauses << f; });
        connect(m, &SingleFileDownManager::rDownError, this, [this](DownFileInfo f) { errors << f; });
    }
    int ends() const { return finishes.size() + pauses.size() + errors.size(); }
};

struct SingleRig : DownloadRig
{
    std::unique_ptr<SingleFileDownManager> single;
    std::unique_ptr<SingleRecorder> srec;
    SingleRig()
    {
        single.reset(new SingleFileDownManager);
        single->init(owner.get());
        srec.reset(new SingleRecorder(single.get()));
    }
    ~SingleRig()
    {
        srec.reset();
        single.reset();
    }
    // The record the preview model builds for a device file.
    DownFileInfo record(const std::string& rel, const QString& token = "t")
    {
        const TwFileInfo it = item(rel);
        DownFileInfo r;
        r.fileId = int(it.id);
        r.fileName = it.name;
        r.fileSize = it.fileLen;
        r.accessId = owner->device.accessId;
        r.deviceId = owner->device.deviceId;
        r.savePath = downDir;
        r.fileState = 1;
        r.taskId = token;
        return r;
    }
    QStringList downloads() const { return QDir(downDir).entryList(QDir::Files, QDir::Name); }
};

class TestSingleFileDownManager : public QObject
{
    Q_OBJECT
private slots:
    void deviceFileLandsInTheDownloadFolder()
    {
        SingleRig rig;
        QVERIFY(rig.connected);
        QVERIFY(!SingleFileDownManager().init(nullptr));
        rig.server->addGeneratedFile("docs/report.pdf", 300 * 1024, true, 3);
        DownFileInfo rec = rig.record("docs/report.pdf", "tok1");
        rig.single->startFile(rec);
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->finishes.size(), 1, kWait);
        const DownFileInfo done = rig.srec->finishes.first();
        QCOMPARE(done.fileState, 5);
        QCOMPARE(done.taskId, QString("tok1"));
        QCOMPARE(done.savePath, rig.downDir + "/report.pdf");
        QCOMPARE(DownloadRig::bytesOf(done.savePath), rig.serverBytes("docs/report.pdf"));
        QVERIFY(!QFile::exists(SingleFileDownManager::tempPathOf(rec)));
        for (const DownFileInfo& p : rig.srec->progress)
            QVERIFY(p.progress >= 0 && p.progress <= 1);
        // By id, the file itself, for the signed-in account.
        const auto reqs = rig.server->requestsFor("/device/download");
        QCOMPARE(int(reqs.size()), 1);
        const QUrlQuery q(QString::fromStdString(reqs.front().query));
        QCOMPARE(q.queryItemValue("fileId").toInt(), rec.fileId);
        QCOMPARE(q.queryItemValue("mode"), QString("2"));
        QCOMPARE(q.queryItemValue("ower"), rig.owner->device.accessId);
        QVERIFY(rig.srec->errors.isEmpty());
    }

    void attachedDiskFileGoesByPath()
    {
        SingleRig rig;
        rig.server->addFile("usb/stick/read me.txt", "on the stick");
        DownFileInfo rec;
        rec.fileName = "read me.txt";
        rec.usbFilePath = "/stick/read me.txt";
        rec.filePath = "/usb/stick/read me.txt";
        rec.fileSize = 12;
        rec.savePath = rig.downDir;
        rig.single->startFile(rec);
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/read me.txt"), QByteArray("on the stick"));
        const QUrlQuery q(QString::fromStdString(rig.server->requestsFor("/device/download").front().query));
        QVERIFY(q.hasQueryItem("path"));
        QVERIFY(!q.hasQueryItem("fileId"));
    }

    void takenNamesAreNeverOverwritten()
    {
        SingleRig rig;
        rig.server->addFile("a.b.txt", "third");
        for (const char* n : {"a.b.txt", "a(1).txt"}) {
            QFile f(rig.downDir + "/" + n);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(n);
        }
        rig.single->startFile(rig.record("a.b.txt"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->finishes.size(), 1, kWait);
        QCOMPARE(rig.srec->finishes.first().savePath, rig.downDir + "/a(2).txt");
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/a.b.txt"), QByteArray("a.b.txt"));
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/a(2).txt"), QByteArray("third"));
        QCOMPARE(SingleFileDownManager::uniqueFilePath(rig.downDir, "noext", 3), rig.downDir + "/noext(3)");
    }

    void freeNamesStayInTheFolder_data() { addHostileNames(); }
    void freeNamesStayInTheFolder()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        for (int n : {0, 1, 2}) {
            const QString p = SingleFileDownManager::uniqueFilePath(dir.path(), name, n);
            if (!p.isEmpty()) {
                QVERIFY(SafePath::isInside(dir.path(), p));
                QCOMPARE(QFileInfo(p).path(), dir.path());
            }
        }
    }

    void namesFromTheDeviceStayInTheFolder()
    {
        SingleRig rig;
        const QString outside = QFileInfo(rig.downDir).path();
        QVERIFY(SingleFileDownManager::uniqueFilePath(rig.downDir, "..").isEmpty());

        rig.server->addFile("x.txt", "x");
        DownFileInfo rec = rig.record("x.txt", "name");
        rec.fileName = "../../x.txt";
        rig.single->startFile(rec);
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->finishes.size(), 1, kWait);
        QVERIFY(SafePath::isInside(rig.downDir, rig.srec->finishes.first().savePath));

        // A sub-folder that climbs out is refused.
        rec.taskId = "sub";
        rec.fileName = "x.txt";
        rec.isSubItem = true;
        rec.pNamePath = "/../../escaped";
        rig.single->startFile(rec);
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->errors.size(), 1, kWait);
        QCOMPARE(rig.srec->errors.first().msg, QString("Create Folder fail"));
        QCOMPARE(rig.srec->errors.first().fileState, 4);
        QVERIFY(!QFileInfo::exists(outside + "/escaped"));
        QVERIFY(!QFileInfo::exists(QFileInfo(outside).path() + "/escaped"));
    }

    void pauseRemovesThePartialFile()
    {
        SingleRig rig;
        rig.server->addGeneratedFile("big.bin", 8 * 1024 * 1024, true, 5);
        rig.server->throttle(512 * 1024);
        const DownFileInfo rec = rig.record("big.bin", "p");
        rig.single->startFile(rec);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.srec->progress.isEmpty(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(SingleFileDownManager::tempPathOf(rec)).size() > 0, kWait);
        rig.single->pauseFile("someone else");
        rig.single->pauseFile("p");
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->pauses.size(), 1, kWait);
        QCOMPARE(rig.srec->pauses.first().fileState, 3);
        QVERIFY(!QFile::exists(SingleFileDownManager::tempPathOf(rec)));
        rig.server->throttle(0);
        QTest::qWait(300);
        QCOMPARE(rig.srec->ends(), 1);
        QVERIFY(rig.downloads().isEmpty());
    }

    void newStartReplacesTheRunningDownload()
    {
        SingleRig rig;
        rig.server->addGeneratedFile("slow.bin", 8 * 1024 * 1024, true, 6);
        rig.server->addFile("quick.txt", "quick");
        rig.server->throttle(512 * 1024);
        const DownFileInfo slow = rig.record("slow.bin", "first");
        rig.single->startFile(slow);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.srec->progress.isEmpty(), kWait);
        rig.server->throttle(0);
        rig.single->startFile(rig.record("quick.txt", "second"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->finishes.size(), 1, kWait);
        QCOMPARE(rig.srec->pauses.size(), 1);
        QCOMPARE(rig.srec->pauses.first().taskId, QString("first"));
        QCOMPARE(rig.srec->finishes.first().taskId, QString("second"));
        QTest::qWait(500);
        QCOMPARE(rig.srec->ends(), 2);
        QCOMPARE(rig.downloads(), QStringList{"quick.txt"});
        QVERIFY(!QFile::exists(SingleFileDownManager::tempPathOf(slow)));
    }

    void finishRightAfterPauseIsDropped()
    {
        SingleRig rig;
        rig.server->addGeneratedFile("f.bin", 64 * 1024, true, 7);
        const DownFileInfo rec = rig.record("f.bin", "late");
        const QString temp = SingleFileDownManager::tempPathOf(rec);
        rig.single->startFile(rec);
        // Right after the start, hold the manager's thread until the file is
        // complete, with a pause queued first: the finish arrives after it.
        SingleFileDownManager* single = rig.single.get();
        QMetaObject::invokeMethod(single, [&, single] {
            QMetaObject::invokeMethod(single, [single] { single->oPauseFile(QString()); },
                                      Qt::QueuedConnection);
            QElapsedTimer t;
            t.start();
            while (QFileInfo(temp).size() < rec.fileSize && t.elapsed() < kWait)
                QThread::msleep(10);
            QThread::msleep(300);
        }, Qt::QueuedConnection);
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->pauses.size(), 1, kWait);
        QTest::qWait(300);
        QCOMPARE(rig.srec->ends(), 1);
        QVERIFY(rig.downloads().isEmpty());
    }

    void progressIsZeroWithoutASize()
    {
        SingleRig rig;
        rig.server->addGeneratedFile("nosize.bin", 2 * 1024 * 1024, true, 8);
        rig.server->throttle(2 * 1024 * 1024);
        DownFileInfo rec = rig.record("nosize.bin");
        rec.fileSize = 0;
        rig.single->startFile(rec);
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->finishes.size(), 1, kWait);
        QVERIFY(!rig.srec->progress.isEmpty());
        for (const DownFileInfo& p : rig.srec->progress)
            QCOMPARE(p.progress, 0.0f);
    }

    void failuresAreReported()
    {
        SingleRig rig;
        DownFileInfo gone = rig.record("gone.txt");
        gone.fileId = 987654;
        gone.fileSize = 10;
        rig.single->startFile(gone);
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->errors.size(), 1, kWait);
        QCOMPARE(rig.srec->errors.first().msg, QString("File does not write"));

        rig.server->addFile("y.txt", "y");
        rig.owner->allowOnline = false;
        rig.single->startFile(rig.record("y.txt"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->errors.size(), 2, kWait);
        QCOMPARE(rig.srec->errors.last().msg, QString("Device is not connected"));
        QCOMPARE(rig.srec->errors.last().fileState, 4);
    }

    void tempFilesOutliveTheQueueCleanUp()
    {
        SingleRig rig;
        DownFileInfo a = rig.record("a.txt");
        DownFileInfo b = a;
        b.savePath = "/elsewhere";
        QCOMPARE(SingleFileDownManager::tempPathOf(a), SingleFileDownManager::tempPathOf(b));
        QVERIFY(!SafePath::isInside(rig.mgr->tmpDir(), SingleFileDownManager::tempPathOf(a)));

        rig.server->addGeneratedFile("long.bin", 4 * 1024 * 1024, true, 9);
        rig.server->addFile("queue.txt", "queued");
        rig.server->throttle(1024 * 1024);
        const DownFileInfo rec = rig.record("long.bin");
        rig.single->startFile(rec);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(SingleFileDownManager::tempPathOf(rec)).size() > 0, kWait);
        // The queue ends while the preview runs and clears its temporary files.
        const QString queueDir = rig.dir.path() + "/queue";
        QDir().mkpath(queueDir);
        QVERIFY(rig.mgr->addDownFilesPlain(1, queueDir, {rig.item("queue.txt")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->notices.size(), 1, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(rig.srec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.srec->finishes.first().savePath), rig.serverBytes("long.bin"));
    }
};

TW_TEST_MAIN(TestSingleFileDownManager)
#include "tst_singlefiledownmanager.moc"
