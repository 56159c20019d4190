#include "protocol/getshareuserlistresp.h"

#include "protocol/jsonread.h"

DeviceUserInfo GetShareUserListResp::userFromJson(const Json::Value& item)
{
    DeviceUserInfo u;
    u.accessId = JsonRead::toString(item, "accessId");
    u.userName = JsonRead::toString(item, "userName");
    u.headImg = JsonRead::toString(item, "headImg");
    u.markName = JsonRead::toString(item, "markName");
    u.shareNum = JsonRead::toInt(item, "shareNum");
    return u;
}

QList<DeviceUserInfo> GetShareUserListResp::usersFromJson(const Json::Value& items)
{
    QList<DeviceUserInfo> out;
    if (!items.isArray())
        return out;
    for (const Json::Value& it : items) {
        if (it.isObject())
            out.append(userFromJson(it));
    }
    return out;
}

void GetShareUserListResp::parseData(const Json::Value& data)
{
    users = usersFromJson(JsonRead::array(data, "list"));
    totalPages = JsonRead::toInt(data, "totalPages");
    pageNo = JsonRead::toInt(data, "pageNo");
    totalNum = JsonRead::toInt(data, "totalNum");
}
