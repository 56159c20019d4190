#include "protocol/getexterlinkreslistreq.h"

#include "protocol/jsonread.h"

Json::Value GetExterLinkResListReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["shareId"] = JsonRead::str(shareId);
    root["offset"] = Json::Value(offset);
    root["pageNo"] = Json::Value(pageNo);
    root["pageSize"] = Json::Value(pageSize);
    root["isSort"] = Json::Value(isSort);
    root["condition"] = Json::Value(condition);
    return root;
}
