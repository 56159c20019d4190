#include "protocol/copydirorfilereq.h"

#include "protocol/jsonread.h"

Json::Value CopyDirOrFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    root["targetId"] = JsonRead::int64(targetId);
    root["diskSerial"] = JsonRead::str(diskSerial);
    return root;
}
