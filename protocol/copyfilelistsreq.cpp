#include "protocol/copyfilelistsreq.h"

#include "protocol/jsonread.h"

Json::Value CopyFileListsReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["pageNo"] = Json::Value(pageNo);
    root["pageSize"] = Json::Value(pageSize);
    return root;
}
