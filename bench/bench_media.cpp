// Streaming playback against a stock libmpv player opening the same file
// over plain HTTP from a plain file server on loopback, as a user choosing
// between the two would: an MP4 with its index at the start, one with it at
// the end, an MP3 and a WAV, each at 0, 20 and 50 ms added latency on an
// unlimited and a 2 MB/s link. Each player runs in a process of its own and
// both servers in a third (see serversMain). Start latency (open to first
// decoded frame) and seek latency (seek to playback restart) are medians
// over the same starts and seek points, the two sides interleaved start by
// start (the stock player first; ten starts a round, the seeks after the
// last one; one warm-up round); our segments are
// stopped and gone before the other side runs. One ratio line per medium and
// condition (higher is better: the stock player's time / ours; the spread is
// that of the rounds), then the worst of each, leaving out times under 1 ms
// on both sides (held in memory: noise over noise). Then bytes fetched per
// byte played, cache read throughput against plain file reads, and the
// resident memory after many rounds of play A / stop / play B / stop, each
// side in a fresh process of its own (see churnMain).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <mpv/client.h>

#include "app/tidewellsdk.h"
#include "bench/benchowner.h"
#include "bench/benchutil.h"
#include "bench/plainfileserver.h"
#include "media/mpvqt.h"
#include "media/twmediaplayer.h"
#include "media/twmediastream.h"
#include "tools/testdeviceserver.h"

namespace {

constexpr int kSeconds = 20;
// Starts of each side a round, each a first play. libmpv's own work on an
// open (its format probe) takes one of two times on either side, about
// 5 or 9 ms for the WAV, by where its thread runs: with five starts a round
// the share of slow ones, and so the median, moved by a few percent
// between runs of the same build.
constexpr int kStartsPerRound = 10;
// 7 a round: 35 seeks a side per medium and condition over 5 rounds.
const double kSeeks[] = {14.0, 6.0, 17.0, 10.0, 3.0, 12.0, 18.0};
constexpr std::size_t kSeekCount = sizeof(kSeeks) / sizeof(kSeeks[0]);
// Starts and seeks this fast on both sides come from memory.
constexpr double kHeldSecs = 0.001;
const int kLatencies[] = {0, 20, 50};
const qint64 kRates[] = {0, 2 * 1024 * 1024};

struct Medium
{
    const char* name;
    const char* file;   // under media/ on both servers
};
// Rounds of play A / stop / play B / stop a churn process makes (BENCH_CHURN
// when set): enough for the arenas of the threads started and ended to
// show, fewer than a long session's 600 so a figure takes minutes.
int churnRounds()
{
    const char* env = std::getenv("BENCH_CHURN");
    const int n = env ? std::atoi(env) : 0;
    return n > 0 ? n : 150;
}

const Medium kMedia[] = {{"mp4_faststart", "clip_faststart.mp4"},
                         {"mp4_indexend", "clip_indexend.mp4"},
                         {"mp3", "tone.mp3"},
                         {"wav", "tone.wav"}};

bool ffmpeg(const QStringList& args)
{
    QProcess ff;
    ff.start("ffmpeg", QStringList{"-v", "error", "-y"} + args);
    return ff.waitForFinished(300000) && ff.exitStatus() == QProcess::NormalExit && ff.exitCode() == 0;
}

// The media set, written into folder.
bool makeMedia(const QString& folder)
{
    const QString secs = QString::number(kSeconds);
    const QString video = QString("testsrc=size=640x360:rate=25:duration=%1").arg(secs);
    const QString tone = QString("sine=frequency=440:duration=%1").arg(secs);
    const QString end = folder + "/clip_indexend.mp4";
    return ffmpeg({"-f", "lavfi", "-i", video, "-f", "lavfi", "-i", tone, "-vf", "noise=alls=8:allf=t", "-c:v",
                   "mpeg4", "-q:v", "6", "-g", "25", "-c:a", "aac", "-shortest", end})
           && ffmpeg({"-i", end, "-c", "copy", "-movflags", "+faststart", folder + "/clip_faststart.mp4"})
           && ffmpeg({"-f", "lavfi", "-i", tone, "-c:a", "libmp3lame", "-b:a", "128k", folder + "/tone.mp3"})
           && ffmpeg({"-f", "lavfi", "-i", tone, "-ac", "2", "-c:a", "pcm_s16le", folder + "/tone.wav"});
}

// Watches one libmpv handle from a thread of its own for the whole run, so
// that no thread is made or ended around a timed span: each one would take
// or give back a malloc arena, and which arena libmpv's next thread gets
// decides whether its large buffers start on fresh pages.
class Watch
{
public:
    explicit Watch(mpv_handle* handle) : m_handle(handle), m_thread([this] { loop(); }) {}
    ~Watch()
    {
        m_quit = true;
        mpv_wakeup(m_handle);
        m_thread.join();
    }

