#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Retries failed copy jobs.
class RetryCopyTaskReq : public APIReq
{
public:
    static constexpr const char* kCommand = "retryCopyTask";

    RetryCopyTaskReq() = default;
    RetryCopyTaskReq(const QList<qint64>& curOperIds_)
        : curOperIds(curOperIds_)
    {
    }

    QList<qint64> curOperIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
