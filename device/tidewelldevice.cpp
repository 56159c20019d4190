#include "device/tidewelldevice.h"

#include <QDebug>
#include <QThread>

#include "core/utils.h"
#include "protocol/btaddtaskreq.h"
#include "protocol/btdeletetaskreq.h"
#include "protocol/btgettasklistreq.h"
#include "protocol/btoperatetaskreq.h"
#include "protocol/cleancopyfilelistsreq.h"
#include "protocol/copyfilefaillistsreq.h"
#include "protocol/copyfilelistsreq.h"
#include "protocol/copypubtoperipheralreq.h"
#include "protocol/createpubdirreq.h"
#include "protocol/deletecopyfaillistsreq.h"
#include "protocol/deletedirorfilereq.h"
#include "protocol/delexternallinkreq.h"
#include "protocol/getexterlinkreslistreq.h"
#include "protocol/getexternallinklistreq.h"
#include "protocol/getlinkdirpathreq.h"
#include "protocol/getmediafilegroupreq.h"
#include "protocol/getpubfilelistreq.h"
#include "protocol/getusersharefilesfordirreq.h"
#include "protocol/moviefiletopersonreq.h"
#include "protocol/pubcopyfiletopubreq.h"
#include "protocol/retrycopytaskreq.h"
#include "protocol/tidewellnet.h"

TidewellDevice::TidewellDevice(Tidewell* owner)
    : QObject(nullptr), m_owner(owner), m_thread(new QThread), m_exec(4),
      m_timeout(TidewellNet::kFacadeTimeout)
{
    m_thread->setObjectName("TidewellDevice");
    moveToThread(m_thread);
    m_thread->start();

    const auto q = Qt::QueuedConnection;
    connect(this, &TidewellDevice::sAddDownFiles, this, &TidewellDevice::oAddDownFiles, q);
    connect(this, &TidewellDevice::sAddDownUsbFiles, this, &TidewellDevice::oAddDownUsbFiles, q);
    connect(this, &TidewellDevice::sFileDelete, this, &TidewellDevice::oFileDelete, q);
    connect(this, &TidewellDevice::sMediaFilelist, this, &TidewellDevice::oMediaFilelist, q);
    connect(this, &TidewellDevice::sFileCopy, this, &TidewellDevice::oFileCopy, q);
    connect(this, &TidewellDevice::sGetUserShareFilesForDir, this,
            &TidewellDevice::oGetUserShareFilesForDir, q);
    connect(this, &TidewellDevice::sGetExtlinkList, this, &TidewellDevice::oGetExtlinkList, q);
    connect(this, &TidewellDevice::sDelExternalLink, this, &TidewellDevice::oDelExternalLink, q);
    connect(this, &TidewellDevice::sGetExterLinkResList, this,
            &TidewellDevice::oGetExterLinkResList, q);
    connect(this, &TidewellDevice::sGetLinkDirPath, this, &TidewellDevice::oGetLinkDirPath, q);
    connect(this, &TidewellDevice::sGetPubFileList, this, &TidewellDevice::oGetPubFileList, q);
    connect(this, &TidewellDevice::sCreatePubDir, this, &TidewellDevice::oCreatePubDir, q);
    connect(this, &TidewellDevice::sCopyFileLists, this, &TidewellDevice::oCopyFileLists, q);
    connect(this, &TidewellDevice::sCleanCopyFileLists, this,
            &TidewellDevice::oCleanCopyFileLists, q);
    connect(this, &TidewellDevice::sCopyFileFailLists, this, &TidewellDevice::oCopyFileFailLists,
            q);
    connect(this, &TidewellDevice::sRetryCopyTask, this, &TidewellDevice::oRetryCopyTask, q);
    connect(this, &TidewellDevice::sDeleteCopyFailLists, this,
            &TidewellDevice::oDeleteCopyFailLists, q);
    connect(this, &TidewellDevice::sBtGetTaskList, this, &TidewellDevice::oBtGetTaskList, q);
    connect(this, &TidewellDevice::sBtAddTask, this, &TidewellDevice::oBtAddTask, q);
    connect(this, &TidewellDevice::sBtOperateTask, this, &TidewellDevice::oBtOperateTask, q);
    connect(this, &TidewellDevice::sBtDeleteTask, this, &TidewellDevice::oBtDeleteTask, q);
}

