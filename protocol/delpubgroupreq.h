#pragma once

#include <QList>

#include "protocol/apireq.h"

// Deletes public groups.
class DelPubGroupReq : public APIReq
{
public:
    static constexpr const char* kCommand = "delPubGroup";

    DelPubGroupReq() = default;
    explicit DelPubGroupReq(const QList<int>& gIds_)
        : gIds(gIds_)
    {
    }

    QList<int> gIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
