#include "protocol/btdeletetaskreq.h"

#include "protocol/jsonread.h"

Json::Value BTDeleteTaskReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["downId"] = JsonRead::strArray(downId);
    root["isDeleteFile"] = Json::Value(isDeleteFile);
    return root;
}
