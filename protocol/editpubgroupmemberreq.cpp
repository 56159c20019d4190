#include "protocol/editpubgroupmemberreq.h"

#include "protocol/jsonread.h"

Json::Value EditPubGroupMemberReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["gId"] = Json::Value(gId);
    root["memberAuth"] = Json::Value(memberAuth);
    root["accessIds"] = JsonRead::strArray(accessIds);
    return root;
}
