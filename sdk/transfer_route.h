#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sdk { namespace cores { namespace tidewell {

class curl_pool;

// Everything a transfer task needs from its session, copied when the task is
// made so the task never reaches back into the session.
struct transfer_route
{
    std::string base_url;               // "http://host:port" ("" for plain URLs)
    std::vector<std::string> headers;   // "Name: value"
    int connect_timeout_ms = 10000;
    int stall_timeout_s = 15;
    std::function<void(int, const std::string&)> log;
    // Requests with open connections shared by the session's tasks; null:
    // each task connects on its own.
    std::shared_ptr<curl_pool> pool;

    void write_log(int level, const std::string& line) const
    {
        if (log)
            log(level, line);
    }
};

} } }
