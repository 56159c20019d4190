#include "protocol/mylovereq.h"

#include "protocol/jsonread.h"

Json::Value MyLoveReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    root["isLove"] = Json::Value(isLove);
    return root;
}
