#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// One failed copy job of the device.
struct CopyFailInfo
{
    QString name;
    QString sourceFile;
    QString tagFile;
    QString groupName;
    int num = 0;
    int type = 0;
    qint64 curOperId = 0;
    int failcode = 0;
    int operationType = 0;
};
Q_DECLARE_METATYPE(CopyFailInfo)
