// Transfers that stall while the device answers: told apart from an
// outage by what the device answers, and tried again once bytes move.
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "tests/transfer/outagerig.h"
#include "transfer/lvdowntask.h"

class TestDownloadStalls : public QObject
{
    Q_OBJECT
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
};

TW_TEST_MAIN(TestDownloadStalls)
#include "tst_downloadstalls.moc"
