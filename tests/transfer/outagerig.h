#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include "tools/testdeviceserver.h"
#include "transfer/outagepacing.h"

// Takes a test device away (listener closed, transfers cut) and brings it
// back on the same port, and paces outages shorter for a test's lifetime.
struct Outage
{
    // Size of the largest partial file in dir (0 when none).
    static qint64 largestPartial(const QString& dir)
    {
        qint64 best = 0;
        for (const QFileInfo& f : QDir(dir).entryInfoList(QDir::Files))
            if (!f.fileName().endsWith(".dest"))
                best = qMax(best, f.size());
        return best;
    }

    // The device is away for ms milliseconds; the return is timed by since.
    static bool away(TestDeviceServer& server, int ms, QElapsedTimer& since)
    {
        const int port = server.port();
        server.stop();
        QTest::qWait(ms);
        const bool back = server.start(port);
        since.start();
        return back;
    }
};

// Shorter outage pacing while it lives (10x faster than real).
struct ShortPacing
{
    ShortPacing(int maxDelayMs, int budgetMs) { OutagePacing::setLimits(maxDelayMs, budgetMs); }
    ~ShortPacing() { OutagePacing::setLimits(0, 0); }
};
