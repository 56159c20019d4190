#include <atomic>
#include <thread>

#include <QtTest>

#include "sdk/status_nf.h"
#include "sdk/status_notify.h"
#include "tests/testenv.h"

using namespace sdk::cores::utils;

class TestStatusNotify : public QObject
{
    Q_OBJECT
private slots:
    // A status is taken once however often it was given; another status
    // given before it was taken replaces it, and one given after it was
    // taken wakes the waiter again.
    void eachStatusIsTakenOnce()
    {
        status_notify<status_nf> n;
        n.notify(nf_data);
        n.notify(nf_data);
        QCOMPARE(n.wait(1000), nf_data);
        QCOMPARE(n.wait(20), nf_timeout);

        n.notify(nf_data);
        n.notify(nf_stopped);
        QCOMPARE(n.wait(1000), nf_stopped);
        n.notify(nf_data);
        QCOMPARE(n.wait(1000), nf_data);

        n.notify(nf_data);
        n.reset();
        QCOMPARE(n.wait(20), nf_timeout);
        n.notify(nf_data);
        QCOMPARE(n.wait(1000), nf_data);
    }

    // A reader waiting for bytes that a burst of chunks brings, each chunk
    // notified: it always sees the last chunk without waiting out a round.
    void aWaiterSeesTheLastOfABurst()
    {
        status_notify<status_nf> n;
        for (int burst = 0; burst < 200; ++burst) {
            std::atomic<int> written{0};
            const int chunks = 1 + burst * 7 % 300;
            std::thread writer([&] {
                for (int i = 0; i < chunks; ++i) {
                    ++written;
                    n.notify(nf_data);
                }
            });
            // A round waited out means a notification was lost: the round is
            // long enough that a busy machine never runs into it otherwise.
            int timeouts = 0;
            while (written.load() < chunks)
                timeouts += n.wait(30000) == nf_timeout;
            writer.join();
            QVERIFY2(timeouts == 0, qPrintable(QString("burst %1 waited out a round").arg(burst)));
            n.reset();
        }
    }
};

TW_TEST_MAIN(TestStatusNotify)
#include "tst_statusnotify.moc"
