#include "protocol/copyfilefaillistsreq.h"

#include "protocol/jsonread.h"

Json::Value CopyFileFailListsReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["pageNo"] = Json::Value(pageNo);
    root["pageSize"] = Json::Value(pageSize);
    return root;
}
