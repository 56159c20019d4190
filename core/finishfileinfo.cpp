#include "core/finishfileinfo.h"

#include <QDateTime>

#include "core/downfileinfo.h"
#include "core/uploadfileinfo.h"

namespace {

// What a finished record takes over alike from either queue.
template <class Rec>
FinishFileInfo finishedFrom(const Rec& rec, bool isUp)
{
    FinishFileInfo f;
    f.isFolder = rec.isFolder;
    f.fileName = rec.fileName;
    f.accessId = rec.accessId;
    f.deviceId = rec.deviceId;
    f.fileMd5 = rec.fileMd5;
    f.filePath = rec.filePath;
    f.fileSize = rec.fileSize;
    f.isUp = isUp;
    f.createTime = QDateTime::currentMSecsSinceEpoch();
    return f;
}

} // namespace

FinishFileInfo FinishFileInfo::fromDownload(const DownFileInfo& rec, const QString& folderName)
{
    FinishFileInfo f = finishedFrom(rec, false);
    f.fileId = rec.fileId;
    f.usbFilePath = rec.usbFilePath;
    f.savePath = rec.isFolder
        ? rec.savePath + "/" + (folderName.isEmpty() ? rec.fileName : folderName)
        : rec.savePath;
    return f;
}

FinishFileInfo FinishFileInfo::fromUpload(const UploadFileInfo& rec)
{
    FinishFileInfo f = finishedFrom(rec, true);
    f.fileId = 0;
    f.usbFilePath = rec.isExternal ? rec.externalPath : QString();
    f.savePath = rec.upPath;
    return f;
}
