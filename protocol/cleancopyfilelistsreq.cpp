#include "protocol/cleancopyfilelistsreq.h"

#include "protocol/jsonread.h"

Json::Value CleanCopyFileListsReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["operationType"] = Json::Value(operationType);
    return root;
}
