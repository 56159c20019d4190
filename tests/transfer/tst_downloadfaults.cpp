#include <mutex>

#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "tests/transfer/outagerig.h"
#include "tests/transfer/smalldisk.h"
#include "transfer/lvdowntask.h"

namespace {
const int kWait = 60000;

// The retries of the download task, as it logs them.
std::mutex g_retriesMutex;
QStringList g_retries;
QtMessageHandler g_previous = nullptr;

void retryLogger(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
{
    if (msg.startsWith("LVDownTask::TryAgian:")) {
        std::lock_guard<std::mutex> lock(g_retriesMutex);
        g_retries << msg;
    }
    if (g_previous)
        g_previous(type, ctx, msg);
}

int retriesOf(const QString& fileName)
{
    std::lock_guard<std::mutex> lock(g_retriesMutex);
    int n = 0;
    for (const QString& line : qAsConst(g_retries))
        n += line.contains('"' + fileName + '"') ? 1 : 0;
    return n;
}
}

// The download engine against a disk that refuses, a restart at the worst
// moment and names at the file system's limit.
class TestDownloadFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { g_previous = qInstallMessageHandler(retryLogger); }
    void init()
    {
        std::lock_guard<std::mutex> lock(g_retriesMutex);
        g_retries.clear();
    }

