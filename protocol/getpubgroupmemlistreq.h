#pragma once

#include "protocol/apireq.h"

// A page of the members of a public group; paged by offset.
class GetPubGroupMemListReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getPubGroupMemList";

    GetPubGroupMemListReq() = default;
    GetPubGroupMemListReq(int offset_, int pageSize_, int type_, int groupId_)
        : offset(offset_), pageSize(pageSize_), type(type_), groupId(groupId_)
    {
    }

    int offset = 0;
    int pageSize = 0;
    int type = 0;
    int groupId = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
