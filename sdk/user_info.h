#pragma once

#include <string>

namespace sdk { namespace cores { namespace model {

// The signed-in account, sent with every device and cloud request.
struct user_info
{
    std::string access_id;      // sent as X-Access-Id
    std::string cookie;         // sent as Cookie on cloud requests
};

} } }