TidewellDevice::~TidewellDevice()
{
    // Bodies use the owner's session and emit on this object: let them end
    // before anything goes away.
    m_exec.waitForDone();
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

void TidewellDevice::setDownFilesHandler(DownFilesFn fn)
{
    m_downFiles = std::move(fn);
}

void TidewellDevice::setDownUsbFilesHandler(DownUsbFilesFn fn)
{
    m_downUsbFiles = std::move(fn);
}

DeviceInfo TidewellDevice::deviceInfo() const
{
    return m_owner ? m_owner->currentDevice() : DeviceInfo();
}

UserInfo TidewellDevice::userInfo() const
{
    return m_owner ? m_owner->userInfo() : UserInfo();
}

void TidewellDevice::showLoading()
{
    if (m_owner)
        m_owner->showLoading();
}

void TidewellDevice::cancelLading()
{
    if (m_owner)
        m_owner->cancelLading();
}

void TidewellDevice::notifyStatus(int code, const QString& message, int level)
{
    if (m_owner)
        m_owner->notifyStatus(code, message, level);
}

bool TidewellDevice::online(const char* op)
{
    if (m_owner && m_owner->isOnline())
        return true;
    qDebug() << "TidewellDevice::" << op << "- device offline, nothing sent.";
    return false;
}

bool TidewellDevice::send(const APIReq& req, APIBase& resp, const NetworkShare& share)
{
    if (!m_owner) {
        resp.setError(APIBase::NetworkError, "Network Error");
        return false;
    }
    bool ran = false;
    bool ok = false;
    const int timeout = m_timeout;
    m_owner->device_online(share, [&](sdk::plugins::tidewell_network_sdk* net, bool) {
        ran = true;
        ok = TidewellNet::request(net, req, resp, timeout);
        return ok;
    });
    if (!ran) {
        qDebug() << "TidewellDevice::send - no session for" << QString::fromStdString(req.command());
        resp.setError(APIBase::NetworkError, "Network Error");
    }
    return ok;
}

// Download hand-overs -------------------------------------------------------

bool TidewellDevice::addDownFiles(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items,
                                  int fileType)
{
    emit sAddDownFiles(handle, savePath, items, fileType);
    return true;
}

bool TidewellDevice::addDownFilesPlain(TW_HANDLE handle, QString savePath,
                                       QList<TwFileInfo> items)
{
    return addDownFiles(handle, savePath, items, 0);
}

bool TidewellDevice::addDownUsbFiles(TW_HANDLE handle, QString savePath,
                                     QList<LocalFileInfo> items, int diskKind)
{
    emit sAddDownUsbFiles(handle, savePath, items, diskKind);
    return true;
}

void TidewellDevice::oAddDownFiles(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items,
                                   int fileType)
{
    // An accepting handler answers through rAddDownFiles itself.
    if (m_downFiles && m_downFiles(handle, savePath, items, fileType))
        return;
    qWarning() << "TidewellDevice::oAddDownFiles - not handed over," << items.size() << "items.";
    emit rAddDownFiles(handle, false);
}

void TidewellDevice::oAddDownUsbFiles(TW_HANDLE handle, QString savePath,
                                      QList<LocalFileInfo> items, int diskKind)
{
    if (m_downUsbFiles && m_downUsbFiles(handle, savePath, items, diskKind))
        return;
    qWarning() << "TidewellDevice::oAddDownUsbFiles - not handed over," << items.size() << "items.";
    emit rAddDownFiles(handle, false);
}

// Personal space and media --------------------------------------------------

bool TidewellDevice::fileDelete(TW_HANDLE handle, QMap<int, qint64> selection, bool isForce)
{
    if (!online("fileDelete"))
        return false;
    emit sFileDelete(handle, selection, isForce);
    return true;
}

void TidewellDevice::oFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, bool isForce)
{
    run([=] {
        DeleteDirOrFileReq req(selection.values(), isForce);
        DeleteDirOrFileResp resp;
        send(req, resp);
        emit rFileDelete(handle, selection, resp);
    });
}

