#include <QDirIterator>

#include "core/utils.h"
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "transfer/lvdowntask.h"

namespace {
void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

const int kWait = 60000;
}

class TestDownloadEngine : public QObject
{
    Q_OBJECT
private slots:
    void filesArriveByteIdentical()
    {
        DownloadRig rig;
        QVERIFY(rig.connected);
        rig.server->addFile("empty.bin", "");
        rig.server->addFile("one.bin", "x");
        rig.server->addGeneratedFile("big.bin", 5 * 1024 * 1024 + 17, true, 7);

        QVERIFY(!rig.mgr->addDownFilesPlain(1, rig.downDir, {}));
        QVERIFY(rig.mgr->addDownFilesPlain(
            1, rig.downDir, {rig.item("empty.bin"), rig.item("one.bin"), rig.item("big.bin")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 3, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);

        for (const char* name : {"empty.bin", "one.bin", "big.bin"})
            QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + name), rig.serverBytes(name));
        QCOMPARE(rig.rec->adds, QList<bool>{true});
        QCOMPARE(rig.queued(), 0);
        QCOMPARE(rig.finished().size(), 3);
        // Reported from the engine thread just before it stops running.
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->notices, QList<QString>{"File download success"}, kWait);
        QCOMPARE(QDir(rig.mgr->tmpDir()).entryList(QDir::Files).size(), 0);
        QCOMPARE(rig.mgr->totalNum(), 0);
        // The empty file needs no transfer.
        QCOMPARE(downloadsOf(*rig.server, rig.server->idForPath("empty.bin")), 0);

