#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// One page of a public group's folder, paged by offset.
class GetPubFileListReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getPubFileList";

    GetPubFileListReq() = default;
    GetPubFileListReq(int groupId_, qint64 fileId_, const QString& keyValue_, int offset_, int pageSize_, bool isSort_, bool isDir_, int condition_)
        : groupId(groupId_), fileId(fileId_), keyValue(keyValue_), offset(offset_), pageSize(pageSize_), isSort(isSort_), isDir(isDir_), condition(condition_)
    {
    }

    int groupId = 0;
    qint64 fileId = 0;
    QString keyValue;
    int offset = 0;
    int pageSize = 60;
    bool isSort = false;
    bool isDir = false;
    int condition = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
