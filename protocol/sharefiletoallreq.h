#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Shares files with every user of the device.
class ShareFileToAllReq : public APIReq
{
public:
    static constexpr const char* kCommand = "shareFileToAll";

    ShareFileToAllReq() = default;
    explicit ShareFileToAllReq(const QList<qint64>& fileIds_)
        : fileIds(fileIds_)
    {
    }

    QList<qint64> fileIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
