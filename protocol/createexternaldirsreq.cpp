#include "protocol/createexternaldirsreq.h"

#include "protocol/jsonread.h"

Json::Value CreateExternalDirsReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["externalPath"] = JsonRead::str(externalPath);
    root["folderNames"] = JsonRead::strArray(folderNames);
    return root;
}
