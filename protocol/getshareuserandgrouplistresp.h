#pragma once

#include <QList>
#include <QMetaType>

#include "core/deviceuserinfo.h"
#include "core/usergroupinfo.h"
#include "protocol/apibase.h"

// The device's users ("userList") and user groups ("groupList", each with
// "gId", "gName" and its "members").
class GetShareUserAndGroupListResp : public APIBase
{
public:
    QList<DeviceUserInfo> users;
    QList<UserGroupInfo> groups;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(GetShareUserAndGroupListResp)
