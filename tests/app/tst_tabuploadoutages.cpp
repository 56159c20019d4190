// Upload queues that outlive the device going away or answering "busy":
// nothing fails meanwhile, and each file goes on from what the device holds.
#include "tests/app/endtoendrig.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QUrl>
#include <QUrlQuery>

#include "core/twfolderinfo.h"
#include "tests/transfer/uploadrig.h"
#include "transfer/lvuploadmanager.h"
#include "transfer/lvuploadtask.h"
#include "transfer/outagepacing.h"

namespace {
const int kLong = 30000;

struct Rig : EndToEndRig
{
    std::unique_ptr<QueuedSpy> errors;

    void open()
    {
        QVERIFY(server->start());
        newTab();
        errors.reset(new QueuedSpy(tab->uploadManager(), &LVUploadManager::rUploadError));
        QVERIFY(connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(tab->linkState(), 2, kLong);
    }

    QString writeFile(const QString& rel, const QByteArray& data)
    {
        const QString path = base + "/local/" + rel;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            return QString();
        return path;
    }

    void upload(const QString& path)
    {
        tab->addUploadFiles(TwFolderInfo().toVariantMap(), {QUrl::fromLocalFile(path)});
    }

    QList<UploadFileInfo> queued()
    {
        QList<UploadFileInfo> rows;
        db.getUploadFileList(1, 1000, "acc-e2e", deviceId, rows);
        return rows;
    }

    // Bytes the device holds of each unfinished upload, by task id.
    QMap<QString, qint64> held() const
    {
        QMap<QString, qint64> out;
        QDirIterator it(QString::fromStdString(server->root()) + "/.tw_uploads", {"*.part"}, QDir::Files);
        while (it.hasNext()) {
            const QFileInfo part(it.next());
            out.insert(part.completeBaseName(), part.size());
        }
        return out;
    }

    // The device goes away for ms: nothing fails meanwhile and the queue
    // stops working. The request log starts afresh with the return.
    void outage(int ms, QMap<QString, qint64>& heldThen)
    {
        const int port = server->port();
        QElapsedTimer away;
        away.start();
        server->stop();
        heldThen = held();
        QTRY_COMPARE_WITH_TIMEOUT(tab->linkState(), 0, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!tab->isUpRun(), kLong);
        while (away.elapsed() < ms) {
            QTest::qWait(200);
            QCOMPARE(errors->count(), 0);
        }
        for (const UploadFileInfo& r : queued())
            QVERIFY2(r.fileState != 4, qPrintable(r.fileName + ": " + r.msg));
        server->clearRequests();
        QVERIFY(server->start(port));
    }

    // The first data request after the return: its task, offset and how
    // long it took to come.
    void firstDataAfterReturn(QString& taskId, qint64& offset, qint64& waitedMs)
    {
        QElapsedTimer t;
        t.start();
        QTRY_VERIFY_WITH_TIMEOUT(!server->requestsFor("/device/upload/data").empty(), kLong);
        waitedMs = t.elapsed();
        const QUrlQuery q(QString::fromStdString(server->requestsFor("/device/upload/data").front().query));
        taskId = q.queryItemValue("taskId");
        offset = q.queryItemValue("offset").toLongLong();
    }
};
} // namespace

class TestTabUploadOutages : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        OutagePacing::setLimits(0, 0);
    }

    // A short and a long absence (the long one outlasts the six retries 2 s
    // apart that used to fail a file): the folder arrives whole, and after
    // each absence the upload goes on within seconds from what the device
    // held.
    void folderOutlivesOutages()
    {
        Rig rig;
        const int count = 4;
        QList<QByteArray> data;
        for (int i = 0; i < count; ++i) {
            data << UploadRig::bytes(1536 * 1024, 70 + i);
            QVERIFY(!rig.writeFile(QString("Trip/p%1.bin").arg(i), data.last()).isEmpty());
        }
        QVERIFY(!rig.writeFile("Trip/note.txt", "note").isEmpty());
        rig.server->throttle(1024 * 1024);
        rig.open();
        rig.upload(rig.base + "/local/Trip");

        for (const int ms : {3000, 15000}) {
            QTRY_VERIFY_WITH_TIMEOUT(!rig.held().isEmpty() && rig.held().first() >= 128 * 1024, kLong);
            QMap<QString, qint64> heldThen;
            rig.outage(ms, heldThen);
            if (QTest::currentTestFailed())
                return;
            QString taskId;
            qint64 offset = -1, waited = 0;
            rig.firstDataAfterReturn(taskId, offset, waited);
            QVERIFY2(waited < 10000, qPrintable(QString::number(waited)));
            QVERIFY2(heldThen.contains(taskId), qPrintable(taskId));
            QVERIFY(offset > 0);
            QCOMPARE(offset, heldThen.value(taskId));
        }

        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), 60000);
        for (int i = 0; i < count; ++i)
            QCOMPARE(EndToEndRig::bytesOf(QString::fromStdString(
                             rig.server->absolutePath("Trip/p" + std::to_string(i) + ".bin"))),
                     data.at(i));
        QCOMPARE(rig.serverBytes("Trip/note.txt"), QByteArray("note"));
        QCOMPARE(rig.errors->count(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(rig.toastTexts().contains("File upload success"), kLong);
    }

    // Files added while the device is away wait without a try, and go when
    // it is back.
    void addedWhileAwayWaitsForTheDevice()
    {
        Rig rig;
        const QByteArray data = UploadRig::bytes(200 * 1024, 81);
        const QString path = rig.writeFile("late.bin", data);
        rig.open();
        const int port = rig.server->port();
        rig.server->stop();
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 0, kLong);
        rig.upload(path);
        QTRY_COMPARE_WITH_TIMEOUT(rig.queued().size(), 1, kLong);
        QTest::qWait(1500);
        QVERIFY(!rig.tab->isUpRun());
        QCOMPARE(rig.queued().first().fileState, 2);

        QVERIFY(rig.server->start(port));
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QCOMPARE(rig.serverBytes("late.bin"), data);
        QCOMPARE(rig.errors->count(), 0);
    }

    // "Busy" answers to uploads while the link stays up: tried again and
    // again without using up the file's attempts; for longer than the
    // bounded wait allows, each wait counts and the file finally fails.
    void busyDeviceIsWaitedFor()
    {
        Rig rig;
        const QByteArray a = UploadRig::bytes(300 * 1024, 91);
        const QString pa = rig.writeFile("busy/a.bin", a);
        const QString pb = rig.writeFile("lasting.bin", "never");
        rig.open();
        OutagePacing::setLimits(150, 60000);
        rig.server->failWithStatus(503, 12, "/device/upload");
        QueuedSpy finish(rig.tab->uploadManager(), &LVUploadManager::rUploadFinish);
        rig.upload(pa);
        QTRY_COMPARE_WITH_TIMEOUT(finish.count(), 1, kLong);
        QVERIFY(rig.queued().isEmpty());
        QCOMPARE(rig.serverBytes("a.bin"), a);
        QVERIFY(rig.server->requestsFor("/device/upload").size() > 1 + LVUploadTask::kMaxRetries);
        QCOMPARE(rig.errors->count(), 0);
        QCOMPARE(rig.tab->linkState(), 2);

        OutagePacing::setLimits(100, 500);
        rig.server->clearRequests();
        rig.server->failWithStatus(503, -1, "/device/upload");
        rig.upload(pb);
        QTRY_COMPARE_WITH_TIMEOUT(rig.errors->count(), 1, kLong);
        const UploadFileInfo failed = rig.errors->first().first().value<UploadFileInfo>();
        QCOMPARE(failed.fileName, QString("lasting.bin"));
        QCOMPARE(failed.fileState, 4);
        QVERIFY(rig.server->requestsFor("/device/upload/create").size() > 1 + LVUploadTask::kMaxRetries);
        QCOMPARE(rig.tab->linkState(), 2);
    }

    // A link the owner still takes for up while the device is gone: the
    // folder's remote folder cannot be made, and nothing fails before the
    // device answers again.
    void deviceGoneBeforeTheFolderIsMade()
    {
        UploadRig rig("dev-gone-folder");
        QVERIFY(rig.startLan());
        rig.makeManager();
        const QByteArray one = UploadRig::bytes(5000, 95);
        const QString p = rig.writeFile("Far/one.bin", one);
        const int port = rig.server->port();
        rig.server->stop();
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        rig.add({QFileInfo(p).absolutePath()});
        QTRY_COMPARE_WITH_TIMEOUT(rig.queued().size(), 1, kLong);
        QTest::qWait(3000);
        QCOMPARE(error.count(), 0);
        QVERIFY(rig.queued().first().fileState != 4);
        QVERIFY(rig.manager->isRun());

        QVERIFY(rig.server->start(port));
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QCOMPARE(rig.stored("Far/one.bin"), one);
        QCOMPARE(error.count(), 0);
    }

    // The connection comes back just as the queue goes idle for want of it
    // (the owner's start would find it still running): it is not missed.
    void connectionBackWhileGoingIdleIsNotMissed()
    {
        UploadRig rig("dev-back-idle");
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.owner->allowOnline = false;
        connect(rig.manager.get(), &LVUploadManager::rStop, rig.manager.get(),
                [&rig] { rig.owner->allowOnline = true; }, Qt::DirectConnection);
        rig.add({rig.writeFile("soon.txt", "soon")});
        QTRY_COMPARE_WITH_TIMEOUT(rig.queued().size(), 1, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kLong);
        QCOMPARE(rig.stored("soon.txt"), QByteArray("soon"));
    }
};

TW_TEST_MAIN(TestTabUploadOutages)
#include "tst_tabuploadoutages.moc"
