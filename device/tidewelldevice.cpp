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
#include "protocol/copydirorfilereq.h"
#include "protocol/copyfiletopubreq.h"
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
#include "protocol/addtosafetyboxreq.h"
#include "protocol/copytoperipheralreq.h"
#include "protocol/copytosambreq.h"
#include "protocol/findsharefilereq.h"
#include "protocol/getsharefilereq.h"
#include "protocol/getshareuserandgrouplistreq.h"
#include "protocol/getshareuserlistreq.h"
#include "protocol/getusersharefilereq.h"
#include "protocol/modifydirreq.h"
#include "protocol/modifyfilereq.h"
#include "protocol/movedirorfilereq.h"
#include "protocol/mylovereq.h"
#include "protocol/relatelabelreq.h"
#include "protocol/createexternallinkreq.h"
#include "protocol/sharefiletoallreq.h"
#include "protocol/sharefiletocancelreq.h"
#include "protocol/sharefiletousersreq.h"

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
    connect(this, &TidewellDevice::sFilelist, this, &TidewellDevice::oFilelist, q);
    connect(this, &TidewellDevice::sCreateDir, this, &TidewellDevice::oCreateDir, q);
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
    connect(this, &TidewellDevice::sFileRename, this, &TidewellDevice::oFileRename, q);
    connect(this, &TidewellDevice::sDirRename, this, &TidewellDevice::oDirRename, q);
    connect(this, &TidewellDevice::sFileMove, this, &TidewellDevice::oFileMove, q);
    connect(this, &TidewellDevice::sFileMoveToSafeBox, this,
            &TidewellDevice::oFileMoveToSafeBox, q);
    connect(this, &TidewellDevice::sFileCollect, this, &TidewellDevice::oFileCollect, q);
    connect(this, &TidewellDevice::sLabelRelate, this, &TidewellDevice::oLabelRelate, q);
    connect(this, &TidewellDevice::sDiskCopyToUsb, this, &TidewellDevice::oDiskCopyToUsb, q);
    connect(this, &TidewellDevice::sDiskCopyToSamb, this, &TidewellDevice::oDiskCopyToSamb, q);
    connect(this, &TidewellDevice::sShareFileToAll, this, &TidewellDevice::oShareFileToAll, q);
    connect(this, &TidewellDevice::sShareFileToUsers, this, &TidewellDevice::oShareFileToUsers, q);
    connect(this, &TidewellDevice::sShareFileToCancel, this,
            &TidewellDevice::oShareFileToCancel, q);
    connect(this, &TidewellDevice::sCreateExternalLink, this,
            &TidewellDevice::oCreateExternalLink, q);
    connect(this, &TidewellDevice::sGetShareFile, this, &TidewellDevice::oGetShareFile, q);
    connect(this, &TidewellDevice::sGetUserShareFile, this, &TidewellDevice::oGetUserShareFile, q);
    connect(this, &TidewellDevice::sFindShareFile, this, &TidewellDevice::oFindShareFile, q);
    connect(this, &TidewellDevice::sGetShareUserList, this, &TidewellDevice::oGetShareUserList, q);
    connect(this, &TidewellDevice::sGetShareUserAndGroupList, this,
            &TidewellDevice::oGetShareUserAndGroupList, q);
    connect(this, &TidewellDevice::sCreatePubGroup, this, &TidewellDevice::oCreatePubGroup, q);
    connect(this, &TidewellDevice::sModifyPubGroupName, this,
            &TidewellDevice::oModifyPubGroupName, q);
    connect(this, &TidewellDevice::sDelPubGroup, this, &TidewellDevice::oDelPubGroup, q);
    connect(this, &TidewellDevice::sExitPubGroup, this, &TidewellDevice::oExitPubGroup, q);
    connect(this, &TidewellDevice::sEditPubGroupMember, this,
            &TidewellDevice::oEditPubGroupMember, q);
    connect(this, &TidewellDevice::sDelPubGroupMember, this,
            &TidewellDevice::oDelPubGroupMember, q);
    connect(this, &TidewellDevice::sChangePubGroupOwner, this,
            &TidewellDevice::oChangePubGroupOwner, q);
    connect(this, &TidewellDevice::sGetPubGroupList, this, &TidewellDevice::oGetPubGroupList, q);
    connect(this, &TidewellDevice::sGetPubGroupMemList, this,
            &TidewellDevice::oGetPubGroupMemList, q);
    connect(this, &TidewellDevice::sGetPubGroupDetail, this,
            &TidewellDevice::oGetPubGroupDetail, q);
    connect(this, &TidewellDevice::sModifyPubDirOrFile, this,
            &TidewellDevice::oModifyPubDirOrFile, q);
    connect(this, &TidewellDevice::sDeletePubDirOrFile, this,
            &TidewellDevice::oDeletePubDirOrFile, q);
    connect(this, &TidewellDevice::sMoviePubDirOrFile, this,
            &TidewellDevice::oMoviePubDirOrFile, q);
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
    if (mType == 0 || mType == 1) {
        // Items of the personal space (1) or shared with the user (0): the
        // device copies both with the same commands.
        if (target.diskType == 1) {
            call(handle, CopyToPeripheralReq(target.filePath, ids), &TidewellDevice::rFileCopy);
        } else if (target.diskType == 2) {
            call(handle, CopyToSambReq(target.serialNo, target.filePath, ids),
                 &TidewellDevice::rFileCopy);
        } else if (target.diskType == 3) {
            call(handle, CopyFileToPubReq(target.groupId, target.fid, target.serialNo, ids),
                 &TidewellDevice::rFileCopy);
        } else {
            call(handle, CopyDirOrFileReq(ids, target.fid, target.serialNo),
                 &TidewellDevice::rFileCopy);
        }
        return;
    }
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
    // Share lists are told the page they asked for, whatever the device
    // echoes, so that a late answer is not taken for the current page.
    callThen<GetUserShareFilesForDirResp>(GetUserShareFilesForDirReq(pageNo, pageSize, fileId, 2),
                                          [=](GetUserShareFilesForDirResp r) {
                                              r.pageNo = pageNo;
                                              emit rGetUserShareFilesForDir(handle, r);
                                          });
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
    call(handle, GetExterLinkResListReq::atOffset(shareId, offset, pageSize, isSort, condition),
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
    call(handle, GetLinkDirPathReq::atOffset(fileId, offset, pageSize, isSort, condition),
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
    const GetPubFileListReq req(groupId, fileId, keyValue, offset, pageSize, isSort, isDir,
                                condition);
    callThen<GetPubFileListResp>(req, [=](GetPubFileListResp r) {
        r.offset = offset;   // as asked, see oGetPubGroupList
        emit rGetPubFileList(handle, r);
    });
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

// Renames, moves, favourites, labels and disk copies ---------------------

bool TidewellDevice::fileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox)
{
    emit sFileRename(handle, fileId, newName, isSafeBox);
    return true;
}

void TidewellDevice::oFileRename(TW_HANDLE handle, qlonglong fileId, QString newName,
                                 bool isSafeBox)
{
    const ModifyFileReq req(fileId, newName, isSafeBox);
    callThen<ModifyFileResp>(req, [=](const ModifyFileResp& r) {
        emit rFileRename(handle, fileId, newName, isSafeBox, r);
    });
}

bool TidewellDevice::dirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox)
{
    emit sDirRename(handle, fileId, newName, isSafeBox);
    return true;
}

