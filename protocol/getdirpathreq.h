#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// One page of a folder of the personal space (or of the safe box).
class GetDirPathReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getDirPath";

    GetDirPathReq() = default;
    GetDirPathReq(const QString& diskSerial_, qint64 fileId_, int pageNo_, int offset_, int pageSize_, bool isSort_, int condition_, bool isSafetyBox_)
        : diskSerial(diskSerial_), fileId(fileId_), pageNo(pageNo_), offset(offset_), pageSize(pageSize_), isSort(isSort_), condition(condition_), isSafetyBox(isSafetyBox_)
    {
    }

    QString diskSerial;
    qint64 fileId = 0;
    int pageNo = 1;
    int offset = 0;
    int pageSize = 60;
    bool isSort = false;
    int condition = 2;
    bool isSafetyBox = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
