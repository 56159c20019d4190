#pragma once

#include <QMetaType>
#include <QString>

// One member of a public group; the device reply uses the field names as keys.
struct PubGroupMember
{
    QString accId;
    QString headImg;
    QString markName;
    int memberAuthority = 0; // 0 manager (the owner), 1 editor, 2 browse
    qint64 createTime = 0;   // joined, ms since the epoch
};
Q_DECLARE_METATYPE(PubGroupMember)
