#include <QSemaphore>
#include <QSignalSpy>
#include <QThread>

#include <atomic>

#include "sdk/task_interface.h"
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "transfer/filesdatataskhelp.h"
#include "transfer/tidewelldownload.h"

namespace {
// Holds the library's worker in its final report for a while, as a busy
// machine may, and tells when it has left.
class HeldDownload : public TidewellDownload
{
public:
    HeldDownload(QSemaphore& reported, std::atomic<bool>& inside) : m_reported(reported), m_inside(inside) {}
    void on_status(int status, const std::string& text, int errCode) override
    {
        std::atomic<bool>& inside = m_inside;
        inside = true;
        TidewellDownload::on_status(status, text, errCode);
        m_reported.release();
        QThread::msleep(300);
        inside = false;
    }

private:
    QSemaphore& m_reported;
    std::atomic<bool>& m_inside;
};

QStringList namePaths(const QList<DownFileInfo>& l)
{
    QStringList out;
    for (const DownFileInfo& f : l)
        out << f.pNamePath + "/" + f.fileName + (f.isFolder ? "/" : "");
    out.sort();
    return out;
}
}

// TidewellDownload (the library wrapper) and FilesDataTaskHelp (the folder
// walker) on their own.
class TestTidewellDownloadWalker : public QObject
{
    Q_OBJECT
private slots:
    void progressIsThinnedButCompletionPassesOnce()
    {
        TidewellDownload d;
        QSignalSpy spy(&d, &TidewellDownload::downloadProgress);
        d.on_progress(1000, 0);
        d.on_progress(1000, 100);    // first bytes: passed on with speed 0
        d.on_progress(1000, 200);    // within the second: dropped
        d.on_progress(1000, 1000);   // completing: always passed on
        d.on_progress(1000, 1000);   // nothing new: dropped
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy.at(1).at(0).toLongLong(), 0);
        QCOMPARE(spy.at(1).at(1).toLongLong(), 100);
        QCOMPARE(spy.at(2).at(1).toLongLong(), 1000);
        QVERIFY(spy.at(2).at(0).toLongLong() >= 0);   // no time passed is no division by zero
    }

    void finalStatusesAndStops()
    {
        TidewellDownload d;
        QSignalSpy pause(&d, &TidewellDownload::downloadPause);
        QSignalSpy finish(&d, &TidewellDownload::downloadFinish);
        QSignalSpy error(&d, &TidewellDownload::downloadError);
        d.stop();   // never started: one pause
        d.stop();
        QCOMPARE(pause.size(), 1);
        d.on_status(sdk::cores::tidewell::status_download_done, "late", 0);
        QCOMPARE(finish.size(), 0);

        TidewellDownload e;
        QSignalSpy err(&e, &TidewellDownload::downloadError);
        QSignalSpy ePause(&e, &TidewellDownload::downloadPause);
        e.on_status(sdk::cores::tidewell::status_download_failed, "missing", 404);
        e.on_status(sdk::cores::tidewell::status_download_failed, "again", 500);
        e.stop();
        QCOMPARE(err.size(), 1);
        QCOMPARE(err.at(0).at(0).toInt(), 404);
        QCOMPARE(err.at(0).at(1).toString(), QString("File does not write"));
        QCOMPARE(ePause.size(), 0);

        TidewellDownload f;
        QSignalSpy fErr(&f, &TidewellDownload::downloadError);
        f.on_status(sdk::cores::tidewell::status_download_failed, "device answered HTTP 500", 500);
        // The layer's own reason reaches the row; only a silent failure is "Unknown error".
        QCOMPARE(fErr.at(0).at(1).toString(), QString("device answered HTTP 500"));
        TidewellDownload g;
        QSignalSpy gErr(&g, &TidewellDownload::downloadError);
        g.on_status(sdk::cores::tidewell::status_download_failed, " ", -1);
        QCOMPARE(gErr.at(0).at(1).toString(), QString("Unknown error"));
        QCOMPARE(error.size(), 0);
    }

    void startNeedsAConnectedOwner()
    {
        DownloadRig rig;
        TidewellDownload d;
        sdk::cores::model::down_file_info info;
        info.save_path = (rig.dir.path() + "/x").toStdString();
        QVERIFY(!d.init(nullptr));
        QVERIFY(!d.start(info, false));
        QVERIFY(d.init(rig.owner.get()));
        rig.owner->allowOnline = false;
        QVERIFY(!d.start(info, false));
        // A failed start leaves the object idle: a stop still pauses.
        QSignalSpy pause(&d, &TidewellDownload::downloadPause);
        d.stop();
        QCOMPARE(pause.size(), 1);
    }

    // The object goes after its final status came in but before its owner
    // gave the task back, while the worker is still in that report: it
    // waits for the worker rather than leave it calling into freed memory.
    void goesOnlyOnceTheWorkerHasLeft()
    {
        DownloadRig rig;
        rig.server->addFile("a.txt", "abc");
        // Outlive the test, should the worker still be held when it ends.
        static QSemaphore reported;
        static std::atomic<bool> inside{false};
        auto d = std::make_unique<HeldDownload>(reported, inside);
        QVERIFY(d->init(rig.owner.get()));
        sdk::cores::model::down_file_info info;
        info.file_id = int(rig.server->idForPath("a.txt"));
        info.mode = 2;
        info.save_path = (rig.dir.path() + "/a.part").toStdString();
        QVERIFY(d->start(info, false));
        QVERIFY(reported.tryAcquire(1, 10000));
        d.reset();
        QVERIFY(!inside);
    }

    void ownFilesArePagedAndNamedByLevel()
    {
        DownloadRig rig;
        for (int i = 0; i < 250; ++i)
            rig.server->addFile("Top/f" + QString::number(1000 + i).toStdString(), "x");
        rig.server->addFile("Top/A/B/deep.txt", "d");
        FilesDataTaskHelp walker;
        walker.init(rig.owner.get());

        DownFileInfo top;
        top.fId = top.pId = 42;
        top.fileId = int(rig.server->idForPath("Top"));
        top.isFolder = true;
        top.fileName = "Top";
        top.savePath = rig.downDir;
        QList<DownFileInfo> out;
        QVERIFY(walker.getSubFileTask(top, 0, out));
        QCOMPARE(out.size(), 251);
        QCOMPARE(rig.commandCount("getDirPath"), 3);
        for (const DownFileInfo& f : out) {
            QVERIFY(f.isSubItem);
            QCOMPARE(f.pId, 42);
            QCOMPARE(f.fileState, 2);
            QCOMPARE(f.savePath, rig.downDir);
        }
        const DownFileInfo a = out.first();   // folders come first
        QVERIFY(a.isFolder);
        QCOMPARE(a.pNamePath, QString("/A"));

        QList<DownFileInfo> inA;
        QVERIFY(walker.getSubFileTask(a, 0, inA));
        QCOMPARE(inA.size(), 1);
        QCOMPARE(inA.first().pNamePath, QString("/A/B"));
        QList<DownFileInfo> inB;
        QVERIFY(walker.getSubFileTask(inA.first(), 0, inB));
        QCOMPARE(namePaths(inB), QStringList{"/A/B/deep.txt"});

        rig.server->addFolder("Top/Empty");
        DownFileInfo empty = a;
        empty.fileId = int(rig.server->idForPath("Top/Empty"));
        empty.fileName = "Empty";
        empty.pNamePath = "/Empty";
        QList<DownFileInfo> ph;
        QVERIFY(walker.getSubFileTask(empty, 0, ph));
        QCOMPARE(ph.size(), 1);
        QVERIFY(ph.first().isEmptyFolder);
        QCOMPARE(ph.first().pNamePath, QString("/Empty"));

        QList<DownFileInfo> none;
        QVERIFY(!walker.getSubFileTask(top, 8, none));
        QVERIFY(none.isEmpty());
    }

    void everySourceKindIsWalked()
    {
        DownloadRig rig;
        rig.server->addFile("S/s.txt", "s");
        rig.server->addFile("safebox/Vault/v.txt", "v");
        rig.server->addFile("usb/stick/u.txt", "u");
        rig.server->addFile("sd/card/c.txt", "c");
        rig.server->addFile("samba/share/m.txt", "m");
        rig.server->addFile("groups/7/G/g.txt", "g");
        for (int i = 0; i < 100; ++i)
            rig.server->addFile("L/l" + std::to_string(100 + i), "l");
        rig.server->addFile("L/Deeper/z.txt", "z");
        // Shared folders are listed only for those they are shared with.
        QVERIFY(rig.server->shareFile(rig.server->idForPath("S"), "sharer"));
        FilesDataTaskHelp walker;
        walker.init(rig.owner.get());

        auto folder = [&](const std::string& rel) {
            DownFileInfo f;
            f.fId = f.pId = 1;
            f.isFolder = true;
            f.fileId = int(rig.server->idForPath(rel));
            f.fileName = QString::fromStdString(rel).section('/', -1);
            f.savePath = rig.downDir;
            return f;
        };
        QList<DownFileInfo> out;
        // Shared files are listed only when shared with us.
        QVERIFY(rig.server->shareFile(rig.server->idForPath("S"), "sharer"));
        QVERIFY(walker.getSubFileTask(folder("S"), 1, out));
        QCOMPARE(namePaths(out), QStringList{"/s.txt"});

        out.clear();
        DownFileInfo vault = folder("safebox/Vault");
        QVERIFY(walker.getSubFileTask(vault, 5, out));
        QCOMPARE(namePaths(out), QStringList{"/v.txt"});

        const struct { int kind; const char* path; const char* name; } disks[] = {
            {2, "/stick", "/u.txt"}, {3, "/card", "/c.txt"}, {4, "/share", "/m.txt"}};
        for (const auto& d : disks) {
            DownFileInfo f;
            f.isFolder = true;
            f.fileName = "disk";
            f.usbFilePath = d.path;
            out.clear();
            QVERIFY(walker.getSubFileTask(f, d.kind, out));
            QCOMPARE(namePaths(out), QStringList{d.name});
            QCOMPARE(out.first().usbFilePath, QString(d.path) + d.name);
            QVERIFY(out.first().filePath.endsWith(d.name));
        }

        DownFileInfo g = folder("groups/7/G");
        g.groupId = 7;
        out.clear();
        QVERIFY(walker.getSubFileTask(g, 6, out));
        QCOMPARE(namePaths(out), QStringList{"/g.txt"});
        QCOMPARE(out.first().groupId, 7);

        // Link folders page until an empty page: 101 entries, two full
        // pages asked and one empty.
        DownFileInfo link = folder("L");
        link.shareId = "share-1";
        link.extractedCode = "code-1";
        out.clear();
        rig.server->clearRequests();
        QVERIFY(walker.getSubFileTask(link, 7, out));
        QCOMPARE(out.size(), 101);
        QCOMPARE(rig.commandCount("getLinkDirPath"), 3);
        QList<DownFileInfo> deeper;
        QVERIFY(walker.getSubFileTask(out.first(), 7, deeper));
        QCOMPARE(deeper.size(), 1);
        for (const DownFileInfo& f : out + deeper) {
            QCOMPARE(f.shareId, QString("share-1"));
            QCOMPARE(f.extractedCode, QString("code-1"));
        }
    }

    void failedListingsReturnNothing()
    {
        DownloadRig rig;
        rig.server->addFile("F/a.txt", "a");
        for (int i = 0; i < 150; ++i)
            rig.server->addFile("Big/b" + std::to_string(100 + i), "b");
        FilesDataTaskHelp walker;
        walker.init(rig.owner.get());
        DownFileInfo f;
        f.isFolder = true;
        f.fileName = "F";
        f.fileId = int(rig.server->idForPath("F"));
        QList<DownFileInfo> out;

        rig.server->failWithStatus(500, 1, "getDirPath");
        QVERIFY(!walker.getSubFileTask(f, 0, out));
        QVERIFY(!walker.lastError().isEmpty());

        rig.server->answerMalformed(1, "getDirPath");
        QVERIFY(!walker.getSubFileTask(f, 0, out));

        rig.server->setCommandAnswer("getDirPath", R"({"result":0,"message":"no"})");
        QVERIFY(!walker.getSubFileTask(f, 0, out));
        QCOMPARE(walker.lastError(), QString("no"));
        rig.server->clearAnswers();

        DownFileInfo big = f;
        big.fileId = int(rig.server->idForPath("Big"));
        rig.owner->allowOnline = false;
        QVERIFY(!walker.getSubFileTask(big, 0, out));
        QVERIFY(out.isEmpty());
    }
};

TW_TEST_MAIN(TestTidewellDownloadWalker)
#include "tst_tidewelldownloadwalker.moc"
