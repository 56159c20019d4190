#include <QUrlQuery>

#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "tests/transfer/outagerig.h"
#include "tests/transfer/uploadrig.h"

namespace {
const int kWait = 120000;
// A busy minute against the real pacing (delays up to 5 s, a counted
// attempt per 120 s of waiting), played ten times faster.
const int kBusyMs = 6000;
const int kPaceMaxDelayMs = 500;
const int kPaceBudgetMs = 12000;
const int kFiles = 4;
const int kFileSize = 2 * 1024 * 1024;
}

// A device that answers every transfer request with 503 (busy, updating)
// for a minute: the queues wait with growing delays and finish afterwards,
// nothing fails.
class TestBusyDevice : public QObject
{
    Q_OBJECT
public:
    TestBusyDevice() { testFunctionTimeout(60000); }

private slots:
    void downloadsWaitOutABusyMinute()
    {
        ShortPacing pace(kPaceMaxDelayMs, kPaceBudgetMs);
        DownloadRig rig;
        for (int i = 0; i < kFiles; ++i)
            rig.server->addGeneratedFile("Busy/f" + std::to_string(i) + ".bin", kFileSize, true, 80 + i);
        rig.server->throttle(4 * 1024 * 1024);
        QVERIFY(rig.mgr->addDownFiles(1, rig.downDir, {rig.item("Busy", false)}, 0));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(rig.downDir + "/Busy/f0.bin"), kWait);

        rig.server->failWithStatus(503, -1, "/device/download");
        QTest::qWait(kBusyMs);
        QVERIFY(rig.rec->errors.isEmpty());
        const int asked = int(rig.server->requestsFor("/device/download").size());
        rig.server->clearFaults();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty() && rig.rec->finishes.last().isFolder, kWait);
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = "Busy/f" + std::to_string(i) + ".bin";
            QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + QString::fromStdString(name)), rig.serverBytes(name));
        }
        QVERIFY(rig.rec->errors.isEmpty());
        // The delays grew: a minute took far fewer than 30 requests at the
        // old fixed 2 s (scaled like the pacing).
        QVERIFY2(asked < 25, qPrintable(QString::number(asked)));
    }

    void uploadsWaitOutABusyMinute()
    {
        ShortPacing pace(kPaceMaxDelayMs, kPaceBudgetMs);
        UploadRig rig("dev-busy-up");
        QVERIFY(rig.startLan());
        rig.makeManager();
        QList<QByteArray> data;
        for (int i = 0; i < kFiles; ++i) {
            data << UploadRig::bytes(kFileSize, 90 + quint32(i));
            rig.writeFile(QString("busy/f%1.bin").arg(i), data.last());
        }
        rig.server->throttle(1024 * 1024);
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy progress(rig.manager.get(), &LVUploadManager::rUploadProgress);
        rig.add({rig.local.filePath("busy")});
        QTRY_VERIFY_WITH_TIMEOUT(progress.count() > 2, kWait);

        // Busy from now on; the bodies under way are cut.
        rig.server->failWithStatus(503, -1, "/device/upload");
        const int port = rig.server->port();
        rig.server->stop();
        QVERIFY(rig.server->start(port));
        QTest::qWait(kBusyMs);
        QCOMPARE(error.count(), 0);
        rig.server->clearRequests();
        rig.server->clearFaults();
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kWait);
        for (int i = 0; i < kFiles; ++i)
            QVERIFY(rig.stored(QString("busy/f%1.bin").arg(i)) == data.at(i));
        QCOMPARE(error.count(), 0);
        // At least one file went on from what the device held.
        bool resumed = false;
        for (const auto& r : rig.server->requestsFor("/device/upload/data"))
            resumed = resumed || QUrlQuery(QString::fromStdString(r.query)).queryItemValue("offset").toLongLong() > 0;
        QVERIFY(resumed);
    }
};

TW_TEST_MAIN(TestBusyDevice)
#include "tst_busydevice.moc"
