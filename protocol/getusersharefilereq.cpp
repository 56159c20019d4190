#include "protocol/getusersharefilereq.h"

#include "protocol/jsonread.h"

Json::Value GetUserShareFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["pageNo"] = Json::Value(pageNo);
    root["condition"] = Json::Value(condition);
    root["isSort"] = Json::Value(isSort);
    root["accessId"] = JsonRead::str(accessId);
    return root;
}
