#include "protocol/getpubgrouplistresp.h"

#include "protocol/jsonread.h"

PubGroupInfo GetPubGroupListResp::groupFromJson(const Json::Value& item)
{
    PubGroupInfo g;
    g.gId = JsonRead::toInt(item, "id");
    g.gName = JsonRead::toString(item, "name");
    g.ower = JsonRead::toString(item, "ower");
    g.userName = JsonRead::toString(item, "userName");
    g.memberAuthority = JsonRead::toInt(item, "memberAuthority");
    g.status = JsonRead::toInt(item, "status");
    g.totalSize = JsonRead::toInt64(item, "totalSize");
    g.diskSerial = JsonRead::toString(item, "diskSerial");
    g.createTime = JsonRead::toInt64(item, "createTime");
    g.lastModified = JsonRead::toInt64(item, "lastModified");
    return g;
}

void GetPubGroupListResp::parseData(const Json::Value& data)
{
    groups.clear();
    for (const Json::Value& it : JsonRead::array(data, "listPath")) {
        if (it.isObject())
            groups.append(groupFromJson(it));
    }
    offset = JsonRead::toInt(data, "offset");
    totalPages = JsonRead::toInt(data, "totalPages");
    totalNum = JsonRead::toInt(data, "totalNum");
    diskSerial = JsonRead::toString(data, "diskSerial");
}
