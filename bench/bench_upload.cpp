// Upload engine throughput against curl on the same generated file and the
// same loopback test device; hashing against md5sum; three uploads at once
// against one at a time; peak memory.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

#include "app/tidewellsdk.h"
#include "core/tidewell.h"
#include "sdk/channel_option.h"
#include "sdk/device_addr.h"
#include "sdk/network_observer.h"
#include "sdk/tidewell_network_sdk.h"
#include "tools/testdeviceserver.h"
#include "transfer/filemd5asyn.h"
#include "transfer/lvuploadmanager.h"

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
        device.deviceModel = "QXP-BENCH";   // large files go without a digest
        sdk::cores::model::channel_option opt;
        opt.probe_timeout_ms = 1000;
        opt.log = [](int, const std::string&) {};
        net.init(opt);
    }
    bool connectTo(int lanPort, int mapPort)
    {
        sdk::cores::model::device_addr addr;
        addr.device_id = device.deviceId.toStdString();
        if (lanPort) {
            addr.lan_host = "127.0.0.1";
            addr.lan_port = lanPort;
        }
        if (mapPort) {
            addr.map_host = "127.0.0.1";
            addr.map_port = mapPort;
        }
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
    bool isPCDevice() override { return device.deviceModel.startsWith("QXP"); }
    int netType() override
    {
        switch (net.link_state()) {
        case 2: return 1;
        case 3: return 2;
        case 4: return 3;
        default: return 0;
        }
    }
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

bool generate(const QString& path, qint64 size, quint32 seed)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    quint32 x = seed;
    for (int i = 0; i < block.size(); ++i) {
        x = x * 1664525u + 1013904223u;
        block[i] = char(x >> 24);
    }
    qint64 left = size;
    quint64 n = 0;
    while (left > 0) {
        memcpy(block.data(), &n, sizeof(n));
        ++n;
        const qint64 chunk = qMin<qint64>(left, block.size());
        if (f.write(block.constData(), chunk) != chunk)
            return false;
        left -= chunk;
    }
    return true;
}

// Runs the manager on paths until it stops; seconds, or -1.
double runEngine(BenchOwner& owner, const QStringList& paths)
{
    LVUploadManager manager;
    manager.init(&owner);
    QEventLoop loop;
    bool failed = false;
    QObject::connect(&manager, &LVUploadManager::rStop, &loop, &QEventLoop::quit);
    QObject::connect(&manager, &LVUploadManager::rUploadError, &loop, [&](UploadFileInfo r) {
        fprintf(stderr, "upload failed: %s %s\n", qPrintable(r.fileName), qPrintable(r.msg));
        failed = true;
    });
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    QElapsedTimer t;
    t.start();
    manager.addUpFiles(TwFolderInfo(), urls, true);
    loop.exec();
    const double secs = t.nsecsElapsed() / 1e9;
    return failed ? -1 : secs;
}

double runCurl(int port, const QString& path, qint64 size)
{
    const QString base = QString("http://127.0.0.1:%1").arg(port);
    QJsonObject create{{"fileName", "curl_ref.bin"}, {"fileSize", double(size)}, {"fileMd5", ""},
                       {"dirId", 0}, {"isCover", 1}, {"isExternal", false}, {"isSafeBox", false},
                       {"externalPath", ""}, {"diskSerial", ""}, {"uploadType", 0}, {"groupId", 0},
                       {"createTime", 0}, {"taskId", ""}};
    QElapsedTimer t;
    t.start();
    QProcess c1;
    c1.start("curl", {"-s", "-X", "POST", "-H", "Content-Type: application/json", "-H",
                      "X-Client-Type: PC", "--data-binary",
                      QString::fromUtf8(QJsonDocument(create).toJson(QJsonDocument::Compact)),
                      base + "/device/upload/create"});
    if (!c1.waitForFinished(60000) || c1.exitCode() != 0)
        return -1;
    const QJsonObject answer = QJsonDocument::fromJson(c1.readAllStandardOutput()).object();
    const QString taskId = answer.value("data").toObject().value("taskId").toString();
    if (taskId.isEmpty())
        return -1;
    QProcess c2;
    c2.start("curl", {"-s", "-o", "/dev/null", "-X", "PUT", "-H", "Expect:", "-H",
                      "X-Client-Type: PC", "-T", path,
                      base + "/device/upload/data?taskId=" + taskId + "&offset=0"});
    if (!c2.waitForFinished(-1) || c2.exitCode() != 0)
        return -1;
    return t.nsecsElapsed() / 1e9;
}

