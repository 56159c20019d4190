#include "protocol/createdirreq.h"

#include "protocol/jsonread.h"

Json::Value CreateDirReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["parentId"] = JsonRead::int64(parentId);
    root["dirName"] = JsonRead::str(dirName);
    root["isSafeBox"] = Json::Value(isSafeBox);
    root["backNewName"] = Json::Value(backNewName);
    return root;
}
