#include "protocol/modifypubdirorfilereq.h"

#include "protocol/jsonread.h"

Json::Value ModifyPubDirOrFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    root["fileId"] = JsonRead::int64(fileId);
    root["newFileName"] = JsonRead::str(newFileName);
    return root;
}
