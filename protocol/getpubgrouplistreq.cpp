#include "protocol/getpubgrouplistreq.h"

#include "protocol/jsonread.h"

Json::Value GetPubGroupListReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["offset"] = Json::Value(offset);
    root["pageNo"] = Json::Value(1);
    root["pageSize"] = Json::Value(pageSize);
    root["isSort"] = Json::Value(isSort);
    root["condition"] = Json::Value(condition);
    root["queryType"] = Json::Value(queryType);
    return root;
}
