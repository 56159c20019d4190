// Downloads that outlive their tab or their device connection: the entry
// stays in the store and goes on from its partial file.
#include "tests/app/endtoendrig.h"

#include <QAbstractItemModelTester>
#include <QUrl>

#include "core/twfolderinfo.h"
#include "core/twhandle.h"
#include "device/tidewelldevice.h"
#include "tests/transfer/outagerig.h"
#include "transfer/downloadfilemodel.h"
#include "transfer/lvdowntask.h"

namespace {
const int kLong = 30000;
using Role = TransferListModel::Role;

int filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files).size();
}

int rowOf(const DownloadFileModel& m, const QString& name)
{
    for (int i = 0; i < m.rowCount(); ++i)
        if (m.index(i).data(Role::FileNameRole).toString() == name)
            return i;
    return -1;
}
} // namespace

class TestEndToEndRecovery : public QObject
{
    Q_OBJECT
private slots:
    void restartResumesFromThePartialFile()
    {
        EndToEndRig rig;
        QVERIFY(rig.server->start());
        const qint64 size = 3 * 1024 * 1024;
        const qint64 id = rig.server->addGeneratedFile("big.bin", size, true, 21);
        rig.server->throttle(512 * 1024);
        rig.newTab();
        QueuedSpy starts(rig.tab->downloadManager(), &LVDownloadManager::rDownloadStart);
        QVERIFY(rig.connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 2, kLong);
        QVERIFY(rig.tab->device()->addDownFiles(twNewHandle(), rig.tab->downloadPath(),
                                                {rig.item("big.bin")}, 0));
        QTRY_VERIFY_WITH_TIMEOUT(!starts.isEmpty(), kLong);
        const DownFileInfo entry = starts.first().first().value<DownFileInfo>();
        QString tmp;
        QVERIFY(entry.getTempPath(tmp, rig.tab->downloadManager()->tmpDir()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(tmp).size() >= 64 * 1024, kLong);

        // The program ends mid-transfer.
        rig.tab.reset();
        const qint64 partial = QFileInfo(tmp).size();
        QVERIFY2(partial > 0 && partial < size, qPrintable(QString::number(partial)));
        QVERIFY(!QFileInfo::exists(rig.downDir + "/big.bin"));
        QCOMPARE(rig.queuedDownloads(), 1);
        const int left = rig.downRow(entry.fId).fileState;
        QVERIFY2(left == 1 || left == 2, qPrintable(QString::number(left)));

        // Next start: a new tab on the same application data picks the entry
        // up as soon as the device connects.
        rig.server->throttle(0);
        rig.server->clearRequests();
        rig.server->stallAfter(64 * 1024, 1);
        rig.newTab();
        DownloadFileModel queue;
        QAbstractItemModelTester tester(&queue);
        queue.setDown(rig.tab->twDown());
        queue.setTwfs(rig.tab->twFinish());
        QVERIFY(rig.connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 1, kLong);
        QCOMPARE(queue.index(0).data(Role::FileNameRole).toString(), QString("big.bin"));
        QTRY_COMPARE_WITH_TIMEOUT(queue.index(0).data(Role::StatusRole).toInt(), 1, kLong);
        rig.server->clearFaults();

        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 0, kLong);
        QTRY_COMPARE_WITH_TIMEOUT(rig.toastTexts(), QStringList{"File download success"}, kLong);
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/big.bin"), rig.serverBytes("big.bin"));
        const auto asked = rig.downloadsOf(id);
        QVERIFY(!asked.isEmpty());
        QCOMPARE(EndToEndRig::rangeStart(asked.first()), partial);
        QVERIFY(!QFileInfo::exists(tmp));
        QCOMPARE(rig.queuedDownloads(), 0);
        QCOMPARE(rig.finished().size(), 1);
    }

