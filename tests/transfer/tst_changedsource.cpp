// A file that changes between an interrupted transfer and its resume: the
// rest of another file is never joined to the first part, both ways, while
// an unchanged file still goes on from where it stopped.
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "transfer/lvdowntask.h"
#include "transfer/sourcestamp.h"

namespace {
const int kWait = 60000;
const qint64 kSize = 6 * 1024 * 1024;

qint64 rangeStart(const TestDeviceServer::Request& r)
{
    const QString range = QString::fromStdString(r.range);
    return range.startsWith("bytes=") ? range.mid(6).section('-', 0, 0).toLongLong() : 0;
}

// Downloads big.bin until part of it is held, then pauses and makes a
// fresh manager (as after a restart).
void interruptedDownload(DownloadRig& rig, DownFileInfo& entry, qint64& partial)
{
    rig.server->addGeneratedFile("big.bin", kSize, true, 1);
    rig.server->throttle(2 * 1024 * 1024);
    QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("big.bin")}));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->starts.isEmpty(), kWait);
    entry = rig.rec->starts.first();
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec->maxWritten(entry.fId) > 1024 * 1024, kWait);
    rig.mgr->pauseFile(entry);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun() && rig.row(entry.fId).fileState == 3, kWait);
    partial = QFileInfo(rig.tempPathOf(entry)).size();
    rig.server->throttle(0);
    rig.server->clearRequests();
    rig.newManager();
}
}

class TestChangedSource : public QObject
{
    Q_OBJECT
private slots:
    void downloadResumesOnlyTheSameFile_data()
    {
        QTest::addColumn<qint64>("newSize");   // 0: the file stays as it is
        QTest::newRow("unchanged") << qint64(0);
        QTest::newRow("same size") << kSize;
        QTest::newRow("grown") << kSize * 3 / 2;
    }

    void downloadResumesOnlyTheSameFile()
    {
        QFETCH(qint64, newSize);
        DownloadRig rig;
        qint64 partial = 0;
        DownFileInfo entry;
        interruptedDownload(rig, entry, partial);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(partial > 0 && partial < kSize, qPrintable(QString::number(partial)));
        QVERIFY(QFileInfo::exists(SourceStamp::pathOf(rig.tempPathOf(entry))));
        if (newSize > 0)
            rig.server->addGeneratedFile("big.bin", newSize, true, 2);

        rig.mgr->startFile(rig.row(entry.fId));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QVERIFY(rig.rec->errors.isEmpty());
        QVERIFY(DownloadRig::bytesOf(rig.downDir + "/big.bin") == rig.serverBytes("big.bin"));
        QCOMPARE(rig.rec->finishes.first().fileSize, newSize > 0 ? newSize : kSize);
        const auto reqs = rig.server->requestsFor("/device/download");
        QVERIFY(!reqs.empty());
        QCOMPARE(rangeStart(reqs.front()), partial);
        if (newSize == 0) {
            QCOMPARE(int(reqs.size()), 1);
        } else {
            QCOMPARE(int(reqs.size()), 2);
            QCOMPARE(rangeStart(reqs.back()), qint64(0));
        }
        QVERIFY(!QFileInfo::exists(rig.tempPathOf(entry)));
        QVERIFY(!QFileInfo::exists(SourceStamp::pathOf(rig.tempPathOf(entry))));
    }

    // Bytes that are not the device's file (here a whole-size part of
    // something else, which the device answers as complete) are never
    // placed as the download: they fail the MD5 the device names and the
    // file is fetched again.
    void finishedDownloadWithAnotherMd5IsFetchedAgain()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("sum.bin", 300 * 1024, true, 7);
        rig.owner->allowOnline = false;   // the first attempt waits for a start
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("sum.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->starts.isEmpty(), kWait);
        const DownFileInfo entry = rig.rec->starts.first();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        {
            QFile bogus(rig.tempPathOf(entry));
            QVERIFY(bogus.open(QIODevice::WriteOnly));
            bogus.write(QByteArray(300 * 1024, 'x'));
        }
        rig.owner->allowOnline = true;
        rig.server->clearRequests();
        rig.newManager();
        rig.mgr->start();
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QVERIFY(DownloadRig::bytesOf(rig.downDir + "/sum.bin") == rig.serverBytes("sum.bin"));
        const auto reqs = rig.server->requestsFor("/device/download");
        QCOMPARE(int(reqs.size()), 2);
        QCOMPARE(rangeStart(reqs.front()), qint64(300 * 1024));
        QCOMPARE(rangeStart(reqs.back()), qint64(0));
    }
};

TW_TEST_MAIN(TestChangedSource)
#include "tst_changedsource.moc"
