#include "protocol/getexternallinklistreq.h"

#include "protocol/jsonread.h"

Json::Value GetExternalLinkListReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["offset"] = Json::Value(offset);
    root["pageSize"] = Json::Value(pageSize);
    root["isSort"] = Json::Value(isSort);
    root["condition"] = Json::Value(condition);
    root["queryType"] = Json::Value(queryType);
    return root;
}
