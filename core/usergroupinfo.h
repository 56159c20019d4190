#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include "core/deviceuserinfo.h"

// A user group of the device.
struct UserGroupInfo
{
    int gId = 0;
    int memberNum = 0;
    QString gName;
    QList<DeviceUserInfo> members;
};
Q_DECLARE_METATYPE(UserGroupInfo)
