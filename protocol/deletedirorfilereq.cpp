#include "protocol/deletedirorfilereq.h"

#include "protocol/jsonread.h"

Json::Value DeleteDirOrFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    root["isForce"] = Json::Value(isForce);
    return root;
}
