// Download engine throughput against curl fetching the same file from the
// same loopback test device; a folder of 5,000 small files against curl
// fetching the same files (expansion time, files per second); peak memory.
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

// One curl invocation fetching every id into outDir, one connection per file.
double runCurlMany(int port, const QList<qint64>& ids, const QString& outDir)
{
    const QString config = outDir + ".config";
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    QByteArray text = "header = \"X-Access-Id: bench\"\nheader = \"X-Device-Id: bench-dev\"\n"
                      "header = \"X-Client-Type: PC\"\nheader = \"Connection: close\"\n";
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
    const QString saveDir = work.filePath("down");
    QDir().mkpath(saveDir);
    const QString curlOut = work.filePath("curl.bin");
    runCurl(server.port(), big.id, curlOut);   // warms the page cache
    QFile::remove(curlOut);
    const double curlSecs = runCurl(server.port(), big.id, curlOut);
    QFile::remove(curlOut);
    const EngineRun engine = runEngine(owner, saveDir, {big});
    const qint64 got = QFileInfo(saveDir + "/big.bin").size();
    QFile::remove(saveDir + "/big.bin");
    if (engine.errors || got != size || curlSecs <= 0) {
        fprintf(stderr, "download failed (engine %lld of %lld bytes, curl %.2f s)\n",
                got, size, curlSecs);
        return 1;
    }
    printf("download_engine: %.1f MB/s\n", sizeMb / engine.totalSecs);
    printf("download_engine ratio: %.2f\n", curlSecs / engine.totalSecs);

    // 5,000 files of 4 KiB in one folder.
    const int count = 5000;
    const std::string block(4096, 'q');
    QList<qint64> ids;
    for (int i = 0; i < count; ++i)
        ids << server.addFile("Small/f" + std::to_string(i) + ".txt", block);
    const QString curlDir = work.filePath("curl");
    QDir().mkpath(curlDir);
    const double curlManySecs = runCurlMany(server.port(), ids, curlDir);
    const int curlArrived = QDir(curlDir).entryList({"c*"}, QDir::Files).size();
    QDir(curlDir).removeRecursively();
    QFile::remove(curlDir + ".config");
    if (curlManySecs <= 0 || curlArrived != count) {
        fprintf(stderr, "curl fetched %d of %d small files\n", curlArrived, count);
        return 1;
    }
    TwFileInfo folder;
    folder.id = server.idForPath("Small");
    folder.name = "Small";
    folder.isFile = false;
    const EngineRun small = runEngine(owner, saveDir, {folder});
    const int arrived = QDir(saveDir + "/Small").entryList(QDir::Files).size();
    if (small.errors || arrived != count) {
        fprintf(stderr, "small files failed: %d of %d arrived\n", arrived, count);
        return 1;
    }
    printf("download_small_files: %.0f files/s\n", count / small.totalSecs);
    printf("download_small_files ratio: %.2f\n", curlManySecs / small.totalSecs);
    printf("download_expand_5000: %.0f ms\n", small.expandSecs * 1000);
    printf("download_peak_rss: %ld MB\n", peakRssMb());
    server.stop();
    return 0;
}
