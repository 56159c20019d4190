#include "protocol/createdirsresp.h"

#include "protocol/jsonread.h"

void CreateDirsResp::parseData(const Json::Value& data)
{
    dirId = JsonRead::toInt64(data, "dirId");
}
