#include "protocol/createdirresp.h"

#include "protocol/jsonread.h"

void CreateDirResp::parseData(const Json::Value& data)
{
    dirId = JsonRead::toInt64(data, "dirId");
    backNewName = JsonRead::toString(data, "backNewName");
}
