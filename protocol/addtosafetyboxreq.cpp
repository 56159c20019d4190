#include "protocol/addtosafetyboxreq.h"

#include "protocol/jsonread.h"

Json::Value AddToSafetyBoxReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    return root;
}
