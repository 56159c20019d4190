#include "protocol/getpubgroupdetailreq.h"

#include "protocol/jsonread.h"

Json::Value GetPubGroupDetailReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    return root;
}
