#include "protocol/btgettasklistreq.h"

#include "protocol/jsonread.h"

Json::Value BTGetTaskListReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["vType"] = Json::Value(vType);
    root["pageNo"] = Json::Value(pageNo);
    root["pageSize"] = Json::Value(pageSize);
    return root;
}
