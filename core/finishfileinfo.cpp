#include "core/finishfileinfo.h"

#include <QDateTime>

#include "core/downfileinfo.h"
#include "core/uploadfileinfo.h"

FinishFileInfo FinishFileInfo::fromDownload(const DownFileInfo& rec, const QString& folderName)
{
    FinishFileInfo f;
    f.fileId = rec.fileId;
    f.isFolder = rec.isFolder;
    f.fileName = rec.fileName;
    f.accessId = rec.accessId;
    f.deviceId = rec.deviceId;
    f.fileMd5 = rec.fileMd5;
    f.filePath = rec.filePath;
    f.usbFilePath = rec.usbFilePath;
    f.savePath = rec.isFolder
        ? rec.savePath + "/" + (folderName.isEmpty() ? rec.fileName : folderName)
        : rec.savePath;
    f.fileSize = rec.fileSize;
    f.isUp = false;
    f.createTime = QDateTime::currentMSecsSinceEpoch();
    return f;
}

FinishFileInfo FinishFileInfo::fromUpload(const UploadFileInfo& rec)
{
    FinishFileInfo f;
    f.fileId = 0;
    f.isFolder = rec.isFolder;
    f.fileName = rec.fileName;
    f.accessId = rec.accessId;
    f.deviceId = rec.deviceId;
    f.fileMd5 = rec.fileMd5;
    f.filePath = rec.filePath;
    f.usbFilePath = rec.isExternal ? rec.externalPath : QString();
    f.savePath = rec.upPath;
    f.fileSize = rec.fileSize;
    f.isUp = true;
    f.createTime = QDateTime::currentMSecsSinceEpoch();
    return f;
}
