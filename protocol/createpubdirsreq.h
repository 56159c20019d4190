#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Creates a chain of folders in a public group's space.
class CreatePubDirsReq : public APIReq
{
public:
    static constexpr const char* kCommand = "createPubDirs";

    CreatePubDirsReq() = default;
    CreatePubDirsReq(int groupId_, qint64 parentId_, const QString& diskSerial_, const QStringList& folderNames_)
        : groupId(groupId_), parentId(parentId_), diskSerial(diskSerial_), folderNames(folderNames_)
    {
    }

    int groupId = 0;
    qint64 parentId = 0;
    QString diskSerial;
    QStringList folderNames;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
