#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// An entry of an attached disk's listing.
struct LocalFileInfo
{
    qint64 id = 0;
    bool isFile = false;
    QString name;
    QString filePath;   // path on the attached disk
    QString url;        // path on the device
    qint64 fileLen = 0;
    qint64 lastModified = 0;
};
Q_DECLARE_METATYPE(LocalFileInfo)
