#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Renames one file.
class ModifyFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "modifyFile";

    ModifyFileReq() = default;
    ModifyFileReq(qint64 fileId_, const QString& newName_, bool isSafeBox_)
        : fileId(fileId_), newName(newName_), isSafeBox(isSafeBox_)
    {
    }

    qint64 fileId = 0;
    QString newName;
    bool isSafeBox = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
