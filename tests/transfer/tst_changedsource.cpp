// A file that changes between an interrupted transfer and its resume: the
// rest of another file is never joined to the first part, both ways, while
// an unchanged file still goes on from where it stopped.
#include <fcntl.h>
#include <sys/stat.h>

#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "tests/transfer/uploadrig.h"
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

// Bytes the device holds of unfinished uploads.
qint64 heldOnDevice(const UploadRig& rig)
{
    qint64 n = 0;
    for (const QFileInfo& f : QDir(rig.storage.path() + "/.tw_uploads").entryInfoList(QDir::Files))
        n += f.size();
    return n;
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

    void uploadResumesOnlyTheSameFile_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("resumes");
        QTest::newRow("unchanged") << QString() << true;
        QTest::newRow("same size") << "rewrite" << false;
        // The time of change set back as it was: the status change still tells.
        QTest::newRow("same size, time set back") << "rewrite, old time" << false;
        QTest::newRow("grown") << "grow" << false;
        // Only the time moved: hashed again, same digest, goes on.
        QTest::newRow("touched") << "touch" << true;
    }

    void uploadResumesOnlyTheSameFile()
    {
        QFETCH(QString, change);
        QFETCH(bool, resumes);
        UploadRig rig("dev-changed-" + QString(QTest::currentDataTag()).replace(' ', '-'));
        QVERIFY(rig.startLan());
        rig.server->throttle(2 * 1024 * 1024);
        rig.makeManager();
        const QByteArray first = UploadRig::bytes(int(kSize), 41);
        const QString p = rig.writeFile("up.bin", first);
        rig.add({p});
        QTRY_VERIFY_WITH_TIMEOUT(heldOnDevice(rig) > 1024 * 1024, kWait);
        rig.manager.reset();   // the program goes away mid-transfer
        const UploadFileInfo row = rig.queued().first();
        QVERIFY(!row.taskId.isEmpty());
        QCOMPARE(row.fileMd5, UploadRig::md5(first));

        struct stat before;
        QCOMPARE(::stat(QFile::encodeName(p).constData(), &before), 0);
        QByteArray now = first;
        if (change.startsWith("rewrite"))
            now = UploadRig::bytes(int(kSize), 42);
        else if (change == "grow")
            now = first + UploadRig::bytes(4096, 43);
        if (!change.isEmpty()) {
            QTest::qSleep(20);   // a time of change of its own
            rig.writeFile("up.bin", now);
        }
        if (change.endsWith("old time")) {
            const struct timespec times[2] = {before.st_atim, before.st_mtim};
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(p).constData(), times, 0), 0);
        }

        rig.server->throttle(0);
        rig.server->clearRequests();
        rig.makeManager();
        rig.manager->start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kWait);
        QVERIFY(rig.stored("up.bin") == now);
        const QList<QJsonObject> creates = rig.createsFor("up.bin");
        QCOMPARE(creates.size(), 1);
        QCOMPARE(creates.first().value("fileMd5").toString(), UploadRig::md5(now));
        QCOMPARE(creates.first().value("taskId").toString(), resumes ? row.taskId : QString());
        const auto puts = rig.server->requestsFor("/device/upload/data");
        QCOMPARE(int(puts.size()), 1);
        const qint64 offset = QUrlQuery(QString::fromStdString(puts.front().query)).queryItemValue("offset").toLongLong();
        if (resumes)
            QVERIFY2(offset > 1024 * 1024, puts.front().query.c_str());
        else
            QCOMPARE(offset, qint64(0));
    }
};

TW_TEST_MAIN(TestChangedSource)
#include "tst_changedsource.moc"
