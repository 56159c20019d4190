#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Copies files of the personal space to an attached USB disk.
class CopyToPeripheralReq : public APIReq
{
public:
    static constexpr const char* kCommand = "copyToPeripheral";

    CopyToPeripheralReq() = default;
    CopyToPeripheralReq(const QString& path_, const QList<qint64>& ids_)
        : path(path_), ids(ids_)
    {
    }

    QString path;
    QList<qint64> ids;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
