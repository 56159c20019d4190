// Download queues that outlive the device going away or answering "busy":
// nothing fails meanwhile, and the work goes on from the exact byte.
#include "tests/app/endtoendrig.h"
#include "tests/transfer/downloadrig.h"

#include <QAbstractItemModelTester>
#include <QDirIterator>
#include <QElapsedTimer>

#include "core/twhandle.h"
#include "device/tidewelldevice.h"
#include "transfer/downloadfilemodel.h"
#include "transfer/lvdowntask.h"
#include "transfer/outagepacing.h"

namespace {
const int kLong = 30000;
using Role = TransferListModel::Role;

// The one partial file of the manager's temporary folder, "" when none.
QString partialIn(const QString& dir)
{
    QDirIterator it(dir, QDir::Files);
    while (it.hasNext()) {
        const QString p = it.next();
        // Not the marks kept beside a partial file.
        if (!p.endsWith(".dest") && !p.endsWith(".src"))
            return p;
    }
    return QString();
}

struct Rig : EndToEndRig
{
    std::unique_ptr<DownloadFileModel> queue;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::unique_ptr<QueuedSpy> errors;

    void open()
    {
        QVERIFY(server->start());
        newTab();
        queue.reset(new DownloadFileModel);
        tester.reset(new QAbstractItemModelTester(queue.get()));
        queue->setDown(tab->twDown());
        queue->setTwfs(tab->twFinish());
        errors.reset(new QueuedSpy(tab->downloadManager(), &LVDownloadManager::rDownloadError));
        QVERIFY(connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(tab->linkState(), 2, kLong);
    }

    void download(const TwFileInfo& item)
    {
        QVERIFY(tab->device()->addDownFiles(twNewHandle(), tab->downloadPath(), {item}, 0));
    }

    // Waits for a partial file of at least minBytes.
    void partial(qint64 minBytes, QString& path)
    {
        const QString dir = tab->downloadManager()->tmpDir();
        QTRY_VERIFY_WITH_TIMEOUT(!(path = partialIn(dir)).isEmpty()
                                         && QFileInfo(path).size() >= minBytes,
                                 kLong);
    }

    // The device goes away for ms; nothing of the queue fails meanwhile and
    // the queue stops working. The request log starts afresh with the return.
    void outage(int ms)
    {
        const int port = server->port();
        QElapsedTimer away;
        away.start();
        server->stop();
        QTRY_COMPARE_WITH_TIMEOUT(tab->linkState(), 0, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!tab->isDwonRun(), kLong);
        while (away.elapsed() < ms) {
            QTest::qWait(200);
            QCOMPARE(errors->count(), 0);
            for (int i = 0; i < queue->rowCount(); ++i)
                QVERIFY(queue->index(i).data(Role::StatusRole).toInt() != 4);
        }
        server->clearRequests();
        QVERIFY(server->start(port));
    }

    // Where the first download request after the return started, and how
    // long it took to come.
    void firstDownloadAfterReturn(qint64& from, qint64& waitedMs)
    {
        QElapsedTimer t;
        t.start();
        QTRY_VERIFY_WITH_TIMEOUT(!server->requestsFor("/device/download").empty(), kLong);
        waitedMs = t.elapsed();
        from = rangeStart(server->requestsFor("/device/download").front());
    }
};
} // namespace

class TestTabDownloadOutages : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        OutagePacing::setLimits(0, 0);
    }

    // A short and a long absence (the long one outlasts the six retries 2 s
    // apart that used to fail a file): the folder arrives whole, each
    // absence resumed within seconds of the return from the byte held.
    void folderOutlivesOutages()
    {
        Rig rig;
        const qint64 size = 1536 * 1024;
        for (int i = 0; i < 4; ++i)
            rig.server->addGeneratedFile("Album/p" + std::to_string(i) + ".bin", size, true, 40 + i);
        rig.server->addFile("Album/note.txt", "note");
        rig.server->throttle(1536 * 1024);
        rig.open();
        rig.download(rig.item("Album", false));

        for (const int ms : {3000, 15000}) {
            QString tmp;
            rig.partial(128 * 1024, tmp);
            rig.outage(ms);
            if (QTest::currentTestFailed())
                return;
            const qint64 held = QFileInfo(tmp).size();
            QVERIFY2(held > 0 && held < size, qPrintable(QString::number(held)));
            qint64 from = -1, waited = 0;
            rig.firstDownloadAfterReturn(from, waited);
            QVERIFY2(waited < 10000, qPrintable(QString::number(waited)));
            QCOMPARE(from, held);
        }

        QTRY_COMPARE_WITH_TIMEOUT(rig.queuedDownloads(), 0, 60000);
        for (int i = 0; i < 4; ++i) {
            const std::string rel = "Album/p" + std::to_string(i) + ".bin";
            QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/" + QString::fromStdString(rel)),
                     rig.serverBytes(rel));
        }
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/Album/note.txt"), QByteArray("note"));
        QCOMPARE(rig.errors->count(), 0);
        QCOMPARE(rig.finished().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(rig.queue->rowCount(), 0, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(rig.toastTexts().contains("File download success"), kLong);
        QVERIFY(partialIn(rig.tab->downloadManager()->tmpDir()).isEmpty());
    }

    // "Busy" answers: to everything (the link drops, as in an outage), then
    // to transfers only while the link stays up (tried again and again
    // without using up the file's attempts), then for longer than the
    // bounded wait allows, which finally counts and fails the file.
    void busyDeviceIsWaitedFor()
    {
        Rig rig;
        const qint64 size = 1024 * 1024;
        rig.server->addGeneratedFile("Busy/a.bin", size, true, 51);
        rig.server->addGeneratedFile("Busy/b.bin", size, true, 52);
        rig.server->addFile("lasting.txt", "never");
        rig.server->throttle(512 * 1024);
        rig.open();
        rig.download(rig.item("Busy", false));
        QString tmp;
        rig.partial(64 * 1024, tmp);

        const int port = rig.server->port();
        rig.server->stop();
        rig.server->failWithStatus(503);
        QVERIFY(rig.server->start(port));
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 0, kLong);
        QTest::qWait(4000);
        QCOMPARE(rig.errors->count(), 0);
        const qint64 held = QFileInfo(tmp).size();
        rig.server->clearFaults();
        rig.server->clearRequests();
        qint64 from = -1, waited = 0;
        rig.firstDownloadAfterReturn(from, waited);
        QCOMPARE(from, held);
        QVERIFY2(waited < 10000, qPrintable(QString::number(waited)));

        // Transfers only: far more attempts than a file may fail.
        OutagePacing::setLimits(150, 60000);
        rig.server->failWithStatus(503, 12, "/device/download");
        QTRY_COMPARE_WITH_TIMEOUT(rig.queuedDownloads(), 0, 60000);
        QCOMPARE(rig.tab->linkState(), 2);
        QCOMPARE(rig.errors->count(), 0);
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/Busy/a.bin"), rig.serverBytes("Busy/a.bin"));
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/Busy/b.bin"), rig.serverBytes("Busy/b.bin"));

        // Busy for good: each used-up wait counts one failed attempt.
        OutagePacing::setLimits(100, 500);
        rig.server->clearRequests();
        rig.server->failWithStatus(503, -1, "/device/download");
        rig.download(rig.item("lasting.txt"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.errors->count(), 1, kLong);
        const DownFileInfo failed = rig.errors->first().first().value<DownFileInfo>();
        QCOMPARE(failed.fileName, QString("lasting.txt"));
        QVERIFY2(failed.msg.contains("503"), qPrintable(failed.msg));
        QVERIFY(rig.downloadsOf(rig.item("lasting.txt").id).size() > 1 + LVDownTask::kMaxRetries);
        QCOMPARE(rig.tab->linkState(), 2);
    }

    // A file that is gone when the device returns fails at once; the rest
    // of the folder arrives. Its partial file stays until the entry goes.
    void fileGoneDuringOutageFailsAtOnce()
    {
        Rig rig;
        const qint64 size = 1536 * 1024;
        rig.server->addGeneratedFile("Set/a.bin", size, true, 61);
        rig.server->addFile("Set/b.txt", "b");
        rig.server->addFile("Set/c.txt", "c");
        rig.server->throttle(512 * 1024);
        rig.open();
        const TwFileInfo folder = rig.item("Set", false);
        const qint64 goneId = rig.item("Set/a.bin").id;
        rig.download(folder);
        QString tmp;
        rig.partial(64 * 1024, tmp);

        const int port = rig.server->port();
        rig.server->stop();
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 0, kLong);
        QVERIFY(QFile::remove(QString::fromStdString(rig.server->absolutePath("Set/a.bin"))));
        rig.server->clearRequests();
        QVERIFY(rig.server->start(port));

        QTRY_COMPARE_WITH_TIMEOUT(rig.errors->count(), 1, kLong);
        const DownFileInfo row = rig.errors->first().first().value<DownFileInfo>();
        QVERIFY(row.isFolder);
        QCOMPARE(row.fileState, 4);
        QCOMPARE(row.msg, QString("File does not write"));
        QCOMPARE(rig.downloadsOf(goneId).size(), 1);
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/Set/b.txt"), QByteArray("b"));
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/Set/c.txt"), QByteArray("c"));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.tab->isDwonRun(), kLong);
        QVERIFY(QFileInfo::exists(tmp));

        // Kept for a later start until the entry itself is deleted.
        QTRY_COMPARE_WITH_TIMEOUT(rig.queue->rowCount(), 1, kLong);
        rig.queue->deleteFile(0);
        QTRY_COMPARE_WITH_TIMEOUT(rig.queuedDownloads(), 0, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(tmp), kLong);
    }

    // Pausing the queue while a big folder is still being listed takes
    // effect at once; starting it again lists the rest and completes it.
    void pauseDuringExpansionTakesEffectAtOnce()
    {
        Rig rig;
        const int files = 250;
        for (int i = 0; i < files; ++i)
            rig.server->addFile("Wide/f" + std::to_string(i) + ".txt", std::to_string(i));
        rig.server->delayAnswer(800, -1, "getDirPath");   // three pages: 2.4 s
        rig.open();
        LVDownloadManager* mgr = rig.tab->downloadManager();
        QueuedSpy stops(mgr, &LVDownloadManager::rStop);
        rig.download(rig.item("Wide", false));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.server->requestsFor("getDirPath").empty(), kLong);
        QElapsedTimer paused;
        paused.start();
        rig.queue->pauseAll();
        QTRY_VERIFY_WITH_TIMEOUT(stops.count() >= 1 && !mgr->isRun(), kLong);
        QVERIFY2(paused.elapsed() < 2000, qPrintable(QString::number(paused.elapsed())));
        QVERIFY(rig.server->requestsFor("getDirPath").size() < 3);
        QCOMPARE(rig.queuedDownloads(), 1);

        rig.server->clearFaults();
        rig.queue->startAll();
        QTRY_COMPARE_WITH_TIMEOUT(rig.queuedDownloads(), 0, 60000);
        QCOMPARE(QDir(rig.downDir + "/Wide").entryList(QDir::Files).size(), files);
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/Wide/f249.txt"), QByteArray("249"));
        QCOMPARE(rig.errors->count(), 0);
    }

    // The connection comes back just as the queue goes idle for want of it
    // (the owner's start would find it still running): it is not missed.
    void connectionBackWhileGoingIdleIsNotMissed()
    {
        DownloadRig rig;
        rig.server->addFile("soon.txt", "soon");
        rig.owner->allowOnline = false;
        connect(rig.mgr.get(), &LVDownloadManager::rStop, rig.mgr.get(),
                [&rig] { rig.owner->allowOnline = true; }, Qt::DirectConnection);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("soon.txt")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kLong);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/soon.txt"), QByteArray("soon"));
        QVERIFY(rig.rec->errors.isEmpty());
    }
};

TW_TEST_MAIN(TestTabDownloadOutages)
#include "tst_tabdownloadoutages.moc"
