#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Copies public-group items to attached storage (USB or Samba).
class CopyPubToPeripheralReq : public APIReq
{
public:
    static constexpr const char* kCommand = "copyPubToPeripheral";

    CopyPubToPeripheralReq() = default;
    CopyPubToPeripheralReq(int groupId_, const QString& diskSerial_, const QString& path_, bool isSamba_, const QList<qint64>& ids_)
        : groupId(groupId_), diskSerial(diskSerial_), path(path_), isSamba(isSamba_), ids(ids_)
    {
    }

    int groupId = 0;
    QString diskSerial;
    QString path;
    bool isSamba = false;
    QList<qint64> ids;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
