#include "protocol/exitpubgroupreq.h"

#include "protocol/jsonread.h"

Json::Value ExitPubGroupReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["gId"] = Json::Value(gId);
    root["accessId"] = JsonRead::str(accessId);
    return root;
}
