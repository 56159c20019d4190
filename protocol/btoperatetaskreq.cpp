#include "protocol/btoperatetaskreq.h"

#include "protocol/jsonread.h"

Json::Value BTOperateTaskReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["operate"] = Json::Value(operate);
    root["vType"] = Json::Value(vType);
    root["downId"] = JsonRead::str(downId);
    root["isDeleteFile"] = Json::Value(isDeleteFile);
    return root;
}
