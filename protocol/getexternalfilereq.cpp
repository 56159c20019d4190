#include "protocol/getexternalfilereq.h"

#include "protocol/jsonread.h"

std::string GetExternalFileReq::commandForKind(int kind)
{
    switch (kind) {
    case 1: return "getUDiskPath";
    case 2: return "getSDPath";
    case 3: return "getSambPath";
    default: return std::string();
    }
}

Json::Value GetExternalFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["pageNo"] = pageNo;
    root["pageSize"] = pageSize;
    root["path"] = JsonRead::str(path);
    return root;
}
