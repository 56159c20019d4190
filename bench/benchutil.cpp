#include "bench/benchutil.h"

#include <cstdio>
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
