// Progress and speed of transfers while the wall clock is set back: the
// clock of this process is shifted where the system hands it out, as setting
// the machine's clock would (timers and the monotonic clock do not move).
#include <atomic>
#include <dlfcn.h>
#include <sys/time.h>
#include <time.h>

#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "tests/transfer/uploadrig.h"

namespace {
std::atomic<long long> g_wallShiftSecs{0};

// Sets the wall clock back for as long as it lives.
struct ClockSetBack
{
    explicit ClockSetBack(long long secs) { g_wallShiftSecs = secs; }
    ~ClockSetBack() { g_wallShiftSecs = 0; }
};

const int kWait = 60000;
const qint64 kSize = 6 * 1024 * 1024;
}

extern "C" int gettimeofday(struct timeval* __restrict tv, void* __restrict tz) __THROW
{
    using Real = int (*)(struct timeval*, void*);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "gettimeofday"));
    const int rc = real(tv, tz);
    if (rc == 0)
        tv->tv_sec -= g_wallShiftSecs.load();
    return rc;
}

extern "C" int clock_gettime(clockid_t id, struct timespec* tp) __THROW
{
    using Real = int (*)(clockid_t, struct timespec*);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "clock_gettime"));
    const int rc = real(id, tp);
    if (rc == 0 && (id == CLOCK_REALTIME || id == CLOCK_REALTIME_COARSE))
        tp->tv_sec -= g_wallShiftSecs.load();
    return rc;
}

class TestClockShift : public QObject
{
    Q_OBJECT
private slots:
    void theShiftReachesQt()
    {
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        ClockSetBack back(3600);
        QVERIFY(QDateTime::currentMSecsSinceEpoch() < before - 3000 * 1000);
    }

    // After the clock went back an hour, reports with new bytes and a speed
    // keep coming before the transfer ends.
    void downloadProgressGoesOnAfterTheClockWentBack()
    {
        DownloadRig rig;
        rig.server->addGeneratedFile("long.bin", kSize, true, 3);
        rig.server->throttle(1024 * 1024);
        QVERIFY(rig.mgr->addDownFilesPlain(1, rig.downDir, {rig.item("long.bin")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->progress.isEmpty(), kWait);
        ClockSetBack back(3600);
        const int seen = rig.rec->progress.size();
        const qint64 held = rig.rec->progress.last().fileWriteLen;
        auto flowing = [&] {
            for (int i = seen; i < rig.rec->progress.size(); ++i) {
                const DownFileInfo& p = rig.rec->progress.at(i);
                if (p.fileWriteLen > held && p.fileWriteLen < kSize && p.speed > 0)
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(flowing(), 20000);
        QVERIFY(rig.rec->finishes.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QVERIFY(DownloadRig::bytesOf(rig.downDir + "/long.bin") == rig.serverBytes("long.bin"));
    }

    void uploadProgressGoesOnAfterTheClockWentBack()
    {
        UploadRig rig("dev-clock");
        QVERIFY(rig.startLan());
        rig.server->throttle(1024 * 1024);
        rig.makeManager();
        QueuedSpy progress(rig.manager.get(), &LVUploadManager::rUploadProgress);
        const QByteArray data = UploadRig::bytes(int(kSize), 5);
        rig.add({rig.writeFile("long.bin", data)});
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), kWait);
        ClockSetBack back(3600);
        const int seen = progress.size();
        const qint64 sent = progress.last().at(0).value<UploadFileInfo>().fileWriteLen;
        auto flowing = [&] {
            for (int i = seen; i < progress.size(); ++i) {
                const UploadFileInfo p = progress.at(i).at(0).value<UploadFileInfo>();
                if (p.fileWriteLen > sent && p.fileWriteLen < kSize && p.speed > 0)
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(flowing(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(rig.queued().isEmpty(), kWait);
        QVERIFY(rig.stored("long.bin") == data);
    }
};

TW_TEST_MAIN(TestClockShift)
#include "tst_clockshift.moc"
