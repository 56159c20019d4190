#pragma once

#include <QMetaType>
#include <QString>

// The signed-in account.
struct UserInfo
{
    QString weixinId;
    QString unionid;
    QString wxUserName;
    QString wxAvatar;
    QString accessId;
    QString phone;
    QString email;
    QString commId;
    QString cookie;
};
Q_DECLARE_METATYPE(UserInfo)
