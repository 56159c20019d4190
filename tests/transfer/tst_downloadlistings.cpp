#include <QDirIterator>
#include <QElapsedTimer>

#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"

namespace {
const int kWait = 60000;

QString itemJson(const TwFileInfo& f)
{
    return QString(R"({"id":%1,"name":"%2","isFile":%3,"fileLen":%4,"filePath":"%5"})")
        .arg(f.id)
        .arg(f.name)
        .arg(f.isFile ? "true" : "false")
        .arg(f.fileLen)
        .arg(f.filePath);
}

QStringList filesBelow(const QString& dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(dir).relativeFilePath(it.next());
    out.sort();
    return out;
}
}

// Folder expansion against listings a sound device would not give, and
// expansion cut short by quitting.
class TestDownloadListings : public QObject
{
    Q_OBJECT
private slots:
    void repeatedPagesAreQueuedOnce()
    {
        DownloadRig rig;
        rig.server->addFile("Rep/x.txt", "x");
        rig.server->addFile("Rep/y.txt", "y");
        // Every page number gets the same page, and a huge page count.
        const QString page = QString(R"({"result":1,"message":"success","data":{"listPath":[%1,%2],)"
                                     R"("totalPages":2000000000,"pageNo":1,"totalNum":99999}})")
                                 .arg(itemJson(rig.item("Rep/x.txt")), itemJson(rig.item("Rep/y.txt")));
        rig.server->setCommandAnswer("getDirPath", page.toStdString());
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Rep", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QCOMPARE(filesBelow(rig.downDir), (QStringList{"Rep/x.txt", "Rep/y.txt"}));
        QCOMPARE(downloadsOf(*rig.server, rig.item("Rep/x.txt").id), 1);
        // The second page adds nothing new and ends the folder.
        QCOMPARE(rig.commandCount("getDirPath"), 2);
    }

    void fileAndFolderWithTheSameSafeNameBothArrive()
    {
        DownloadRig rig;
        rig.server->addFile("Mix/a:b", "the file");
        rig.server->addFile("Mix/a?b/in.txt", "inside");
        rig.server->addFile("Mix/c|d/deeper/two.txt", "two");
        rig.server->addFile("Mix/c*d", "other file");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Mix", false)}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty() || !rig.rec->errors.isEmpty(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QCOMPARE(rig.rec->errors.size(), 0);
        const QString top = rig.downDir + "/Mix";
        QCOMPARE(DownloadRig::bytesOf(top + "/a_b"), QByteArray("the file"));
        QCOMPARE(DownloadRig::bytesOf(top + "/a_b(1)/in.txt"), QByteArray("inside"));
        QCOMPARE(DownloadRig::bytesOf(top + "/c_d"), QByteArray("other file"));
        QCOMPARE(DownloadRig::bytesOf(top + "/c_d(1)/deeper/two.txt"), QByteArray("two"));
        QCOMPARE(filesBelow(top).size(), 4);
    }

    void tooDeepFolderFailsVisibly()
    {
        DownloadRig rig;
        std::string path = "Deep";
        rig.server->addFile(path + "/top.txt", "top");
        for (int level = 1; level <= 130; ++level) {
            path += "/d";
            if (level == 100)
                rig.server->addFile(path + "/mid.txt", "mid");
        }
        rig.server->addFile(path + "/bottom.txt", "bottom");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Deep", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        const DownFileInfo folder = rig.rec->errors.first();
        QVERIFY(folder.isFolder);
        QCOMPARE(rig.row(folder.fId).fileState, 4);
        QVERIFY(rig.rec->notices.isEmpty());   // not reported as a success
        QVERIFY(rig.rec->finishes.isEmpty());
        // Everything above the limit arrived.
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/Deep/top.txt"), QByteArray("top"));
        QString mid = rig.downDir + "/Deep";
        for (int level = 1; level <= 100; ++level)
            mid += "/d";
        QCOMPARE(DownloadRig::bytesOf(mid + "/mid.txt"), QByteArray("mid"));
        QCOMPARE(filesBelow(rig.downDir + "/Deep").size(), 2);
        // The failed sub-row says why.
        QList<DownFileInfo> failed;
        QVERIFY(rig.db.getDownFailFileList(1, 100, rig.row(folder.fId), failed));
        QCOMPARE(failed.size(), 1);
        QVERIFY2(failed.first().msg.contains("nested too deeply"), qPrintable(failed.first().msg));
    }

