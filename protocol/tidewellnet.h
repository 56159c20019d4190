#pragma once

#include <string>

#include <json/value.h>

#include "protocol/apibase.h"
#include "protocol/apireq.h"

namespace sdk { namespace plugins { class tidewell_network_sdk; } }

// The channel of every message: sends a request through a library session
// and fills the response with the result-code rule applied. A failed library
// call (no session, no link, time-out, refused, not a JSON answer) becomes
// -1 "Network Error"; an answer that cannot be read becomes -2 "Data Error".
// Each call returns true when the answer's result is 1.
class TidewellNet
{
public:
    static constexpr const char* kDevicePath = "/device/directTransfer.json";
    static constexpr int kFacadeTimeout = 30;   // seconds, request facades
    static constexpr int kEngineTimeout = 15;   // seconds, transfer engines

    static bool request(sdk::plugins::tidewell_network_sdk* net, const APIReq& req,
                        APIBase& resp, int timeout = kFacadeTimeout);
    static bool request(sdk::plugins::tidewell_network_sdk* net, const std::string& command,
                        const Json::Value& body, APIBase& resp, int timeout = kFacadeTimeout);
    // Cloud call (POST of body on path, e.g. "/api/v2/...").
    static bool cloud(sdk::plugins::tidewell_network_sdk* net, const std::string& path,
                      const Json::Value& body, APIBase& resp, int timeout = kFacadeTimeout);
};
