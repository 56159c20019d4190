#pragma once

#include <QtGlobal>

#include "protocol/apireq.h"

// One page of a folder inside an external link.
class GetLinkDirPathReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getLinkDirPath";

    GetLinkDirPathReq() = default;
    GetLinkDirPathReq(qint64 fileId_, int pageNo_, int pageSize_, bool isSort_ = false,
                      int condition_ = kDeviceOrder)
        : fileId(fileId_), pageNo(pageNo_), pageSize(pageSize_), isSort(isSort_), condition(condition_)
    {
    }
    // The page holding offset; a page size of 0 means the default 60.
    static GetLinkDirPathReq atOffset(qint64 fileId, int offset, int pageSize, bool isSort = false,
                                      int condition = kDeviceOrder)
    {
        const int size = pageSize > 0 ? pageSize : 60;
        return GetLinkDirPathReq(fileId, offset / size + 1, size, isSort, condition);
    }

    // The sort key of the link's top level (0 modified, 2 name); 3 keeps
    // the device's own order.
    static constexpr int kDeviceOrder = 3;

    qint64 fileId = 0;
    int pageNo = 1;
    int pageSize = 60;
    bool isSort = false;
    int condition = kDeviceOrder;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
