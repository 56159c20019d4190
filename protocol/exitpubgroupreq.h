#pragma once

#include <QString>

#include "protocol/apireq.h"

// Takes an account out of a public group.
class ExitPubGroupReq : public APIReq
{
public:
    static constexpr const char* kCommand = "exitPubGroup";

    ExitPubGroupReq() = default;
    ExitPubGroupReq(int gId_, const QString& accessId_)
        : gId(gId_), accessId(accessId_)
    {
    }

    int gId = 0;
    QString accessId;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
