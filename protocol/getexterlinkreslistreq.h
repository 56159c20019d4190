#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// The top level of an external link.
class GetExterLinkResListReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getExterLinkResList";

    GetExterLinkResListReq() = default;
    GetExterLinkResListReq(const QString& shareId_, int offset_, int pageNo_, int pageSize_, bool isSort_, int condition_)
        : shareId(shareId_), offset(offset_), pageNo(pageNo_), pageSize(pageSize_), isSort(isSort_), condition(condition_)
    {
    }
    // The page holding offset; a page size of 0 means the default 60.
    static GetExterLinkResListReq atOffset(const QString& shareId, int offset, int pageSize,
                                           bool isSort, int condition)
    {
        const int size = pageSize > 0 ? pageSize : 60;
        return GetExterLinkResListReq(shareId, offset, offset / size + 1, size, isSort, condition);
    }

    QString shareId;
    int offset = 0;
    int pageNo = 1;
    int pageSize = 60;
    bool isSort = false;
    int condition = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
