// What the upload manager keeps in memory between the files of a queue (the
// entry count, the stored folder row, where a folder was made) must follow
// every command and every finished entry: the store and the reports stay as
// if each file read and wrote them afresh.
#include <QSignalSpy>

#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/uploadrig.h"

namespace {

const int kLong = 12000;
const int kFiles = 10;
const int kSize = 48 * 1024;

// The stored state of the only queued entry, -1 once it is gone.
int storedState(UploadRig& rig)
{
    const QList<UploadFileInfo> rows = rig.queued();
    return rows.isEmpty() ? -1 : rows.first().fileState;
}

// Whether the folder was reported with that state since the spy began.
bool reported(const QSignalSpy& spy, int state)
{
    for (const QList<QVariant>& args : spy) {
        const UploadFileInfo r = args.at(0).value<UploadFileInfo>();
        if (r.isFolder && r.fileState == state)
            return true;
    }
    return false;
}

} // namespace

class TestUploadKeptState : public QObject
{
    Q_OBJECT
private slots:
    void folderRowFollowsCommandsWhileItsFilesRun()
    {
        UploadRig rig("dev-keptrow");
        QVERIFY(rig.startLan());
        // Equal sizes: each file's start would store the same folder row.
        rig.server->throttle(64 * 1024);
        rig.makeManager();
        QList<QByteArray> data;
        for (int i = 0; i < kFiles; ++i) {
            data << UploadRig::bytes(kSize, 70 + i);
            rig.writeFile(QString("kept/f%1.bin").arg(i), data.last());
        }
        rig.add({rig.local.filePath("kept")});
        QTRY_VERIFY_WITH_TIMEOUT(storedState(rig) == 1 && !rig.creates().isEmpty(), kLong);

        // Starting the running folder again stores it as waiting; the next
        // file that starts stores it as running again.
        {
            QueuedSpy started(rig.manager.get(), &LVUploadManager::rUploadStart);
            rig.manager->startUpFile(rig.queued().first());
            QTRY_VERIFY_WITH_TIMEOUT(reported(started, 2), kLong);
            QTRY_COMPARE_WITH_TIMEOUT(storedState(rig), 1, kLong);
        }

        // Paused, then started: waiting, then running again.
        rig.manager->pauseUpFile(rig.queued().first());
        QTRY_VERIFY_WITH_TIMEOUT(!rig.manager->isRun(), kLong);
        QCOMPARE(storedState(rig), 3);
        QVERIFY(rig.db.getUploadSubFileNum(rig.queued().first().fId) > 0);
        {
            QueuedSpy started(rig.manager.get(), &LVUploadManager::rUploadStart);
            rig.manager->startUpFile(rig.queued().first());
            QTRY_VERIFY_WITH_TIMEOUT(reported(started, 2), kLong);
            QTRY_COMPARE_WITH_TIMEOUT(storedState(rig), 1, kLong);
        }

        rig.server->throttle(0);
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty() && !rig.manager->isRun(), kLong);
        for (int i = 0; i < kFiles; ++i)
            QVERIFY2(rig.stored(QString("kept/f%1.bin").arg(i)) == data.at(i), qPrintable(QString::number(i)));
        const QList<FinishFileInfo> done = rig.finished();
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.first().fileName, QString("kept"));
    }

    void countFollowsFinishedEntries()
    {
        UploadRig rig("dev-keptcount");
        QVERIFY(rig.startLan());
        rig.makeManager();
        QueuedSpy totals(rig.manager.get(), &LVUploadManager::rGetTotalNum);
        QueuedSpy stopped(rig.manager.get(), &LVUploadManager::rStop);
        QueuedSpy notices(rig.owner.get(), &TestOwner::sg_notifyStatus);
        QStringList paths;
        for (int i = 0; i < 3; ++i)
            paths << rig.writeFile(QString("top%1.bin").arg(i), UploadRig::bytes(4096, 90 + i));
        rig.writeFile("box/a.bin", UploadRig::bytes(4096, 95));
        rig.writeFile("box/b.bin", UploadRig::bytes(4096, 96));
        paths << rig.local.filePath("box");
        rig.add(paths);
        QTRY_VERIFY_WITH_TIMEOUT(!stopped.isEmpty() && rig.queued().isEmpty(), kLong);

        bool sawAll = false;
        for (const QList<QVariant>& args : totals)
            sawAll = sawAll || args.at(1).toInt() == 4;
        QVERIFY(sawAll);
        QTRY_VERIFY(!totals.isEmpty() && totals.last().at(1).toInt() == 0);
        QCOMPARE(rig.manager->totalNum(), 0);
        int success = 0;
        for (const QList<QVariant>& args : notices)
            success += args.at(1).toString() == "File upload success" ? 1 : 0;
        QCOMPARE(success, 1);
        QCOMPARE(rig.finished().size(), 4);

        // Added again (forced): counted again from the store.
        const int before = totals.count();
        rig.add({paths.first()}, TwFolderInfo(), true);
        QTRY_VERIFY_WITH_TIMEOUT(totals.count() > before, kLong);
        bool sawOne = false;
        for (int i = before; i < totals.count(); ++i)
            sawOne = sawOne || totals.at(i).at(1).toInt() == 1;
        QVERIFY(sawOne);
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty() && !rig.manager->isRun(), kLong);
        QTRY_COMPARE(rig.manager->totalNum(), 0);
    }
};

TW_TEST_MAIN(TestUploadKeptState)
#include "tst_uploadkeptstate.moc"
