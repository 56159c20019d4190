#include "protocol/getdirpathreq.h"

#include "protocol/jsonread.h"

Json::Value GetDirPathReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["fileId"] = JsonRead::int64(fileId);
    root["pageNo"] = Json::Value(pageNo);
    root["offset"] = Json::Value(offset);
    root["pageSize"] = Json::Value(pageSize);
    root["isSort"] = Json::Value(isSort);
    root["condition"] = Json::Value(condition);
    root["isSafetyBox"] = Json::Value(isSafetyBox);
    return root;
}