double runHasher(const QString& path)
{
    FileMd5Asyn hasher;
    QEventLoop loop;
    QString result;
    QObject::connect(&hasher, &FileMd5Asyn::resultFileMd5, &loop, [&](QString md5) {
        result = md5;
        loop.quit();
    });
    QElapsedTimer t;
    t.start();
    hasher.start(path);
    loop.exec();
    return result.size() == 32 ? t.nsecsElapsed() / 1e9 : -1;
}

double runMd5sum(const QString& path)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start("md5sum", {path});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
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
    QThreadPool::globalInstance()->setMaxThreadCount(3);

    const qint64 mb = qEnvironmentVariableIsSet("BENCH_SIZE_MB")
                          ? qEnvironmentVariable("BENCH_SIZE_MB").toLongLong() : 1024;
    const qint64 size = qMax<qint64>(1, mb) * 1024 * 1024;
    const double sizeMb = size / (1024.0 * 1024.0);

    QTemporaryDir work;
    const QString storage = work.filePath("storage");
    const QString file = work.filePath("bench.bin");
    if (!generate(file, size, 1)) {
        fprintf(stderr, "cannot generate %s\n", qPrintable(file));
        return 1;
    }
    TestDeviceServer server(storage.toStdString());
    if (!server.start()) {
        fprintf(stderr, "test device did not start\n");
        return 1;
    }
    BenchOwner lan;
    if (!lan.connectTo(server.port(), 0)) {
        fprintf(stderr, "no connection to the test device\n");
        return 1;
    }

    // One big file: engine against curl.
    const double curlSecs = runCurl(server.port(), file, size);
    QFile::remove(QDir(storage).filePath("curl_ref.bin"));
    const double engineSecs = runEngine(lan, {file});
    QFile::remove(QDir(storage).filePath("bench.bin"));
    if (engineSecs <= 0 || curlSecs <= 0) {
        fprintf(stderr, "upload failed (engine %.2f s, curl %.2f s)\n", engineSecs, curlSecs);
        return 1;
    }
    printf("upload_engine: %.1f MB/s\n", sizeMb / engineSecs);
    printf("upload_engine ratio: %.2f\n", curlSecs / engineSecs);

    // Hashing against md5sum, both on a warm cache.
    runMd5sum(file);
    const double sumSecs = runMd5sum(file);
    const double hashSecs = runHasher(file);
    if (sumSecs > 0 && hashSecs > 0)
        printf("md5 ratio: %.2f\n", sumSecs / hashSecs);
    QFile::remove(file);

    // Three files at once (local network) against one at a time (mapped link).
    QStringList parts;
    for (int i = 0; i < 3; ++i) {
        const QString p = work.filePath(QString("part%1.bin").arg(i));
        if (!generate(p, size / 3, 10 + i))
            return 1;
        parts << p;
    }
    const double parSecs = runEngine(lan, parts);
    for (int i = 0; i < 3; ++i)
        QFile::remove(QDir(storage).filePath(QString("part%1.bin").arg(i)));
    BenchOwner mapped;
    if (!mapped.connectTo(0, server.port()))
        return 1;
    const double serSecs = runEngine(mapped, parts);
    if (parSecs > 0 && serSecs > 0)
        printf("upload_parallel3 ratio: %.2f\n", serSecs / parSecs);

    printf("upload_peak_rss: %ld MB\n", peakRssMb());
    server.stop();
    return 0;
}
