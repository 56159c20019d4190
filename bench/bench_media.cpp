// Streaming playback against libmpv opening the same file over plain HTTP
// from the same test device, every request delayed by a fixed latency: start
// latency (open to first decoded frame) and seek latency (seek to playback
// restart); bytes fetched per byte played; cache read throughput against
// plain file reads.
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <fcntl.h>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <mpv/client.h>

#include "app/tidewellsdk.h"
#include "bench/benchowner.h"
#include "bench/benchutil.h"
#include "media/mpvqt.h"
#include "media/twmediaplayer.h"
#include "media/twmediastream.h"
#include "tools/testdeviceserver.h"

namespace {

constexpr int kLatencyMs = 30;
constexpr int kSeconds = 20;
// Every connection moves at most this: seeks right after the start land
// where nothing has arrived yet, for either player.
constexpr qint64 kRate = 400 * 1024;
const double kSeeks[] = {14.0, 6.0, 17.0, 10.0, 3.0, 12.0, 18.0};

// Waits for an event on the watching client while the player's own events
// are handled.
bool waitFor(mpv_handle* watcher, mpv_event_id id, int timeoutMs = 60000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        mpv_event* e = mpv_wait_event(watcher, 0.005);
        if (e->event_id == id)
            return true;
        if (e->event_id == MPV_EVENT_END_FILE && id != MPV_EVENT_END_FILE) {
            auto* end = static_cast<mpv_event_end_file*>(e->data);
            if (end && end->reason == MPV_END_FILE_REASON_ERROR)
                return false;
        }
    }
    return false;
}

struct Timing
{
    double start = -1;
    double seek = -1;   // mean over the seeks
};

// load() starts playback; the first restart is the first decoded frame.
template <class Load>
Timing measure(TwMediaPlayer& player, mpv_handle* watcher, Load&& load)
{
    Timing out;
    QElapsedTimer t;
    t.start();
    load();
    if (!waitFor(watcher, MPV_EVENT_PLAYBACK_RESTART))
        return out;
    out.start = t.nsecsElapsed() / 1e9;
    std::vector<double> seeks;
    for (double pos : kSeeks) {
        t.restart();
        mpv::qt::command(player.mpvHandle(), QVariantList{"seek", pos, "absolute"});
        if (!waitFor(watcher, MPV_EVENT_PLAYBACK_RESTART))
            return out;
        seeks.push_back(t.nsecsElapsed() / 1e9);
    }
    std::sort(seeks.begin(), seeks.end());
    out.seek = seeks[seeks.size() / 2];
    player.command(QVariantList{"stop"});
    waitFor(watcher, MPV_EVENT_END_FILE, 10000);
    return out;
}

qint64 folderBytes(const QString& dir)
{
    qint64 n = 0;
    for (const QFileInfo& fi : QDir(dir).entryInfoList(QDir::Files))
        n += fi.size();
    return n;
}

void clearFolder(const QString& dir)
{
    QDir d(dir);
    for (const QString& f : d.entryList(QDir::Files))
        d.remove(f);
}

// The player finds its device through the tab object it is given.
class BenchTab : public QObject, public BenchOwner
{
};

} // namespace

