#pragma once

#include <QMetaType>

#include "core/pubgroupinfo.h"
#include "protocol/apibase.h"

// One group, with the keys of a group-list entry directly in "data".
class GetPubGroupDetailResp : public APIBase
{
public:
    PubGroupInfo group;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(GetPubGroupDetailResp)
