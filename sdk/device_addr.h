#pragma once

#include <string>

namespace sdk { namespace cores { namespace model {

// How to reach one device: tried in order lan, mapped, remote when
// connecting. An empty host (or port 0) means the route is not available.
struct device_addr
{
    std::string lan_host;       // local network
    int lan_port = 0;
    std::string map_host;       // local network by port mapping
    int map_port = 0;
    std::string remote_host;    // across the internet (the "P2P" route)
    int remote_port = 0;
    std::string device_id;
    std::string token;          // device token, or the link's token for extlink_device
};

} } }
