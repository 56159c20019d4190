#pragma once

#include <QtGlobal>

#include "core/networkshare.h"

class Tidewell;

// How the transfer engines treat a device that is away or too busy to answer.
// An attempt that fails that way spends none of the entry's retries: while
// the owner is connected it is tried again with a growing delay, and only a
// long run of such waits (the budget) counts as one failed attempt; while
// the owner is not connected the entry goes back to waiting for the owner's
// next start. One object per task keeps the pacing of its entry.
class OutagePolicy
{
public:
    enum Reach {
        NotConnected,   // the owner has no connection to run a call on
        NoAnswer,       // connected, but the device did not answer a ping
        Answers,
    };

    static constexpr int kFirstDelayMs = 2000;
    static constexpr int kMaxDelayMs = 5000;
    static constexpr int kBudgetMs = 120000;
    // An engine left idle for want of a connection looks again after this,
    // in case the connection came back while it was going idle.
    static constexpr int kRecheckMs = 1000;
    static constexpr int kPingTimeoutS = 3;

    // Failure codes of a transfer that say the device did not answer (the
    // link's own failures) or said it is busy (502, 503, 504).
    static bool isDeviceAway(int code);
    // Asks the device through the owner; blocks for at most the ping time-out.
    static Reach reach(Tidewell* owner, const NetworkShare& share = NetworkShare());
    // The owner could run a call on the device now (no request is sent).
    static bool ownerConnected(Tidewell* owner, const NetworkShare& share = NetworkShare());
    // The owner says it is not connected; it starts its engines when it is.
    static bool ownerOffline(Tidewell* owner);

    // Test hook: shorter pacing (0 restores the defaults).
    static void setPacing(int maxDelayMs, int budgetMs);

    // A new entry, or bytes moving again.
    void reset();
    // Delay before the next attempt after one more failure with the device
    // away; countsAsFailure is set when the budget is used up, and the
    // budget then starts again.
    int nextDelay(bool& countsAsFailure);

private:
    int m_tries = 0;
    qint64 m_waitedMs = 0;
};
