#include "protocol/sharefiletousersreq.h"

#include "protocol/jsonread.h"

Json::Value ShareFileToUsersReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    root["accessIds"] = JsonRead::strArray(accessIds);
    return root;
}
