#include "tests/testowner.h"

#include <QElapsedTimer>
#include <QThread>

#include "sdk/tidewell_network_sdk.h"

using namespace sdk::cores;

TestOwner::TestOwner(const QString& accessId, const QString& deviceId, QObject* parent)
    : QObject(parent), m_sdk(new sdk::plugins::tidewell_network_sdk)
{
    device.accessId = accessId;
    device.deviceId = deviceId;
    device.deviceSn = "QX2TEST0001";
    device.appCode = "300";
    user.accessId = accessId;
    model::channel_option opt;
    opt.probe_timeout_ms = 1000;
    opt.stall_timeout_s = 5;
    m_sdk->init(opt);
}

TestOwner::~TestOwner() = default;

bool TestOwner::connectTo(int lanPort, int remotePort, int mapPort, int waitMs)
{
    model::device_addr addr;
    if (lanPort) {
        addr.lan_host = "127.0.0.1";
        addr.lan_port = lanPort;
    }
    if (mapPort) {
        addr.map_host = "127.0.0.1";
        addr.map_port = mapPort;
    }
    if (remotePort) {
        addr.remote_host = "127.0.0.1";
        addr.remote_port = remotePort;
    }
    addr.device_id = device.deviceId.toStdString();
    if (!m_sdk->switch_device(addr))
        return false;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < waitMs) {
        const int s = m_sdk->link_state();
        if (s >= tidewell::link_lan)
            return true;
        QThread::msleep(10);
    }
    return false;
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
