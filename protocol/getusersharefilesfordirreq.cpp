#include "protocol/getusersharefilesfordirreq.h"

#include "protocol/jsonread.h"

Json::Value GetUserShareFilesForDirReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["pageNo"] = Json::Value(pageNo);
    root["pageSize"] = Json::Value(pageSize);
    root["fileId"] = JsonRead::int64(fileId);
    root["fileType"] = Json::Value(fileType);
    return root;
}
