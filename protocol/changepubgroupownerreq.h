#pragma once

#include <QString>

#include "protocol/apireq.h"

// Hands a public group to another member.
class ChangePubGroupOwnerReq : public APIReq
{
public:
    static constexpr const char* kCommand = "changePubGroupOwner";

    ChangePubGroupOwnerReq() = default;
    ChangePubGroupOwnerReq(int gId_, const QString& fromUser_, const QString& toUser_)
        : gId(gId_), fromUser(fromUser_), toUser(toUser_)
    {
    }

    int gId = 0;
    QString fromUser;
    QString toUser;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
