#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Creates one folder; with backNewName the device proposes a free name on a clash.
class CreateDirReq : public APIReq
{
public:
    static constexpr const char* kCommand = "createDir";

    CreateDirReq() = default;
    CreateDirReq(const QString& diskSerial_, qint64 parentId_, const QString& dirName_, bool isSafeBox_)
        : diskSerial(diskSerial_), parentId(parentId_), dirName(dirName_), isSafeBox(isSafeBox_)
    {
    }

    QString diskSerial;
    qint64 parentId = 0;
    QString dirName;
    bool isSafeBox = false;
    bool backNewName = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
