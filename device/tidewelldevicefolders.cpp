// TidewellDevice: browsing the personal space (folder pages, new folders).
#include "device/tidewelldevice.h"

#include "protocol/createdirreq.h"
#include "protocol/getdirpathreq.h"

bool TidewellDevice::filelist(TW_HANDLE handle, qint64 folderId, QString diskSerial, int offset,
                              int pageSize, bool isSort, int condition)
{
    emit sFilelist(handle, folderId, diskSerial, offset, pageSize, isSort, condition);
    return true;
}

void TidewellDevice::oFilelist(TW_HANDLE handle, qint64 folderId, QString diskSerial, int offset,
                               int pageSize, bool isSort, int condition)
{
    const int pageNo = pageSize > 0 ? offset / pageSize + 1 : 1;
    const GetDirPathReq req(diskSerial, folderId, pageNo, offset, pageSize, isSort, condition, false);
    callThen<DirPathResp>(req, [=](DirPathResp r) {
        r.offset = offset;   // as asked: the model tells its pages apart by it
        emit rFilelist(handle, r);
    });
}

bool TidewellDevice::createDir(TW_HANDLE handle, qint64 parentId, QString diskSerial,
                               QString dirName)
{
    emit sCreateDir(handle, parentId, diskSerial, dirName);
    return true;
}

void TidewellDevice::oCreateDir(TW_HANDLE handle, qint64 parentId, QString diskSerial,
                                QString dirName)
{
    CreateDirReq req(diskSerial, parentId, dirName, false);
    callThen<CreateDirResp>(req, [=](CreateDirResp r) { emit rCreateDir(handle, r, dirName); });
}
