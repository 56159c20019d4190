#include "protocol/createdirsreq.h"

#include "protocol/jsonread.h"

Json::Value CreateDirsReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["diskSerial"] = JsonRead::str(diskSerial);
    root["parentId"] = JsonRead::int64(parentId);
    root["folderNames"] = JsonRead::strArray(folderNames);
    return root;
}