    void expansionLeavesRoomForOtherRequests()
    {
        DownloadRig rig;
        const int folders = 40;
        for (int i = 0; i < folders; ++i)
            rig.server->addFile("Wide/s" + std::to_string(i) + "/f.txt", std::to_string(i));
        rig.server->delayAnswer(100, -1, "getDirPath");
        QList<int> listedWhenAnswered;
        connect(rig.mgr.get(), &LVDownloadManager::rGetTotalNum, rig.rec.get(),
                [&](bool, int) { listedWhenAnswered << rig.commandCount("getDirPath"); });
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Wide", false)}));
        QTRY_VERIFY_WITH_TIMEOUT(rig.commandCount("getDirPath") >= 2, kWait);
        rig.mgr->getTotalNum();
        QTRY_VERIFY_WITH_TIMEOUT(!listedWhenAnswered.isEmpty(), kWait);
        // Answered while folders were still to be listed.
        QVERIFY2(listedWhenAnswered.first() < folders + 1, qPrintable(QString::number(listedWhenAnswered.first())));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(filesBelow(rig.downDir + "/Wide").size(), folders);
        QCOMPARE(rig.commandCount("getDirPath"), folders + 1);
    }

    void unreadableListingSaysSo()
    {
        DownloadRig rig;
        rig.server->addFile("Odd/a.txt", "a");
        rig.server->answerMalformed(-1, "getDirPath");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Odd", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        QList<DownFileInfo> failed;
        QVERIFY(rig.db.getDownFailFileList(1, 10, rig.row(rig.rec->errors.first().fId), failed));
        QCOMPARE(failed.size(), 1);
        QVERIFY2(failed.first().msg.contains("not a JSON object"), qPrintable(failed.first().msg));
    }

    void busyListingIsAskedAgainLater()
    {
        DownloadRig rig;
        rig.server->addFile("Later/a.txt", "a");
        rig.server->addFile("Later/In/b.txt", "b");
        rig.server->failWithStatus(503, 3, "getDirPath");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Later", false)}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->finishes.isEmpty() && rig.rec->finishes.last().isFolder, kWait);
        QVERIFY(rig.rec->errors.isEmpty());
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/Later/a.txt"), QByteArray("a"));
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/Later/In/b.txt"), QByteArray("b"));
        QCOMPARE(rig.commandCount("getDirPath"), 3 + 2);
    }

    void deletingDuringExpansionStopsTheListing()
    {
        DownloadRig rig;
        for (int i = 0; i < 2000; ++i)
            rig.server->addFile("Gone/f" + std::to_string(i) + ".txt", "x");
        rig.server->delayAnswer(150, -1, "getDirPath");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Gone", false)}));
        QTRY_VERIFY_WITH_TIMEOUT(rig.commandCount("getDirPath") >= 2, kWait);
        QList<DownFileInfo> rows;
        QVERIFY(rig.db.getDownFileList(1, 10, rig.owner->device.accessId, rig.owner->device.deviceId, rows));
        QCOMPARE(rows.size(), 1);
        rig.mgr->deleteFile(rows.first());
        QTRY_COMPARE_WITH_TIMEOUT(rig.queued(), 0, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        // The listing stopped well before its 20 pages; nothing was fetched.
        QVERIFY(rig.commandCount("getDirPath") < 20);
        QCOMPARE(rig.server->requestsFor("/device/download").size(), size_t(0));
        QVERIFY(!QFileInfo::exists(rig.downDir + "/Gone"));
    }

    void quittingDuringExpansionReturnsAndARestartCompletes()
    {
        DownloadRig rig;
        const int files = 2000;
        for (int i = 0; i < files; ++i)
            rig.server->addFile("Big/f" + std::to_string(i) + ".txt", std::to_string(i));
        rig.server->delayAnswer(150, -1, "getDirPath");   // 20 pages: about 3 s
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Big", false)}));
        QTRY_VERIFY_WITH_TIMEOUT(rig.commandCount("getDirPath") >= 2, kWait);
        QElapsedTimer quit;
        quit.start();
        rig.mgr.reset();
        QVERIFY2(quit.elapsed() < 1000, qPrintable(QString::number(quit.elapsed())));
        QVERIFY(rig.commandCount("getDirPath") < 20);

        rig.server->clearFaults();
        rig.newManager();
        rig.mgr->start();
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, 240000);
        QCOMPARE(filesBelow(rig.downDir + "/Big").size(), files);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/Big/f1999.txt"), QByteArray("1999"));
        QCOMPARE(rig.queued(), 0);
    }
};

TW_TEST_MAIN(TestDownloadListings)
#include "tst_downloadlistings.moc"
