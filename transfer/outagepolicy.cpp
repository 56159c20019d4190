#include "transfer/outagepolicy.h"

#include <atomic>

#include "core/tidewell.h"
#include "protocol/tidewellnet.h"
#include "sdk/resp_info.h"
#include "sdk/task_interface.h"
#include "sdk/tidewell_network_sdk.h"

namespace {
std::atomic<int> s_maxDelayMs{OutagePolicy::kMaxDelayMs};
std::atomic<int> s_budgetMs{OutagePolicy::kBudgetMs};
}

bool OutagePolicy::isDeviceAway(int code)
{
    return code == sdk::cores::tidewell::error_network || code == 502 || code == 503
           || code == 504;
}

OutagePolicy::Reach OutagePolicy::reach(Tidewell* owner, const NetworkShare& share)
{
    if (!owner)
        return NotConnected;
    bool answered = false;
    const bool ran = owner->device_online(share, [&answered](sdk::plugins::tidewell_network_sdk* net,
                                                             bool) {
        if (!net)
            return false;
        sdk::cores::model::resp_info info;
        answered = net->api_req("", "ping", TidewellNet::kDevicePath, kPingTimeoutS, &info)
                   && info.code == 1;
        return true;
    });
    if (!ran)
        return NotConnected;
    return answered ? Answers : NoAnswer;
}

bool OutagePolicy::ownerConnected(Tidewell* owner, const NetworkShare& share)
{
    return owner && owner->device_online(share, [](sdk::plugins::tidewell_network_sdk* net, bool) {
        return net != nullptr;
    });
}

bool OutagePolicy::ownerOffline(Tidewell* owner)
{
    return owner && owner->netType() < 0;
}

void OutagePolicy::setPacing(int maxDelayMs, int budgetMs)
{
    s_maxDelayMs = maxDelayMs > 0 ? maxDelayMs : kMaxDelayMs;
    s_budgetMs = budgetMs > 0 ? budgetMs : kBudgetMs;
}

void OutagePolicy::reset()
{
    m_tries = 0;
    m_waitedMs = 0;
}

int OutagePolicy::nextDelay(bool& countsAsFailure)
{
    const int cap = s_maxDelayMs;
    const int first = qMin(kFirstDelayMs, cap);
    const int delay = int(qMin<qint64>(qint64(first) << qMin(m_tries, 16), cap));
    ++m_tries;
    m_waitedMs += delay;
    countsAsFailure = m_waitedMs > s_budgetMs;
    if (countsAsFailure)
        m_waitedMs = delay;
    return delay;
}
