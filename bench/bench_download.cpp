// Download engine throughput against curl fetching the same file from the
// same loopback test device; a folder of 5,000 small files against one curl
// fetching the same files over one kept connection (expansion time, files
// per second); peak memory. Each ratio is over interleaved rounds, each
// round into fresh folders.
#include <cstdio>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "bench/benchapp.h"
#include "bench/benchowner.h"
#include "bench/benchutil.h"
#include "core/twfileinfo.h"
#include "tools/testdeviceserver.h"
#include "transfer/lvdownloadmanager.h"

namespace {

struct EngineRun
{
    double totalSecs = -1;    // add to queue ended
    double expandSecs = -1;   // add to entries stored (folders expanded)
    int errors = 0;
};

// Queues items and runs the manager until its queue has ended.
EngineRun runEngine(BenchOwner& owner, const QString& saveDir, const QList<TwFileInfo>& items)
{
    EngineRun run;
    LVDownloadManager manager;
    manager.init(&owner);
    QEventLoop loop;
    QElapsedTimer t;
    QObject::connect(&manager, &LVDownloadManager::rAddDownFiles, &loop,
                     [&](TW_HANDLE, bool) { run.expandSecs = t.nsecsElapsed() / 1e9; });
    QObject::connect(&manager, &LVDownloadManager::rDownloadError, &loop, [&](DownFileInfo f) {
        fprintf(stderr, "download failed: %s %s\n", qPrintable(f.fileName), qPrintable(f.msg));
        ++run.errors;
    });
    QObject::connect(&manager, &LVDownloadManager::rStop, &loop, &QEventLoop::quit);
    t.start();
    manager.addDownFilesPlain(1, saveDir, items);
    loop.exec();
    run.totalSecs = t.nsecsElapsed() / 1e9;
    return run;
}

QString downloadUrl(int port, qint64 id)
{
    return QString("http://127.0.0.1:%1/device/download?fileId=%2&mode=2&ower=bench"
                   "&fileMd5=&shareId=&extractedCode=").arg(port).arg(id);
}

double runCurl(int port, qint64 id, const QString& out)
{
    const QString url = downloadUrl(port, id);
    return secondsFor([&] {
        return runProgram("curl", {"-s", "-f", "-o", out, "-H", "X-Access-Id: bench", "-H",
                                   "X-Device-Id: bench-dev", "-H", "X-Client-Type: PC", url});
    });
}

// One curl invocation fetching every id into outDir over one kept
// connection, as our layer keeps its own.
double runCurlMany(int port, const QList<qint64>& ids, const QString& outDir)
{
    const QString config = outDir + ".config";
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    QByteArray text = "header = \"X-Access-Id: bench\"\nheader = \"X-Device-Id: bench-dev\"\n"
                      "header = \"X-Client-Type: PC\"\n";
    for (int i = 0; i < ids.size(); ++i) {
        text += "url = \"" + downloadUrl(port, ids.at(i)).toUtf8() + "\"\n";
        text += "output = \"" + outDir.toUtf8() + "/c" + QByteArray::number(i) + "\"\n";
    }
    f.write(text);
    f.close();
    return secondsFor([&] { return runProgram("curl", {"-s", "-f", "-K", config}); });
}

} // namespace

int main(int argc, char* argv[])
{
    BenchApp app(argc, argv);

    const qint64 size = benchSizeBytes();
    const double sizeMb = size / (1024.0 * 1024.0);

    QTemporaryDir work;
    TestDeviceServer server(work.filePath("storage").toStdString());
    if (!server.start()) {
        fprintf(stderr, "test device did not start\n");
        return 1;
    }
    BenchOwner owner;
    if (!owner.connectTo(server.port())) {
        fprintf(stderr, "no connection to the test device\n");
        return 1;
    }

    // One big file: the whole engine (queue to finished row) against curl.
    TwFileInfo big;
    big.id = server.addGeneratedFile("big.bin", size, true, 1);
    big.name = "big.bin";
    big.isFile = true;
    big.fileLen = size;
    const QString curlOut = work.filePath("curl.bin");
    Rounds bigRounds;
    const bool bigOk = interleave(
        "download_engine",
        [&](int) {
            server.clearRequests();   // the device's log would grow our peak memory
            const double secs = runCurl(server.port(), big.id, curlOut);
            const bool whole = QFileInfo(curlOut).size() == size;
            QFile::remove(curlOut);
            return whole ? secs : -1;
        },
        [&](int round) {
            const QString saveDir = work.filePath(QString("down%1").arg(round));
            QDir().mkpath(saveDir);
            const EngineRun engine = runEngine(owner, saveDir, {big});
            const qint64 got = QFileInfo(saveDir + "/big.bin").size();
            QDir(saveDir).removeRecursively();
            if (engine.errors || got != size) {
                fprintf(stderr, "download failed (engine %lld of %lld bytes)\n", got, size);
                return -1.0;
            }
            return engine.totalSecs;
        },
        bigRounds);
    if (!bigOk)
        return 1;
    printf("download_engine: %.1f MB/s\n", sizeMb / median(bigRounds.ours));
    printRatio(stdout, "download_engine", ratioOf(bigRounds));

    // 5,000 files of 4 KiB in one folder.
    const int count = 5000;
    const std::string block(4096, 'q');
    QList<qint64> ids;
    for (int i = 0; i < count; ++i)
        ids << server.addFile("Small/f" + std::to_string(i) + ".txt", block);
    TwFileInfo folder;
    folder.id = server.idForPath("Small");
    folder.name = "Small";
    folder.isFile = false;
    // The files of each round stay until the end: a file system may pass
    // over the places of files just deleted when it makes new ones, and
    // which side lands where is chance.
    Rounds smallRounds;
    long firstPeak = -1;
    std::vector<double> expand;
    const bool smallOk = interleave(
        "download_small_files",
        [&](int round) {
            server.clearRequests();
            const QString curlDir = work.filePath(QString("curl%1").arg(round));
            QDir().mkpath(curlDir);
            const double secs = runCurlMany(server.port(), ids, curlDir);
            const int arrived = QDir(curlDir).entryList({"c*"}, QDir::Files).size();
            if (arrived != count) {
                fprintf(stderr, "curl fetched %d of %d small files\n", arrived, count);
                return -1.0;
            }
            return secs;
        },
        [&](int round) {
            const QString saveDir = work.filePath(QString("small%1").arg(round));
            QDir().mkpath(saveDir);
            const EngineRun small = runEngine(owner, saveDir, {folder});
            const int arrived = QDir(saveDir + "/Small").entryList(QDir::Files).size();
            if (small.errors || arrived != count) {
                fprintf(stderr, "small files failed: %d of %d arrived\n", arrived, count);
                return -1.0;
            }
            if (round > 0)
                expand.push_back(small.expandSecs);
            if (round == 0)
                firstPeak = peakRssMb();
            return small.totalSecs;
        },
        smallRounds);
    if (!smallOk)
        return 1;
    printf("download_small_files: %.0f files/s (curl %.0f files/s)\n", count / median(smallRounds.ours),
           count / median(smallRounds.reference));
    printRatio(stdout, "download_small_files", ratioOf(smallRounds));
    printf("download_expand_5000: %.0f ms\n", median(expand) * 1000);
    // The in-process test device keeps every file and task it was sent, so
    // later rounds add to the peak: the first round is the engine's figure.
    printf("download_peak_rss: %ld MB (after all rounds: %ld MB)\n", firstPeak, peakRssMb());
    server.stop();
    return 0;
}
