#pragma once

#include <QList>
#include <QMetaType>

#include "core/localfileinfo.h"
#include "protocol/apibase.h"

// A page of an attached disk's folder.
class GetExternalFileResp : public APIBase
{
public:
    QList<LocalFileInfo> fileList;
    int totalPages = 0;
    int pageNo = 0;
    int totalNum = 0;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(GetExternalFileResp)
