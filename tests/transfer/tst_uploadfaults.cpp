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

    void progressCarriesTheBytesSent()
    {
        UploadRig rig("dev-progress-bytes");
        QVERIFY(rig.startLan());
        rig.makeManager();
        const int size = 1024 * 1024;
        rig.server->throttle(256 * 1024);
        QList<qint64> sent;
        QObject ctx;
        connect(rig.manager.get(), &LVUploadManager::rUploadProgress, &ctx,
                [&](UploadFileInfo f) { sent << f.fileWriteLen; });
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({rig.writeFile("slow.bin", UploadRig::bytes(size, 3))});
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, kLong);
        QVERIFY(rig.stored("slow.bin") == UploadRig::bytes(size, 3));
        // Bytes on their way up, growing to the whole file; not a speed.
        QVERIFY2(sent.size() >= 2, qPrintable(QString::number(sent.size())));
        for (int i = 1; i < sent.size(); ++i)
            QVERIFY(sent.at(i) >= sent.at(i - 1));
        QVERIFY(sent.last() <= size);
        QVERIFY2(sent.last() >= size / 2, qPrintable(QString::number(sent.last())));
    }
};

TW_TEST_MAIN(TestUploadFaults)
#include "tst_uploadfaults.moc"
