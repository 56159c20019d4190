#include "protocol/getpubgroupmemlistreq.h"

#include "protocol/jsonread.h"

Json::Value GetPubGroupMemListReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["offset"] = Json::Value(offset);
    root["pageNo"] = Json::Value(1);
    root["pageSize"] = Json::Value(pageSize);
    root["type"] = Json::Value(type);
    root["groupId"] = Json::Value(groupId);
    return root;
}
