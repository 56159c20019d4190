#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "tests/transfer/outagerig.h"
#include "transfer/lvdowntask.h"

namespace {
// Below the function time-out: a stalled queue fails with its comparison.
const int kWait = 30000;
const int kFiles = 5;
const qint64 kFileSize = 2 * 1024 * 1024;

// A folder of kFiles files on the device, downloading slowly enough for an
// outage to fall in its middle.
void seedFolder(DownloadRig& rig)
{
    for (int i = 0; i < kFiles; ++i)
        rig.server->addGeneratedFile("Trip/f" + std::to_string(i) + ".bin", kFileSize, true, 40 + i);
    rig.server->throttle(8 * 1024 * 1024);
}

void checkFolderArrived(DownloadRig& rig)
{
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "Trip/f" + std::to_string(i) + ".bin";
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + QString::fromStdString(name)),
                 rig.serverBytes(name));
    }
    QCOMPARE(QDir(rig.downDir + "/Trip").entryList(QDir::Files).size(), kFiles);
    QVERIFY(rig.rec->errors.isEmpty());
    QCOMPARE(rig.queued(), 0);
    QCOMPARE(QDir(rig.mgr->tmpDir()).entryList(QDir::Files).size(), 0);
}

// The device goes away in the middle of a folder download for ms and comes
// back: everything arrives, nothing fails, and the transfer goes on within
// a few seconds from the byte it had reached.
void outageDuringFolderDownload(int ms)
{
    DownloadRig rig;
    seedFolder(rig);
    QVERIFY(rig.mgr->addDownFiles(1, rig.downDir, {rig.item("Trip", false)}, 0));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(rig.downDir + "/Trip/f0.bin"), kWait);
    QTRY_VERIFY_WITH_TIMEOUT(Outage::largestPartial(rig.mgr->tmpDir()) > 0, kWait);

    const int port = rig.server->port();
    rig.server->stop();
    QTest::qWait(300);
    const qint64 partial = Outage::largestPartial(rig.mgr->tmpDir());
    QVERIFY(partial > 0 && partial < kFileSize);
    QTest::qWait(ms);
    rig.server->clearRequests();
    QVERIFY(rig.server->start(port));
    QElapsedTimer back;
    back.start();
    // Nothing failed while the device was away.
    QVERIFY(rig.rec->errors.isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(!rig.server->requestsFor("/device/download").empty(), kWait);
    QVERIFY2(back.elapsed() < OutagePacing::kMaxDelayMs + 4000, qPrintable(QString::number(back.elapsed())));
    QCOMPARE(QString::fromStdString(rig.server->requestsFor("/device/download").front().range),
             QString("bytes=%1-").arg(partial));

    QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty() && rig.rec->finishes.last().isFolder, kWait);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
    checkFolderArrived(rig);
}
}

// Downloads while the device goes away and comes back, or answers busy.
class TestDownloadOutages : public QObject
{
    Q_OBJECT
public:
    // Long outages run at a faster pace; each still takes a while.
    TestDownloadOutages() { testFunctionTimeout(60000); }

private slots:
    void shortOutage() { outageDuringFolderDownload(3000); }

    // Well past the old limit of seven attempts two seconds apart: 60 s
    // away against the real pacing, played twenty times faster.
    void minuteLongOutage()
    {
        ShortPacing pace(250, 6000);
        outageDuringFolderDownload(3000);
    }

    void longOutageAtFastPace()
    {
        // 180 s away against the real pacing (delays up to 5 s, a counted
        // attempt per 120 s of waiting), played sixty times faster.
        ShortPacing pace(85, 2000);
        outageDuringFolderDownload(3000);
    }

    // A device that stays busy is asked less and less often, up to the
    // longest delay of the real pacing.
    void backOffGrowsDuringALongAbsence()
    {
        DownloadRig rig;
        rig.server->addFile("far.txt", "far away");
        rig.server->failWithStatus(503, -1, "/device/download");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("far.txt")}));
        QList<qint64> asked;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 14000 && asked.size() < 4) {
            const int n = int(rig.server->requestsFor("/device/download").size());
            while (asked.size() < n)
                asked << clock.elapsed();
            QTest::qWait(20);
        }
        QCOMPARE(asked.size(), 4);
        const qint64 first = asked[1] - asked[0];
        const qint64 second = asked[2] - asked[1];
        const qint64 third = asked[3] - asked[2];
        const QString gaps = QString("%1 %2 %3").arg(first).arg(second).arg(third);
        QVERIFY2(first >= 1500 && second >= first + 1200 && third >= OutagePacing::kMaxDelayMs - 500
                     && third <= OutagePacing::kMaxDelayMs + 1500,
                 qPrintable(gaps));
        QVERIFY(rig.rec->errors.isEmpty());
        rig.server->clearFaults();
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/far.txt"), QByteArray("far away"));
    }

    void notConnectedOwnerLeavesTheQueueWaiting()
    {
        DownloadRig rig;
        seedFolder(rig);
        rig.server->throttle(0);
        rig.owner->allowOnline = false;
        QVERIFY(rig.mgr->addDownFiles(1, rig.downDir, {rig.item("Trip", false)}, 0));
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->rStops >= 1 && !rig.mgr->isRun(), kWait);
        QVERIFY(rig.rec->errors.isEmpty());
        QList<DownFileInfo> rows;
        QVERIFY(rig.db.getDownFileList(1, 10, rig.owner->device.accessId, rig.owner->device.deviceId, rows));
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows.first().fileState == 1 || rows.first().fileState == 2);
        // The tab starts the engines on every connection.
        rig.owner->allowOnline = true;
        rig.mgr->start();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty() && rig.rec->finishes.last().isFolder, kWait);
        checkFolderArrived(rig);
    }

    void missingFileFailsAtOnceAfterAnOutage()
    {
        ShortPacing pace(500, 12000);
        DownloadRig rig;
        rig.server->addFile("gone.txt", "soon gone");
        rig.server->addFile("kept.txt", "kept");
        const TwFileInfo gone = rig.item("gone.txt");
        QFile::remove(QString::fromStdString(rig.server->absolutePath("gone.txt")));
        const int port = rig.server->port();
        rig.server->stop();
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {gone, rig.item("kept.txt")}));
        QTest::qWait(2500);
        QVERIFY(rig.rec->errors.isEmpty());
        QVERIFY(rig.server->start(port));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        QCOMPARE(rig.rec->errors.first().msg, QString("File does not write"));
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()) >= 1, true);
        int goneAnswers = 0;
        for (const auto& r : rig.server->requestsFor("/device/download"))
            if (QString::fromStdString(r.query).contains(QString("fileId=%1&").arg(gone.id)))
                ++goneAnswers;
        QCOMPARE(goneAnswers, 1);   // answered 404 once, not retried
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/kept.txt"), QByteArray("kept"));
    }
};

TW_TEST_MAIN(TestDownloadOutages)
#include "tst_downloadoutages.moc"
