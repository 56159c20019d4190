#pragma once

#include "protocol/apireq.h"

// A page of the users who share files with the signed-in user.
class GetShareUserListReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getShareUserList";

    GetShareUserListReq() = default;
    GetShareUserListReq(int pageNo_, int fileType_)
        : pageNo(pageNo_), fileType(fileType_)
    {
    }

    int pageNo = 0;
    int fileType = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