void TidewellDevice::oDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox)
{
    callThen<ModifyDirResp>(ModifyDirReq(fileId, newName, isSafeBox), [=](const ModifyDirResp& r) {
        emit rDirRename(handle, fileId, newName, isSafeBox, r);
    });
}

bool TidewellDevice::fileMove(TW_HANDLE handle, TwFolderInfo target, QMap<int, qint64> selection)
{
    emit sFileMove(handle, target, selection);
    return true;
}

void TidewellDevice::oFileMove(TW_HANDLE handle, TwFolderInfo target, QMap<int, qint64> selection)
{
    const MoveDirOrFileReq req(selection.values(), target.fid, target.serialNo);
    callThen<MoveDirOrFileResp>(req, [=](const MoveDirOrFileResp& r) {
        emit rFileMove(handle, r, selection);
    });
}

bool TidewellDevice::fileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection)
{
    emit sFileMoveToSafeBox(handle, selection);
    return true;
}

void TidewellDevice::oFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection)
{
    callThen<AddToSafetyBoxResp>(AddToSafetyBoxReq(selection.values()),
                                  [=](const AddToSafetyBoxResp& r) {
                                      emit rFileMoveToSafeBox(handle, selection, r);
                                  });
}

bool TidewellDevice::fileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove)
{
    if (!online("fileCollect"))
        return false;
    emit sFileCollect(handle, selection, isLove);
    return true;
}

void TidewellDevice::oFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove)
{
    callThen<MyLoveResp>(MyLoveReq(selection.values(), isLove), [=](const MyLoveResp& r) {
        emit rFileCollect(handle, selection, isLove, r);
    });
}

bool TidewellDevice::labelRelate(TW_HANDLE handle, QMap<int, qint64> selection, QList<int> labelIds)
{
    if (!online("labelRelate"))
        return false;
    emit sLabelRelate(handle, selection, labelIds);
    return true;
}

void TidewellDevice::oLabelRelate(TW_HANDLE handle, QMap<int, qint64> selection,
                                  QList<int> labelIds)
{
    callThen<RelateLabelResp>(RelateLabelReq(selection.values(), labelIds),
                               [=](const RelateLabelResp& r) {
                                   emit rLabelRelate(handle, selection, labelIds, r);
                               });
}

bool TidewellDevice::diskCopyToUsb(TW_HANDLE handle, QString path, QMap<int, qint64> ids)
{
    emit sDiskCopyToUsb(handle, path, ids);
    return true;
}

void TidewellDevice::oDiskCopyToUsb(TW_HANDLE handle, QString path, QMap<int, qint64> ids)
{
    callThen<CopyToPeripheralResp>(CopyToPeripheralReq(path, ids.values()),
                                    [=](const CopyToPeripheralResp& r) {
                                        emit rDiskCopyToUsb(handle, path, ids, r);
                                    });
}

