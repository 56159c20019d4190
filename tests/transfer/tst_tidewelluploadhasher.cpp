#include <QCryptographicHash>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>

#include "core/uploadfileinfo.h"
#include "sdk/task_interface.h"
#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "transfer/filemd5asyn.h"
#include "transfer/lvuploadtask.h"
#include "transfer/tidewellupload.h"

// TidewellUpload (the library wrapper) reporting rules, FileMd5Asyn (the file
// hasher) and the upload task's hashing rule, driven through
// their own entry points.
class TestTidewellUploadHasher : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qRegisterMetaType<UploadFileInfo>("UploadFileInfo");
    }

    void progressIsThrottledButTheLastReportPasses()
    {
        TidewellUpload up;
        UploadFileInfo rec;
        rec.fileSize = 1000;
        rec.fileName = "a.bin";
        // A start without an owner fails, but the record is what the reports carry.
        QVERIFY(!up.start(rec));
        QSignalSpy spy(&up, &TidewellUpload::uploadProgress);

        up.on_progress(1000, 100);   // first: speed 0, record untouched
        QCOMPARE(spy.count(), 1);
        auto first = spy.takeFirst();
        QCOMPARE(first.at(1).toLongLong(), 0LL);
        QCOMPARE(first.at(2).toLongLong(), 100LL);
        QCOMPARE(first.at(0).value<UploadFileInfo>().fileWriteLen, 0LL);
        QCOMPARE(first.at(0).value<UploadFileInfo>().progress, 0.0f);

        up.on_progress(1000, 200);   // under a second later: dropped
        up.on_progress(1000, 500);
        QCOMPARE(spy.count(), 0);

        up.on_progress(1000, 1000);  // the final figure is never held back
        QCOMPARE(spy.count(), 1);
        const UploadFileInfo r = spy.first().at(0).value<UploadFileInfo>();
        QCOMPARE(r.fileWriteLen, 1000LL);
        QCOMPARE(r.progress, 1.0f);
        QVERIFY(up.hasSendFinish());
    }

    void zeroSizeFileReportsNoProgressFraction()
    {
        TidewellUpload up;
        UploadFileInfo rec;
        QVERIFY(!up.start(rec));
        QSignalSpy spy(&up, &TidewellUpload::uploadProgress);
        up.on_progress(0, 0);
        up.on_progress(0, 0);
        QTest::qWait(1100);
        up.on_progress(0, 0);
        for (const auto& args : spy)
            QCOMPARE(args.at(0).value<UploadFileInfo>().progress, 0.0f);
    }

    void statusCountsOnceAndStopPausesOnce()
    {
        TidewellUpload up;
        QSignalSpy pause(&up, &TidewellUpload::uploadPause);
        QSignalSpy err(&up, &TidewellUpload::uploadError);
        QSignalSpy fin(&up, &TidewellUpload::uploadFinish);
        up.stop();
        up.stop();
        QCOMPARE(pause.count(), 1);
        up.on_status(sdk::cores::tidewell::status_upload_failed, "late", 500);
        up.on_status(sdk::cores::tidewell::status_upload_done, "late", 0);
        QCOMPARE(err.count(), 0);
        QCOMPARE(fin.count(), 0);

        TidewellUpload up2;
        QSignalSpy err2(&up2, &TidewellUpload::uploadError);
        QSignalSpy pause2(&up2, &TidewellUpload::uploadPause);
        up2.on_status(sdk::cores::tidewell::status_upload_failed, "full", 2014);
        up2.on_status(sdk::cores::tidewell::status_upload_failed, "again", 404);
        up2.stop();
        QCOMPARE(err2.count(), 1);
        QCOMPARE(err2.first().at(1).toInt(), 2014);
        QCOMPARE(err2.first().at(2).toString(), QString("Capacity is full"));
        QCOMPARE(pause2.count(), 0);
    }

    void errorMessages_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("msg");
        QTest::addColumn<bool>("fatal");
        QTest::newRow("full") << 2014 << "Capacity is full" << true;
        QTest::newRow("perm1") << 2001 << "Without permission" << true;
        QTest::newRow("perm2") << 2002 << "Without permission" << true;
        QTest::newRow("unauth") << 2201 << "Unauthorized operation" << true;
        QTest::newRow("missing") << 404 << "File does not exist" << true;
        QTest::newRow("removed") << 20203 << "Space by remove" << true;
        QTest::newRow("403") << 403 << "Unknown error" << true;
        QTest::newRow("20204") << 20204 << "Unknown error" << true;
        QTest::newRow("20205") << 20205 << "Unknown error" << true;
        QTest::newRow("500") << 500 << "Unknown error" << false;
        QTest::newRow("net") << -1 << "Unknown error" << false;
    }
    void errorMessages()
    {
        QFETCH(int, code);
        QFETCH(QString, msg);
        QFETCH(bool, fatal);
        QCOMPARE(TidewellUpload::errorMessage(code), msg);
        QCOMPARE(LVUploadTask::isFatalCode(code), fatal);
    }

    void hashRuleByFirmwareAndKind_data()
    {
        QTest::addColumn<QString>("sn");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("appCode");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("skip");
        const qint64 big = 600000000;
        const qint64 limit = LVUploadTask::kNoHashSize;
        QTest::newRow("QX2 new firmware") << "QX2A" << "" << "4054" << big << true;
        QTest::newRow("QX2 old firmware") << "QX2A" << "" << "4053" << big << false;
        QTest::newRow("QX3 new firmware") << "QX3A" << "" << "5023" << big << true;
        QTest::newRow("QX3 old firmware") << "QX3A" << "" << "5022" << big << false;
        QTest::newRow("QX1 any firmware") << "QX1A" << "" << "9999" << big << false;
        QTest::newRow("PC device") << "" << "QXP-1" << "0" << big << true;
        QTest::newRow("at the limit") << "QX2A" << "" << "9999" << limit << false;
        QTest::newRow("above the limit") << "QX2A" << "" << "9999" << limit + 1 << true;
        QTest::newRow("small on PC") << "" << "QXP-1" << "0" << qint64(10) << false;
    }
    void hashRuleByFirmwareAndKind()
    {
        QFETCH(QString, sn);
        QFETCH(QString, model);
        QFETCH(QString, appCode);
        QFETCH(qint64, size);
        QFETCH(bool, skip);
        TestOwner owner;
        owner.device.deviceSn = sn;
        owner.device.deviceModel = model;
        owner.device.appCode = appCode;
        QCOMPARE(LVUploadTask::skipHash(&owner, size), skip);
    }

    void hasherDigests()
    {
        QTemporaryDir dir;
        const QString empty = dir.filePath("empty");
        const QString data = dir.filePath("data");
        QFile f(empty);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QByteArray bytes;
        for (int i = 0; i < 10000; ++i)
            bytes.append(char(i * 7));
        QFile g(data);
        QVERIFY(g.open(QIODevice::WriteOnly));
        g.write(bytes);
        g.close();

        FileMd5Asyn h;
        QueuedSpy spy(&h, &FileMd5Asyn::resultFileMd5);
        h.start(empty);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toString(), QString("d41d8cd98f00b204e9800998ecf8427e"));
        h.start(data);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toString(),
                 QString(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()));
        h.start(dir.filePath("missing"));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toString(), QString());
    }

    // Files read in several pieces, and one ending exactly on a piece, give
    // the same digest as hashing the bytes whole; a raised stop gives "-1".
    void digestAcrossReadSizes()
    {
        QTemporaryDir dir;
        for (const qint64 size : {qint64(1), qint64(1 << 20) - 1, qint64(1 << 20), qint64(1 << 20) + 1,
                                  qint64(5 << 19) + 3}) {
            QByteArray bytes(int(size), Qt::Uninitialized);
            for (int i = 0; i < bytes.size(); ++i)
                bytes[i] = char((i * 131) ^ (i >> 9));
            const QString path = dir.filePath(QString::number(size));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == size);
            f.close();
            QCOMPARE(FileMd5Asyn::digestOf(path),
                     QString(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()));
            const std::atomic<bool> stop{true};
            QCOMPARE(FileMd5Asyn::digestOf(path, &stop), QString("-1"));
        }
    }

    void hasherStopAnswersOnceAndDeletesCleanly()
    {
        QTemporaryDir dir;
        const QString big = dir.filePath("big");
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(2000) * 1024 * 1024));   // sparse
        f.close();

        FileMd5Asyn h;
        QueuedSpy spy(&h, &FileMd5Asyn::resultFileMd5);
        h.start(big);
        QTRY_VERIFY(h.isActive());
        QTest::qWait(50);
        h.stop();
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(0).toString(), QString("-1"));
        QTest::qWait(100);
        QCOMPARE(spy.count(), 1);

        // Deleting while the pool runs it waits for the run to end.
        auto* h2 = new FileMd5Asyn;
        h2->start(big);
        QTest::qWait(20);
        delete h2;

        // Queued behind busy pool threads: taken back without a run.
        QThreadPool::globalInstance()->setMaxThreadCount(1);
        FileMd5Asyn busy;
        busy.start(big);
        auto* queued = new FileMd5Asyn;
        QSignalSpy qspy(queued, &FileMd5Asyn::resultFileMd5);
        queued->start(big);
        delete queued;
        busy.stopAndWait();
        QThreadPool::globalInstance()->setMaxThreadCount(3);
    }
};

TW_TEST_MAIN(TestTidewellUploadHasher)
#include "tst_tidewelluploadhasher.moc"
