#include "protocol/getshareuserandgrouplistreq.h"

#include "protocol/jsonread.h"

Json::Value GetShareUserAndGroupListReq::to_json() const
{
    Json::Value root(Json::objectValue);
    return root;
}
