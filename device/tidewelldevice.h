#pragma once

#include <functional>

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

#include "core/common.h"
#include "core/deviceinfo.h"
#include "core/executer.h"
#include "core/localfileinfo.h"
#include "core/networkshare.h"
#include "core/tidewell.h"
#include "core/twfileinfo.h"
#include "core/twfolderinfo.h"
#include "core/twhandle.h"
#include "core/userinfo.h"
#include "protocol/apibase.h"
#include "protocol/createdirresp.h"
#include "protocol/dirpathresp.h"
#include "protocol/apireq.h"
#include "protocol/btgettasklistresp.h"
#include "protocol/copyfilefaillistsresp.h"
#include "protocol/copyfilelistsresp.h"
#include "protocol/createexternallinkresp.h"
#include "protocol/createpubdirresp.h"
#include "protocol/deletedirorfileresp.h"
#include "protocol/delexternallinkresp.h"
#include "protocol/getexterlinkreslistresp.h"
#include "protocol/getexternallinklistresp.h"
#include "protocol/getmediafilegroupresp.h"
#include "protocol/getpubfilelistresp.h"
#include "protocol/getusersharefilesfordirresp.h"
#include "core/pubgroupinfo.h"
#include "core/pubgroupmember.h"
#include "protocol/addtosafetyboxresp.h"
#include "protocol/copytoperipheralresp.h"
#include "protocol/copytosambresp.h"
#include "protocol/createpubgroupresp.h"
#include "protocol/findsharefileresp.h"
#include "protocol/getpubgroupdetailresp.h"
#include "protocol/getpubgrouplistresp.h"
#include "protocol/getpubgroupmemlistresp.h"
#include "protocol/getsharefileresp.h"
#include "protocol/getshareuserandgrouplistresp.h"
#include "protocol/getshareuserlistresp.h"
#include "protocol/getusersharefileresp.h"
#include "protocol/modifydirresp.h"
#include "protocol/modifyfileresp.h"
#include "protocol/movedirorfileresp.h"
#include "protocol/myloveresp.h"
#include "protocol/relatelabelresp.h"

class QThread;

// The device request facade of one tab. Every operation comes in three: the
// public operation emits its request signal (s…) with the caller's handle,
// the worker slot (o…) runs on the facade's own thread and hands the body to
// the pool, and the body sends the command through the owner's session and
// emits the reply signal (r…) with the same handle. Replies reach models on
// the GUI thread queued.
class TidewellDevice : public QObject
{
    Q_OBJECT
public:
    // Download hand-overs go to the tab's download manager through these. A
    // handler that accepts the items (returns true) answers rAddDownFiles
    // itself, typically through the manager's own rAddDownFiles signal.
    using DownFilesFn = std::function<bool(TW_HANDLE, const QString& savePath,
                                           const QList<TwFileInfo>& items, int fileType)>;
    using DownUsbFilesFn = std::function<bool(TW_HANDLE, const QString& savePath,
                                              const QList<LocalFileInfo>& items, int diskKind)>;

    // No Qt parent: the facade moves itself onto its own thread.
    explicit TidewellDevice(Tidewell* owner = nullptr);
    ~TidewellDevice() override;

    Tidewell* owner() const { return m_owner; }
    void setDownFilesHandler(DownFilesFn fn);
    void setDownUsbFilesHandler(DownUsbFilesFn fn);
    // Seconds a device command may take (30 by default).
    void setTimeout(int seconds) { m_timeout = seconds; }
    // Waits for every running body; used on shutdown and by tests.
    bool waitForDone(int msecs = -1) { return m_exec.waitForDone(msecs); }

    DeviceInfo deviceInfo() const;
    UserInfo userInfo() const;
    Q_INVOKABLE void showLoading();
    Q_INVOKABLE void cancelLading();
    void notifyStatus(int code, const QString& message, int level);

    // Download hand-overs, answered by rAddDownFiles.
    virtual bool addDownFiles(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items,
                              int fileType);
    virtual bool addDownFilesPlain(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items);
    virtual bool addDownUsbFiles(TW_HANDLE handle, QString savePath, QList<LocalFileInfo> items,
                                 int diskKind);

