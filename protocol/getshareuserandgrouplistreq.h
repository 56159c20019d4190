#pragma once

#include "protocol/apireq.h"

// The device's users and user groups, for picking share targets.
class GetShareUserAndGroupListReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getShareUserAndGroupList";

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
