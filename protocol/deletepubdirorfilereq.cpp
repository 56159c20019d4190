#include "protocol/deletepubdirorfilereq.h"

#include "protocol/jsonread.h"

Json::Value DeletePubDirOrFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    return root;
}