bool TidewellDevice::diskCopyToSamb(TW_HANDLE handle, QString path, QString diskSerial,
                                    QMap<int, qint64> ids)
{
    emit sDiskCopyToSamb(handle, path, diskSerial, ids);
    return true;
}

void TidewellDevice::oDiskCopyToSamb(TW_HANDLE handle, QString path, QString diskSerial,
                                     QMap<int, qint64> ids)
{
    callThen<CopyToSambResp>(CopyToSambReq(diskSerial, path, ids.values()),
                              [=](const CopyToSambResp& r) {
                                  emit rDiskCopyToSamb(handle, diskSerial, path, ids, r);
                              });
}

// Sharing between users ----------------------------------------------------

bool TidewellDevice::shareFileToAll(TW_HANDLE handle, QList<qint64> fileIds)
{
    emit sShareFileToAll(handle, fileIds);
    return true;
}

void TidewellDevice::oShareFileToAll(TW_HANDLE handle, QList<qint64> fileIds)
{
    callThen<APIBase>(ShareFileToAllReq(fileIds), [=](const APIBase& r) {
        emit rShareFileToAll(handle, r.result, r.message);
    });
}

bool TidewellDevice::shareFileToUsers(TW_HANDLE handle, QList<qint64> fileIds,
                                      QStringList accessIds)
{
    emit sShareFileToUsers(handle, fileIds, accessIds);
    return true;
}

void TidewellDevice::oShareFileToUsers(TW_HANDLE handle, QList<qint64> fileIds,
                                       QStringList accessIds)
{
    callThen<APIBase>(ShareFileToUsersReq(fileIds, accessIds), [=](const APIBase& r) {
        emit rShareFileToUsers(handle, r.result, r.message);
    });
}

bool TidewellDevice::shareFileToCancel(TW_HANDLE handle, QList<qint64> fileIds)
{
    emit sShareFileToCancel(handle, fileIds);
    return true;
}

void TidewellDevice::oShareFileToCancel(TW_HANDLE handle, QList<qint64> fileIds)
{
    callThen<APIBase>(ShareFileToCancelReq(fileIds), [=](const APIBase& r) {
        emit rShareFileToCancel(handle, r.result, r.message);
    });
}

bool TidewellDevice::getShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort)
{
    emit sGetShareFile(handle, pageNo, condition, isSort);
    return true;
}

void TidewellDevice::oGetShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort)
{
    callThen<GetShareFileResp>(GetShareFileReq(pageNo, condition, isSort), [=](GetShareFileResp r) {
        r.pageNo = pageNo;   // as asked, see oGetUserShareFilesForDir
        emit rGetShareFile(handle, r);
    });
}

bool TidewellDevice::getUserShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort,
                                      QString accessId)
{
    emit sGetUserShareFile(handle, pageNo, condition, isSort, accessId);
    return true;
}

void TidewellDevice::oGetUserShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort,
                                       QString accessId)
{
    callThen<GetUserShareFileResp>(GetUserShareFileReq(pageNo, condition, isSort, accessId),
                                   [=](GetUserShareFileResp r) {
                                       r.pageNo = pageNo;
                                       emit rGetUserShareFile(handle, r);
                                   });
}

bool TidewellDevice::findShareFile(TW_HANDLE handle, QString keyValue, int pageNo)
{
    emit sFindShareFile(handle, keyValue, pageNo);
    return true;
}

void TidewellDevice::oFindShareFile(TW_HANDLE handle, QString keyValue, int pageNo)
{
    callThen<FindShareFileResp>(FindShareFileReq(keyValue, pageNo), [=](FindShareFileResp r) {
        r.pageNo = pageNo;
        emit rFindShareFile(handle, r);
    });
}

bool TidewellDevice::getShareUserList(TW_HANDLE handle, int pageNo, int fileType)
{
    emit sGetShareUserList(handle, pageNo, fileType);
    return true;
}

void TidewellDevice::oGetShareUserList(TW_HANDLE handle, int pageNo, int fileType)
{
    call(handle, GetShareUserListReq(pageNo, fileType), &TidewellDevice::rGetShareUserList);
}

bool TidewellDevice::getShareUserAndGroupList(TW_HANDLE handle)
{
    emit sGetShareUserAndGroupList(handle);
    return true;
}

void TidewellDevice::oGetShareUserAndGroupList(TW_HANDLE handle)
{
    call(handle, GetShareUserAndGroupListReq(), &TidewellDevice::rGetShareUserAndGroupList);
}

bool TidewellDevice::createExternalLink(TW_HANDLE handle, QList<qint64> fileIds, QString title,
                                        QString extractedCode)
{
    emit sCreateExternalLink(handle, fileIds, title, extractedCode);
    return true;
}

void TidewellDevice::oCreateExternalLink(TW_HANDLE handle, QList<qint64> fileIds, QString title,
                                         QString extractedCode)
{
    call(handle, CreateExternalLinkReq(fileIds, title, extractedCode),
         &TidewellDevice::rCreateExternalLink);
}
