#include "protocol/modifypubgroupnamereq.h"

#include "protocol/jsonread.h"

Json::Value ModifyPubGroupNameReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["gId"] = Json::Value(gId);
    root["gName"] = JsonRead::str(gName);
    return root;
}
