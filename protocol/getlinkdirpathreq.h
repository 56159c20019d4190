#pragma once

#include <QtGlobal>

#include "protocol/apireq.h"

// One page of a folder inside an external link.
class GetLinkDirPathReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getLinkDirPath";

    GetLinkDirPathReq() = default;
    GetLinkDirPathReq(qint64 fileId_, int pageNo_, int pageSize_)
        : fileId(fileId_), pageNo(pageNo_), pageSize(pageSize_)
    {
    }

    qint64 fileId = 0;
    int pageNo = 1;
    int pageSize = 60;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
