#include "protocol/sharefiletoallreq.h"

#include "protocol/jsonread.h"

Json::Value ShareFileToAllReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    return root;
}