    // Personal space and media.
    bool fileDelete(TW_HANDLE handle, QMap<int, qint64> selection, bool isForce);
    // A page of a personal-space folder (command "getDirPath"); a new folder in it.
    bool filelist(TW_HANDLE handle, qint64 folderId, QString diskSerial, int offset, int pageSize,
                  bool isSort, int condition);
    bool createDir(TW_HANDLE handle, qint64 parentId, QString diskSerial, QString dirName);
    bool mediaFilelist(TW_HANDLE handle, Common::FileType type, int page, int pageSize,
                       int dateType, bool isSort);
    bool fileCopy(TW_HANDLE handle, int mType, TwFolderInfo target, int groupId,
                  QMap<int, qint64> fileIds, QStringList fileNames);
    bool getUserShareFilesForDir(TW_HANDLE handle, int pageNo, int pageSize, qint64 fileId);

    // External links created on this device, and the contents of a link.
    bool getExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                        int queryType);
    bool delExternalLink(TW_HANDLE handle, QList<qint64> exterLinkIds);
    bool getExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                             bool isSort, int condition, QString shareId);
    bool getLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                        bool isSort, int condition, int fileId);

    // Public space.
    bool getPubFileList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                        int groupId, qint64 fileId, bool isDir, QString keyValue);
    bool createPubDir(TW_HANDLE handle, int groupId, int parentId, QString dirName,
                      QString diskSerial, bool backNewName);

    // The device's own copy and download tasks.
    bool copyFileLists(TW_HANDLE handle, int pageNo, int pageSize);
    bool cleanCopyFileLists(TW_HANDLE handle, int operationType);
    bool copyFileFailLists(TW_HANDLE handle, int pageNo, int pageSize);
    bool retryCopyTask(TW_HANDLE handle, QMap<int, qint64> selectItems);
    bool deleteCopyFailLists(TW_HANDLE handle, QMap<int, qint64> selectItems);
    bool btGetTaskList(TW_HANDLE handle, int vType, int pageNo, int pageSize);
    bool btAddTask(TW_HANDLE handle, QString resource, int fileId, QString diskSerial,
                   int saveDirId, QString externalPath);
    bool btOperateTask(TW_HANDLE handle, int operate, int vType, QString downId,
                       bool isDeleteFile);
    bool btDeleteTask(TW_HANDLE handle, QStringList downIds, bool isDeleteFile);

    // Renames, moves, favourites, labels and disk copies of personal items.
    bool fileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox);
    bool dirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox);
    bool fileMove(TW_HANDLE handle, TwFolderInfo target, QMap<int, qint64> selection);
    bool fileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection);
    bool fileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove);
    bool labelRelate(TW_HANDLE handle, QMap<int, qint64> selection, QList<int> labelIds);
    bool diskCopyToUsb(TW_HANDLE handle, QString path, QMap<int, qint64> ids);
    bool diskCopyToSamb(TW_HANDLE handle, QString path, QString diskSerial, QMap<int, qint64> ids);

    // Sharing between users of the device.
    bool shareFileToAll(TW_HANDLE handle, QList<qint64> fileIds);
    bool shareFileToUsers(TW_HANDLE handle, QList<qint64> fileIds, QStringList accessIds);
    bool shareFileToCancel(TW_HANDLE handle, QList<qint64> fileIds);
    // An external link for the files ("createExternalLink").
    bool createExternalLink(TW_HANDLE handle, QList<qint64> fileIds, QString title,
                            QString extractedCode);
    bool getShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort);
    bool getUserShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort,
                          QString accessId);
    bool findShareFile(TW_HANDLE handle, QString keyValue, int pageNo);
    bool getShareUserList(TW_HANDLE handle, int pageNo, int fileType);
    bool getShareUserAndGroupList(TW_HANDLE handle);

    // Public groups and their members.
    bool createPubGroup(TW_HANDLE handle, QString name, QString diskSerial);
    bool modifyPubGroupName(TW_HANDLE handle, int gId, QString name);
    bool delPubGroup(TW_HANDLE handle, QList<int> gIds);
    bool exitPubGroup(TW_HANDLE handle, int gId, QString accessId);
    bool editPubGroupMember(TW_HANDLE handle, int gId, int memberAuth, QStringList accessIds);
    bool delPubGroupMember(TW_HANDLE handle, int gId, QStringList accessIds);
    bool changePubGroupOwner(TW_HANDLE handle, int gId, QString fromUser, QString toUser);
    bool getPubGroupList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                         int queryType);
    bool getPubGroupMemList(TW_HANDLE handle, int offset, int pageSize, int type, int groupId);
    bool getPubGroupDetail(TW_HANDLE handle, int groupId);

    // Files of a public group.
    bool modifyPubDirOrFile(TW_HANDLE handle, int groupId, qint64 fileId, QString newFileName);
    bool deletePubDirOrFile(TW_HANDLE handle, int groupId, QList<qint64> fileIds);
    bool moviePubDirOrFile(TW_HANDLE handle, int groupId, qint64 targetId,
                           QList<qint64> movieFileIds);

