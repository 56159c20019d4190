#pragma once

#include <QtGlobal>

#include "core/networkshare.h"

class Tidewell;

// Paces the attempts of a transfer while the device cannot be reached (no
// connection, no answer, a busy answer): growing delays up to a few seconds,
// and only a long wait counts as one failed attempt, so a queue outlives a
// device reboot or a dropped link.
class OutagePacing
{
public:
    static const int kMaxDelayMs = 5000;
    static const int kBudgetMs = 120000;
    // The owner refused to start the transfer: it is not connected.
    static const int kNotConnected = -10;

    // Test hook: shorter pacing (0 restores the defaults).
    static void setLimits(int maxDelayMs, int budgetMs);
    // A delay of ms, within the current pacing's longest delay.
    static int capped(int ms);
    // Failures that come from not reaching the device.
    static bool isDeviceAway(int code);
    // An engine gone idle for want of a connection looks again after this:
    // the owner's start may have come while it was going idle.
    static const int kRecheckMs = 1000;
    // The owner could run a call on the device now (nothing is sent).
    static bool ownerConnected(Tidewell* owner, const NetworkShare& share = NetworkShare());
    // The device answers a probe now: a transfer that broke off meanwhile
    // failed on its own account, not for an outage.
    static bool deviceAnswers(Tidewell* owner, const NetworkShare& share = NetworkShare());

    void reset();
    // Delay before the next attempt; counted is set when the waits since
    // the last counted attempt exceed the budget.
    int next(int firstDelayMs, bool& counted);

private:
    int m_tries = 0;
    qint64 m_waitedMs = 0;
};
