#include <QUrlQuery>

#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/outagerig.h"
#include "tests/transfer/uploadrig.h"
#include "transfer/lvuploadtask.h"

namespace {
const int kWait = 120000;
const int kFiles = 5;
const int kFileSize = 2 * 1024 * 1024;

QByteArray content(int i)
{
    return UploadRig::bytes(kFileSize, 60 + quint32(i));
}

QString seedFolder(UploadRig& rig)
{
    for (int i = 0; i < kFiles; ++i)
        rig.writeFile(QString("trip/f%1.bin").arg(i), content(i));
    rig.server->throttle(1024 * 1024);   // per transfer; several run at once
    return rig.local.filePath("trip");
}

void checkFolderArrived(UploadRig& rig)
{
    for (int i = 0; i < kFiles; ++i)
        QVERIFY2(rig.stored(QString("trip/f%1.bin").arg(i)) == content(i), qPrintable(QString::number(i)));
    QVERIFY(rig.queued().isEmpty());
}

// Largest offset a data request after the return started from.
qint64 resumedFrom(UploadRig& rig)
{
    qint64 best = 0;
    for (const auto& r : rig.server->requestsFor("/device/upload/data"))
        best = qMax(best, QUrlQuery(QString::fromStdString(r.query)).queryItemValue("offset").toLongLong());
    return best;
}

// The device goes away in the middle of a folder upload and comes back.
void outageDuringFolderUpload(int ms, int busyStatus = 0)
{
    UploadRig rig(QString("dev-outage-%1-%2").arg(ms).arg(busyStatus));
    QVERIFY(rig.startLan());
    rig.makeManager();
    QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
    QueuedSpy progress(rig.manager.get(), &LVUploadManager::rUploadProgress);
    rig.add({seedFolder(rig)});
    QTRY_VERIFY_WITH_TIMEOUT(progress.count() > 2, kWait);
    QVERIFY(!rig.queued().isEmpty());

    QElapsedTimer back;
    if (busyStatus) {
        // Busy, not gone: every upload request is answered busyStatus.
        rig.server->failWithStatus(busyStatus, -1, "/device/upload");
        QVERIFY(Outage::away(*rig.server, 200, back));   // cuts the bodies under way
        QTest::qWait(ms);
        rig.server->clearRequests();
        rig.server->clearFaults();
        back.start();
    } else {
        const int port = rig.server->port();
        rig.server->stop();
        QTest::qWait(ms);
        rig.server->clearRequests();
        QVERIFY(rig.server->start(port));
        back.start();
    }
    QCOMPARE(error.count(), 0);

    QTRY_VERIFY_WITH_TIMEOUT(!rig.server->requestsFor("/device/upload/data").empty(), kWait);
    QVERIFY2(back.elapsed() < OutagePacing::kMaxDelayMs + 4000, qPrintable(QString::number(back.elapsed())));
    // Continued from what the device held, not from the start.
    QTRY_VERIFY_WITH_TIMEOUT(resumedFrom(rig) > 0, kWait);

    QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kWait);
    checkFolderArrived(rig);
    QCOMPARE(error.count(), 0);
}
}

// Uploads while the device goes away and comes back, or answers busy.
class TestUploadOutages : public QObject
{
    Q_OBJECT
public:
    // Long outages run at a faster pace; each still takes a while.
    TestUploadOutages() { testFunctionTimeout(60000); }

private slots:
    void shortOutage() { outageDuringFolderUpload(3000); }

    // 60 s away against the real pacing, played twenty times faster.
    void minuteLongOutage()
    {
        ShortPacing pace(250, 6000);
        outageDuringFolderUpload(3000);
    }

    // 180 s away, played sixty times faster.
    void longOutageAtFastPace()
    {
        ShortPacing pace(85, 2000);
        outageDuringFolderUpload(3000);
    }

    // Bytes that moved between two absences give the upload its whole
    // waiting budget again: neither absence alone waits long enough to count
    // as a failed attempt, both together would, and the upload has no failed
    // attempt left to spend.
    void bytesBetweenTwoAbsencesRenewTheWaitingBudget()
    {
        ShortPacing pace(100, 2000);
        UploadRig rig("dev-outage-renew");
        QVERIFY(rig.startLan());
        rig.makeManager();
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy progress(rig.manager.get(), &LVUploadManager::rUploadProgress);
        const QByteArray data = UploadRig::bytes(3 * 1024 * 1024, 77);
        rig.server->failWithStatus(500, LVUploadTask::kMaxRetries, "/device/upload/create");
        // Each attempt moves some bytes, then hangs until the device goes.
        rig.server->stallAfter(256 * 1024, 1);
        rig.add({rig.writeFile("renew.bin", data)});
        for (int absence = 0; absence < 2; ++absence) {
            const int moved = progress.count();
            QTRY_VERIFY_WITH_TIMEOUT(progress.count() > moved, kWait);
            const size_t creates = rig.server->requestsFor("/device/upload/create").size();
            rig.server->failWithStatus(503, -1, "/device/upload");
            QElapsedTimer since;
            QVERIFY(Outage::away(*rig.server, 100, since));
            // About 1.2 s of waiting at 100 ms a try: below the budget.
            QTRY_VERIFY_WITH_TIMEOUT(rig.server->requestsFor("/device/upload/create").size() >= creates + 12,
                                     kWait);
            rig.server->clearFaults();
            if (absence == 0)
                rig.server->stallAfter(256 * 1024, 1);
            QCOMPARE(error.count(), 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kWait);
        QCOMPARE(error.count(), 0);
        QCOMPARE(rig.stored("renew.bin"), data);
    }

    void refusedNameStillFailsAtOnce()
    {
        UploadRig rig("dev-outage-refused");
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->refuseUpload(2001, "no rights");
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        rig.add({rig.writeFile("f.txt", "data")});
        QTRY_COMPARE_WITH_TIMEOUT(error.count(), 1, kWait);
        QCOMPARE(rig.creates().size(), 1);
        QCOMPARE(rig.queued().first().msg, QString("Without permission"));
    }
};

TW_TEST_MAIN(TestUploadOutages)
#include "tst_uploadoutages.moc"
