#pragma once

#include "protocol/apireq.h"

// A page of the public groups the account can see; paged by offset.
class GetPubGroupListReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getPubGroupList";

    GetPubGroupListReq() = default;
    GetPubGroupListReq(int offset_, int pageSize_, bool isSort_, int condition_, int queryType_)
        : offset(offset_), pageSize(pageSize_), isSort(isSort_), condition(condition_), queryType(queryType_)
    {
    }

    int offset = 0;
    int pageSize = 0;
    bool isSort = false;
    int condition = 0;
    int queryType = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
