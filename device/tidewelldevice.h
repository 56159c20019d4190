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
#include "protocol/apireq.h"
#include "protocol/btgettasklistresp.h"
#include "protocol/copyfilefaillistsresp.h"
#include "protocol/copyfilelistsresp.h"
#include "protocol/createpubdirresp.h"
#include "protocol/deletedirorfileresp.h"
#include "protocol/delexternallinkresp.h"
#include "protocol/getexterlinkreslistresp.h"
#include "protocol/getexternallinklistresp.h"
#include "protocol/getmediafilegroupresp.h"
#include "protocol/getpubfilelistresp.h"
#include "protocol/getusersharefilesfordirresp.h"

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

signals:
    void sg_showLoading();
    void sg_cancelLading();
    void sg_notifyStatus(int code, QString message, int level);

    void sAddDownFiles(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items, int fileType);
    void sAddDownUsbFiles(TW_HANDLE handle, QString savePath, QList<LocalFileInfo> items,
                          int diskKind);
    void rAddDownFiles(TW_HANDLE handle, bool rs);

    void sFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, bool isForce);
    void rFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, DeleteDirOrFileResp resp);
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

private:
    Tidewell* m_owner;
    QThread* m_thread;
    Executer m_exec;
    int m_timeout;
    DownFilesFn m_downFiles;
    DownUsbFilesFn m_downUsbFiles;
};