        // The same name again lands beside it under a free name.
        QVERIFY(rig.mgr->addDownFilesPlain(2, rig.downDir, {rig.item("one.bin")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 4, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/one(1).bin"), QByteArray("x"));
    }

    void folderTreeArrivesWholeUnderFreeName()
    {
        DownloadRig rig;
        rig.server->addFile("Photos/top.txt", "top");
        rig.server->addFile("Photos/A/a.txt", "aaa");
        rig.server->addGeneratedFile("Photos/A/B/b.bin", 300000, true, 3);
        rig.server->addFolder("Photos/A/Empty");
        rig.server->addFolder("Photos/Nothing");
        for (int i = 0; i < 230; ++i)
            rig.server->addFile("Photos/Many/f" + std::to_string(i) + ".txt", std::to_string(i));
        QDir().mkpath(rig.downDir + "/Photos");   // taken: the folder goes to Photos(1)

        QVERIFY(rig.mgr->addDownFiles(1, rig.downDir, {rig.item("Photos", false)}, 0));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);

        const QString top = rig.downDir + "/Photos(1)";
        QCOMPARE(rig.rec->finishes.first().fileName, QString("Photos"));
        QCOMPARE(DownloadRig::bytesOf(top + "/top.txt"), QByteArray("top"));
        QCOMPARE(DownloadRig::bytesOf(top + "/A/a.txt"), QByteArray("aaa"));
        QCOMPARE(DownloadRig::bytesOf(top + "/A/B/b.bin"), rig.serverBytes("Photos/A/B/b.bin"));
        QVERIFY(QDir(top + "/A/Empty").exists());
        QVERIFY(QDir(top + "/Nothing").exists());
        QCOMPARE(QDir(top + "/Many").entryList(QDir::Files).size(), 230);
        QCOMPARE(DownloadRig::bytesOf(top + "/Many/f229.txt"), QByteArray("229"));
        QCOMPARE(QDir(rig.downDir + "/Photos").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
        // 230 entries take three pages of 100.
        QCOMPARE(rig.commandCount("getDirPath"), 1 + 1 + 1 + 1 + 1 + 3);
        QCOMPARE(rig.queued(), 0);
        const QList<FinishFileInfo> done = rig.finished();
        QCOMPARE(done.size(), 1);
        QVERIFY(done.first().isFolder);
        QCOMPARE(done.first().savePath, top);
    }

    void cutConnectionResumesByRange()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("cut.bin", 3 * 1024 * 1024, true, 11);
        rig.server->cutAfter(1024 * 1024, 1);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("cut.bin")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/cut.bin"), rig.serverBytes("cut.bin"));
        bool ranged = false;
        for (const auto& r : rig.server->requestsFor("/device/download"))
            ranged = ranged || (r.range.rfind("bytes=", 0) == 0 && r.range != "bytes=0-");
        QVERIFY(ranged);
    }

    void missingFileFailsAtOnce()
    {
        DownloadRig rig;
        rig.server->addFile("gone.txt", "soon gone");
        rig.server->addFile("after.txt", "after");
        const TwFileInfo gone = rig.item("gone.txt");
        QFile::remove(QString::fromStdString(rig.server->absolutePath("gone.txt")));

        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {gone, rig.item("after.txt")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(rig.rec->errors.first().msg, QString("File does not write"));
        QCOMPARE(rig.rec->errors.first().fileState, 4);
        QCOMPARE(downloadsOf(*rig.server, gone.id), 1);
        QCOMPARE(rig.row(rig.rec->errors.first().fId).fileState, 4);
        QCOMPARE(rig.row(rig.rec->errors.first().fId).msg, QString("File does not write"));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        // A failed entry is left: no success notice, the temporary folder stays.
        QVERIFY(rig.rec->notices.isEmpty());
    }

    void steadyServerErrorIsRetriedThenFails()
    {
        DownloadRig rig;
        rig.server->addFile("flaky.txt", "flaky");
        rig.server->addFile("next.txt", "next");
        rig.server->failWithStatus(500, 1 + LVDownTask::kMaxRetries, "/device/download");
        const TwFileInfo flaky = rig.item("flaky.txt");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {flaky, rig.item("next.txt")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        QCOMPARE(rig.rec->errors.first().fileName, QString("flaky.txt"));
        QCOMPARE(rig.rec->errors.first().msg, QString("device answered HTTP 500: injected failure"));
        QCOMPARE(downloadsOf(*rig.server, flaky.id), 1 + LVDownTask::kMaxRetries);
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/next.txt"), QByteArray("next"));
        QVERIFY(!QFileInfo::exists(rig.downDir + "/flaky.txt"));
    }

    void pauseKeepsPartialFileAndStartCompletesIt()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("slow.bin", 8 * 1024 * 1024, true, 5);
        rig.server->throttle(1024 * 1024);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("slow.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->starts.isEmpty(), kWait);
        const DownFileInfo entry = rig.rec->starts.first();
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->maxWritten(entry.fId) > 0, kWait);

        rig.mgr->pauseFile(entry);
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->pauses.size() >= 2, kWait);   // the request, then the task
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QCOMPARE(rig.row(entry.fId).fileState, 3);
        const QString tmp = rig.tempPathOf(entry);
        const qint64 partial = QFileInfo(tmp).size();
        QVERIFY2(partial > 0 && partial < 8 * 1024 * 1024, qPrintable(QString::number(partial)));
        QVERIFY(!QFileInfo::exists(rig.downDir + "/slow.bin"));
        // The stored row holds the bytes done.
        QCOMPARE(rig.row(entry.fId).fileWriteLen, partial);

        rig.server->throttle(0);
        rig.server->clearRequests();
        rig.mgr->startFile(rig.row(entry.fId));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/slow.bin"), rig.serverBytes("slow.bin"));
        const auto reqs = rig.server->requestsFor("/device/download");
        QVERIFY(!reqs.empty());
        QCOMPARE(QString::fromStdString(reqs.front().range), QString("bytes=%1-").arg(partial));
        QVERIFY(!QFileInfo::exists(tmp));
    }

    void deleteLeavesNothingBehind()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("del.bin", 8 * 1024 * 1024, true, 9);
        rig.server->throttle(1024 * 1024);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("del.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->starts.isEmpty(), kWait);
        const DownFileInfo entry = rig.rec->starts.first();
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->maxWritten(entry.fId) > 0, kWait);
        const QString tmp = rig.tempPathOf(entry);
        QVERIFY(QFileInfo::exists(tmp));

        rig.mgr->deleteFile(entry);
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);   // the list drops it
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(tmp), kWait);
        QCOMPARE(rig.queued(), 0);
        QCOMPARE(rig.finished().size(), 0);
        QVERIFY(!QFileInfo::exists(rig.downDir + "/del.bin"));
        QVERIFY(rig.rec->errors.isEmpty());
    }

    void deletingFolderStopsItsRunningFile()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("Dir/a.bin", 8 * 1024 * 1024, true, 1);
        rig.server->addFile("Dir/b.txt", "b");
        rig.server->throttle(1024 * 1024);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Dir", false)}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->progress.isEmpty()
                                     && rig.rec->progress.last().fileWriteLen > 0, kWait);
        const DownFileInfo folder = rig.rec->starts.first();
        QVERIFY(folder.isFolder);
        const int before = int(rig.server->requestsFor("/device/download").size());

        rig.mgr->deleteFile(folder);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QCOMPARE(rig.queued(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(QDir(rig.mgr->tmpDir()).entryList(QDir::Files).size(), 0, kWait);
        QVERIFY(!QFileInfo::exists(rig.downDir + "/Dir/a.bin"));
        QTest::qWait(300);
        QCOMPARE(int(rig.server->requestsFor("/device/download").size()), before);
    }

    void topEntryAndSubEntryWithSameIdStayApart()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("Pack/a.bin", 4 * 1024 * 1024, true, 6);
        rig.server->throttle(2 * 1024 * 1024);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Pack", false)}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->progress.isEmpty(), kWait);
        const DownFileInfo folder = rig.rec->starts.first();
        QList<DownFileInfo> subs;
        QVERIFY(rig.db.getTopDwonSubFileList(folder, subs));
        QCOMPARE(subs.size(), 1);

        // A top-level entry that happens to have the running file's number.
        DownFileInfo other;
        other.fId = subs.first().fId;
        other.fileName = "other";
        if (other.fId == folder.fId)
            QSKIP("the folder itself has that number in this run");
        rig.mgr->pauseFile(other);
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->pauses.size(), 1, kWait);   // only the request's own report
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty(), kWait);
        QCOMPARE(rig.rec->finishes.last().fId, folder.fId);
        QCOMPARE(rig.rec->pauses.size(), 1);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/Pack/a.bin"), rig.serverBytes("Pack/a.bin"));
    }

    void restartResumesInterruptedEntry()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("long.bin", 8 * 1024 * 1024, true, 21);
        rig.server->throttle(1024 * 1024);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("long.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->starts.isEmpty(), kWait);
        const DownFileInfo entry = rig.rec->starts.first();
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->maxWritten(entry.fId) > 0, kWait);

        // The program goes away mid-transfer.
        const QString tmp = rig.tempPathOf(entry);
        rig.mgr.reset();
        const qint64 partial = QFileInfo(tmp).size();
        QVERIFY(partial > 0);
        QCOMPARE(rig.row(entry.fId).fileState, 1);

        rig.server->throttle(0);
        rig.server->clearRequests();
        rig.newManager();
        rig.mgr->start();
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(rig.rec->finishes.first().fId, entry.fId);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/long.bin"), rig.serverBytes("long.bin"));
        const auto reqs = rig.server->requestsFor("/device/download");
        QVERIFY(!reqs.empty());
        QVERIFY(QString::fromStdString(reqs.front().range).startsWith("bytes="));
        QVERIFY(QString::fromStdString(reqs.front().range).mid(6).section('-', 0, 0).toLongLong() >= partial);
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->notices.size(), 1, kWait);
    }

    void foreignTemporaryFileIsNotResumed()
    {
        DownloadRig rig;
        rig.server->addFile("small.txt", "12345");
        rig.owner->allowOnline = false;   // the first attempt finds no connection: the entry waits
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("small.txt")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->starts.isEmpty(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QCOMPARE(rig.row(rig.rec->starts.first().fId).fileState, 2);
        // A leftover larger than the entry cannot be part of it.
        {
            QFile f(rig.tempPathOf(rig.rec->starts.first()));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(64, 'z'));
        }
        rig.owner->allowOnline = true;
        rig.mgr->start();   // as the tab does on every connection
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/small.txt"), QByteArray("12345"));
        const auto reqs = rig.server->requestsFor("/device/download");
        QCOMPARE(int(reqs.size()), 1);
        QCOMPARE(QString::fromStdString(reqs.front().range), QString());
    }

    // A run that placed its file under a numbered name but ended before the
    // finish was recorded: the next start reports that file finished instead
    // of fetching a second copy. A mark naming a file outside the entry's
    // folder is not trusted: that file stays untouched and the entry goes on
    // from its partial file.
    void placedButUnrecordedFileIsNotFetchedAgain()
    {
        DownloadRig rig;
        rig.server->addFile("a.txt", "fresh-a");
        rig.server->addFile("b.txt", "fresh-b");
        rig.owner->allowOnline = false;   // the first attempts wait for a start
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("a.txt"), rig.item("b.txt")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->starts.isEmpty(), kWait);
        const DownFileInfo a = rig.rec->starts.first();
        QCOMPARE(a.fileName, QString("a.txt"));
        const QString tmpDir = rig.mgr->tmpDir();
        rig.mgr.reset();

        // a.txt was placed as "a(1).txt" next to an older file of the user.
        writeFile(rig.downDir + "/a.txt", "users own");
        QString tmpA;
        QVERIFY(a.getTempPath(tmpA, tmpDir));
        QFile::remove(tmpA);
        writeFile(rig.downDir + "/a(1).txt", "fresh-a");
        writeFile(LVDownTask::destMarkOf(tmpA), QString(rig.downDir + "/a(1).txt").toUtf8());
        // b.txt's mark names a whole copy outside its folder.
        DownFileInfo b;
        QList<DownFileInfo> rows;
        QVERIFY(rig.db.getDownFileList(1, 10, rig.owner->device, rows));
        for (const DownFileInfo& r : qAsConst(rows))
            if (r.fileName == "b.txt")
                b = r;
        QVERIFY(b.fId > 0);
        QString tmpB;
        QVERIFY(b.getTempPath(tmpB, tmpDir));
        const QString elsewhere = rig.dir.path() + "/moved-by-user.txt";
        writeFile(tmpB, "fre");
        writeFile(elsewhere, "fresh-b");
        writeFile(LVDownTask::destMarkOf(tmpB), elsewhere.toUtf8());

        rig.server->clearRequests();
        rig.owner->allowOnline = true;
        rig.newManager();
        rig.mgr->start();
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 2, kWait);
        QCOMPARE(rig.queued(), 0);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/a.txt"), QByteArray("users own"));
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/a(1).txt"), QByteArray("fresh-a"));
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/b.txt"), QByteArray("fresh-b"));
        QCOMPARE(DownloadRig::bytesOf(elsewhere), QByteArray("fresh-b"));
        QCOMPARE(QDir(rig.downDir).entryList(QDir::Files).size(), 3);
        for (const QString& t : {tmpA, tmpB}) {
            QVERIFY(!QFileInfo::exists(t));
            QVERIFY(!QFileInfo::exists(LVDownTask::destMarkOf(t)));
        }
        for (const DownFileInfo& f : qAsConst(rig.rec->finishes))
            if (f.fileName == "a.txt")
                QCOMPARE(f.savePath, rig.downDir + "/a(1).txt");
        const auto reqs = rig.server->requestsFor("/device/download");
        QCOMPARE(int(reqs.size()), 1);
        QCOMPARE(QString::fromStdString(reqs.front().range), QString("bytes=3-"));
    }

    void hostileNamesStayInsideTheFolder()
    {
        DownloadRig rig;
        const qint64 real = rig.server->addFile("real.txt", "real!");
        rig.server->addFolder("Top");
        const qint64 loop = rig.server->addFolder("Loop");
        const qint64 sub = rig.server->addFolder("Sub");
        const QString item = R"({"id":%1,"name":"%2","isFile":%3,"fileLen":%4,"filePath":"/x","fileMd5":"","ower":"acc1"})";
        const QString list = item.arg(real).arg("../../evil.txt").arg("true").arg(5) + ","
                             + item.arg(loop).arg("..").arg("false").arg(0) + ","
                             + item.arg(sub).arg("a/../../b").arg("false").arg(0);
        const QString answer = QString(R"({"result":1,"message":"success","errCode":0,"data":{"listPath":[%1],"totalPages":1,"pageNo":1,"totalNum":3}})").arg(list);
        rig.server->setCommandAnswer("getDirPath", answer.toStdString());

        TwFileInfo top = rig.item("Top", false);
        top.name = "../../Top";
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {top}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size() + rig.rec->errors.size(), 1, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QVERIFY(rig.rec->errors.isEmpty());

        int inside = 0;
        QDirIterator all(rig.dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (all.hasNext()) {
            const QString p = all.next();
            if (!p.contains("evil"))
                continue;
            QVERIFY2(p.startsWith(rig.downDir + "/"), qPrintable(p));
            QCOMPARE(DownloadRig::bytesOf(p), QByteArray("real!"));
            ++inside;
        }
        // Once directly and once in each of the two folders; a folder listed
        // inside itself is not walked again.
        QCOMPARE(inside, 3);
        QVERIFY(!QFileInfo::exists(rig.dir.path() + "/evil.txt"));
        QVERIFY(!QFileInfo::exists(QFileInfo(rig.dir.path()).path() + "/evil.txt"));
    }

    void emptyPageEndsPaging()
    {
        DownloadRig rig;
        rig.server->addFolder("Odd");
        rig.server->setCommandAnswer(
            "getDirPath",
            R"({"result":1,"message":"success","data":{"listPath":[],"totalPages":1000,"pageNo":1,"totalNum":99999}})");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Odd", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(rig.commandCount("getDirPath"), 1);
        QVERIFY(QDir(rig.downDir + "/Odd").exists());
    }

    void failedListingFailsTheFolderUntilListedAgain()
    {
        DownloadRig rig;
        rig.server->addFile("Box/one.txt", "1");
        rig.server->addFile("Box/Inner/two.txt", "2");
        rig.server->setCommandAnswer("getDirPath", R"({"result":0,"message":"device busy","errCode":9})");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Box", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        const DownFileInfo folder = rig.rec->errors.first();
        QVERIFY(folder.isFolder);
        QCOMPARE(folder.fileState, 4);
        QVERIFY2(folder.msg.contains("device busy"), qPrintable(folder.msg));
        QVERIFY(rig.rec->finishes.isEmpty());
        QCOMPARE(rig.row(folder.fId).fileState, 4);
        QVERIFY(rig.rec->notices.isEmpty());

        // Offline the listing waits for the connection instead of failing.
        rig.server->clearAnswers();
        rig.owner->allowOnline = false;
        rig.mgr->startFile(rig.row(folder.fId));
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->rStarts >= 2 && !rig.mgr->isRun(), kWait);
        QCOMPARE(rig.rec->errors.size(), 1);
        QVERIFY(rig.rec->finishes.isEmpty());
        QCOMPARE(rig.row(folder.fId).fileState, 2);

        rig.owner->allowOnline = true;
        rig.mgr->start();   // as the tab does on every connection
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty() && rig.rec->finishes.last().isFolder, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/Box/one.txt"), QByteArray("1"));
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/Box/Inner/two.txt"), QByteArray("2"));
        QCOMPARE(rig.queued(), 0);
    }

    void requeueingDoesNotDuplicate()
    {
        DownloadRig rig;
        rig.server->addFile("dup.txt", "dup");
        rig.owner->allowOnline = false;   // nothing can start
        const TwFileInfo dup = rig.item("dup.txt");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {dup}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->adds.size(), 1, kWait);
        rig.mgr->allPause();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QVERIFY(rig.mgr->addDownFilesPlain(2, rig.downDir, {dup}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->adds.size(), 2, kWait);
        QCOMPARE(rig.queued(), 1);
        rig.owner->allowOnline = true;
        rig.mgr->allStart();
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(rig.queued(), 0);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/dup.txt"), QByteArray("dup"));
    }

    void stopAllWhileRunningLeavesManagerStartable()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("s.bin", 6 * 1024 * 1024, true, 2);
        rig.server->throttle(1024 * 1024);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("s.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->progress.isEmpty(), kWait);
        rig.mgr->stopAll();
        QVERIFY(!rig.mgr->isRun());
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->pauses.size(), 1, kWait);
        rig.server->throttle(0);
        rig.mgr->allStart();
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/s.bin"), rig.serverBytes("s.bin"));
    }

    void twoManagersDoNotDisturbEachOther()
    {
        DownloadRig a("accA", "devA");
        DownloadRig b("accB", "devB");
        QVERIFY(a.mgr->tmpDir() != b.mgr->tmpDir());
        // A running preview download of the application keeps its file too.
        const QString preview = getTmpPath() + "/preview-running";
        {
            QFile f(preview);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
        b.server->addGeneratedFile("long.bin", 4 * 1024 * 1024, true, 4);
        b.server->throttle(2 * 1024 * 1024);
        a.server->addFile("quick.txt", "quick");
        QVERIFY(b.mgr->addDownFilesPlain(1, b.downDir, {b.item("long.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(!b.rec->progress.isEmpty(), kWait);
        QVERIFY(a.mgr->addDownFilesPlain(1, a.downDir, {a.item("quick.txt")}));
        QTRY_COMPARE_WITH_TIMEOUT(a.rec->notices.size(), 1, kWait);   // a's queue ended, its tmp cleared
        QVERIFY(b.mgr->isRun());
        QTRY_COMPARE_WITH_TIMEOUT(b.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(b.downDir + "/long.bin"), b.serverBytes("long.bin"));
        QCOMPARE(DownloadRig::bytesOf(a.downDir + "/quick.txt"), QByteArray("quick"));
        QCOMPARE(a.finished().size(), 1);
        QCOMPARE(b.finished().size(), 1);
        QVERIFY(QFileInfo::exists(preview));
    }
};

TW_TEST_MAIN(TestDownloadEngine)
#include "tst_downloadengine.moc"
