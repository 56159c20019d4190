#pragma once

#include <QString>

#include "protocol/apireq.h"

// Renames a public group.
class ModifyPubGroupNameReq : public APIReq
{
public:
    static constexpr const char* kCommand = "modifyPubGroupName";

    ModifyPubGroupNameReq() = default;
    ModifyPubGroupNameReq(int gId_, const QString& gName_)
        : gId(gId_), gName(gName_)
    {
    }

    int gId = 0;
    QString gName;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
