#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/uploadrig.h"

namespace {
const int kLong = 30000;
}

// Failures of files inside an uploaded folder: each row keeps its own reason,
// and a refusal the device will repeat is not asked again.
class TestUploadFaults : public QObject
{
    Q_OBJECT
private slots:
    void folderFilesKeepTheirOwnReasons()
    {
        UploadRig rig("dev-own-reasons");
        QVERIFY(rig.startLan());
        rig.makeManager();
        const QString refused = "a\\b.txt";   // the device refuses the name
        const QString tooLong = QString(201, 'l');
        rig.writeFile("box/" + refused, "refused");
        rig.writeFile("box/" + tooLong, "long");
        rig.writeFile("box/fine.txt", "fine");
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({rig.local.filePath("box")});
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QCOMPARE(rig.stored("box/fine.txt"), QByteArray("fine"));
        QCOMPARE(rig.createsFor(refused).size(), 1);   // not asked six more times

        const QList<UploadFileInfo> rows = rig.queued();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().fileState, 4);
        QList<UploadFileInfo> failed;
        QVERIFY(rig.db.getUploadFailFileList(1, 100, rows.first(), failed));
        QCOMPARE(failed.size(), 2);
        QMap<QString, QString> msgs;
        for (const UploadFileInfo& f : failed)
            msgs.insert(f.fileName, f.msg);
        QCOMPARE(msgs.value(refused), QString("upload create: invalid file name or size"));
        QCOMPARE(msgs.value(tooLong), QString("File name too long"));
    }
};

TW_TEST_MAIN(TestUploadFaults)
#include "tst_uploadfaults.moc"
