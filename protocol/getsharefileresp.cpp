#include "protocol/getsharefileresp.h"

#include "protocol/getshareuserlistresp.h"
#include "protocol/jsonread.h"

void GetShareFileResp::parseData(const Json::Value& data)
{
    FileListResp::parseData(data);   // types and "shareTime" come with the items

    users.clear();
    const Json::Value& list = JsonRead::member(data, "userList");
    if (list.isArray()) {
        for (const Json::Value& it : list) {
            if (!it.isObject())
                continue;
            const DeviceUserInfo u = GetShareUserListResp::userFromJson(it);
            if (!u.accessId.isEmpty())
                users.insert(u.accessId, u);
        }
    } else if (list.isObject()) {
        for (auto it = list.begin(); it != list.end(); ++it) {
            if (!(*it).isObject())
                continue;
            DeviceUserInfo u = GetShareUserListResp::userFromJson(*it);
            if (u.accessId.isEmpty())
                u.accessId = QString::fromStdString(it.name());
            users.insert(u.accessId, u);
        }
    }

    for (TwFileInfo& f : fileList) {
        const auto u = users.constFind(f.ower);
        if (u == users.constEnd())
            continue;
        f.shareHeadImg = u->headImg;
        f.shareUserName = u->markName.isEmpty() ? u->userName : u->markName;
    }
}
