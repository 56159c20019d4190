// Thumbnail service: 500 small pictures at 20-way parallelism against a
// device answering each thumbnail after 50 ms (ratio = the time that
// parallelism allows / the time measured; peak concurrency seen by the
// device) over rounds, each into a fresh cache, and the cost of one small() call with 10,000 requests queued.
// The test device runs in this process: the line "thumbs_500 processor
// time" gives the client's processor time apart from the device's threads'.
// The thumbnail cache is in the temporary folder (TMPDIR, or BENCH_CACHE_DIR
// when set), so that file system's cost of creating, writing and renaming
// files is in the figure; the line "thumbs_500 file system" names it. The
// test device keeps its files in memory when it can (/dev/shm): its disk is
// another machine's, and its reads of pictures written just before would
// otherwise wait on this disk's journal for their access times.
#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTimer>

#include "bench/benchapp.h"
#include "bench/benchowner.h"
#include "bench/benchutil.h"
#include "core/common.h"
#include "tools/testdeviceserver.h"
#include "transfer/tidewellthumb.h"

namespace {

const int kPictures = 500;
const int kParallel = 20;
const int kLatencyMs = 50;
const int kQueued = 10000;

std::string picture(int seed)
{
    QImage img(240, 180, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = qRgb((x + seed) & 255, (y * 2 + seed) & 255, (x ^ y ^ seed) & 255);
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 85);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// Processor seconds of this process (the test device's included).
double cpuSeconds()
{
    struct rusage ru;
    if (getrusage(RUSAGE_SELF, &ru) != 0)
        return 0;
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// Processor seconds of the test device's threads (named "tw_device"; they
// live as long as the server, so none of their time is lost to an ended
// thread), from the scheduler's own count in nanoseconds.
double deviceCpuSeconds()
{
    double total = 0;
    const QStringList tasks = QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& tid : tasks) {
        QFile comm("/proc/self/task/" + tid + "/comm");
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "tw_device")
            continue;
        QFile stat("/proc/self/task/" + tid + "/schedstat");
        if (stat.open(QIODevice::ReadOnly))
            total += stat.readAll().split(' ').value(0).toLongLong() / 1e9;
    }
    return total;
}

} // namespace

