#include "protocol/getshareuserlistreq.h"

#include "protocol/jsonread.h"

Json::Value GetShareUserListReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["pageNo"] = Json::Value(pageNo);
    root["fileType"] = Json::Value(fileType);
    return root;
}
