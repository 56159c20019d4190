#include "protocol/getpubgroupdetailresp.h"

#include "protocol/getpubgrouplistresp.h"

void GetPubGroupDetailResp::parseData(const Json::Value& data)
{
    group = data.isObject() ? GetPubGroupListResp::groupFromJson(data) : PubGroupInfo();
}
