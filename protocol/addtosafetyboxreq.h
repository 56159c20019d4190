#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Moves files and folders into the safe box.
class AddToSafetyBoxReq : public APIReq
{
public:
    static constexpr const char* kCommand = "addToSafetyBox";

    AddToSafetyBoxReq() = default;
    explicit AddToSafetyBoxReq(const QList<qint64>& fileIds_)
        : fileIds(fileIds_)
    {
    }

    QList<qint64> fileIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