    // Seconds from action() to the event id, or -1 (playback failed or
    // timed out). This thread goes on handling Qt events meanwhile, as the
    // application's would.
    template <class Action>
    double timeTo(mpv_event_id id, Action&& action, int timeoutMs = 30000)
    {
        {
            std::lock_guard<std::mutex> l(m_lock);
            m_target = id;
            m_armed = true;
            m_done = false;
            m_got = false;
        }
        const auto begun = std::chrono::steady_clock::now();
        action();
        QElapsedTimer t;
        t.start();
        std::unique_lock<std::mutex> l(m_lock);
        while (!m_done && t.elapsed() < timeoutMs) {
            l.unlock();
            QCoreApplication::processEvents();
            l.lock();
            m_cv.wait_for(l, std::chrono::milliseconds(2), [&] { return m_done; });
        }
        m_armed = false;
        if (!m_got)
            return -1;
        return std::chrono::duration<double>(m_at - begun).count();
    }

private:
    void loop()
    {
        while (!m_quit.load()) {
            mpv_event* e = mpv_wait_event(m_handle, 0.05);
            if (e->event_id == MPV_EVENT_NONE)
                continue;
            const auto now = std::chrono::steady_clock::now();
            std::lock_guard<std::mutex> l(m_lock);
            if (!m_armed || m_done)
                continue;
            bool failed = false;
            if (e->event_id == MPV_EVENT_END_FILE && m_target != MPV_EVENT_END_FILE) {
                auto* end = static_cast<mpv_event_end_file*>(e->data);
                failed = end && end->reason == MPV_END_FILE_REASON_ERROR;
            }
            if (e->event_id == m_target || failed) {
                m_at = now;
                m_got = !failed;
                m_done = true;
                m_cv.notify_all();
            }
        }
    }

