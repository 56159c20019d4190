#pragma once

#include <cstdio>
#include <functional>
#include <vector>

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

// Rounds of each comparison: BENCH_ROUNDS, 5 unless larger.
int benchRounds();

// Times (or other figures, lower is better) of the two sides of a
// comparison, one entry per round.
struct Rounds
{
    std::vector<double> reference;
    std::vector<double> ours;
};

// One warm-up of each side, then benchRounds() pairs with the reference
// first in each: reference, ours, reference, ours ... Each side is given the
// round (0 for the warm-up) so it can use fresh folders, and returns its
// seconds, or a negative value when it failed; false then, with the side and
// round on standard error.
bool interleave(const char* name, const std::function<double(int)>& reference,
                const std::function<double(int)>& ours, Rounds& out);

double median(std::vector<double> v);

// The reference's median over ours (higher is better for us), and the
// lowest and highest of the per-round ratios.
struct Ratio
{
    double value = -1;
    double low = -1;
    double high = -1;
    int rounds = 0;
};
Ratio ratioOf(const Rounds& r);

// "NAME ratio: 0.84 (0.79-0.90, 5 rounds)".
void printRatio(FILE* out, const QString& name, const Ratio& r);