int main(int argc, char* argv[])
{
    BenchApp app(argc, argv);
    const QString cacheBase = qEnvironmentVariable("BENCH_CACHE_DIR");
    QTemporaryDir work(cacheBase.isEmpty() ? QDir::tempPath() + "/tidewell-bench-XXXXXX"
                                           : cacheBase + "/tidewell-bench-XXXXXX");
    QTemporaryDir deviceDisk(QDir("/dev/shm").exists() ? "/dev/shm/tidewell-device-XXXXXX"
                                                       : QDir::tempPath() + "/tidewell-device-XXXXXX");
    if (!work.isValid() || !deviceDisk.isValid()) {
        fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    TestDeviceServer server(deviceDisk.filePath("storage").toStdString());
    if (!server.start()) {
        fprintf(stderr, "test device did not start\n");
        return 1;
    }
    BenchOwner owner;
    if (!owner.connectTo(server.port())) {
        fprintf(stderr, "no connection to the test device\n");
        return 1;
    }
    QList<qint64> ids;
    for (int i = 0; i < kPictures; ++i) {
        const std::string rel = "pics/p" + std::to_string(i) + ".jpg";
        ids << server.addFile(rel, picture(i));
        // Made ahead: the device's own scaling is not what is measured.
        if (server.thumbnailBytes(rel, 1).empty()) {
            fprintf(stderr, "no thumbnail for %s\n", rel.c_str());
            return 1;
        }
    }
    server.setThumbnailLatency(kLatencyMs);
    const double allowed = double(kPictures) / kParallel * kLatencyMs / 1000.0;

    int peak = 0;
    std::vector<double> cpu;
    std::vector<double> deviceCpu;
    auto runOurs = [&](int round) {
        server.resetThumbnailPeak();
        server.clearRequests();
        int done = 0;
        int failed = 0;
        TidewellThumb thumb;
        thumb.init(&owner, work.filePath(QString("cache-%1").arg(round)));
        thumb.resume();
        if (thumb.maxCount() != kParallel) {
            fprintf(stderr, "not on the local network (max %d)\n", thumb.maxCount());
            return -1.0;
        }
        QEventLoop loop;
        QObject::connect(&thumb, &TidewellThumb::sFinished, &loop, [&](ThumbInfo, int code, QString) {
            if (code != 100310)
                ++failed;
            if (++done == kPictures)
                loop.quit();
        });
        QTimer::singleShot(300000, &loop, &QEventLoop::quit);
        const double cpu0 = cpuSeconds();
        const double device0 = deviceCpuSeconds();
        QElapsedTimer t;
        t.start();
        for (qint64 id : ids)
            thumb.small(NetworkShare(), Common::MT_Image, id, QString(), QString(), 0);
        loop.exec();
        const double secs = t.nsecsElapsed() / 1e9;
        if (done != kPictures || failed) {
            fprintf(stderr, "thumbnails: %d of %d answered, %d failed\n", done, kPictures, failed);
            return -1.0;
        }
        if (round > 0) {
            cpu.push_back(cpuSeconds() - cpu0);
            deviceCpu.push_back(deviceCpuSeconds() - device0);
            peak = std::max(peak, server.thumbnailPeak());
        }
        return secs;
    };
    // The reference is what the parallelism allows against the latency.
    Rounds rounds;
    if (!interleave("thumbs_500", [&](int) { return allowed; }, runOurs, rounds))
        return 1;
    printf("thumbs_500 file system: %s (cache), %s (device)\n",
           QStorageInfo(work.path()).fileSystemType().constData(),
           QStorageInfo(deviceDisk.path()).fileSystemType().constData());
    const double secs = median(rounds.ours);
    printf("thumbs_500: %.2f s (%.0f thumbnails/s, %.2f s processor time with the device's)\n", secs,
           kPictures / secs, median(cpu));
    printRatio(stdout, "thumbs_500", ratioOf(rounds));
    // What the device costs this process, apart from the client's share.
    std::vector<double> ourCpu;
    for (std::size_t i = 0; i < cpu.size() && i < deviceCpu.size(); ++i)
        ourCpu.push_back(cpu[i] - deviceCpu[i]);
    printf("thumbs_500 processor time: %.2f s client, %.2f s test device\n", median(ourCpu),
           median(deviceCpu));
    printf("thumbs_500 peak concurrency: %d\n", peak);

    // small() with a deep queue: the service is paused so nothing drains it.
    {
        TidewellThumb thumb;
        thumb.init(&owner, work.filePath("cache2"));
        thumb.pause();
        QElapsedTimer t;
        t.start();
        qint64 lastThousandNs = 0;
        for (int i = 0; i < kQueued; ++i) {
            if (i == kQueued - 1000)
                lastThousandNs = t.nsecsElapsed();
            thumb.small(NetworkShare(), Common::MT_Image, 1000000 + i, QString(), QString(), 0);
        }
        const qint64 total = t.nsecsElapsed();
        lastThousandNs = total - lastThousandNs;
        // Asked again while queued: found, not added.
        QElapsedTimer again;
        again.start();
        for (int i = 0; i < 1000; ++i)
            thumb.small(NetworkShare(), Common::MT_Image, 1000000 + i, QString(), QString(), 0);
        const qint64 againNs = again.nsecsElapsed();
        if (thumb.pendingCount() != kQueued) {
            fprintf(stderr, "queue holds %d of %d\n", thumb.pendingCount(), kQueued);
            return 1;
        }
        printf("thumbs_small_call: %.1f us per call (10,000 queued, last 1,000: %.1f us)\n",
               total / 1000.0 / kQueued, lastThousandNs / 1000.0 / 1000);
        printf("thumbs_small_call queued again: %.1f us per call\n", againNs / 1000.0 / 1000);
        thumb.stop();
    }
    server.stop();
    return 0;
}
