#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Creates a chain of folders below parentId.
class CreateDirsReq : public APIReq
{
public:
    static constexpr const char* kCommand = "createDirs";

    CreateDirsReq() = default;
    CreateDirsReq(const QString& diskSerial_, qint64 parentId_, bool isSafeBox_, const QStringList& folderNames_)
        : diskSerial(diskSerial_), parentId(parentId_), isSafeBox(isSafeBox_), folderNames(folderNames_)
    {
    }

    QString diskSerial;
    qint64 parentId = 0;
    bool isSafeBox = false;
    QStringList folderNames;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