bool TidewellDevice::mediaFilelist(TW_HANDLE handle, Common::FileType type, int page,
                                   int pageSize, int dateType, bool isSort)
{
    emit sMediaFilelist(handle, int(type), page, pageSize, dateType, isSort);
    return true;
}

void TidewellDevice::oMediaFilelist(TW_HANDLE handle, int type, int page, int pageSize,
                                    int dateType, bool isSort)
{
    // Media lists are paged by offset: page number 0, the page argument as offset.
    GetMediaFileGroupReq req(getFileTypeName(type), 0, page, pageSize);
    req.dateType = dateType;
    req.isSort = isSort;
    call(handle, req, &TidewellDevice::rMediaFilelist);
}

bool TidewellDevice::fileCopy(TW_HANDLE handle, int mType, TwFolderInfo target, int groupId,
                              QMap<int, qint64> fileIds, QStringList fileNames)
{
    emit sFileCopy(handle, mType, target, groupId, fileIds, fileNames);
    return true;
}

void TidewellDevice::oFileCopy(TW_HANDLE handle, int mType, TwFolderInfo target, int groupId,
                               QMap<int, qint64> fileIds, QStringList fileNames)
{
    Q_UNUSED(fileNames)
    const QList<qint64> ids = fileIds.values();
    if (mType != 3) {
        qWarning() << "TidewellDevice::oFileCopy - no copy command for source kind" << mType;
        APIBase resp(0, "Unsupported copy");
        emit rFileCopy(handle, resp);
        return;
    }
    if (target.diskType == 1 || target.diskType == 2) {
        CopyPubToPeripheralReq req(groupId, target.serialNo, target.filePath,
                                   target.diskType == 2, ids);
        call(handle, req, &TidewellDevice::rFileCopy);
    } else if (target.diskType == 3) {
        PubCopyFileToPubReq req(groupId, target.fid, target.serialNo, target.groupId, ids);
        call(handle, req, &TidewellDevice::rFileCopy);
    } else {
        MovieFileToPersonReq req(groupId, target.fid, target.serialNo, ids);
        call(handle, req, &TidewellDevice::rFileCopy);
    }
}

bool TidewellDevice::getUserShareFilesForDir(TW_HANDLE handle, int pageNo, int pageSize,
                                             qint64 fileId)
{
    emit sGetUserShareFilesForDir(handle, pageNo, pageSize, fileId);
    return true;
}

void TidewellDevice::oGetUserShareFilesForDir(TW_HANDLE handle, int pageNo, int pageSize,
                                              qint64 fileId)
{
    call(handle, GetUserShareFilesForDirReq(pageNo, pageSize, fileId, 2),
         &TidewellDevice::rGetUserShareFilesForDir);
}

// External links ------------------------------------------------------------

bool TidewellDevice::getExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort,
                                    int condition, int queryType)
{
    if (!online("getExtlinkList"))
        return false;
    emit sGetExtlinkList(handle, offset, pageSize, isSort, condition, queryType);
    return true;
}

void TidewellDevice::oGetExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort,
                                     int condition, int queryType)
{
    run([=] {
        GetExternalLinkListReq req(offset, pageSize, isSort, condition, queryType);
        GetExternalLinkListResp resp;
        send(req, resp);
        resp.offset = offset;
        resp.pageSize = pageSize;
        resp.isSort = isSort;
        resp.condition = condition;
        resp.queryType = queryType;
        emit rGetExtlinkList(handle, resp);
    });
}

