#pragma once

#include <QList>
#include <QMetaType>

#include "core/twfileinfo.h"
#include "protocol/apibase.h"

// A page of a device listing: "listPath" (or "list") items with the paging
// keys "totalPages", "pageNo", "totalNum" and, for offset-paged lists,
// "offset".
class FileListResp : public APIBase
{
public:
    QList<TwFileInfo> fileList;
    int totalPages = 0;
    int pageNo = 0;
    int totalNum = 0;
    int offset = 0;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(FileListResp)
