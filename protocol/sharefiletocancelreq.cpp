#include "protocol/sharefiletocancelreq.h"

#include "protocol/jsonread.h"

Json::Value ShareFileToCancelReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    return root;
}
