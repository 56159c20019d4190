#include "transfer/outagepacing.h"

#include <atomic>

#include "core/tidewell.h"
#include "sdk/resp_info.h"
#include "sdk/task_interface.h"
#include "sdk/tidewell_network_sdk.h"

namespace {
std::atomic<int> s_maxDelayMs{OutagePacing::kMaxDelayMs};
std::atomic<int> s_budgetMs{OutagePacing::kBudgetMs};
}

void OutagePacing::setLimits(int maxDelayMs, int budgetMs)
{
    s_maxDelayMs = maxDelayMs > 0 ? maxDelayMs : kMaxDelayMs;
    s_budgetMs = budgetMs > 0 ? budgetMs : kBudgetMs;
}

int OutagePacing::capped(int ms)
{
    return qMin(ms, s_maxDelayMs.load());
}

bool OutagePacing::isDeviceAway(int code)
{
    return code == kNotConnected || code == sdk::cores::tidewell::error_network
           || code == sdk::cores::tidewell::error_stalled || code == 502
           || code == 503 || code == 504;
}

bool OutagePacing::ownerConnected(Tidewell* owner, const NetworkShare& share)
{
    return owner && owner->device_online(share, [](sdk::plugins::tidewell_network_sdk* net, bool) {
        return net != nullptr;
    });
}

bool OutagePacing::deviceAnswers(Tidewell* owner, const NetworkShare& share)
{
    return owner && owner->device_online(share, [](sdk::plugins::tidewell_network_sdk* net, bool) {
        sdk::cores::model::resp_info info;
        return net && net->api_req("", "ping", "/device/directTransfer.json", 5, &info)
               && info.code == 1;
    });
}

void OutagePacing::reset()
{
    m_tries = 0;
    m_waitedMs = 0;
}

int OutagePacing::next(int firstDelayMs, bool& counted)
{
    const int cap = s_maxDelayMs;
    const int first = qMax(1, qMin(firstDelayMs, cap));
    const int delay = int(qMin<qint64>(qint64(first) << qMin(m_tries, 16), cap));
    ++m_tries;
    m_waitedMs += delay;
    counted = m_waitedMs > s_budgetMs;
    if (counted)
        m_waitedMs = delay;
    return delay;
}
