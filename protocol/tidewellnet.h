#pragma once

#include <string>

#include <QString>

#include <json/value.h>

#include "protocol/apibase.h"
#include "protocol/apireq.h"

namespace sdk { namespace plugins { class tidewell_network_sdk; } }

// The channel of every message: sends a request through a library session
// and fills the response with the result-code rule applied. A failed library
// call becomes -1 with the device's own message when its answer carried one
// (an HTTP error with a JSON body), else -1 "Network Error" (no session, no
// link, time-out) or "The connection was closed"; an answer that cannot be
// read (a malformed or empty body) becomes -2 "The device's answer could not
// be read". Each call returns true when the answer's result is 1.
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

    // The messages of an answer that could not be read and of a connection
    // closed before the answer was whole.
    static QString unreadableText();
    static QString closedText();
};
