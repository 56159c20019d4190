#include "protocol/createpubgroupresp.h"

#include "protocol/jsonread.h"

void CreatePubGroupResp::parseData(const Json::Value& data)
{
    groupId = JsonRead::toInt(data, "groupId");
}
