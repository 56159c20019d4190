#pragma once

#include "protocol/apireq.h"

// One public group as the signed-in account sees it.
class GetPubGroupDetailReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getPubGroupDetail";

    GetPubGroupDetailReq() = default;
    explicit GetPubGroupDetailReq(int groupId_)
        : groupId(groupId_)
    {
    }

    int groupId = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
