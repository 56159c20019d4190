#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Attaches labels to files.
class RelateLabelReq : public APIReq
{
public:
    static constexpr const char* kCommand = "relateLabel";

    RelateLabelReq() = default;
    RelateLabelReq(const QList<qint64>& fileIds_, const QList<int>& labelIds_)
        : fileIds(fileIds_), labelIds(labelIds_)
    {
    }

    QList<qint64> fileIds;
    QList<int> labelIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
