#pragma once

#include <QString>

#include "protocol/apireq.h"

// One page of a folder of storage attached to the device. The command
// follows the disk kind: 1 USB ("getUDiskPath"), 2 SD card ("getSDPath"),
// 3 Samba ("getSambPath").
class GetExternalFileReq : public APIReq
{
public:
    GetExternalFileReq() = default;
    GetExternalFileReq(int diskKind_, int pageNo_, int pageSize_, const QString& path_)
        : diskKind(diskKind_), pageNo(pageNo_), pageSize(pageSize_), path(path_)
    {
    }

    int diskKind = 1;
    int pageNo = 1;
    int pageSize = 60;
    QString path;        // path on the disk; "" or "/" is its top

    // "" for an unknown kind.
    static std::string commandForKind(int kind);
    std::string command() const override { return commandForKind(diskKind); }
    Json::Value to_json() const override;
};
