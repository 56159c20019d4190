#include "protocol/modifydirreq.h"

#include "protocol/jsonread.h"

Json::Value ModifyDirReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["dirId"] = JsonRead::int64(dirId);
    root["newName"] = JsonRead::str(newName);
    root["isSafeBox"] = Json::Value(isSafeBox);
    return root;
}
