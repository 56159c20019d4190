#pragma once

#include <QMap>
#include <QMetaType>
#include <QString>

#include "core/deviceuserinfo.h"
#include "protocol/filelistresp.h"

// A page of the files all users share with the signed-in user. The sharing
// users come along ("userList": an array of users, or an object keyed by
// accessId); each file gets its sharer's head image and name from the user
// whose accessId is the file's owner.
class GetShareFileResp : public FileListResp
{
public:
    QMap<QString, DeviceUserInfo> users;   // by accessId

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(GetShareFileResp)
