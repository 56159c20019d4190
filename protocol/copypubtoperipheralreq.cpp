#include "protocol/copypubtoperipheralreq.h"

#include "protocol/jsonread.h"

Json::Value CopyPubToPeripheralReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["path"] = JsonRead::str(path);
    root["isSamba"] = Json::Value(isSamba);
    root["ids"] = JsonRead::int64Array(ids);
    return root;
}
