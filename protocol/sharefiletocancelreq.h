#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Ends the sharing of files.
class ShareFileToCancelReq : public APIReq
{
public:
    static constexpr const char* kCommand = "shareFileToCancel";

    ShareFileToCancelReq() = default;
    explicit ShareFileToCancelReq(const QList<qint64>& fileIds_)
        : fileIds(fileIds_)
    {
    }

    QList<qint64> fileIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
