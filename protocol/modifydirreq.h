#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Renames one folder.
class ModifyDirReq : public APIReq
{
public:
    static constexpr const char* kCommand = "modifyDir";

    ModifyDirReq() = default;
    ModifyDirReq(qint64 dirId_, const QString& newName_, bool isSafeBox_)
        : dirId(dirId_), newName(newName_), isSafeBox(isSafeBox_)
    {
    }

    qint64 dirId = 0;
    QString newName;
    bool isSafeBox = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
