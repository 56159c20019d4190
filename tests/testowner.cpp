#include "tests/testowner.h"

#include "sdk/tidewell_network_sdk.h"
#include "tools/loopback.h"

using namespace sdk::cores;

TestOwner::TestOwner(const QString& accessId, const QString& deviceId, QObject* parent)
    : QObject(parent), m_sdk(new sdk::plugins::tidewell_network_sdk)
{
    device.accessId = accessId;
    device.deviceId = deviceId;
    device.deviceSn = "QX2TEST0001";
    device.appCode = "300";
    user.accessId = accessId;
    setStallTimeout(5);
}

void TestOwner::setStallTimeout(int seconds)
{
    m_sdk.reset(new sdk::plugins::tidewell_network_sdk);
    model::channel_option opt;
    opt.probe_timeout_ms = 1000;
    opt.stall_timeout_s = seconds;
    m_sdk->init(opt);
}

TestOwner::~TestOwner() = default;

bool TestOwner::connectTo(int lanPort, int remotePort, int mapPort, int waitMs)
{
    const std::string id = device.deviceId.toStdString();
    return connectLoopback(*m_sdk, loopbackAddr(id, lanPort, mapPort, remotePort), waitMs);
}

void TestOwner::disconnectSession()
{
    m_sdk.reset(new sdk::plugins::tidewell_network_sdk);
}

int TestOwner::linkState() const
{
    return m_sdk ? m_sdk->link_state() : 0;
}

bool TestOwner::device_online(const NetworkShare&, OnlineFn fn)
{
    ++onlineCalls;
    if (!allowOnline || !m_sdk || m_sdk->link_state() < tidewell::link_lan)
        return false;
    const int s = m_sdk->link_state();
    return fn(m_sdk.get(), s == tidewell::link_lan || s == tidewell::link_lan_mapped);
}

bool TestOwner::isOnline()
{
    return allowOnline && linkState() != 0;
}

bool TestOwner::isLan()
{
    const int s = linkState();
    return s == 2 || s == 3;
}

int TestOwner::deviceType()
{
    for (int i = 1; i <= 3; ++i)
        if (device.deviceSn.startsWith("QX" + QString::number(i)))
            return i;
    return 0;
}

int TestOwner::netType()
{
    switch (linkState()) {
    case 0: return -1;
    case 2: return 1;
    case 3: return 2;
    case 4: return 3;
    default: return 0;
    }
}

sdk::plugins::tidewell_network_sdk* TestOwner::networkSdk()
{
    return m_sdk.get();
}
