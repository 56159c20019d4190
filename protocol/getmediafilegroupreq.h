#pragma once

#include <QString>

#include "protocol/apireq.h"

// A page of one media category, grouped by date. A page number below 1 means
// the list is paged by offset.
class GetMediaFileGroupReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getFileFromClassForDate3";

    GetMediaFileGroupReq() = default;
    GetMediaFileGroupReq(const QString& className_, int pageNo_, int offset_, int pageSize_)
        : className(className_), pageNo(pageNo_), offset(offset_), pageSize(pageSize_)
    {
    }

    QString className;
    int pageNo = 0;
    int offset = 0;
    int pageSize = 60;
    int dateType = 1;
    bool isSort = false;
    int condition = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
