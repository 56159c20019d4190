#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Copies items of the personal space, or items shared with the user, into a
// folder of a public group.
class CopyFileToPubReq : public APIReq
{
public:
    static constexpr const char* kCommand = "copyFileToPub";

    CopyFileToPubReq() = default;
    CopyFileToPubReq(int targetGroupId_, qint64 targetId_, const QString& diskSerial_,
                     const QList<qint64>& fileIds_)
        : targetGroupId(targetGroupId_), targetId(targetId_), diskSerial(diskSerial_), fileIds(fileIds_)
    {
    }

    int targetGroupId = 0;
    qint64 targetId = 0;
    QString diskSerial;
    QList<qint64> fileIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
