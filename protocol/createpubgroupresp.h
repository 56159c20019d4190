#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

// The id of the new group.
class CreatePubGroupResp : public APIBase
{
public:
    int groupId = 0;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(CreatePubGroupResp)
