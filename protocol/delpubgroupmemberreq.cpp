#include "protocol/delpubgroupmemberreq.h"

#include "protocol/jsonread.h"

Json::Value DelPubGroupMemberReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["gId"] = Json::Value(gId);
    root["accessIds"] = JsonRead::strArray(accessIds);
    return root;
}
