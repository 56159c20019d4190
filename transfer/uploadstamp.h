#pragma once

#include <QString>

#include "core/uploadfileinfo.h"

// What the local file of an upload entry looked like when its digest was
// made, and the device task its bytes went to. Kept in a small file per
// entry, so that a later attempt, also after a restart, goes on with that
// task only while the file is the one it was made for.
class UploadStamp
{
public:
    QString md5;
    QString taskId;
    qint64 size = -1;         // -1: the file cannot be read
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;     // status change: also moves when the time of change is set back
    qint64 inode = 0;

    // The local file as it is now.
    static UploadStamp ofFile(const QString& path);
    bool sameFile(const UploadStamp& other) const;

    static bool read(const UploadFileInfo& entry, UploadStamp& out);
    bool write(const UploadFileInfo& entry) const;
    // Notes the device task of the entry in its stamp, when there is one.
    static void noteTask(const UploadFileInfo& entry, const QString& taskId);
    static void remove(const UploadFileInfo& entry);
    // Every stamp of one account and device (their queue is empty).
    static void removeAll(const QString& accessId, const QString& deviceId);

private:
    static QString folderOf(const QString& accessId, const QString& deviceId);
    static QString pathOf(const UploadFileInfo& entry);
};
