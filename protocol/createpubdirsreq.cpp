#include "protocol/createpubdirsreq.h"

#include "protocol/jsonread.h"

Json::Value CreatePubDirsReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    root["parentId"] = JsonRead::int64(parentId);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["folderNames"] = JsonRead::strArray(folderNames);
    return root;
}
