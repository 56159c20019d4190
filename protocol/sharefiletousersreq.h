#pragma once

#include <QList>
#include <QStringList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Shares files with chosen users of the device.
class ShareFileToUsersReq : public APIReq
{
public:
    static constexpr const char* kCommand = "shareFileToUsers";

    ShareFileToUsersReq() = default;
    ShareFileToUsersReq(const QList<qint64>& fileIds_, const QStringList& accessIds_)
        : fileIds(fileIds_), accessIds(accessIds_)
    {
    }

    QList<qint64> fileIds;
    QStringList accessIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
