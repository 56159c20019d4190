#pragma once

#include <QStringList>

#include "protocol/apireq.h"

// Adds members to a public group, or changes their right.
class EditPubGroupMemberReq : public APIReq
{
public:
    static constexpr const char* kCommand = "editPubGroupMember";

    EditPubGroupMemberReq() = default;
    EditPubGroupMemberReq(int gId_, int memberAuth_, const QStringList& accessIds_)
        : gId(gId_), memberAuth(memberAuth_), accessIds(accessIds_)
    {
    }

    int gId = 0;
    int memberAuth = 0;
    QStringList accessIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
