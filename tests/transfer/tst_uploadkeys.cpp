#include <QSignalSpy>

#include "tests/testenv.h"
#include "tests/transfer/uploadrig.h"

// A top-level entry and a file inside a folder entry numbered alike (the two
// tables count separately) run side by side and do not stop each other. Own
// executable, so both tables start counting at 1.
class TestUploadKeys : public QObject
{
    Q_OBJECT
private slots:
    void sameNumberedEntriesStayApart()
    {
        UploadRig rig("dev-keys");
        QVERIFY(rig.startLan());
        rig.server->throttle(100 * 1024);
        rig.makeManager();
        const QByteArray top = UploadRig::bytes(600 * 1024, 1);
        const QByteArray inner = UploadRig::bytes(300 * 1024, 2);
        const QString x = rig.writeFile("x.bin", top);
        rig.writeFile("folder/inner.bin", inner);

        QList<UploadFileInfo> started;
        QObject ctx;
        connect(rig.manager.get(), &LVUploadManager::rUploadStart, &ctx,
                [&](UploadFileInfo r) { started << r; });
        QSignalSpy finish(rig.manager.get(), &LVUploadManager::rUploadFinish);
        QSignalSpy pause(rig.manager.get(), &LVUploadManager::rUploadPause);
        rig.add({x, rig.local.filePath("folder")});

        QTRY_COMPARE(rig.queued().size(), 2);
        UploadFileInfo fileEntry, folderEntry;
        for (const UploadFileInfo& r : rig.queued())
            (r.isFolder ? folderEntry : fileEntry) = r;
        QList<UploadFileInfo> subs;
        QVERIFY(rig.db.getTopUploadSubFileList(folderEntry, subs));
        QCOMPARE(subs.size(), 1);
        QCOMPARE(subs.first().fId, fileEntry.fId);   // the clash this is about

        // Both transfers run at once.
        QTRY_COMPARE_WITH_TIMEOUT(int(rig.server->requestsFor("/device/upload/data").size()), 2, 20000);
        QCOMPARE(finish.count(), 0);

        // Pausing the top-level entry leaves the folder's file running.
        rig.manager->pauseUpFile(fileEntry);
        QTRY_VERIFY_WITH_TIMEOUT(pause.count() >= 1, 20000);
        rig.server->throttle(0);
        QTRY_COMPARE_WITH_TIMEOUT(finish.count(), 1, 30000);
        QCOMPARE(finish.first().at(0).value<UploadFileInfo>().fId, folderEntry.fId);
        QVERIFY(rig.stored("folder/inner.bin") == inner);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.manager->isRun(), 20000);
        QCOMPARE(rig.queued().size(), 1);
        QCOMPARE(rig.queued().first().fId, fileEntry.fId);
        QCOMPARE(rig.queued().first().fileState, 3);

        // And it goes on when started again.
        rig.manager->startUpFile(rig.queued().first());
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), 30000);
        QVERIFY(rig.stored("x.bin") == top);
    }
};

TW_TEST_MAIN(TestUploadKeys)
#include "tst_uploadkeys.moc"
