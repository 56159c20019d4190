#include "protocol/moviepubdirorfilereq.h"

#include "protocol/jsonread.h"

Json::Value MoviePubDirOrFileReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["groupId"] = Json::Value(groupId);
    root["movieFileId"] = JsonRead::int64(movieFileId);
    root["targetId"] = JsonRead::int64(targetId);
    return root;
}
