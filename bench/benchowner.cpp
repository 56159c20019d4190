#include "bench/benchowner.h"

#include "sdk/channel_option.h"
#include "sdk/device_addr.h"
#include "sdk/network_observer.h"
#include "tools/loopback.h"

BenchOwner::BenchOwner(const QString& deviceModel)
{
    device.accessId = "bench";
    device.deviceId = "bench-dev";
    device.deviceSn = "QX2BENCH";
    device.deviceModel = deviceModel;
    sdk::cores::model::channel_option opt;
    opt.probe_timeout_ms = 1000;
    opt.log = [](int, const std::string&) {};
    net.init(opt);
}

bool BenchOwner::connectTo(int lanPort, int mapPort)
{
    return connectLoopback(net, loopbackAddr(device.deviceId.toStdString(), lanPort, mapPort), 5000);
}

bool BenchOwner::device_online(const NetworkShare&, OnlineFn fn)
{
    const int s = net.link_state();
    if (s < 2)
        return false;
    return fn(&net, s == 2 || s == 3);
}

int BenchOwner::netType()
{
    switch (net.link_state()) {
    case 2: return 1;
    case 3: return 2;
    case 4: return 3;
    default: return 0;
    }
}
