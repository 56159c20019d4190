#include "protocol/getpubgroupmemlistresp.h"

#include "protocol/jsonread.h"

void GetPubGroupMemListResp::parseData(const Json::Value& data)
{
    members.clear();
    for (const Json::Value& it : JsonRead::array(data, "listPath")) {
        if (!it.isObject())
            continue;
        PubGroupMember m;
        m.accId = JsonRead::toString(it, "accId");
        m.headImg = JsonRead::toString(it, "headImg");
        m.markName = JsonRead::toString(it, "markName");
        m.memberAuthority = JsonRead::toInt(it, "memberAuthority");
        m.createTime = JsonRead::toInt64(it, "createTime");
        members.append(m);
    }
    offset = JsonRead::toInt(data, "offset");
    totalPages = JsonRead::toInt(data, "totalPages");
    totalNum = JsonRead::toInt(data, "totalNum");
}
