#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Copies public-group items into the personal space.
class MovieFileToPersonReq : public APIReq
{
public:
    static constexpr const char* kCommand = "movieFileToPerson";

    MovieFileToPersonReq() = default;
    MovieFileToPersonReq(int groupId_, qint64 targetId_, const QString& diskSerial_, const QList<qint64>& movieFileIds_)
        : groupId(groupId_), targetId(targetId_), diskSerial(diskSerial_), movieFileIds(movieFileIds_)
    {
    }

    int groupId = 0;
    qint64 targetId = 0;
    QString diskSerial;
    QList<qint64> movieFileIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
