#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sdk { namespace cores { namespace tidewell {

// Everything a transfer task needs from its session, copied when the task is
// made so the task never reaches back into the session.
struct transfer_route
{
    std::string base_url;               // "http://host:port" ("" for plain URLs)
    std::vector<std::string> headers;   // "Name: value"
    int connect_timeout_ms = 10000;
    int stall_timeout_s = 30;
    std::function<void(int, const std::string&)> log;

    void write_log(int level, const std::string& line) const
    {
        if (log)
            log(level, line);
    }
};

} } }
