#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One public group as the signed-in account sees it. The device reply names
// gId "id" and gName "name"; the QML map uses the field names.
struct PubGroupInfo
{
    int gId = 0;
    QString gName;
    QString ower;            // accessId of the owner
    QString userName;        // display name of the owner
    int memberAuthority = 0; // the account's right: 0 manager, 1 editor, 2 browse
    int status = 0;
    qint64 totalSize = 0;
    QString diskSerial;
    qint64 createTime = 0;   // ms since the epoch
    qint64 lastModified = 0; // ms since the epoch

    // 64-bit fields stay numbers in the map (not decimal strings).
    QVariantMap toMap() const;
    // An empty map leaves the record as it is; otherwise a missing or
    // unconvertible key resets its field.
    void fromMap(const QVariantMap& map);
};
Q_DECLARE_METATYPE(PubGroupInfo)
