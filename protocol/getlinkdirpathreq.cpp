#include "protocol/getlinkdirpathreq.h"

#include "protocol/jsonread.h"

Json::Value GetLinkDirPathReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileId"] = JsonRead::int64(fileId);
    root["pageNo"] = Json::Value(pageNo);
    root["pageSize"] = Json::Value(pageSize);
    root["isSort"] = Json::Value(isSort);
    root["condition"] = Json::Value(condition);
    return root;
}
