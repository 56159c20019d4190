#pragma once

#include <QStringList>

#include "protocol/apireq.h"

// Removes members from a public group.
class DelPubGroupMemberReq : public APIReq
{
public:
    static constexpr const char* kCommand = "delPubGroupMember";

    DelPubGroupMemberReq() = default;
    DelPubGroupMemberReq(int gId_, const QStringList& accessIds_)
        : gId(gId_), accessIds(accessIds_)
    {
    }

    int gId = 0;
    QStringList accessIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
