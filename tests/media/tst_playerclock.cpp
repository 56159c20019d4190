// The player's timing against a wall clock that jumps: this process's wall
// clock (gettimeofday, clock_gettime with a real-time clock) runs shifted by
// what the test sets, the monotonic clock as it is.
#include <atomic>
#include <ctime>
#include <dlfcn.h>
#include <sys/time.h>

#include <QDateTime>
#include <QSignalSpy>

#include "tests/media/playerrig.h"
#include "tests/testenv.h"

namespace {
std::atomic<long long> g_shiftSecs{0};

bool isWallClock(clockid_t id)
{
    return id == CLOCK_REALTIME || id == CLOCK_REALTIME_COARSE;
}
}

extern "C" int clock_gettime(clockid_t id, struct timespec* ts)
{
    using Fn = int (*)(clockid_t, struct timespec*);
    static const Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "clock_gettime"));
    const int r = real(id, ts);
    if (r == 0 && isWallClock(id))
        ts->tv_sec += g_shiftSecs.load();
    return r;
}

extern "C" int gettimeofday(struct timeval* tv, void* tz)
{
    using Fn = int (*)(struct timeval*, void*);
    static const Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "gettimeofday"));
    const int r = real(tv, tz);
    if (r == 0)
        tv->tv_sec += g_shiftSecs.load();
    return r;
}

class TestPlayerClock : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { g_shiftSecs = 0; }

    // Set back an hour while an item of 6 s plays: it still counts as
    // played, and the play list moves on at its end.
    void aClockSetBackStillMovesThePlayListOn()
    {
        PlayerRig rig;
        rig.addWav("music/six.wav", 6.0);
        QSignalSpy stopChange(rig.player.get(), &TwMediaPlayer::mediaStopChange);
        rig.playItem(rig.mediaItem("music/six.wav"));
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED));
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        g_shiftSecs = -3600;
        QVERIFY(QDateTime::currentMSecsSinceEpoch() < before - 3500 * 1000);
        QVERIFY(rig.waitFor(MPV_EVENT_END_FILE, 30000));
        QTRY_COMPARE_WITH_TIMEOUT(stopChange.size(), 1, 30000);
        QVERIFY(rig.player->error().isEmpty());
    }
};

TW_TEST_MAIN(TestPlayerClock)
#include "tst_playerclock.moc"