    // The program ends again and again while a folder of many small files
    // comes in: no file is fetched twice or lost, and the folder is recorded
    // finished once.
    void killsDuringAFolderOfManyFiles()
    {
        EndToEndRig rig;
        QVERIFY(rig.server->start());
        const int count = 2000;
        for (int i = 0; i < count; ++i)
            rig.server->addFile("Many/f" + std::to_string(i) + ".txt",
                                "file " + std::to_string(i) + "\n" + std::string(200 + i % 97, 'a' + i % 26));
        const QString local = rig.downDir + "/Many";
        rig.newTab();
        QueuedSpy starts(rig.tab->downloadManager(), &LVDownloadManager::rDownloadStart);
        QVERIFY(rig.connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 2, kLong);
        QVERIFY(rig.tab->device()->addDownFiles(twNewHandle(), rig.tab->downloadPath(),
                                                {rig.item("Many", false)}, 0));
        QTRY_VERIFY_WITH_TIMEOUT(!starts.isEmpty(), kLong);
        const int folderFId = starts.first().first().value<DownFileInfo>().fId;
        const QString tmpDir = rig.tab->downloadManager()->tmpDir();

        for (const int killAt : {100, 450, 800, 1150, 1500}) {
            QTRY_VERIFY_WITH_TIMEOUT(filesIn(local) >= killAt, kLong);
            rig.tab.reset();
            if (rig.queuedDownloads() == 0)
                break;   // all in before the kill
            const int left = rig.downRow(folderFId).fileState;
            QVERIFY2(left == 1 || left == 2, qPrintable(QString::number(left)));
            rig.newTab();
            QVERIFY(rig.connectTab());
        }

        QTRY_COMPARE_WITH_TIMEOUT(rig.queuedDownloads(), 0, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.tab || !rig.tab->isDwonRun(), kLong);
        QCOMPARE(QDir(rig.downDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"Many"});
        QCOMPARE(filesIn(local), count);
        for (int i = 0; i < count; ++i) {
            const std::string rel = "Many/f" + std::to_string(i) + ".txt";
            QCOMPARE(EndToEndRig::bytesOf(local + QString("/f%1.txt").arg(i)), rig.serverBytes(rel));
        }
        QCOMPARE(rig.db.getDownSubFileNum(folderFId), 0);
        const QList<FinishFileInfo> done = rig.finished();
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.first().fileName, QString("Many"));
        QCOMPARE(filesIn(tmpDir), 0);
    }

    // The device stops sending one file but answers everything else: after
    // the usual retries the file fails saying so, its partial file kept, and
    // the next entry starts instead of waiting as for an outage. Once that
    // one got through, the failed file is tried again by itself.
    void fileTheDeviceStopsSendingFailsAndTheQueueGoesOn()
    {
        ShortPacing pacing(100, 60000);
        EndToEndRig rig;
        QVERIFY(rig.server->start());
        rig.server->addGeneratedFile("stuck.bin", 1024 * 1024, true, 23);
        rig.server->addFile("next.txt", "next");
        // Every attempt of the stuck file stalls, the first after some
        // bytes; the next file's does not.
        rig.server->stallAfter(16 * 1024, 1);
        rig.server->stallAfter(0, LVDownTask::kMaxRetries);
        rig.newTab(1);
        QueuedSpy starts(rig.tab->downloadManager(), &LVDownloadManager::rDownloadStart);
        QueuedSpy errors(rig.tab->downloadManager(), &LVDownloadManager::rDownloadError);
        QVERIFY(rig.connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 2, kLong);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(rig.tab->device()->addDownFiles(twNewHandle(), rig.tab->downloadPath(),
                                                {rig.item("stuck.bin"), rig.item("next.txt")}, 0));
        QTRY_VERIFY_WITH_TIMEOUT(!starts.isEmpty(), kLong);
        const DownFileInfo stuck = starts.first().first().value<DownFileInfo>();
        QCOMPARE(stuck.fileName, QString("stuck.bin"));

        QTRY_COMPARE_WITH_TIMEOUT(EndToEndRig::bytesOf(rig.downDir + "/next.txt"), QByteArray("next"),
                                  kLong);
        // A first stall takes a few seconds to be seen, every later one one.
        QVERIFY2(clock.elapsed() < 35000, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, kLong);
        const DownFileInfo failed = errors.first().first().value<DownFileInfo>();
        QCOMPARE(failed.fId, stuck.fId);
        QCOMPARE(failed.fileState, 4);
        QVERIFY2(failed.msg.contains("stopped sending"), qPrintable(failed.msg));
        QVERIFY(int(rig.downloadsOf(rig.server->idForPath("stuck.bin")).size()) >= LVDownTask::kMaxRetries + 1);

        // Bytes move again: the failed file runs once more, from its part.
        QTRY_COMPARE_WITH_TIMEOUT(EndToEndRig::bytesOf(rig.downDir + "/stuck.bin"), rig.serverBytes("stuck.bin"),
                                  kLong);
        const auto tries = rig.downloadsOf(rig.server->idForPath("stuck.bin"));
        QCOMPARE(int(tries.size()), LVDownTask::kMaxRetries + 2);
        QVERIFY(!tries.back().range.empty());
        QTRY_VERIFY_WITH_TIMEOUT(!rig.tab->isDwonRun(), kLong);
        QCOMPARE(rig.queuedDownloads(), 0);
    }

    void restartResumesTheUpload()
    {
        EndToEndRig rig;
        QVERIFY(rig.server->start());
        QByteArray data(1024 * 1024, Qt::Uninitialized);
        for (int i = 0; i < data.size(); ++i)
            data[i] = char((i * 13 + (i >> 10)) & 0xff);
        const QString path = rig.base + "/local/up.bin";
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
        f.close();
        rig.server->stallAfter(256 * 1024, 1);
        rig.newTab();
        QVERIFY(rig.connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 2, kLong);
        rig.tab->addUploadFiles(TwFolderInfo().toVariantMap(), {QUrl::fromLocalFile(path)});
        QTRY_VERIFY_WITH_TIMEOUT(!rig.server->requestsFor("/device/upload/data").empty(), kLong);
        QTest::qWait(200);   // let the first bytes reach the device

        // The program ends mid-upload; the entry stays queued.
        rig.tab.reset();
        QList<UploadFileInfo> rows;
        QVERIFY(rig.db.getUploadFileList(1, 100, "acc-e2e", rig.deviceId, rows));
        QCOMPARE(rows.size(), 1);
        QVERIFY2(rows[0].fileState == 1 || rows[0].fileState == 2,
                 qPrintable(QString::number(rows[0].fileState)));

        rig.server->clearFaults();
        rig.server->clearRequests();
        rig.newTab();
        QVERIFY(rig.connectTab());
        QTRY_VERIFY_WITH_TIMEOUT(rig.toastTexts().contains("File upload success"), kLong);
        QCOMPARE(EndToEndRig::bytesOf(QString::fromStdString(rig.server->absolutePath("up.bin"))),
                 data);
        // The device's task went on from what it held.
        const auto sent = rig.server->requestsFor("/device/upload/data");
        QVERIFY(!sent.empty());
        const QString query = QString::fromStdString(sent.front().query);
        QVERIFY2(!query.contains("offset=0&") && !query.endsWith("offset=0"), qPrintable(query));
        QList<UploadFileInfo> after;
        QVERIFY(rig.db.getUploadFileList(1, 100, "acc-e2e", rig.deviceId, after));
        QVERIFY(after.isEmpty());
        QCOMPARE(rig.finished().size(), 1);
    }

    void deviceLostMidTransferKeepsTheEntry()
    {
        EndToEndRig rig;
        QVERIFY(rig.server->start());
        const int port = rig.server->port();
        const qint64 id = rig.server->addGeneratedFile("lost.bin", 2 * 1024 * 1024, true, 22);
        rig.server->addFile("after.txt", "after");
        rig.server->stallAfter(256 * 1024, 1);
        rig.newTab();
        DownloadFileModel queue;
        QAbstractItemModelTester tester(&queue);
        queue.setDown(rig.tab->twDown());
        queue.setTwfs(rig.tab->twFinish());
        QueuedSpy starts(rig.tab->downloadManager(), &LVDownloadManager::rDownloadStart);
        QueuedSpy lost(rig.tab.get(), &TidewellTab::disconnected);
        QVERIFY(rig.connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 2, kLong);
        QVERIFY(rig.tab->device()->addDownFiles(twNewHandle(), rig.tab->downloadPath(),
                                                {rig.item("lost.bin"), rig.item("after.txt")}, 0));
        QTRY_VERIFY_WITH_TIMEOUT(!starts.isEmpty(), kLong);
        const DownFileInfo entry = starts.first().first().value<DownFileInfo>();
        QCOMPARE(entry.fileName, QString("lost.bin"));
        QString tmp;
        QVERIFY(entry.getTempPath(tmp, rig.tab->downloadManager()->tmpDir()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(tmp).size() > 0, kLong);
        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 2, kLong);

        // The device goes away: the stalled transfer breaks, the tab sees
        // the link drop. Nothing leaves the queue meanwhile.
        rig.server->stop();
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 0, kLong);
        QCOMPARE(lost.count(), 1);
        QCOMPARE(rig.queuedDownloads(), 2);
        QCOMPARE(queue.rowCount(), 2);
        QVERIFY(QFileInfo::exists(tmp));

        QVERIFY(rig.server->start(port));
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 2, kLong);

        // The interrupted file either goes on by itself (a retry within the
        // engine's limit) or ends failed and is started again by the user;
        // either way it continues from its partial file.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(rig.downDir + "/lost.bin")
                                         || rig.downRow(entry.fId).fileState == 4,
                                 kLong);
        if (!QFileInfo::exists(rig.downDir + "/lost.bin")) {
            QTRY_VERIFY_WITH_TIMEOUT(rowOf(queue, "lost.bin") >= 0
                                             && queue.index(rowOf(queue, "lost.bin"))
                                                                .data(Role::StatusRole)
                                                                .toInt()
                                                        == 4,
                                     kLong);
            queue.startFile(rowOf(queue, "lost.bin"));
        }
        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 0, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.tab->isDwonRun(), kLong);
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/lost.bin"), rig.serverBytes("lost.bin"));
        QCOMPARE(EndToEndRig::bytesOf(rig.downDir + "/after.txt"), QByteArray("after"));
        const auto asked = rig.downloadsOf(id);
        QVERIFY(asked.size() >= 2);
        QVERIFY(EndToEndRig::rangeStart(asked.last()) > 0);
        QCOMPARE(rig.queuedDownloads(), 0);
        QCOMPARE(rig.finished().size(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(rig.toastTexts().contains("File download success"), kLong);
    }
};

TW_TEST_MAIN(TestEndToEndRecovery)
#include "tst_endtoendrecovery.moc"