    mpv_handle* m_handle;
    std::mutex m_lock;
    std::condition_variable m_cv;
    std::atomic<bool> m_quit{false};
    bool m_armed = false;
    bool m_done = false;
    bool m_got = false;
    mpv_event_id m_target = MPV_EVENT_NONE;
    std::chrono::steady_clock::time_point m_at;
    std::thread m_thread;
};

struct Samples
{
    std::vector<double> starts;
    std::vector<double> seeks;
};

// The median of each round's samples, the rounds from `from` on.
std::vector<double> roundMedians(const std::vector<double>& v, std::size_t perRound, std::size_t from)
{
    std::vector<double> out;
    for (std::size_t at = from * perRound; at + perRound <= v.size(); at += perRound)
        out.push_back(median(std::vector<double>(v.begin() + long(at), v.begin() + long(at + perRound))));
    return out;
}

// Ratio of the medians of all samples, spread of the rounds' medians.
Ratio sampleRatio(const std::vector<double>& theirs, const std::vector<double>& ours, std::size_t perRound)
{
    const std::size_t skip = 1;   // the warm-up round
    Rounds rounds{roundMedians(theirs, perRound, skip), roundMedians(ours, perRound, skip)};
    Ratio r = ratioOf(rounds);
    const std::vector<double> t(theirs.begin() + long(skip * perRound), theirs.end());
    const std::vector<double> o(ours.begin() + long(skip * perRound), ours.end());
    r.value = median(t) / median(o);
    return r;
}

// One start on handle (watched through watch), then the seeks when asked;
// load() opens the file, stop() ends playback. False when playback failed.
template <class Load, class Stop>
bool measure(mpv_handle* handle, Watch& watch, Samples& out, Load&& load, Stop&& stop, bool seeks = true)
{
    QCoreApplication::processEvents();
    const double start = watch.timeTo(MPV_EVENT_PLAYBACK_RESTART, load);
    if (start < 0)
        return false;
    out.starts.push_back(start);
    for (std::size_t i = 0; seeks && i < kSeekCount; ++i) {
        const double pos = kSeeks[i];
        const double seek = watch.timeTo(MPV_EVENT_PLAYBACK_RESTART, [&] {
            mpv::qt::command(handle, QVariantList{"seek", pos, "absolute"});
        });
        if (seek < 0)
            return false;
        out.seeks.push_back(seek);
    }
    // Until libmpv is idle, not only until the file ended: after that it
    // still takes the file's outputs down (with video, for up to a frame's
    // time), and a start that came sooner waited for that. Which side it hit
    // depended on how long the other side's turn took.
    watch.timeTo(MPV_EVENT_IDLE, stop, 10000);
    return true;
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

// A stock player: libmpv's defaults, no outputs.
mpv_handle* stockPlayer()
{
    mpv_handle* h = mpv_create();
    if (!h)
        return nullptr;
    mpv_set_option_string(h, "terminal", "no");
    mpv_set_option_string(h, "msg-level", "all=no");
    mpv_set_option_string(h, "vo", "null");
    mpv_set_option_string(h, "ao", "null");
    if (mpv_initialize(h) < 0) {
        mpv_destroy(h);
        return nullptr;
    }
    return h;
}

// The player finds its device through the tab object it is given.
class BenchTab : public QObject, public BenchOwner
{
};

QString conditionName(const Medium& m, int latencyMs, qint64 rate)
{
    return QString("%1_%2ms_%3")
        .arg(m.name)
        .arg(latencyMs)
        .arg(rate > 0 ? QString("%1MBps").arg(rate / (1024 * 1024)) : QString("unlimited"));
}

// Each player runs alone in a process of its own, and both servers in a
// third, as a user runs one application or the other against a device on
// another machine. A thread's first allocation takes the malloc arena that
// the thread ended last in its process gave back, and libmpv zeroes a 10 MB
// probe buffer on every open: on an arena without that much free it lands on
// fresh pages, several milliseconds of a start at 0 ms. In one process, the
// threads that one player or a server started and ended decided that for the
// other player's next open.
// The helpers are this program, driven line by line on standard input and
// answering "ok ..." (or "failed") on standard output; any other line ends
// them.

// The words of a line, as helpers and their parent send them.
QStringList wordsOf(const QByteArray& line)
{
    return QString::fromUtf8(line).trimmed().split(' ', Qt::SkipEmptyParts);
}

// The next command a helper is given; empty at the end of its input.
QStringList nextCommand()
{
    char line[1024];
    return fgets(line, sizeof line, stdin) ? wordsOf(line) : QStringList();
}

// "--servers ROOT": the test device on ROOT and the plain file server on its
// media folder; first answer "ok DEVICE_PORT PLAIN_PORT". "condition LATENCY
// RATE" applies to both; "id PATH" answers the device's id of PATH.
int serversMain(FILE* out, const QString& root)
{
    TestDeviceServer device(root.toStdString());
    PlainFileServer plain(QDir(root).filePath("media").toStdString());
    if (!device.start() || !plain.start()) {
        fprintf(stderr, "servers did not start\n");
        return 1;
    }
    fprintf(out, "ok %d %d\n", device.port(), plain.port());
    for (QStringList w = nextCommand(); !w.isEmpty(); w = nextCommand()) {
        if (w.size() == 3 && w[0] == "condition") {
            const int latency = w[1].toInt();
            const qint64 rate = w[2].toLongLong();
            device.clearFaults();
            if (latency > 0)
                device.delayAnswer(latency, -1, "");
            device.throttle(rate);
            plain.setLatency(latency);
            plain.setRate(rate);
            fprintf(out, "ok\n");
        } else if (w.size() == 2 && w[0] == "id") {
            fprintf(out, "ok %lld\n", static_cast<long long>(device.idForPath(w[1].toStdString())));
        } else {
            break;
        }
    }
    plain.stop();
    device.stop();
    return 0;
}

// "--reference PLAIN_PORT": a stock player. "play FILE" answers
// "ok START SEEK..." in seconds, "start FILE" only "ok START".
int referenceMain(int argc, char* argv[], FILE* out, int plainPort)
{
    QCoreApplication app(argc, argv);
    mpv_handle* stock = stockPlayer();
    mpv_handle* watcher = stock ? mpv_create_client(stock, "bench") : nullptr;
    if (!watcher) {
        fprintf(stderr, "reference player did not start\n");
        return 1;
    }
    {
        Watch watch(watcher);
        fprintf(out, "ok\n");
        for (QStringList w = nextCommand(); !w.isEmpty(); w = nextCommand()) {
            if (w.size() != 2 || (w[0] != "play" && w[0] != "start"))
                break;
            const QString url = QString("http://127.0.0.1:%1/%2").arg(plainPort).arg(w[1]);
            Samples s;
            if (!measure(stock, watch, s, [&] { mpv::qt::command(stock, QVariantList{"loadfile", url}); },
                         [&] { mpv::qt::command(stock, QVariantList{"stop"}); }, w[0] == "play")) {
                fprintf(out, "failed\n");
                continue;
            }
            QString answer = QString("ok %1").arg(s.starts.front(), 0, 'f', 9);
            for (double seek : s.seeks)
                answer += QString(" %1").arg(seek, 0, 'f', 9);
            fprintf(out, "%s\n", qPrintable(answer));
        }
    }
    mpv_destroy(watcher);
    mpv_terminate_destroy(stock);
    return 0;
}

// Resident memory of this process now, in bytes; -1 when unknown.
double residentBytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() * 1024;
    return -1;
}

// rounds of play(0) / stop / play(1) / stop, each play until its first
// frame, each stop until libmpv is idle; then the resident memory once the
// events of the last stop are handled, and the median start. Written to out
// as "ok BYTES SECONDS".
template <class Play, class Stop>
int churn(FILE* out, mpv_handle* watcher, int rounds, Play&& play, Stop&& stop)
{
    std::vector<double> starts;
    {
        Watch watch(watcher);
        for (int i = 0; i < rounds; ++i) {
            for (int k = 0; k < 2; ++k) {
                starts.push_back(watch.timeTo(MPV_EVENT_PLAYBACK_RESTART, [&] { play(k); }));
                if (starts.back() < 0) {
                    fprintf(out, "failed\n");
                    return 1;
                }
                watch.timeTo(MPV_EVENT_IDLE, stop, 10000);
            }
        }
    }
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    fprintf(out, "ok %.0f %.9f\n", residentBytes(), median(starts));
    return 0;
}

// "--churn-reference PLAIN_PORT ROUNDS FILE_A FILE_B": a stock player over
// plain HTTP.
int churnReferenceMain(int argc, char* argv[], FILE* out)
{
    QCoreApplication app(argc, argv);
    mpv_handle* stock = stockPlayer();
    mpv_handle* watcher = stock ? mpv_create_client(stock, "bench") : nullptr;
    if (!watcher) {
        fprintf(stderr, "reference player did not start\n");
        return 1;
    }
    const QString base = QString("http://127.0.0.1:%1/").arg(argv[2]);
    const QStringList urls{base + argv[4], base + argv[5]};
    const int status = churn(out, watcher, atoi(argv[3]),
                             [&](int k) { mpv::qt::command(stock, QVariantList{"loadfile", urls[k]}); },
                             [&] { mpv::qt::command(stock, QVariantList{"stop"}); });
    mpv_destroy(watcher);
    mpv_terminate_destroy(stock);
    return status;
}

// "--churn-ours DEVICE_PORT ROUNDS (ID LENGTH NAME) x 2": our player
// streaming from the test device.
int churnOursMain(int argc, char* argv[], FILE* out)
{
    QTemporaryDir home;
    useTemporaryHome(home.path());
    quietQtMessages();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("tidewell-bench");
    TidewellSdk::registerMetaTypes();
    BenchTab owner;
    if (!owner.connectTo(atoi(argv[2]))) {
        fprintf(stderr, "no connection to the test device\n");
        return 1;
    }
    QVariantMap items[2];
    for (int k = 0; k < 2; ++k) {
        TwFileInfo item;
        item.id = QByteArray(argv[4 + 3 * k]).toLongLong();
        item.fileLen = QByteArray(argv[5 + 3 * k]).toLongLong();
        item.name = QString::fromLocal8Bit(argv[6 + 3 * k]);
        item.isFile = true;
        item.fileMd5 = QString("%1").arg(item.id, 32, 16, QChar('0'));
        item.ower = "bench";
        items[k] = item.toVariantMap();
    }
    TwMediaPlayer player;
    player.setProperty("terminal", "no");
    player.setProperty("msg-level", "all=no");
    player.setProperty("ao", "null");
    player.setProperty("vo", "null");
    player.setTw(&owner);
    mpv_handle* watcher = mpv_create_client(player.mpvHandle(), "bench");
    if (!watcher) {
        fprintf(stderr, "libmpv did not start\n");
        return 1;
    }
    const int status = churn(
        out, watcher, atoi(argv[3]),
        [&](int k) {
            player.setSource(items[k]);
            player.play();
        },
        [&] { player.stop(); });
    mpv_destroy(watcher);
    return status;
}

// The parent's end of a helper process.
class Helper
{
public:
    ~Helper()
    {
        if (m_proc.state() == QProcess::NotRunning)
            return;
        m_proc.write("quit\n");
        if (!m_proc.waitForFinished(10000))
            m_proc.kill();
    }

