#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Renames a file or folder of a public group.
class ModifyPubDirOrFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "modifyPubDirOrFile";

    ModifyPubDirOrFileReq() = default;
    ModifyPubDirOrFileReq(int groupId_, qint64 fileId_, const QString& newFileName_)
        : groupId(groupId_), fileId(fileId_), newFileName(newFileName_)
    {
    }

    int groupId = 0;
    qint64 fileId = 0;
    QString newFileName;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
