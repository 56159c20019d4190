#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Creates one folder in a public group's space.
class CreatePubDirReq : public APIReq
{
public:
    static constexpr const char* kCommand = "createPubDir";

    CreatePubDirReq() = default;
    CreatePubDirReq(int groupId_, int parentId_, const QString& dirName_, const QString& diskSerial_, bool backNewName_)
        : groupId(groupId_), parentId(parentId_), dirName(dirName_), diskSerial(diskSerial_), backNewName(backNewName_)
    {
    }

    int groupId = 0;
    int parentId = 0;
    QString dirName;
    QString diskSerial;
    bool backNewName = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
