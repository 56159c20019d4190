#include "protocol/delpubgroupreq.h"

#include "protocol/jsonread.h"

Json::Value DelPubGroupReq::to_json() const
{
    Json::Value root(Json::objectValue);
    Json::Value gIdsJson(Json::arrayValue);
    for (int v : gIds)
        gIdsJson.append(Json::Value(v));
    root["gIds"] = gIdsJson;
    return root;
}
