#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Deletes links the user created on the device.
class DelExternalLinkReq : public APIReq
{
public:
    static constexpr const char* kCommand = "delExternalLink";

    DelExternalLinkReq() = default;
    DelExternalLinkReq(const QList<qint64>& exterLinkIds_)
        : exterLinkIds(exterLinkIds_)
    {
    }

    QList<qint64> exterLinkIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
