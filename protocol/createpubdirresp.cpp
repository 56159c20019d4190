#include "protocol/createpubdirresp.h"

#include "protocol/jsonread.h"

void CreatePubDirResp::parseData(const Json::Value& data)
{
    dirId = JsonRead::toInt64(data, "dirId");
    backNewName = JsonRead::toString(data, "backNewName");
}