signals:
    void sg_showLoading();
    void sg_cancelLading();
    void sg_notifyStatus(int code, QString message, int level);

    void sAddDownFiles(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items, int fileType);
    void sAddDownUsbFiles(TW_HANDLE handle, QString savePath, QList<LocalFileInfo> items,
                          int diskKind);
    void rAddDownFiles(TW_HANDLE handle, bool rs);
    // Before rAddDownFiles: the items were in the download queue already.
    void rAddDownAgain(TW_HANDLE handle);

    void sFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, bool isForce);
    void rFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, DeleteDirOrFileResp resp);
    void sFilelist(TW_HANDLE handle, qint64 folderId, QString diskSerial, int offset, int pageSize,
                   bool isSort, int condition);
    void rFilelist(TW_HANDLE handle, DirPathResp resp);
    void sCreateDir(TW_HANDLE handle, qint64 parentId, QString diskSerial, QString dirName);
    void rCreateDir(TW_HANDLE handle, CreateDirResp resp, QString dirName);
    void sMediaFilelist(TW_HANDLE handle, int type, int page, int pageSize, int dateType,
                        bool isSort);
    void rMediaFilelist(TW_HANDLE handle, GetMediaFileGroupResp resp);
    void sFileCopy(TW_HANDLE handle, int mType, TwFolderInfo target, int groupId,
                   QMap<int, qint64> fileIds, QStringList fileNames);
    void rFileCopy(TW_HANDLE handle, APIBase resp);
    void sGetUserShareFilesForDir(TW_HANDLE handle, int pageNo, int pageSize, qint64 fileId);
    void rGetUserShareFilesForDir(TW_HANDLE handle, GetUserShareFilesForDirResp resp);

    void sGetExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                         int queryType);
    void rGetExtlinkList(TW_HANDLE handle, GetExternalLinkListResp resp);
    void sDelExternalLink(TW_HANDLE handle, QList<qint64> exterLinkIds);
    void rDelExternalLink(TW_HANDLE handle, DelExternalLinkResp resp);
    void sGetExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                              bool isSort, int condition, QString shareId);
    void sGetLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                         bool isSort, int condition, int fileId);
    void rGetExterLinkResList(TW_HANDLE handle, GetExterLinkResListResp resp);

    void sGetPubFileList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                         int groupId, qint64 fileId, bool isDir, QString keyValue);
    void rGetPubFileList(TW_HANDLE handle, GetPubFileListResp resp);
    void sCreatePubDir(TW_HANDLE handle, int groupId, int parentId, QString dirName,
                       QString diskSerial, bool backNewName);
    void rCreatePubDir(TW_HANDLE handle, CreatePubDirResp resp);

    void sCopyFileLists(TW_HANDLE handle, int pageNo, int pageSize);
    void rCopyFileLists(TW_HANDLE handle, CopyFileListsResp respData);
    void sCleanCopyFileLists(TW_HANDLE handle, int operationType);
    void rCleanCopyFileLists(TW_HANDLE handle, APIBase respData);
    void sCopyFileFailLists(TW_HANDLE handle, int pageNo, int pageSize);
    void rCopyFileFailLists(TW_HANDLE handle, CopyFileFailListsResp respData);
    void sRetryCopyTask(TW_HANDLE handle, QMap<int, qint64> selectItems);
    void rRetryCopyTask(TW_HANDLE handle, APIBase respData, QMap<int, qint64> selectItems);
    void sDeleteCopyFailLists(TW_HANDLE handle, QMap<int, qint64> selectItems);
    void rDeleteCopyFailLists(TW_HANDLE handle, APIBase respData, QMap<int, qint64> selectItems);
    void sBtGetTaskList(TW_HANDLE handle, int vType, int pageNo, int pageSize);
    void rBtGetTaskList(TW_HANDLE handle, BTGetTaskListResp dataRsp);
    void sBtAddTask(TW_HANDLE handle, QString resource, int fileId, QString diskSerial,
                    int saveDirId, QString externalPath);
    void rBtAddTask(TW_HANDLE handle, APIBase dataRsp);
    void sBtOperateTask(TW_HANDLE handle, int operate, int vType, QString downId,
                        bool isDeleteFile);
    void rBtOperateTask(TW_HANDLE handle, APIBase respData);
    void sBtDeleteTask(TW_HANDLE handle, QStringList downIds, bool isDeleteFile);
    void rBtDeleteTask(TW_HANDLE handle, APIBase dataRsp);

    void sFileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox);
    void rFileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                     ModifyFileResp resp);
    void sDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox);
    void rDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                    ModifyDirResp resp);
    void sFileMove(TW_HANDLE handle, TwFolderInfo target, QMap<int, qint64> selection);
    void rFileMove(TW_HANDLE handle, MoveDirOrFileResp resp, QMap<int, qint64> selection);
    void sFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection);
    void rFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection, AddToSafetyBoxResp resp);
    void sFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove);
    void rFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove, MyLoveResp resp);
    void sLabelRelate(TW_HANDLE handle, QMap<int, qint64> selection, QList<int> labelIds);
    void rLabelRelate(TW_HANDLE handle, QMap<int, qint64> selection, QList<int> labelIds,
                      RelateLabelResp resp);
    void sDiskCopyToUsb(TW_HANDLE handle, QString path, QMap<int, qint64> ids);
    void rDiskCopyToUsb(TW_HANDLE handle, QString path, QMap<int, qint64> ids,
                        CopyToPeripheralResp resp);
    void sDiskCopyToSamb(TW_HANDLE handle, QString path, QString diskSerial, QMap<int, qint64> ids);
    void rDiskCopyToSamb(TW_HANDLE handle, QString diskSerial, QString path, QMap<int, qint64> ids,
                         CopyToSambResp resp);

    void sShareFileToAll(TW_HANDLE handle, QList<qint64> fileIds);
    void rShareFileToAll(TW_HANDLE handle, int code, QString message);
    void sShareFileToUsers(TW_HANDLE handle, QList<qint64> fileIds, QStringList accessIds);
    void rShareFileToUsers(TW_HANDLE handle, int code, QString message);
    void sShareFileToCancel(TW_HANDLE handle, QList<qint64> fileIds);
    void rShareFileToCancel(TW_HANDLE handle, int code, QString message);
    void sCreateExternalLink(TW_HANDLE handle, QList<qint64> fileIds, QString title,
                             QString extractedCode);
    void rCreateExternalLink(TW_HANDLE handle, CreateExternalLinkResp resp);
    void sGetShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort);
    void rGetShareFile(TW_HANDLE handle, GetShareFileResp resp);
    void sGetUserShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort,
                           QString accessId);
    void rGetUserShareFile(TW_HANDLE handle, GetUserShareFileResp resp);
    void sFindShareFile(TW_HANDLE handle, QString keyValue, int pageNo);
    void rFindShareFile(TW_HANDLE handle, FindShareFileResp resp);
    void sGetShareUserList(TW_HANDLE handle, int pageNo, int fileType);
    void rGetShareUserList(TW_HANDLE handle, GetShareUserListResp resp);
    void sGetShareUserAndGroupList(TW_HANDLE handle);
    void rGetShareUserAndGroupList(TW_HANDLE handle, GetShareUserAndGroupListResp resp);

    void sCreatePubGroup(TW_HANDLE handle, QString name, QString diskSerial);
    void rCreatePubGroup(TW_HANDLE handle, CreatePubGroupResp resp);
    void sModifyPubGroupName(TW_HANDLE handle, int gId, QString name);
    void rModifyPubGroupName(TW_HANDLE handle, APIBase resp, QString name);
    void sDelPubGroup(TW_HANDLE handle, QList<int> gIds);
    void rDelPubGroup(TW_HANDLE handle, APIBase resp);
    void sExitPubGroup(TW_HANDLE handle, int gId, QString accessId);
    void rExitPubGroup(TW_HANDLE handle, APIBase resp);
    void sEditPubGroupMember(TW_HANDLE handle, int gId, int memberAuth, QStringList accessIds);
    void rEditPubGroupMember(TW_HANDLE handle, APIBase resp, int memberAuth);
    void sDelPubGroupMember(TW_HANDLE handle, int gId, QStringList accessIds);
    void rDelPubGroupMember(TW_HANDLE handle, APIBase resp);
    void sChangePubGroupOwner(TW_HANDLE handle, int gId, QString fromUser, QString toUser);
    void rChangePubGroupOwner(TW_HANDLE handle, APIBase resp);
    void sGetPubGroupList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                          int queryType);
    void rGetPubGroupList(TW_HANDLE handle, GetPubGroupListResp resp);
    void sGetPubGroupMemList(TW_HANDLE handle, int offset, int pageSize, int type, int groupId);
    void rGetPubGroupMemList(TW_HANDLE handle, GetPubGroupMemListResp resp);
    void sGetPubGroupDetail(TW_HANDLE handle, int groupId);
    void rGetPubGroupDetail(TW_HANDLE handle, GetPubGroupDetailResp resp);

    void sModifyPubDirOrFile(TW_HANDLE handle, int groupId, qint64 fileId, QString newFileName);
    void rModifyPubDirOrFile(TW_HANDLE handle, APIBase resp, QString newFileName);
    void sDeletePubDirOrFile(TW_HANDLE handle, int groupId, QList<qint64> fileIds);
    void rDeletePubDirOrFile(TW_HANDLE handle, APIBase resp);
    void sMoviePubDirOrFile(TW_HANDLE handle, int groupId, qint64 targetId,
                            QList<qint64> movieFileIds);
    void rMoviePubDirOrFile(TW_HANDLE handle, APIBase resp, QList<qint64> rmFileIds);

