#pragma once

#include <memory>

#include <QFileInfoList>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/deviceinfo.h"
#include "core/downfileinfo.h"
#include "core/extlink.h"
#include "core/finishfileinfo.h"
#include "core/uploadfileinfo.h"

class QSqlDatabase;

// The SQLite store of transfers and links ("larkvault.db"). Every call runs
// synchronously on the caller's thread. A connection belongs to the thread
// that opened it, so each instance opens its own, uniquely named connection
// per calling thread, lazily, and closes it when that thread finishes or the
// instance goes away. Operations of more than one statement run in one
// transaction. File states: 1 running, 2 waiting, 3 paused, 4 failed,
// 5 finished.
class DBHelp
{
public:
    // Who uses the instance; only a label for its connections.
    enum Kind { App = 0, Upload = 1, Download = 2 };

    // path empty: getAppDataPath() + "larkvault.db".
    explicit DBHelp(int kind = App, const QString& path = QString());
    ~DBHelp();
    DBHelp(const DBHelp&) = delete;
    DBHelp& operator=(const DBHelp&) = delete;

    int kind() const { return m_kind; }
    QString filePath() const;

    // Downloads. add* set rec.createTime and rec.fId (and pId of a top entry).
    bool addDownFile(DownFileInfo& rec);
    // The entry with its first sub-rows (their pId set to the entry's fId), in
    // one transaction.
    bool addDownFile(DownFileInfo& rec, QList<DownFileInfo>& subs);
    bool addDownSubFile(DownFileInfo& rec);
    bool addDownSubFiles(QList<DownFileInfo>& recs);
    // Stores recs and deletes the sub-row `done` stands for, in one transaction.
    bool replaceDownSubFile(const DownFileInfo& done, QList<DownFileInfo>& recs);
    bool getDownFileFid(const DownFileInfo& rec, int& fId);
    // Same file id, disk path, account, device and link (files of two links
    // share the application-level device and may share ids).
    bool hasDownFile(DownFileInfo& rec);
    bool getTopDownFileList(const DeviceInfo& device, QList<DownFileInfo>& out);
    // The oldest running, waiting or paused sub-rows, at most `limit`.
    bool getTopDwonSubFileList(const DownFileInfo& folder, QList<DownFileInfo>& out, int limit = 2);
    bool haspDwonSubFileList(const DownFileInfo& folder, QList<DownFileInfo>& out);
    bool getDownFileList(int pageIndex, int pageSize, const DeviceInfo& device,
                         QList<DownFileInfo>& out);
    bool getDownFileList(int pageIndex, int pageSize, const QString& accessId,
                         const QString& deviceId, QList<DownFileInfo>& out);
    bool getDownFileTotalNum(const DeviceInfo& device, int& num);
    bool getDownFileTotalNum(const QString& accessId, const QString& deviceId, int& num);
    bool getDownFileWidthFId(int fId, DownFileInfo& out);
    int getDownSubFileNum(int fId);
    bool getDownFailFileList(int pageIndex, int pageSize, const DownFileInfo& parent,
                             QList<DownFileInfo>& list);
    // 1: only paused/failed rows; 2: paused/failed and running/waiting rows
    // (also when a statement fails); 0 otherwise.
    bool getDownFileState(const QString& accessId, const QString& deviceId, int& state);
    bool updateDownFileStatus(const DownFileInfo& rec, bool onlyItem);
    bool updateDownFileItemStatus(const DownFileInfo& rec);
    // The writes of updateDownFileStatus, only kept: they go to the file in
    // one transaction, in their order, before the next operation of this
    // instance on the calling thread, or at writeDeferred(). Other
    // connections see them only then. A finished top entry is written at once.
    bool deferDownFileStatus(const DownFileInfo& rec, bool onlyItem);
    // Writes the calling thread's deferred writes; false when writing any of
    // them (also ahead of another operation) failed since the last call.
    bool writeDeferred();
    bool updateDownFileSaveName(int fId, const QString& name);
    bool deleteDownFile(const DownFileInfo& rec);
    bool deleteAllDownFile(const DeviceInfo& device);
    bool pauseAllDownFile(const DeviceInfo& device);
    bool startAllDownFile(const DeviceInfo& device);

