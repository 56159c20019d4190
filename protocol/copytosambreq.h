#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Copies files of the personal space to a Samba share.
class CopyToSambReq : public APIReq
{
public:
    static constexpr const char* kCommand = "copyToSamb";

    CopyToSambReq() = default;
    CopyToSambReq(const QString& diskSerial_, const QString& path_, const QList<qint64>& ids_)
        : diskSerial(diskSerial_), path(path_), ids(ids_)
    {
    }

    QString diskSerial;
    QString path;
    QList<qint64> ids;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
