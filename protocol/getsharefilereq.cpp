#include "protocol/getsharefilereq.h"

#include "protocol/jsonread.h"

Json::Value GetShareFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["pageNo"] = Json::Value(pageNo);
    root["condition"] = Json::Value(condition);
    root["isSort"] = Json::Value(isSort);
    return root;
}