bool TidewellDevice::delExternalLink(TW_HANDLE handle, QList<qint64> exterLinkIds)
{
    emit sDelExternalLink(handle, exterLinkIds);
    return true;
}

void TidewellDevice::oDelExternalLink(TW_HANDLE handle, QList<qint64> exterLinkIds)
{
    call(handle, DelExternalLinkReq(exterLinkIds), &TidewellDevice::rDelExternalLink);
}

bool TidewellDevice::getExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset,
                                         int pageSize, bool isSort, int condition,
                                         QString shareId)
{
    if (!online("getExterLinkResList"))
        return false;
    emit sGetExterLinkResList(handle, share, offset, pageSize, isSort, condition, shareId);
    return true;
}

void TidewellDevice::oGetExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset,
                                          int pageSize, bool isSort, int condition,
                                          QString shareId)
{
    Q_UNUSED(share)
    const int size = pageSize > 0 ? pageSize : 60;
    call(handle,
         GetExterLinkResListReq(shareId, offset, offset / size + 1, size, isSort, condition),
         &TidewellDevice::rGetExterLinkResList);
}

bool TidewellDevice::getLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset,
                                    int pageSize, bool isSort, int condition, int fileId)
{
    if (!online("getLinkDirPath"))
        return false;
    emit sGetLinkDirPath(handle, share, offset, pageSize, isSort, condition, fileId);
    return true;
}

void TidewellDevice::oGetLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset,
                                     int pageSize, bool isSort, int condition, int fileId)
{
    Q_UNUSED(share)
    Q_UNUSED(isSort)
    Q_UNUSED(condition)
    const int size = pageSize > 0 ? pageSize : 60;
    call(handle, GetLinkDirPathReq(fileId, offset / size + 1, size),
         &TidewellDevice::rGetExterLinkResList);
}

// Public space --------------------------------------------------------------

bool TidewellDevice::getPubFileList(TW_HANDLE handle, int offset, int pageSize, bool isSort,
                                    int condition, int groupId, qint64 fileId, bool isDir,
                                    QString keyValue)
{
    emit sGetPubFileList(handle, offset, pageSize, isSort, condition, groupId, fileId, isDir,
                         keyValue);
    return true;
}

void TidewellDevice::oGetPubFileList(TW_HANDLE handle, int offset, int pageSize, bool isSort,
                                     int condition, int groupId, qint64 fileId, bool isDir,
                                     QString keyValue)
{
    call(handle,
         GetPubFileListReq(groupId, fileId, keyValue, offset, pageSize, isSort, isDir, condition),
         &TidewellDevice::rGetPubFileList);
}

bool TidewellDevice::createPubDir(TW_HANDLE handle, int groupId, int parentId, QString dirName,
                                  QString diskSerial, bool backNewName)
{
    emit sCreatePubDir(handle, groupId, parentId, dirName, diskSerial, backNewName);
    return true;
}

void TidewellDevice::oCreatePubDir(TW_HANDLE handle, int groupId, int parentId, QString dirName,
                                   QString diskSerial, bool backNewName)
{
    run([=] {
        CreatePubDirReq req(groupId, parentId, dirName, diskSerial, backNewName);
        CreatePubDirResp resp;
        send(req, resp);
        resp.dirName = dirName;
        resp.parentId = parentId;
        resp.groupId = groupId;
        emit rCreatePubDir(handle, resp);
    });
}

// Device copy and download tasks --------------------------------------------

bool TidewellDevice::copyFileLists(TW_HANDLE handle, int pageNo, int pageSize)
{
    emit sCopyFileLists(handle, pageNo, pageSize);
    return true;
}

void TidewellDevice::oCopyFileLists(TW_HANDLE handle, int pageNo, int pageSize)
{
    call(handle, CopyFileListsReq(pageNo, pageSize), &TidewellDevice::rCopyFileLists);
}

bool TidewellDevice::cleanCopyFileLists(TW_HANDLE handle, int operationType)
{
    emit sCleanCopyFileLists(handle, operationType);
    return true;
}

