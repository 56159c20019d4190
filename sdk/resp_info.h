#pragma once

#include <memory>
#include <string>

namespace Json { class Value; }

namespace sdk { namespace cores { namespace model {

// Outcome of a blocking request (api_req, http_req, http_get).
struct resp_info
{
    // Why a call failed, for a caller that tells the user.
    enum failure_kind {
        fail_none = 0,        // an answer with a result came
        fail_not_sent,        // refused before sending (no link, bad body)
        fail_unreachable,     // no connection could be made
        fail_timeout,         // the time-out passed
        fail_closed,          // the connection was closed before the whole answer
        fail_status,          // an HTTP status other than 200 (message: the device's, when it sent one)
        fail_unreadable,      // the answer is not a JSON object with a result
    };

    int code = -1;          // the answer's "result" (1 success); -1 when the call failed
    int err_code = 0;       // the answer's "errCode", 0 when absent
    std::string message;    // the answer's "message", or why the call failed
    std::string body;       // the whole answer text (decode with req_proto::from)
    long http_status = 0;   // HTTP status of the answer, 0 when none came
    int failure = fail_none;
    bool device_message = false;   // message is the answer's own "message"
    // The answer as read here, when it was a JSON object: a caller decodes
    // it without reading the text again.
    std::shared_ptr<const Json::Value> json;
};

} } }
