#include "protocol/modifyfilereq.h"

#include "protocol/jsonread.h"

Json::Value ModifyFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileId"] = JsonRead::int64(fileId);
    root["newName"] = JsonRead::str(newName);
    root["isSafeBox"] = Json::Value(isSafeBox);
    return root;
}
