#pragma once

#include <QMetaType>
#include <QString>
#include <QVariantMap>

// A target folder of an upload, copy or move.
struct TwFolderInfo
{
    int fid = 0;
    QString name;
    QString filePath;     // path on external storage; empty for device storage
    bool isDevice = false;
    qint64 lastModified = 0;
    QString serialNo;     // disk serial
    int groupId = 0;
    int type = 0;         // 5: a public group's space
    int diskType = 0;     // 1 USB, 2 Samba, 3 public group disk, else personal
    qint64 freeCapacity = 0;
    qint64 totalCapacity = 0;
    bool isSafeBox = false;
    QString upPath;

    QVariantMap toVariantMap() const;
    static TwFolderInfo fromVariantMap(const QVariantMap& map);
};
Q_DECLARE_METATYPE(TwFolderInfo)
