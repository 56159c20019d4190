#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// A user of the device.
struct DeviceUserInfo
{
    QString accessId;
    QString userName;
    QString headImg;
    QString markName;
    int shareNum = 0;
    int authority = 0;
    int status = 0;
    qint64 createTime = 0;
};
Q_DECLARE_METATYPE(DeviceUserInfo)