void TidewellDevice::oCleanCopyFileLists(TW_HANDLE handle, int operationType)
{
    call(handle, CleanCopyFileListsReq(operationType), &TidewellDevice::rCleanCopyFileLists);
}

bool TidewellDevice::copyFileFailLists(TW_HANDLE handle, int pageNo, int pageSize)
{
    emit sCopyFileFailLists(handle, pageNo, pageSize);
    return true;
}

void TidewellDevice::oCopyFileFailLists(TW_HANDLE handle, int pageNo, int pageSize)
{
    call(handle, CopyFileFailListsReq(pageNo, pageSize), &TidewellDevice::rCopyFileFailLists);
}

bool TidewellDevice::retryCopyTask(TW_HANDLE handle, QMap<int, qint64> selectItems)
{
    emit sRetryCopyTask(handle, selectItems);
    return true;
}

void TidewellDevice::oRetryCopyTask(TW_HANDLE handle, QMap<int, qint64> selectItems)
{
    run([=] {
        RetryCopyTaskReq req(selectItems.values());   // values in key order
        APIBase resp;
        send(req, resp);
        emit rRetryCopyTask(handle, resp, selectItems);
    });
}

bool TidewellDevice::deleteCopyFailLists(TW_HANDLE handle, QMap<int, qint64> selectItems)
{
    emit sDeleteCopyFailLists(handle, selectItems);
    return true;
}

void TidewellDevice::oDeleteCopyFailLists(TW_HANDLE handle, QMap<int, qint64> selectItems)
{
    run([=] {
        DeleteCopyFailListsReq req(selectItems.values());
        APIBase resp;
        send(req, resp);
        emit rDeleteCopyFailLists(handle, resp, selectItems);
    });
}

bool TidewellDevice::btGetTaskList(TW_HANDLE handle, int vType, int pageNo, int pageSize)
{
    emit sBtGetTaskList(handle, vType, pageNo, pageSize);
    return true;
}

void TidewellDevice::oBtGetTaskList(TW_HANDLE handle, int vType, int pageNo, int pageSize)
{
    call(handle, BTGetTaskListReq(vType, pageNo, pageSize), &TidewellDevice::rBtGetTaskList);
}

bool TidewellDevice::btAddTask(TW_HANDLE handle, QString resource, int fileId,
                               QString diskSerial, int saveDirId, QString externalPath)
{
    emit sBtAddTask(handle, resource, fileId, diskSerial, saveDirId, externalPath);
    return true;
}

void TidewellDevice::oBtAddTask(TW_HANDLE handle, QString resource, int fileId,
                                QString diskSerial, int saveDirId, QString externalPath)
{
    BTAddTaskReq req;
    req.resource = resource;
    req.fileId = fileId;
    req.diskSerial = diskSerial;
    req.saveDirId = saveDirId;
    req.externalPath = externalPath;
    call(handle, req, &TidewellDevice::rBtAddTask);
}

bool TidewellDevice::btOperateTask(TW_HANDLE handle, int operate, int vType, QString downId,
                                   bool isDeleteFile)
{
    emit sBtOperateTask(handle, operate, vType, downId, isDeleteFile);
    return true;
}

void TidewellDevice::oBtOperateTask(TW_HANDLE handle, int operate, int vType, QString downId,
                                    bool isDeleteFile)
{
    call(handle, BTOperateTaskReq(operate, vType, downId, isDeleteFile),
         &TidewellDevice::rBtOperateTask);
}

bool TidewellDevice::btDeleteTask(TW_HANDLE handle, QStringList downIds, bool isDeleteFile)
{
    emit sBtDeleteTask(handle, downIds, isDeleteFile);
    return true;
}

void TidewellDevice::oBtDeleteTask(TW_HANDLE handle, QStringList downIds, bool isDeleteFile)
{
    call(handle, BTDeleteTaskReq(downIds, isDeleteFile), &TidewellDevice::rBtDeleteTask);
}