protected:
    // Sends req through the owner's session (share names an external link's
    // session at application level); an owner without a live session gives
    // -1 "Network Error" without sending.
    bool send(const APIReq& req, APIBase& resp, const NetworkShare& share = NetworkShare());

    // Runs body on the pool.
    void run(std::function<void()> body) { m_exec.execute(std::move(body)); }

    // The common shape of a body: send req, emit reply(handle, resp).
    template <typename Resp, typename Req>
    void call(TW_HANDLE handle, const Req& req, void (TidewellDevice::*reply)(TW_HANDLE, Resp))
    {
        run([this, handle, req, reply] {
            Resp resp;
            send(req, resp);
            emit(this->*reply)(handle, resp);
        });
    }

    // As call, for replies that carry more than the answer: emitReply(resp)
    // emits the reply signal with whatever else the request hands back.
    template <typename Resp, typename Req, typename Fn>
    void callThen(const Req& req, Fn emitReply)
    {
        run([this, req, emitReply] {
            Resp resp;
            send(req, resp);
            emitReply(resp);
        });
    }

    // False (logged) when the owner has no live session.
    bool online(const char* op);

private slots:
    void oAddDownFiles(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items, int fileType);
    void oAddDownUsbFiles(TW_HANDLE handle, QString savePath, QList<LocalFileInfo> items,
                          int diskKind);
    void oFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, bool isForce);
    void oMediaFilelist(TW_HANDLE handle, int type, int page, int pageSize, int dateType,
                        bool isSort);
    void oFileCopy(TW_HANDLE handle, int mType, TwFolderInfo target, int groupId,
                   QMap<int, qint64> fileIds, QStringList fileNames);
    void oGetUserShareFilesForDir(TW_HANDLE handle, int pageNo, int pageSize, qint64 fileId);
    void oGetExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                         int queryType);
    void oDelExternalLink(TW_HANDLE handle, QList<qint64> exterLinkIds);
    void oGetExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                              bool isSort, int condition, QString shareId);
    void oGetLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                         bool isSort, int condition, int fileId);
    void oGetPubFileList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                         int groupId, qint64 fileId, bool isDir, QString keyValue);
    void oFilelist(TW_HANDLE handle, qint64 folderId, QString diskSerial, int offset, int pageSize,
                   bool isSort, int condition);
    void oCreateDir(TW_HANDLE handle, qint64 parentId, QString diskSerial, QString dirName);
    void oCreatePubDir(TW_HANDLE handle, int groupId, int parentId, QString dirName,
                       QString diskSerial, bool backNewName);
    void oCopyFileLists(TW_HANDLE handle, int pageNo, int pageSize);
    void oCleanCopyFileLists(TW_HANDLE handle, int operationType);
    void oCopyFileFailLists(TW_HANDLE handle, int pageNo, int pageSize);
    void oRetryCopyTask(TW_HANDLE handle, QMap<int, qint64> selectItems);
    void oDeleteCopyFailLists(TW_HANDLE handle, QMap<int, qint64> selectItems);
    void oBtGetTaskList(TW_HANDLE handle, int vType, int pageNo, int pageSize);
    void oBtAddTask(TW_HANDLE handle, QString resource, int fileId, QString diskSerial,
                    int saveDirId, QString externalPath);
    void oBtOperateTask(TW_HANDLE handle, int operate, int vType, QString downId,
                        bool isDeleteFile);
    void oBtDeleteTask(TW_HANDLE handle, QStringList downIds, bool isDeleteFile);
    void oFileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox);
    void oDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox);
    void oFileMove(TW_HANDLE handle, TwFolderInfo target, QMap<int, qint64> selection);
    void oFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection);
    void oFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove);
    void oLabelRelate(TW_HANDLE handle, QMap<int, qint64> selection, QList<int> labelIds);
    void oDiskCopyToUsb(TW_HANDLE handle, QString path, QMap<int, qint64> ids);
    void oDiskCopyToSamb(TW_HANDLE handle, QString path, QString diskSerial, QMap<int, qint64> ids);
    void oShareFileToAll(TW_HANDLE handle, QList<qint64> fileIds);
    void oShareFileToUsers(TW_HANDLE handle, QList<qint64> fileIds, QStringList accessIds);
    void oShareFileToCancel(TW_HANDLE handle, QList<qint64> fileIds);
    void oCreateExternalLink(TW_HANDLE handle, QList<qint64> fileIds, QString title,
                             QString extractedCode);
    void oGetShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort);
    void oGetUserShareFile(TW_HANDLE handle, int pageNo, int condition, bool isSort,
                           QString accessId);
    void oFindShareFile(TW_HANDLE handle, QString keyValue, int pageNo);
    void oGetShareUserList(TW_HANDLE handle, int pageNo, int fileType);
    void oGetShareUserAndGroupList(TW_HANDLE handle);
    void oCreatePubGroup(TW_HANDLE handle, QString name, QString diskSerial);
    void oModifyPubGroupName(TW_HANDLE handle, int gId, QString name);
    void oDelPubGroup(TW_HANDLE handle, QList<int> gIds);
    void oExitPubGroup(TW_HANDLE handle, int gId, QString accessId);
    void oEditPubGroupMember(TW_HANDLE handle, int gId, int memberAuth, QStringList accessIds);
    void oDelPubGroupMember(TW_HANDLE handle, int gId, QStringList accessIds);
    void oChangePubGroupOwner(TW_HANDLE handle, int gId, QString fromUser, QString toUser);
    void oGetPubGroupList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                          int queryType);
    void oGetPubGroupMemList(TW_HANDLE handle, int offset, int pageSize, int type, int groupId);
    void oGetPubGroupDetail(TW_HANDLE handle, int groupId);
    void oModifyPubDirOrFile(TW_HANDLE handle, int groupId, qint64 fileId, QString newFileName);
    void oDeletePubDirOrFile(TW_HANDLE handle, int groupId, QList<qint64> fileIds);
    void oMoviePubDirOrFile(TW_HANDLE handle, int groupId, qint64 targetId,
                            QList<qint64> movieFileIds);

private:
    Tidewell* m_owner;
    QThread* m_thread;
    Executer m_exec;
    int m_timeout;
    DownFilesFn m_downFiles;
    DownUsbFilesFn m_downUsbFiles;
};
