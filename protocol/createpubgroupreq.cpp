#include "protocol/createpubgroupreq.h"

#include "protocol/jsonread.h"

Json::Value CreatePubGroupReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["name"] = JsonRead::str(name);
    root["diskSerial"] = JsonRead::str(diskSerial);
    return root;
}