    // The words of its first answer, or nothing when it did not start.
    std::optional<QStringList> start(const QStringList& args)
    {
        m_proc.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_proc.start(QCoreApplication::applicationFilePath(), args);
        if (!m_proc.waitForStarted(10000))
            return std::nullopt;
        return answer();
    }

    // The words after "ok", or nothing when the helper failed.
    std::optional<QStringList> ask(const QString& line)
    {
        m_proc.write((line + "\n").toUtf8());
        return answer();
    }

private:
    std::optional<QStringList> answer()
    {
        while (!m_proc.canReadLine())
            if (!m_proc.waitForReadyRead(120000))
                return std::nullopt;
        QStringList w = wordsOf(m_proc.readLine());
        if (w.isEmpty() || w.front() != "ok")
            return std::nullopt;
        w.removeFirst();
        return w;
    }

    QProcess m_proc;
};

// One start of the stock player playing file, and the seeks when asked,
// added to out.
bool playReference(Helper& reference, const char* file, Samples& out, bool seeks = true)
{
    const auto w = reference.ask(QString("%1 %2").arg(seeks ? "play" : "start", file));
    if (!w || w->size() != int(1 + (seeks ? kSeekCount : 0)))
        return false;
    out.starts.push_back(w->front().toDouble());
    for (int i = 1; i < w->size(); ++i)
        out.seeks.push_back(w->at(i).toDouble());
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // libmpv writes to the terminal; only the figures go to standard output.
    fflush(stdout);
    FILE* figures = fdopen(dup(1), "w");
    setvbuf(figures, nullptr, _IOLBF, 0);
    const int devNull = ::open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    if (argc == 3 && !strcmp(argv[1], "--servers"))
        return serversMain(figures, QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && !strcmp(argv[1], "--reference"))
        return referenceMain(argc, argv, figures, atoi(argv[2]));
    if (argc == 6 && !strcmp(argv[1], "--churn-reference"))
        return churnReferenceMain(argc, argv, figures);
    if (argc == 10 && !strcmp(argv[1], "--churn-ours"))
        return churnOursMain(argc, argv, figures);
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
    const QString root = work.filePath("storage");
    const QString mediaDir = QDir(root).filePath("media");
    QDir().mkpath(mediaDir);
    if (!makeMedia(mediaDir)) {
        fprintf(stderr, "ffmpeg failed\n");
        return 1;
    }
    Helper servers;
    const auto ports = servers.start({"--servers", root});
    Helper reference;
    if (!ports || ports->size() != 2 || !reference.start({"--reference", ports->at(1)})) {
        fprintf(stderr, "helper processes did not start\n");
        return 1;
    }
    auto setCondition = [&](int latencyMs, qint64 rate) {
        return servers.ask(QString("condition %1 %2").arg(latencyMs).arg(rate)).has_value();
    };
    BenchTab owner;
    if (!owner.connectTo(ports->at(0).toInt())) {
        fprintf(stderr, "no connection to the test device\n");
        return 1;
    }
    QMap<QString, TwFileInfo> items;
    for (const Medium& m : kMedia) {
        const QString rel = QString("media/") + m.file;
        const auto id = servers.ask("id " + rel);
        if (!id || id->size() != 1 || id->front().toLongLong() <= 0) {
            fprintf(stderr, "the test device has no id for %s\n", qPrintable(rel));
            return 1;
        }
        TwFileInfo& item = items[m.file];
        item.id = id->front().toLongLong();
        item.name = m.file;
        item.isFile = true;
        item.fileLen = QFileInfo(QDir(root).filePath(rel)).size();
        item.fileMd5 = QString("%1").arg(item.id, 32, 16, QChar('0'));
        item.ower = "bench";
    }
    auto itemOf = [&](const Medium& m) { return items.value(m.file); };

    // Memory after many plays (only this with BENCH_MEDIA_CHURN_ONLY set).
    auto churnFigures = [&] {
        // Each side alone in a fresh process, the two video files in turn,
        // the reference over plain HTTP first each round.
        const Medium& a = kMedia[0];
        const Medium& b = kMedia[1];
        const int churns = churnRounds();
        std::vector<double> startsOurs, startsReference;
        auto churnOf = [&](const QStringList& args, std::vector<double>& starts) {
            Helper helper;
            const auto w = helper.start(args);
            if (!w || w->size() != 2)
                return -1.0;
            starts.push_back(w->at(1).toDouble());
            return w->front().toDouble();
        };
        auto churnReference = [&](int round) {
            return churnOf({"--churn-reference", ports->at(1), QString::number(round ? churns : 1), a.file, b.file},
                           startsReference);
        };
        auto churnOurs = [&](int round) {
            QStringList args{"--churn-ours", ports->at(0), QString::number(round ? churns : 1)};
            for (const Medium* m : {&a, &b}) {
                const TwFileInfo it = itemOf(*m);
                args << QString::number(it.id) << QString::number(it.fileLen) << it.name;
            }
            return churnOf(args, startsOurs);
        };
        Rounds rss;
        if (!interleave("media_churn_rss", churnReference, churnOurs, rss)) {
            fprintf(stderr, "churn failed\n");
            return false;
        }
        // The starts of the churn tell whether holding memory down cost speed.
        fprintf(figures,
                "media_churn_rss: %.0f MB (http %.0f MB, %d rounds of play A / stop / play B; start %.1f ms, "
                "http %.1f ms)\n",
                median(rss.ours) / (1024 * 1024), median(rss.reference) / (1024 * 1024), churns,
                median(startsOurs) * 1000, median(startsReference) * 1000);
        printRatio(figures, "media_churn_rss", ratioOf(rss));
        return true;
    };
    if (std::getenv("BENCH_MEDIA_CHURN_ONLY"))
        return churnFigures() ? 0 : 1;

    TwMediaPlayer player;
    player.setProperty("terminal", "no");
    player.setProperty("msg-level", "all=no");
    player.setProperty("ao", "null");
    player.setProperty("vo", "null");
    player.setTw(&owner);
    // Watched as the reference is: through a client of its own.
    mpv_handle* watcher = mpv_create_client(player.mpvHandle(), "bench");
    if (!watcher) {
        fprintf(stderr, "libmpv did not start\n");
        return 1;
    }
    auto watch = std::make_unique<Watch>(watcher);
    const QString cache = player.mediaCachePath();
    // Libraries and decoders are set up on the first play of each: once
    // for every medium, before anything is timed.
    for (const Medium& m : kMedia) {
        Samples none;
        clearFolder(cache);
        player.setSource(itemOf(m).toVariantMap());
        if (!measure(player.mpvHandle(), *watch, none, [&] { player.play(); }, [&] { player.stop(); })
            || !playReference(reference, m.file, none)) {
            fprintf(stderr, "playback of %s failed\n", m.name);
            return 1;
        }
    }

    // The worst of each, and where.
    Ratio worstStart, worstSeek;
    QString worstStartAt, worstSeekAt;
    const int rounds = benchRounds();
    for (qint64 rate : kRates) {
        for (int latency : kLatencies) {
            if (!setCondition(latency, rate)) {
                fprintf(stderr, "the servers stopped\n");
                return 1;
            }
            for (const Medium& m : kMedia) {
                const TwFileInfo item = itemOf(m);
                Samples ours;
                Samples theirs;
                bool ok = true;
                for (int round = 0; round <= rounds && ok; ++round) {
                    auto runOurs = [&](bool seeks) {
                        // A first play: nothing of the item is held yet.
                        clearFolder(cache);
                        player.setSource(item.toVariantMap());
                        return measure(player.mpvHandle(), *watch, ours, [&] { player.play(); },
                                       [&] { player.stop(); }, seeks)
                               && player.stream() && player.stream()->segmentCount() == 0;
                    };
                    // The starts interleaved one by one; the seeks follow the last.
                    for (int k = 0; k < kStartsPerRound && ok; ++k) {
                        const bool seeks = k == kStartsPerRound - 1;
                        ok = playReference(reference, m.file, theirs, seeks) && runOurs(seeks);
                    }
                }
                const QString name = conditionName(m, latency, rate);
                if (!ok) {
                    fprintf(stderr, "playback of %s failed (ours %zu/%zu, http %zu/%zu)\n", qPrintable(name),
                            ours.starts.size(), ours.seeks.size(), theirs.starts.size(), theirs.seeks.size());
                    return 1;
                }
                // Round 0 warmed up.
                const std::vector<double> oStarts(ours.starts.begin() + kStartsPerRound, ours.starts.end());
                const std::vector<double> tStarts(theirs.starts.begin() + kStartsPerRound, theirs.starts.end());
                const std::vector<double> oSeeks(ours.seeks.begin() + kSeekCount, ours.seeks.end());
                const std::vector<double> tSeeks(theirs.seeks.begin() + kSeekCount, theirs.seeks.end());
                const double oStart = median(oStarts), tStart = median(tStarts);
                const double oSeek = median(oSeeks), tSeek = median(tSeeks);
                const Ratio start = sampleRatio(theirs.starts, ours.starts, kStartsPerRound);
                const Ratio seek = sampleRatio(theirs.seeks, ours.seeks, kSeekCount);
                fprintf(figures, "stream_start %s: %.1f ms (http %.1f ms)\n", qPrintable(name), oStart * 1000,
                        tStart * 1000);
                printRatio(figures, "stream_start " + name, start);
                fprintf(figures, "stream_seek %s: %.1f ms (http %.1f ms)\n", qPrintable(name), oSeek * 1000,
                        tSeek * 1000);
                printRatio(figures, "stream_seek " + name, seek);
                if ((oStart >= kHeldSecs || tStart >= kHeldSecs)
                    && (worstStart.rounds == 0 || start.value < worstStart.value)) {
                    worstStart = start;
                    worstStartAt = name;
                }
                if ((oSeek >= kHeldSecs || tSeek >= kHeldSecs)
                    && (worstSeek.rounds == 0 || seek.value < worstSeek.value)) {
                    worstSeek = seek;
                    worstSeekAt = name;
                }
            }
        }
    }
    // The worst of each; the lines above tell where.
    printRatio(figures, "stream_start", worstStart);
    fprintf(figures, "stream_start worst: %s\n", qPrintable(worstStartAt));
    printRatio(figures, "stream_seek", worstSeek);
    fprintf(figures, "stream_seek worst: %s\n", qPrintable(worstSeekAt));

    // Bytes fetched for one playthrough as fast as the decoders go.
    setCondition(0, 0);
    const TwFileInfo item = itemOf(kMedia[0]);
    const QString media = QDir(mediaDir).filePath(kMedia[0].file);
    player.stop();
    clearFolder(cache);
    player.setSource(item.toVariantMap());
    player.setProperty("untimed", true);
    player.setProperty("ao-null-untimed", true);
    if (watch->timeTo(MPV_EVENT_END_FILE, [&] { player.play(); }, 300000) < 0) {
        fprintf(stderr, "playthrough failed\n");
        return 1;
    }
    player.stop();
    fprintf(figures, "stream_bytes_per_byte: %.2f\n", double(folderBytes(cache)) / double(item.fileLen));

    // Reading held bytes through the stream against reading the file.
    TwMediaStream direct(nullptr);
    direct.play(item, &owner, cache, nullptr);
    direct.open(qPrintable("stream://" + item.name));
    QByteArray buf(64 * 1024, '\0');
    qint64 got = 0;
    qint64 n = 0;
    while ((n = direct.read(buf.data(), buf.size())) > 0)   // fills the cache if anything is missing
        got += n;
    auto readCache = [&](int) {
        direct.seek(0);
        return secondsFor([&] {
            qint64 total = 0;
            qint64 r = 0;
            while ((r = direct.read(buf.data(), buf.size())) > 0)
                total += r;
            return total == item.fileLen;
        });
    };
    auto readPlain = [&](int) {
        return secondsFor([&] {
            QFile f(media);
            if (!f.open(QIODevice::ReadOnly))
                return false;
            qint64 total = 0;
            qint64 r = 0;
            while ((r = f.read(buf.data(), buf.size())) > 0)
                total += r;
            return total == item.fileLen;
        });
    };
    Rounds reads;
    const bool readOk = got == item.fileLen && interleave("stream_cache_read", readPlain, readCache, reads);
    direct.close();
    direct.stop();
    if (!readOk) {
        fprintf(stderr, "cache read failed (%lld of %lld bytes)\n", got, item.fileLen);
        return 1;
    }
    const double mb = item.fileLen / (1024.0 * 1024.0);
    fprintf(figures, "stream_cache_read: %.0f MB/s (plain %.0f MB/s)\n", mb / median(reads.ours),
            mb / median(reads.reference));
    printRatio(figures, "stream_cache_read", ratioOf(reads));
    watch.reset();
    mpv_destroy(watcher);

    if (!churnFigures())
        return 1;
    fclose(figures);
    return 0;
}
