#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "sdk/device_addr.h"
#include "sdk/tidewell_network_sdk.h"

// Reaching a test device server on the loopback.

// Every route whose port is given (0: the route is not offered).
inline sdk::cores::model::device_addr loopbackAddr(const std::string& deviceId, int lanPort,
                                                   int mapPort = 0, int remotePort = 0)
{
    sdk::cores::model::device_addr a;
    if (lanPort) {
        a.lan_host = "127.0.0.1";
        a.lan_port = lanPort;
    }
    if (mapPort) {
        a.map_host = "127.0.0.1";
        a.map_port = mapPort;
    }
    if (remotePort) {
        a.remote_host = "127.0.0.1";
        a.remote_port = remotePort;
    }
    a.device_id = deviceId;
    return a;
}

// Switches the session to addr and waits up to waitMs until it is linked.
inline bool connectLoopback(sdk::plugins::tidewell_network_sdk& net,
                            const sdk::cores::model::device_addr& addr, int waitMs)
{
    if (!net.switch_device(addr))
        return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < end) {
        if (net.link_state() >= sdk::cores::tidewell::link_lan)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}
