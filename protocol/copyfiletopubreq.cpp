#include "protocol/copyfiletopubreq.h"

#include "protocol/jsonread.h"

Json::Value CopyFileToPubReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["targetGroupId"] = Json::Value(targetGroupId);
    root["targetId"] = JsonRead::int64(targetId);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    return root;
}
