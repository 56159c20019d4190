#pragma once

#include <QList>
#include <QMetaType>

#include "core/deviceuserinfo.h"
#include "protocol/apibase.h"

// A page of the users who share files with the signed-in user ("list").
class GetShareUserListResp : public APIBase
{
public:
    QList<DeviceUserInfo> users;
    int totalPages = 0;
    int pageNo = 0;
    int totalNum = 0;

    // One user entry: "accessId", "userName", "headImg", "markName", "shareNum".
    static DeviceUserInfo userFromJson(const Json::Value& item);
    // The object entries of an array of users; anything else is skipped.
    static QList<DeviceUserInfo> usersFromJson(const Json::Value& items);

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(GetShareUserListResp)
