#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

// Set-up and measuring shared by the benchmark programs.

// Points HOME and the XDG folders at home, so a run never touches the real
// application data. Call before the application object exists.
void useTemporaryHome(const QString& home);

// Drops Qt messages below critical so only the figures are printed.
void quietQtMessages();

// Size of the generated transfer file: BENCH_SIZE_MB, 1024 unless positive.
qint64 benchSizeBytes();

// Peak resident memory of this process.
long peakRssMb();

// Runs program to its end (or timeoutMs); true when it exited with 0. Its
// standard output goes to *out when given.
bool runProgram(const QString& program, const QStringList& args, QByteArray* out = nullptr,
                int timeoutMs = -1);

// Seconds fn took, or -1 when it returned false.
template <class Fn>
double secondsFor(Fn&& fn)
{
    QElapsedTimer t;
    t.start();
    const bool ok = fn();
    const double secs = t.nsecsElapsed() / 1e9;
    return ok ? secs : -1;
}
