#include "protocol/getpubfilelistreq.h"

#include "protocol/jsonread.h"

Json::Value GetPubFileListReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    root["fileId"] = JsonRead::int64(fileId);
    root["keyValue"] = JsonRead::str(keyValue);
    root["offset"] = Json::Value(offset);
    root["pageSize"] = Json::Value(pageSize);
    root["isSort"] = Json::Value(isSort);
    root["isDir"] = Json::Value(isDir);
    root["condition"] = Json::Value(condition);
    return root;
}
