#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

struct DownFileInfo;
struct UploadFileInfo;

// One finished transfer (a row of lv_finish_file).
struct FinishFileInfo
{
    int fId = 0;
    int fileId = 0;
    bool isFolder = false;
    QString fileName;
    QString accessId;
    QString deviceId;
    QString fileMd5;
    QString filePath;         // remote path (local path for an upload)
    QString usbFilePath;
    QString savePath;         // local path; for a folder the folder actually written
    qint64 fileSize = 0;
    bool isUp = false;
    qint64 createTime = 0;    // ms since the epoch when the transfer finished
    bool isChecked = false;   // list-side flag, copied along, never stored

    // The finished record of a download. A folder records the folder it was
    // really written to: savePath/folderName (its chosen saveName, else its name).
    static FinishFileInfo fromDownload(const DownFileInfo& rec, const QString& folderName);
    // The finished record of an upload: the local path as filePath, the
    // target as shown to the user as savePath.
    static FinishFileInfo fromUpload(const UploadFileInfo& rec);
};
Q_DECLARE_METATYPE(FinishFileInfo)
Q_DECLARE_METATYPE(QList<FinishFileInfo>)
