#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Copies items of the personal space, or items shared with the user, into a
// folder of the personal space.
class CopyDirOrFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "copyDirOrFile";

    CopyDirOrFileReq() = default;
    CopyDirOrFileReq(const QList<qint64>& fileIds_, qint64 targetId_, const QString& diskSerial_)
        : fileIds(fileIds_), targetId(targetId_), diskSerial(diskSerial_)
    {
    }

    QList<qint64> fileIds;
    qint64 targetId = 0;
    QString diskSerial;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
