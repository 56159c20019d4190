#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Copies public-group items into a folder of another (or the same) group.
class PubCopyFileToPubReq : public APIReq
{
public:
    static constexpr const char* kCommand = "pubCopyFileToPub";

    PubCopyFileToPubReq() = default;
    PubCopyFileToPubReq(int groupId_, qint64 targetId_, const QString& diskSerial_, int targetGroupId_, const QList<qint64>& movieFileIds_)
        : groupId(groupId_), targetId(targetId_), diskSerial(diskSerial_), targetGroupId(targetGroupId_), movieFileIds(movieFileIds_)
    {
    }

    int groupId = 0;
    qint64 targetId = 0;
    QString diskSerial;
    int targetGroupId = 0;
    QList<qint64> movieFileIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
