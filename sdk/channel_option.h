#pragma once

#include <functional>
#include <string>

namespace sdk { namespace cores { namespace model {

// Settings of one library instance, given to tidewell_network_sdk::init.
struct channel_option
{
    std::string cloud_url;          // base URL of the cloud, e.g. "https://host:port"
    std::string client_type = "PC"; // sent as X-Client-Type
    std::string app_version;        // sent as X-App-Version
    int probe_timeout_ms = 3000;    // time-out of one address probe when connecting
    int connect_timeout_ms = 10000; // TCP connect time-out of transfers
    int stall_timeout_s = 15;       // a transfer moving no byte for this long fails
    // Log sink for the library's own lines (level 0 debug, 1 info, 2 warning,
    // 3 error); called from any thread. Empty: warnings and errors go to stderr.
    std::function<void(int level, const std::string& line)> log;
};

} } }
