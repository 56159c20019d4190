// Transfers that stall while the device answers: told apart from an
// outage by what the device answers, and tried again once bytes move.
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "tests/transfer/outagerig.h"
#include "transfer/lvdowntask.h"

class TestDownloadStalls : public QObject
{
    Q_OBJECT
public:
    // Two rounds of stalled attempts take a while on a loaded machine.
    TestDownloadStalls() { testFunctionTimeout(180000); }

private slots:
    // Every transfer stalls for a while though the device answers: the
    // entries that used up their attempts meanwhile are tried again by
    // themselves once a later one gets through.
    void stalledDownloadsAreTriedAgainOnceBytesMove()
    {
        ShortPacing pace(100, 60000);
        DownloadRig rig;
        rig.owner->setStallTimeout(1);
        QVERIFY(rig.owner->connectTo(rig.server->port()));
        const QStringList names{"s0.bin", "s1.bin", "s2.bin"};
        QList<TwFileInfo> items;
        for (int i = 0; i < names.size(); ++i) {
            rig.server->addGeneratedFile(names[i].toStdString(), 200 * 1024, true, 60 + i);
            items << rig.item(names[i].toStdString());
        }
        // The first two use up their attempts; the third gets through.
        rig.server->stallAfter(1024, 2 * (LVDownTask::kMaxRetries + 1));
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, items));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 2, 25000);
        for (const DownFileInfo& f : qAsConst(rig.rec->errors))
            QVERIFY2(f.msg.contains("stopped sending"), qPrintable(f.msg));
        QTRY_COMPARE_WITH_TIMEOUT(rig.queued(), 0, 10000);
        for (const QString& n : names)
            QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + n), rig.serverBytes(n.toStdString()));
        QCOMPARE(rig.rec->errors.size(), 2);
        QCOMPARE(rig.finished().size(), 3);
    }

    // The same inside a folder: the file that stalled runs again once the
    // next one got through, and the folder ends whole.
    void stalledFileOfAFolderIsTriedAgainOnceBytesMove()
    {
        ShortPacing pace(100, 60000);
        DownloadRig rig;
        rig.owner->setStallTimeout(1);
        QVERIFY(rig.owner->connectTo(rig.server->port()));
        rig.server->addGeneratedFile("F/a.bin", 100 * 1024, true, 80);
        rig.server->addGeneratedFile("F/b.bin", 100 * 1024, true, 81);
        rig.server->stallAfter(1024, LVDownTask::kMaxRetries + 1);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("F", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size() + rig.rec->errors.size(), 1, 18000);
        QVERIFY2(rig.rec->errors.isEmpty(), qPrintable(rig.rec->errors.value(0).msg));
        QCOMPARE(rig.rec->finishes.first().fileName, QString("F"));
        for (const char* n : {"F/a.bin", "F/b.bin"})
            QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + n), rig.serverBytes(n));
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()), LVDownTask::kMaxRetries + 3);
        QCOMPARE(rig.queued(), 0);
    }

    // The probe that tells a stall from an outage takes an error answer as
    // no answer: the stalled file waits like in an outage and spends no
    // attempt, and arrives when the device sends again.
    void stallWhileTheDeviceAnswersOnlyWithErrorsCostsNoAttempt()
    {
        ShortPacing pace(100, 60000);
        DownloadRig rig;
        rig.owner->setStallTimeout(1);
        QVERIFY(rig.owner->connectTo(rig.server->port()));
        rig.server->addGeneratedFile("p.bin", 100 * 1024, true, 70);
        rig.server->setCommandAnswer("ping", R"({"result":0,"message":"device busy","errCode":9})");
        rig.server->stallAfter(1024, LVDownTask::kMaxRetries + 2);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("p.bin")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size() + rig.rec->errors.size(), 1, 18000);
        QVERIFY2(rig.rec->errors.isEmpty(), qPrintable(rig.rec->errors.value(0).msg));
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/p.bin"), rig.serverBytes("p.bin"));
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()), LVDownTask::kMaxRetries + 3);
    }

    // Every file stalls out and nothing else is left to run: once the
    // device answers, the queue tries them again with their usual attempts.
    void filesThatAllStalledOutAreTriedAgain()
    {
        ShortPacing pace(100, 60000);
        DownloadRig rig;
        rig.owner->setStallTimeout(1);
        QVERIFY(rig.owner->connectTo(rig.server->port()));
        const QList<std::string> names{"t0.bin", "t1.bin"};
        QList<TwFileInfo> items;
        for (const std::string& n : names) {
            rig.server->addGeneratedFile(n, 100 * 1024, true, 90 + items.size());
            items << rig.item(n);
        }
        rig.server->stallAfter(1024, 2 * (LVDownTask::kMaxRetries + 1));
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, items));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 2, 60000);
        QTRY_COMPARE_WITH_TIMEOUT(rig.queued(), 0, 60000);
        for (const std::string& n : names)
            QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + QString::fromStdString(n)), rig.serverBytes(n));
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()), 2 * (LVDownTask::kMaxRetries + 2));
    }

    // A stall that outlasts the second round too leaves the file failed and
    // the queue idle, not trying for ever.
    void aStallThatLastsEndsFailed()
    {
        ShortPacing pace(100, 60000);
        DownloadRig rig;
        rig.owner->setStallTimeout(1);
        QVERIFY(rig.owner->connectTo(rig.server->port()));
        rig.server->addGeneratedFile("u.bin", 100 * 1024, true, 95);
        rig.server->stallAfter(1024, 1000);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("u.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->errors.size() == 2 && !rig.mgr->isRun(), 80000);
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()), 2 * (LVDownTask::kMaxRetries + 1));
        QCOMPARE(rig.row(rig.rec->errors.last().fId).fileState, 4);
        QVERIFY2(rig.rec->errors.last().msg.contains("stopped sending"), qPrintable(rig.rec->errors.last().msg));
    }
};

TW_TEST_MAIN(TestDownloadStalls)
#include "tst_downloadstalls.moc"
