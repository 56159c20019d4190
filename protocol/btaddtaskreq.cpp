#include "protocol/btaddtaskreq.h"

#include "protocol/jsonread.h"

Json::Value BTAddTaskReq::to_json() const
{
    Json::Value root(Json::objectValue);
    if (!resource.isEmpty())
        root["resource"] = JsonRead::str(resource);
    else
        root["fileId"] = fileId;
    if (!externalPath.isEmpty()) {
        root["externalPath"] = JsonRead::str(externalPath);
        root["isExternal"] = true;
    } else {
        root["diskSerial"] = JsonRead::str(diskSerial);
        root["saveDirId"] = saveDirId;
        root["isExternal"] = false;
    }
    return root;
}