int main(int argc, char* argv[])
{
    // libmpv writes to the terminal; only the figures go to standard output.
    fflush(stdout);
    FILE* figures = fdopen(dup(1), "w");
    const int devNull = ::open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    QTemporaryDir home;
    useTemporaryHome(home.path());
    quietQtMessages();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("tidewell-bench");
    TidewellSdk::registerMetaTypes();

    if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) {
        fprintf(stderr, "ffmpeg is not installed\n");
        return 1;
    }
    QTemporaryDir work;
    TestDeviceServer server(work.filePath("storage").toStdString());
    if (!server.start()) {
        fprintf(stderr, "test device did not start\n");
        return 1;
    }
    const QString media = QString::fromStdString(server.absolutePath("video/clip.mp4"));
    QDir().mkpath(QFileInfo(media).path());
    QProcess ff;
    ff.start("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                        QString("testsrc=size=640x360:rate=25:duration=%1").arg(kSeconds), "-f", "lavfi", "-i",
                        QString("sine=frequency=440:duration=%1").arg(kSeconds), "-vf", "noise=alls=8:allf=t",
                        "-c:v", "mpeg4", "-q:v", "6", "-g", "25", "-c:a", "aac", "-shortest", media});
    if (!ff.waitForFinished(300000) || ff.exitCode() != 0) {
        fprintf(stderr, "ffmpeg failed\n");
        return 1;
    }
    BenchTab owner;
    if (!owner.connectTo(server.port())) {
        fprintf(stderr, "no connection to the test device\n");
        return 1;
    }
    TwFileInfo item;
    item.id = server.idForPath("video/clip.mp4");
    item.name = "clip.mp4";
    item.isFile = true;
    item.fileLen = QFileInfo(media).size();
    item.fileMd5 = "0123456789abcdef0123456789abcdef";
    item.ower = "bench";

    TwMediaPlayer player;
    player.setProperty("terminal", "no");
    player.setProperty("msg-level", "all=no");
    player.setProperty("ao", "null");
    player.setProperty("vo", "null");
    player.setTw(&owner);
    mpv_handle* watcher = mpv_create_client(player.mpvHandle(), "bench");

    server.delayAnswer(kLatencyMs, -1, "");
    server.throttle(kRate);
    const QString cache = player.mediaCachePath();

    // Ours: the stream from the cache segments.
    clearFolder(cache);
    player.setSource(item.toVariantMap());
    const Timing ours = measure(player, watcher, [&] { player.play(); });
    // Theirs: libmpv's own HTTP over the same server.
    const QString url = QString("http://127.0.0.1:%1/static/video/clip.mp4").arg(server.port());
    const Timing theirs = measure(player, watcher, [&] { player.command(QVariantList{"loadfile", url}); });
    if (ours.start <= 0 || ours.seek <= 0 || theirs.start <= 0 || theirs.seek <= 0) {
        fprintf(stderr, "playback failed (ours %.3f/%.3f s, http %.3f/%.3f s)\n", ours.start, ours.seek,
                theirs.start, theirs.seek);
        return 1;
    }
    fprintf(figures, "stream_start: %.0f ms (http %.0f ms)\n", ours.start * 1000, theirs.start * 1000);
    fprintf(figures, "stream_start ratio: %.2f\n", theirs.start / ours.start);
    fprintf(figures, "stream_seek: %.0f ms (http %.0f ms)\n", ours.seek * 1000, theirs.seek * 1000);
    fprintf(figures, "stream_seek ratio: %.2f\n", theirs.seek / ours.seek);

    // Bytes fetched for one playthrough as fast as the decoders go.
    server.clearFaults();
    player.stop();
    clearFolder(cache);
    player.setProperty("untimed", true);
    player.setProperty("ao-null-untimed", true);
    player.play();
    if (!waitFor(watcher, MPV_EVENT_END_FILE, 300000)) {
        fprintf(stderr, "playthrough failed\n");
        return 1;
    }
    player.stop();
    fprintf(figures, "stream_bytes_per_byte: %.2f\n", double(folderBytes(cache)) / double(item.fileLen));

    // Reading held bytes through the stream against reading the file.
    TwMediaStream direct(nullptr);
    direct.play(item, &owner, cache, nullptr);
    direct.open("stream://clip.mp4");
    QByteArray buf(64 * 1024, '\0');
    qint64 got = 0;
    qint64 n = 0;
    while ((n = direct.read(buf.data(), buf.size())) > 0)   // fills the cache if anything is missing
        got += n;
    direct.seek(0);
    const double cacheSecs = secondsFor([&] {
        qint64 total = 0;
        qint64 r = 0;
        while ((r = direct.read(buf.data(), buf.size())) > 0)
            total += r;
        return total == item.fileLen;
    });
    direct.close();
    direct.stop();
    const double plainSecs = secondsFor([&] {
        QFile f(media);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        qint64 total = 0;
        qint64 r = 0;
        while ((r = f.read(buf.data(), buf.size())) > 0)
            total += r;
        return total == item.fileLen;
    });
    if (got != item.fileLen || cacheSecs <= 0 || plainSecs <= 0) {
        fprintf(stderr, "cache read failed (%lld of %lld bytes)\n", got, item.fileLen);
        return 1;
    }
    const double mb = item.fileLen / (1024.0 * 1024.0);
    fprintf(figures, "stream_cache_read: %.0f MB/s (plain %.0f MB/s)\n", mb / cacheSecs, mb / plainSecs);
    fprintf(figures, "stream_cache_read ratio: %.2f\n", plainSecs / cacheSecs);
    mpv_destroy(watcher);
    server.stop();
    fclose(figures);
    return 0;
}
