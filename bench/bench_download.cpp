// Download engine throughput against curl fetching the same file from the
// same loopback test device; a folder of 5,000 small files (expansion time
// and files per second); peak memory.
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "app/tidewellsdk.h"
#include "core/tidewell.h"
#include "core/twfileinfo.h"
#include "sdk/channel_option.h"
#include "sdk/device_addr.h"
#include "sdk/network_observer.h"
#include "sdk/tidewell_network_sdk.h"
#include "tools/testdeviceserver.h"
#include "transfer/lvdownloadmanager.h"

namespace {

// The owner side of one device session, as a tab would answer it.
class BenchOwner : public Tidewell
{
public:
    BenchOwner()
    {
        device.accessId = "bench";
        device.deviceId = "bench-dev";
        device.deviceSn = "QX2BENCH";
        sdk::cores::model::channel_option opt;
        opt.probe_timeout_ms = 1000;
        opt.log = [](int, const std::string&) {};
        net.init(opt);
    }
    bool connectTo(int lanPort)
    {
        sdk::cores::model::device_addr addr;
        addr.device_id = device.deviceId.toStdString();
        addr.lan_host = "127.0.0.1";
        addr.lan_port = lanPort;
        if (!net.switch_device(addr))
            return false;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000) {
            if (net.link_state() >= sdk::cores::tidewell::link_lan)
                return true;
            QThread::msleep(10);
        }
        return false;
    }
    bool device_online(const NetworkShare&, OnlineFn fn) override
    {
        const int s = net.link_state();
        if (s < 2)
            return false;
        return fn(&net, s == 2 || s == 3);
    }
    bool isOnline() override { return net.link_state() != 0; }
    bool isLan() override { return net.link_state() == 2 || net.link_state() == 3; }
    QString deviceId() override { return device.deviceId; }
    QString downloadPath() override { return QString(); }
    void notifyUpRun() override {}
    void notifyDownRun(bool) override {}
    void notifyUpTaskNum() override {}
    void notifyDownTaskNum() override {}
    UserInfo userInfo() override { return UserInfo(); }
    DeviceInfo* deviceInfo() override { return &device; }
    int deviceType() override { return 2; }
    bool isPCDevice() override { return false; }
    int netType() override { return isLan() ? 1 : 0; }
    ThumbI* thumb() override { return nullptr; }
    sdk::plugins::tidewell_network_sdk* networkSdk() override { return &net; }
    void showLoading() override {}
    void cancelLading() override {}
    void notifyStatus(int, const QString&, int) override {}

    DeviceInfo device;
    sdk::plugins::tidewell_network_sdk net;
};

void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    if (type >= QtCriticalMsg)
        fprintf(stderr, "%s\n", qPrintable(msg));
}

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

double runCurl(int port, qint64 id, const QString& out)
{
    const QString url = QString("http://127.0.0.1:%1/device/download?fileId=%2&mode=2&ower=bench"
                                "&fileMd5=&shareId=&extractedCode=").arg(port).arg(id);
    QElapsedTimer t;
    t.start();
    QProcess c;
    c.start("curl", {"-s", "-f", "-o", out, "-H", "X-Access-Id: bench", "-H",
                     "X-Device-Id: bench-dev", "-H", "X-Client-Type: PC", url});
    if (!c.waitForFinished(-1) || c.exitCode() != 0)
        return -1;
    return t.nsecsElapsed() / 1e9;
}

long peakRssMb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qInstallMessageHandler(quietHandler);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tidewell-bench");
    TidewellSdk::registerMetaTypes();

    const qint64 mb = qEnvironmentVariableIsSet("BENCH_SIZE_MB")
                          ? qEnvironmentVariable("BENCH_SIZE_MB").toLongLong() : 1024;
    const qint64 size = qMax<qint64>(1, mb) * 1024 * 1024;
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
    for (int i = 0; i < count; ++i)
        server.addFile("Small/f" + std::to_string(i) + ".txt", block);
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
    printf("download_expand_5000: %.0f ms\n", small.expandSecs * 1000);
    printf("download_peak_rss: %ld MB\n", peakRssMb());
    server.stop();
    return 0;
}
