#include "protocol/pubcopyfiletopubreq.h"

#include "protocol/jsonread.h"

Json::Value PubCopyFileToPubReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    root["targetId"] = JsonRead::int64(targetId);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["targetGroupId"] = Json::Value(targetGroupId);
    root["movieFileIds"] = JsonRead::int64Array(movieFileIds);
    return root;
}
