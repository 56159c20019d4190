#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Forgets failed copy jobs.
class DeleteCopyFailListsReq : public APIReq
{
public:
    static constexpr const char* kCommand = "deleteCopyFailLists";

    DeleteCopyFailListsReq() = default;
    DeleteCopyFailListsReq(const QList<qint64>& curOperIds_)
        : curOperIds(curOperIds_)
    {
    }

    QList<qint64> curOperIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
