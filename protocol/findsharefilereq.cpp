#include "protocol/findsharefilereq.h"

#include "protocol/jsonread.h"

Json::Value FindShareFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["keyValue"] = JsonRead::str(keyValue);
    root["pageNo"] = Json::Value(pageNo);
    return root;
}
