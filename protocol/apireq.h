#pragma once

#include <string>

#include "sdk/req_proto.h"

// A device command message: its keys (to_json) and its command name.
class APIReq : public sdk::cores::protocol::req_proto
{
public:
    virtual std::string command() const = 0;
};
