#include "protocol/changepubgroupownerreq.h"

#include "protocol/jsonread.h"

Json::Value ChangePubGroupOwnerReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["gId"] = Json::Value(gId);
    root["fromUser"] = JsonRead::str(fromUser);
    root["toUser"] = JsonRead::str(toUser);
    return root;
}
