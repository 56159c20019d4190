#include "protocol/copytosambreq.h"

#include "protocol/jsonread.h"

Json::Value CopyToSambReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["path"] = JsonRead::str(path);
    root["ids"] = JsonRead::int64Array(ids);
    return root;
}
