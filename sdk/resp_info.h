#pragma once

#include <string>

namespace sdk { namespace cores { namespace model {

// Outcome of a blocking request (api_req, http_req, http_get).
struct resp_info
{
    int code = -1;          // the answer's "result" (1 success); -1 when the call failed
    int err_code = 0;       // the answer's "errCode", 0 when absent
    std::string message;    // the answer's "message", or why the call failed
    std::string body;       // the whole answer text (decode with req_proto::from)
    long http_status = 0;   // HTTP status of the answer, 0 when none came
};

} } }
