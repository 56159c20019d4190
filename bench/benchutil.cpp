#include "bench/benchutil.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>

#include <sys/resource.h>

#include <QProcess>
#include <QtGlobal>

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    if (type >= QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(msg));
}

} // namespace

void useTemporaryHome(const QString& home)
{
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home + "/cache").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/config").toUtf8());
}

void quietQtMessages()
{
    qInstallMessageHandler(quietHandler);
}

qint64 benchSizeBytes()
{
    const char* env = std::getenv("BENCH_SIZE_MB");
    const long long mb = env ? std::atoll(env) : 0;
    return (mb > 0 ? mb : 1024) * 1024 * 1024;
}

long peakRssMb()
{
    struct rusage ru;
    if (getrusage(RUSAGE_SELF, &ru) != 0)
        return -1;
    return ru.ru_maxrss / 1024;   // kB on Linux
}

bool runProgram(const QString& program, const QStringList& args, QByteArray* out, int timeoutMs)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit
        || p.exitCode() != 0)
        return false;
    if (out)
        *out = p.readAllStandardOutput();
    return true;
}

int benchRounds()
{
    const char* env = std::getenv("BENCH_ROUNDS");
    const int n = env ? std::atoi(env) : 0;
    return std::max(5, n);
}

bool interleave(const char* name, const std::function<double(int)>& reference,
                const std::function<double(int)>& ours, Rounds& out)
{
    const int rounds = benchRounds();
    for (int round = 0; round <= rounds; ++round) {
        const double ref = reference(round);
        if (ref < 0) {
            std::fprintf(stderr, "%s: reference failed in round %d\n", name, round);
            return false;
        }
        const double own = ours(round);
        if (own < 0) {
            std::fprintf(stderr, "%s: ours failed in round %d\n", name, round);
            return false;
        }
        if (round > 0) {   // round 0 warms caches and connections up
            out.reference.push_back(ref);
            out.ours.push_back(own);
        }
    }
    return true;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

Ratio ratioOf(const Rounds& r)
{
    Ratio out;
    const double ours = median(r.ours);
    if (ours <= 0 || r.ours.size() != r.reference.size())
        return out;
    out.value = median(r.reference) / ours;
    out.rounds = int(r.ours.size());
    for (std::size_t i = 0; i < r.ours.size(); ++i) {
        if (r.ours[i] <= 0)
            continue;
        const double x = r.reference[i] / r.ours[i];
        out.low = out.low < 0 ? x : std::min(out.low, x);
        out.high = std::max(out.high, x);
    }
    return out;
}

void printRatio(FILE* out, const QString& name, const Ratio& r)
{
    std::fprintf(out, "%s ratio: %.2f (%.2f-%.2f, %d rounds)\n", qPrintable(name), r.value, r.low,
                 r.high, r.rounds);
    std::fflush(out);
}
