#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Creates a chain of folders on attached storage, below a device path.
class CreateExternalDirsReq : public APIReq
{
public:
    static constexpr const char* kCommand = "createExternalDirs";

    CreateExternalDirsReq() = default;
    CreateExternalDirsReq(const QString& externalPath_, const QStringList& folderNames_)
        : externalPath(externalPath_), folderNames(folderNames_)
    {
    }

    QString externalPath;
    QStringList folderNames;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
