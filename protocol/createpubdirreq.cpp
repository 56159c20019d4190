#include "protocol/createpubdirreq.h"

#include "protocol/jsonread.h"

Json::Value CreatePubDirReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    root["parentId"] = Json::Value(parentId);
    root["dirName"] = JsonRead::str(dirName);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["backNewName"] = Json::Value(backNewName);
    return root;
}