    // Uploads. addUploadFile sets createTime, uId and fId of each record and
    // stores a folder's local contents as sub-rows, all in one transaction.
    bool addUploadFile(QList<UploadFileInfo>& list);
    bool addUploadSubFile(const UploadFileInfo& folder);
    // Local folder contents, recursively: hidden entries included, names in
    // reverse order, folders behind symbolic links listed but not entered.
    static void getFolderSubFiles(const QString& dir, QFileInfoList& out);
    bool hasUploadFileWithFilePath(const QStringList& paths, const QString& accessId,
                                   const QString& deviceId);
    bool hasFinishFileWithFilePath(const QStringList& paths, const QString& accessId,
                                   const QString& deviceId);
    bool getTopUploadFileList(const QString& accessId, const QString& deviceId,
                              QList<UploadFileInfo>& out);
    bool getTopUploadSubFileList(const UploadFileInfo& folder, QList<UploadFileInfo>& out);
    bool hasUploadSubFileList(const UploadFileInfo& folder, QList<UploadFileInfo>& out);
    bool getUploadFileList(int pageIndex, int pageSize, const QString& accessId,
                           const QString& deviceId, QList<UploadFileInfo>& list);
    bool getUploadFileTotalNum(const QString& accessId, const QString& deviceId, int& num);
    bool getUploadFileWidthFId(int fId, UploadFileInfo& out);
    int getUploadSubFileNum(int fId);
    bool getUploadFailFileList(int pageIndex, int pageSize, const UploadFileInfo& parent,
                               QList<UploadFileInfo>& list);
    bool getUpFileState(const QString& accessId, const QString& deviceId, int& state);
    bool updateUploadFileStatus(const UploadFileInfo& rec, bool onlyItem);
    bool updateUploadFileItemStatus(const UploadFileInfo& rec);
    bool updateUploadFileMd5(int fId, const QString& md5, bool isSubItem);
    bool updateUploadFilePDirOrPPath(int fId, int pDirId, const QString& pExternalPath);
    bool updateUploadFileTaskId(int fId, const QString& taskId);
    bool updateUploadSubFileTaskId(int fId, const QString& taskId);
    bool deleteUploadFile(const UploadFileInfo& rec);
    bool deleteAllUploadFile(const QString& accessId, const QString& deviceId);
    bool updateAllUploadFileStatus(bool start, const QString& accessId, const QString& deviceId);
    bool startAllUploadFile(const QString& accessId, const QString& deviceId);
    bool pauseAllUploadFile(const QString& accessId, const QString& deviceId);

    // Finished transfers.
    bool getFinishFileList(int pageIndex, int pageSize, const QString& accessId,
                           const QString& deviceId, QList<FinishFileInfo>& list);
    bool getFinishFileTotalNum(const QString& accessId, const QString& deviceId, int& num);
    bool deleteFinishFiles(const QList<FinishFileInfo>& list);
    bool deleteAllFinishFile(const QString& accessId, const QString& deviceId);

    // Stored external links. addExtlink gives the new row id through oid.
    bool addExtlink(const Extlink& link, const QString& accessId, const QString& deviceId,
                    qint64* oid = nullptr);
    bool existExtlink(const QString& accessId, const QString& deviceId, const QString& url);
    // Pages by the links' creation time, newest first unless oldestFirst.
    bool getExtlinkList(const QString& accessId, const QString& deviceId, int status,
                        int offset, int count, QList<Extlink>& out, bool oldestFirst = false);
    bool removeExtlink(qint64 oid);

private:
    struct State;

    QSqlDatabase db();

    int m_kind;
    std::shared_ptr<State> m_state;
};
