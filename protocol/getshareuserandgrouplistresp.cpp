#include "protocol/getshareuserandgrouplistresp.h"

#include "protocol/getshareuserlistresp.h"
#include "protocol/jsonread.h"

void GetShareUserAndGroupListResp::parseData(const Json::Value& data)
{
    users = GetShareUserListResp::usersFromJson(JsonRead::array(data, "userList"));
    groups.clear();
    for (const Json::Value& it : JsonRead::array(data, "groupList")) {
        if (!it.isObject())
            continue;
        UserGroupInfo g;
        g.gId = JsonRead::toInt(it, "gId");
        g.gName = JsonRead::toString(it, "gName");
        g.members = GetShareUserListResp::usersFromJson(JsonRead::array(it, "members"));
        g.memberNum = g.members.size();
        groups.append(g);
    }
}
