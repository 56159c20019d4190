#pragma once

#include <QtGlobal>

#include "protocol/apireq.h"

// One page of a folder shared with the user.
class GetUserShareFilesForDirReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getUserShareFilesForDir";

    GetUserShareFilesForDirReq() = default;
    GetUserShareFilesForDirReq(int pageNo_, int pageSize_, qint64 fileId_, int fileType_)
        : pageNo(pageNo_), pageSize(pageSize_), fileId(fileId_), fileType(fileType_)
    {
    }

    int pageNo = 1;
    int pageSize = 60;
    qint64 fileId = 0;
    int fileType = 2;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
