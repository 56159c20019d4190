#pragma once

#include <QtGlobal>

#include "protocol/apireq.h"

// The device's running copy and move jobs.
class CopyFileListsReq : public APIReq
{
public:
    static constexpr const char* kCommand = "copyFileLists";

    CopyFileListsReq() = default;
    CopyFileListsReq(int pageNo_, int pageSize_)
        : pageNo(pageNo_), pageSize(pageSize_)
    {
    }

    int pageNo = 1;
    int pageSize = 50;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