    void fullDiskFailsWithTheReasonAndLeavesNothing()
    {
        ShortPacing pace(100, 60000);   // the local retries
        DownloadRig rig;
        SmallDisk disk(rig.dir.path() + "/small", "1m");
        if (!disk.ok())
            QSKIP("cannot mount a small file system here");
        rig.server->addGeneratedFile("big.bin", 3 * 1024 * 1024, true, 3);
        rig.server->addGeneratedFile("fits.bin", 200 * 1024, true, 4);
        const TwFileInfo big = rig.item("big.bin");

        // The temporary file lies on another file system: the move copies.
        QVERIFY(rig.mgr->addDownFilesPlain(1, disk.path(), {big}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        const DownFileInfo failed = rig.rec->errors.first();
        QVERIFY2(failed.msg.contains("No space left on device"), qPrintable(failed.msg));
        QCOMPARE(rig.row(failed.fId).msg, failed.msg);
        // The move is tried again without asking the device again, and
        // nothing is left under any name.
        QCOMPARE(retriesOf("big.bin"), LVDownTask::kMaxRetries);
        QCOMPARE(downloadsOf(*rig.server, big.id), 1);
        QCOMPARE(entriesBelow(disk.path()), QStringList());
        // The downloaded bytes stay for a later start.
        QCOMPARE(QFileInfo(rig.tempPathOf(failed)).size(), qint64(3 * 1024 * 1024));

        // A file that fits still arrives whole.
        QVERIFY(rig.mgr->addDownFilesPlain(2, disk.path(), {rig.item("fits.bin")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(DownloadRig::bytesOf(disk.path() + "/fits.bin"), rig.serverBytes("fits.bin"));
        QCOMPARE(entriesBelow(disk.path()), QStringList{"fits.bin"});

        // Read-only: the same, with its own reason, for files and folders.
        QVERIFY(disk.makeReadOnly());
        rig.server->addFile("Tree/in.txt", "in");
        rig.mgr->deleteFile(failed);
        QVERIFY(rig.mgr->addDownFilesPlain(3, disk.path(), {rig.item("fits.bin"), rig.item("Tree", false)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 3, kWait);
        QVERIFY2(rig.rec->errors.at(1).msg.contains("Read-only file system"), qPrintable(rig.rec->errors.at(1).msg));
        QVERIFY2(rig.rec->errors.at(2).msg.contains("Read-only file system"), qPrintable(rig.rec->errors.at(2).msg));
        QCOMPARE(entriesBelow(disk.path()), QStringList{"fits.bin"});
    }

    // A folder that cannot be made for a moment (a file in its way) and a
    // disk full for a moment do not fail the entry: the step is tried again
    // 2 s later, without fetching the file again.
    void localFailuresAreTriedAgain()
    {
        DownloadRig rig;
        rig.server->addFile("in.txt", "inside");
        const QString blocker = rig.downDir + "/blocked";
        QFile(blocker).open(QIODevice::WriteOnly);
        QVERIFY(rig.mgr->addDownFilesPlain(1, blocker + "/in", {rig.item("in.txt")}));
        QTRY_COMPARE_WITH_TIMEOUT(retriesOf("in.txt"), 1, kWait);
        QVERIFY(QFile::remove(blocker));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QVERIFY(rig.rec->errors.isEmpty());
        QCOMPARE(DownloadRig::bytesOf(blocker + "/in/in.txt"), QByteArray("inside"));

        SmallDisk disk(rig.dir.path() + "/small", "1m");
        if (!disk.ok())
            QSKIP("cannot mount a small file system here");
        {
            QFile filler(disk.path() + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(64 * 1024, 'f');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }
        rig.server->addGeneratedFile("later.bin", 200 * 1024, true, 5);
        const TwFileInfo later = rig.item("later.bin");
        QVERIFY(rig.mgr->addDownFilesPlain(2, disk.path(), {later}));
        QTRY_COMPARE_WITH_TIMEOUT(retriesOf("later.bin"), 1, kWait);
        QVERIFY(QFile::remove(disk.path() + "/filler"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 2, kWait);
        QVERIFY(rig.rec->errors.isEmpty());
        QCOMPARE(DownloadRig::bytesOf(disk.path() + "/later.bin"), rig.serverBytes("later.bin"));
        QCOMPARE(downloadsOf(*rig.server, later.id), 1);
    }

    // A folder that stays impossible fails after the retries with the
    // system's reason.
    void folderThatCannotBeMadeFailsWithItsReason()
    {
        ShortPacing pace(100, 60000);
        DownloadRig rig;
        rig.server->addFile("out.txt", "outside");
        const QString blocker = rig.downDir + "/still-blocked";
        QFile(blocker).open(QIODevice::WriteOnly);
        QVERIFY(rig.mgr->addDownFilesPlain(1, blocker + "/in", {rig.item("out.txt")}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        QCOMPARE(rig.rec->errors.first().msg, QString("Create Folder fail: Not a directory"));
        QCOMPARE(retriesOf("out.txt"), LVDownTask::kMaxRetries);
        QCOMPARE(rig.row(rig.rec->errors.first().fId).msg, rig.rec->errors.first().msg);
    }

    void restartAfterTheMoveRecordsTheFileWithoutTheDevice()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("moved.bin", 2 * 1024 * 1024, true, 9);
        rig.server->throttle(512 * 1024);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("moved.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->starts.isEmpty(), kWait);
        const DownFileInfo entry = rig.rec->starts.first();
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->maxWritten(entry.fId) > 0, kWait);
        rig.mgr->pauseFile(entry);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        rig.server->throttle(0);

        // As left by a run that ended between moving the whole file into
        // place and recording it: no temporary file, the noted destination
        // holding the whole file.
        const QString tmp = rig.tempPathOf(entry);
        const QString dest = rig.downDir + "/moved.bin";
        QVERIFY(QFile::remove(tmp));
        {
            QFile f(dest);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(rig.serverBytes("moved.bin"));
            QFile mark(LVDownTask::destMarkOf(tmp));
            QVERIFY(mark.open(QIODevice::WriteOnly));
            mark.write(dest.toUtf8());
        }
        rig.server->clearRequests();
        rig.newManager();
        rig.mgr->startFile(rig.row(entry.fId));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QCOMPARE(rig.server->requestsFor("/device/download").size(), size_t(0));
        QCOMPARE(QDir(rig.downDir).entryList(QDir::Files), QStringList{"moved.bin"});
        QCOMPARE(rig.finished().size(), 1);
        QCOMPARE(rig.finished().first().savePath, dest);
        QVERIFY(!QFileInfo::exists(LVDownTask::destMarkOf(tmp)));

        // A mark whose file is not whole is not trusted: the entry downloads.
        rig.server->addGeneratedFile("half.bin", 100000, true, 2);
        rig.server->throttle(20000);
        QVERIFY(rig.mgr->addDownFilesPlain(2, rig.downDir, {rig.item("half.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->findStart("half.bin").fId > 0, kWait);
        const DownFileInfo half = rig.rec->findStart("half.bin");
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec->maxWritten(half.fId) > 0, kWait);
        rig.mgr->pauseFile(half);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        rig.server->throttle(0);
        {
            QFile f(rig.downDir + "/half.bin");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("short");
            QFile mark(LVDownTask::destMarkOf(rig.tempPathOf(half)));
            QVERIFY(mark.open(QIODevice::WriteOnly));
            mark.write(f.fileName().toUtf8());
        }
        rig.mgr->startFile(rig.row(half.fId));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 2, kWait);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/half(1).bin"), rig.serverBytes("half.bin"));
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/half.bin"), QByteArray("short"));
    }

    void numberedNamesFitTheFileSystem()
    {
        const QString longName = QString(251, QChar(0x00e9)).left(125) + QString(1, 'x') + ".bin";
        QVERIFY(longName.toUtf8().size() <= 255);
        for (int count : {1, 12, 1234}) {
            const QString n = DownFileInfo::numberedName(longName, count);
            QVERIFY2(n.toUtf8().size() <= 255, qPrintable(n));
            QVERIFY(n.endsWith(QString("(%1).bin").arg(count)));
            QVERIFY(n.startsWith(QString(100, QChar(0x00e9))));
        }
        QCOMPARE(DownFileInfo::numberedName("a.txt", 2), QString("a(2).txt"));

        DownloadRig rig;
        const std::string name = std::string(251, 'n') + ".bin";
        rig.server->addFile(name, "long");
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item(name)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QVERIFY(rig.mgr->addDownFilesPlain(2, rig.downDir, {rig.item(name)}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 2, kWait);
        QVERIFY(rig.rec->errors.isEmpty());
        const QString second = QString(248, 'n') + "(1).bin";
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + second), QByteArray("long"));
    }

    // A name the file system cannot take is cut (suffix kept, never inside
    // a character) before the download, as numbered names are, instead of
    // failing the move once the whole file is there.
    void overlongNamesAreShortenedBeforeTheDownload()
    {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");   // 4 bytes, 2 UTF-16 units
        for (const QString& name : {QString(300, QChar(0x00e9)) + ".bin", emoji.repeated(100) + ".mp4",
                                    QString(300, 'z')}) {
            const QString n = DownFileInfo::numberedName(name, 0);
            QVERIFY2(n.toUtf8().size() <= 255 && n.toUtf8().size() > 240, qPrintable(n));
            QCOMPARE(QString::fromUtf8(n.toUtf8()), n);   // no half character
            if (name.contains('.'))
                QCOMPARE(n.section('.', -1), name.section('.', -1));
            QVERIFY(name.startsWith(n.section('.', 0, 0)));
        }

        // Room is counted in bytes: a suffix of several bytes per character
        // leaves that much less of the stem.
        const QString wide = "." + QString(4, QChar(0x4e2d));   // 13 bytes, 5 UTF-16 units
        for (int count : {0, 3}) {
            const QString n = DownFileInfo::numberedName(QString(300, 'a') + wide, count);
            QCOMPARE(n.toUtf8().size(), 255);
            QVERIFY(n.endsWith((count ? QString("(%1)").arg(count) : QString()) + wide));
        }
        // Exactly 255 bytes is whole; a byte more and the stem gives way.
        const QString exact = QString(255 - wide.toUtf8().size(), 'b') + wide;
        QCOMPARE(exact.toUtf8().size(), 255);
        QCOMPARE(DownFileInfo::numberedName(exact, 0), exact);
        QCOMPARE(DownFileInfo::numberedName("b" + exact, 0), exact);
        const QString cjk = QString(85, QChar(0x4e2d));
        QCOMPARE(DownFileInfo::numberedName(cjk, 0), cjk);
        QCOMPARE(DownFileInfo::numberedName(cjk + QChar(0x4e2d), 0), cjk);

        DownloadRig rig;
        rig.server->addFile("top.bin", "top file");
        rig.server->addFile("Dir/in.bin", "inner file");
        TwFileInfo top = rig.item("top.bin");
        top.name = QString(200, QChar(0x00e9)) + ".bin";
        // A folder and the file inside it, both named beyond the limit.
        const QString longDir = QString(130, QChar(0x4e2d)) + ".d";
        TwFileInfo dir = rig.item("Dir", false);
        dir.name = longDir;
        TwFileInfo inner = rig.item("Dir/in.bin");
        inner.name = emoji.repeated(70) + ".bin";
        const QString page = QString(R"({"result":1,"message":"success","data":{"listPath":[)"
                                     R"({"id":%1,"name":"%2","isFile":true,"fileLen":%3,"filePath":"/Dir/in.bin"}],)"
                                     R"("totalPages":1,"pageNo":1,"totalNum":1}})")
                                 .arg(inner.id).arg(inner.name).arg(inner.fileLen);
        rig.server->setCommandAnswer("getDirPath", page.toStdString());
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {top, dir}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 2, kWait);
        QVERIFY(rig.rec->errors.isEmpty());

        const QString topName = DownFileInfo::numberedName(top.name, 0);
        const QString dirName = DownFileInfo::numberedName(longDir, 0);
        const QString innerName = DownFileInfo::numberedName(inner.name, 0);
        QStringList want{dirName, dirName + "/" + innerName, topName};
        want.sort();
        QCOMPARE(entriesBelow(rig.downDir), want);
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + topName), QByteArray("top file"));
        QCOMPARE(DownloadRig::bytesOf(rig.downDir + "/" + dirName + "/" + innerName),
                 QByteArray("inner file"));
        QCOMPARE(downloadsOf(*rig.server, top.id), 1);
        QCOMPARE(downloadsOf(*rig.server, inner.id), 1);
    }
};

TW_TEST_MAIN(TestDownloadFaults)
#include "tst_downloadfaults.moc"
