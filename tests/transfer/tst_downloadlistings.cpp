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
    // The depth limit holds at exactly its value: a file in the deepest
    // folder allowed arrives, one a level below does not.
    void depthLimitAtExactlyItsValue()
    {
        DownloadRig rig;
        std::string edge = "Edge";
        std::string over = "Over";
        for (int level = 1; level <= 127; ++level) {
            edge += "/d";
            over += "/d";
        }
        over += "/d";
        rig.server->addFile(edge + "/leaf.txt", "edge");
        rig.server->addFile(over + "/leaf.txt", "over");
        rig.server->addFile("Over/top.txt", "top");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Edge", false), rig.item("Over", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size() + rig.rec->errors.size(), 2, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), 10000);
        QCOMPARE(rig.rec->finishes.size(), 1);
        QCOMPARE(rig.rec->finishes.first().fileName, QString("Edge"));
        QCOMPARE(rig.rec->errors.size(), 1);
        QCOMPARE(rig.rec->errors.first().fileName, QString("Over"));
        QCOMPARE(filesBelow(rig.downDir + "/Edge").size(), 1);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + QString::fromStdString(edge) + "/leaf.txt"),
                 QByteArray("edge"));
        QCOMPARE(filesBelow(rig.downDir + "/Over"), QStringList{"top.txt"});
    }

    // A device that lists a folder inside itself, directly or through
    // another folder, or twice in one listing, gets it walked once, also
    // when the listing is slow enough to be spread over several expansions.
    void aFolderInsideItselfIsWalkedOnce()
    {
        DownloadRig rig;
        const qint64 self = rig.server->addFolder("Self");
        rig.server->addFile("Self/s.txt", "s");
        const TwFileInfo s = rig.item("Self/s.txt");
        auto entry = [](qint64 id, const QString& name, bool isFile, qint64 len) {
            return QString(R"({"id":%1,"name":"%2","isFile":%3,"fileLen":%4,"filePath":"/%2"})")
                .arg(id)
                .arg(name)
                .arg(isFile ? "true" : "false")
                .arg(len);
        };
        auto page = [](const QStringList& items) {
            return QString(R"({"result":1,"message":"success","data":{"listPath":[%1],)"
                           R"("totalPages":1,"pageNo":1,"totalNum":%2}})")
                .arg(items.join(','))
                .arg(items.size())
                .toStdString();
        };
        rig.server->setCommandAnswer("getDirPath", page({entry(self, "Self", false, 0), entry(s.id, "s.txt", true, 1)}));
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("Self", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size() + rig.rec->errors.size(), 1, 15000);
        QCOMPARE(rig.rec->errors.size(), 0);
        QCOMPARE(filesBelow(rig.downDir + "/Self"), QStringList{"s.txt"});
        QCOMPARE(rig.commandCount("getDirPath"), 1);

        // A lists B, B lists A; each listing takes longer than one expansion.
        rig.server->clearRequests();
        const qint64 a = rig.server->addFolder("A");
        const qint64 b = rig.server->addFolder("B");
        rig.server->addFile("A/a.txt", "a");
        rig.server->addFile("B/b.txt", "b");
        const QString listA = QString::fromStdString(
            page({entry(b, "B", false, 0), entry(rig.item("A/a.txt").id, "a.txt", true, 1)}));
        rig.server->queueCommandAnswer("getDirPath", listA.toStdString());
        rig.server->queueCommandAnswer(
            "getDirPath", page({entry(a, "A", false, 0), entry(rig.item("B/b.txt").id, "b.txt", true, 1)}));
        rig.server->setCommandAnswer("getDirPath", listA.toStdString());
        rig.server->delayAnswer(1100, -1, "getDirPath");
        QVERIFY(rig.mgr->addDownFilesPlain(2, rig.downDir, {rig.item("A", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size() + rig.rec->errors.size(), 2, 15000);
        QCOMPARE(rig.rec->errors.size(), 0);
        QCOMPARE(filesBelow(rig.downDir + "/A"), (QStringList{"B/b.txt", "a.txt"}));
        QCOMPARE(rig.commandCount("getDirPath"), 2);

        // One listing names a folder twice (another name, the same id): it
        // is walked under the first name only.
        rig.server->clearRequests();
        rig.server->clearAnswers();
        rig.server->clearFaults();
        rig.server->addFolder("Twins");
        const qint64 c = rig.server->addFolder("Twins/C");
        rig.server->addFile("Twins/C/c.txt", "c");
        rig.server->queueCommandAnswer("getDirPath", page({entry(c, "C", false, 0), entry(c, "C again", false, 0)}));
        rig.server->setCommandAnswer("getDirPath", page({entry(rig.item("Twins/C/c.txt").id, "c.txt", true, 1)}));
        QVERIFY(rig.mgr->addDownFilesPlain(3, rig.downDir, {rig.item("Twins", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size() + rig.rec->errors.size(), 3, 15000);
        QCOMPARE(rig.rec->errors.size(), 0);
        QCOMPARE(filesBelow(rig.downDir + "/Twins"), QStringList{"C/c.txt"});
        QCOMPARE(rig.commandCount("getDirPath"), 2);
    }
};

TW_TEST_MAIN(TestDownloadListings)
#include "tst_downloadlistings.moc"
