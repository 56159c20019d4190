#pragma once

#include <QtGlobal>

#include "protocol/apireq.h"

// A page of the device's failed copy jobs.
class CopyFileFailListsReq : public APIReq
{
public:
    static constexpr const char* kCommand = "copyFileFailLists";

    CopyFileFailListsReq() = default;
    CopyFileFailListsReq(int pageNo_, int pageSize_)
        : pageNo(pageNo_), pageSize(pageSize_)
    {
    }

    int pageNo = 1;
    int pageSize = 50;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
