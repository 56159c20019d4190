#pragma once

#include <atomic>

#include <QHash>
#include <QList>
#include <QPair>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QUrl>

#include "core/twfolderinfo.h"
#include "core/uploadfileinfo.h"

class DBHelp;
class LVUploadTask;
class QThread;
class Tidewell;
namespace sdk { namespace plugins { class tidewell_network_sdk; } }

// The upload queue of one device tab: stores dropped files and folders as
// upload entries, asks before a path is uploaded again, runs up to three
// uploads at once on the local network (else one), walks folder entries file
// by file and reports every change through its r-signals. Lives on a thread
// of its own; requests arrive as its s-signals.
class LVUploadManager : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxNameLength = 200;
    static constexpr int kMaxLanTasks = 3;
    // Rounds of device-proposed names tried when creating an uploaded folder.
    static constexpr int kMaxNameRounds = 10;

    explicit LVUploadManager(QObject* parent = nullptr);
    ~LVUploadManager() override;

    bool init(Tidewell* owner);
    bool addUpFiles(TwFolderInfo folder, QList<QUrl> paths, bool isForce);
    void start();
    // Runs on the caller's thread: stops every task without waiting.
    void stopAll();
    void allStart();
    void allPause();
    void allDelete();
    void startUpFile(UploadFileInfo fInfo);
    void pauseUpFile(UploadFileInfo fInfo);
    void deleteFile(UploadFileInfo fInfo);
    void startUpFiles(QList<UploadFileInfo> list);
    void pauseUpFiles(QList<UploadFileInfo> list);
    void deleteUpFiles(QList<UploadFileInfo> list);
    void getTotalNum();
    int totalNum() const { return m_total; }
    bool isRun() const { return m_running; }
    bool hasFinishedFile() const { return m_finished; }

    // For the tasks (any thread): makes the folder chain of a folder's
    // sub-entry on the device. dirId/path come in as the parent folder the
    // manager gave the task and go out as the deepest folder made.
    bool createRemoteFolder(UploadFileInfo record, int& dirId, QString& path, int& code);
    // For the library's threads: stores the device's task id of a running
    // entry or folder file, before its data is sent.
    bool keepTaskId(const UploadFileInfo& record, const QString& taskId);
    // Run inside device_online, under the folder lock.
    bool createDirOnDevice(sdk::plugins::tidewell_network_sdk* net, UploadFileInfo folder,
                           int& code, int& dirId);
    bool createDirsOnDevice(sdk::plugins::tidewell_network_sdk* net, UploadFileInfo record,
                            QStringList folderNames, int& dirId, int& code);
    bool createUpFolder(sdk::plugins::tidewell_network_sdk* net, UploadFileInfo record,
                        QString& path, int& code);

    // Folder names between base and the local folder of record; false when
    // the record does not lie below base.
    static bool relativeFolderNames(const UploadFileInfo& record, const QString& base,
                                    QStringList& names);

signals:
    void sStart();
    void rStart();
    void sStop();
    void rStop();
    void sAllStart();
    void sAllPause();
    void sAllDelete();
    void sStartUpFiles(QList<UploadFileInfo> list);
    void sPauseUpFiles(QList<UploadFileInfo> list);
    void sDeleteUpFiles(QList<UploadFileInfo> list);
    void sStartUpFile(UploadFileInfo fInfo);
    void sPauseUpFile(UploadFileInfo fInfo);
    void sDeleteFile(UploadFileInfo fInfo);
    void sGetTotalNum();
    void rGetTotalNum(bool rs, int num);
    void sUpFileList(int pageIndex, int pageSize);
    void rUpFileList(int rs, QList<UploadFileInfo> files);
    void sAddUpFiles(TwFolderInfo fInfo, QList<QUrl> paths, bool isForce);
    void rAddUpFiles(bool rs);
    void rAddUpFiles2(TwFolderInfo fInfo, QList<QUrl> paths, bool isUp);
    void rUploadStart(UploadFileInfo fInfo);
    void rUploadProgress(UploadFileInfo fInfo);
    void rUploadFinish(UploadFileInfo fInfo);
    void rUploadPause(UploadFileInfo fInfo);
    void rUploadError(UploadFileInfo fInfo);
    void sNextFile();

public slots:
    void oStart();
    void oStop();
    void oAllStart();
    void oAllPause();
    void oAllDelete();
    void oStartUpFiles(QList<UploadFileInfo> list);
    void oPauseUpFiles(QList<UploadFileInfo> list);
    void oDeleteUpFiles(QList<UploadFileInfo> list);
    void oStartUpFile(UploadFileInfo fInfo);
    void oPauseUpFile(UploadFileInfo fInfo);
    void oDeleteFile(UploadFileInfo fInfo);
    void oGetTotalNum();
    void oUpFileList(int pageIndex, int pageSize);
    void oAddUpFiles(TwFolderInfo fInfo, QList<QUrl> paths, bool isForce);
    void onAddUpFiles(TwFolderInfo fInfo, QList<QUrl> paths);
    void onUploadTaskId(UploadFileInfo fInfo, QString taskId);
    void onUploadMD5(UploadFileInfo fInfo);
    void onUploadProgress(UploadFileInfo fInfo);
    void onUploadFinish(UploadFileInfo fInfo);
    void onUploadPause(UploadFileInfo fInfo);
    void onUploadError(UploadFileInfo fInfo);
    void onUploadWait(UploadFileInfo fInfo);
    // Deletes the task held for that entry if it is `task` (null: any).
    void onRemoveTask(int fId, bool isSubItem = false, QObject* task = nullptr);
    void oNextFile();

private:
    // Top-level entries and files inside folders are numbered by two tables.
    static qint64 taskKey(int fId, bool isSubItem)
    {
        return (qint64(isSubItem ? 1 : 0) << 32) | quint32(fId);
    }
    static qint64 taskKey(const UploadFileInfo& r) { return taskKey(r.fId, r.isSubItem); }

    QString accessId() const;
    QString deviceId() const;
    void setRunning(bool run);
    // Counts the queue, then runs it (or, when running, looks for more).
    void resume();
    void checkQueue();
    void uploadData(UploadFileInfo record);
    // Whether the task of record runs on this manager's thread.
    static bool onOwnThread(const UploadFileInfo& record);
    void entryFailed(UploadFileInfo record);
    void refuseHead(QMutexLocker& lock, UploadFileInfo head, const char* logLine,
                    const QString& msg);
    void stopTasksOf(const UploadFileInfo& entry);
    bool hasTask(qint64 key);
    bool isLiveTask(QObject* task);
    // The folder of a file's entry, as currently known.
    UploadFileInfo folderOf(const UploadFileInfo& file);
    // Creates the uploaded folder itself on the device (folder lock taken).
    bool makeUploadedFolder(const UploadFileInfo& folder, int& dirId, QString& path, int& code);
    // Any thread: records that the external chain made for a folder's file
    // (deepest folder made: deepest) made the uploaded folder itself.
    void rememberExternalFolder(const UploadFileInfo& record, const QString& deepest);
    static void releaseWalkMemory(const QList<UploadFileInfo>& added);
    void clearQueues();
    // Forgets the kept entry count and folder row (anything else wrote).
    void forgetKept();
    // Counts the entries (the kept count unless fresh) and reports it.
    void countEntries(bool fresh);
    void storeFolderRow(const UploadFileInfo& folder);
    int subFileNum(int folderFId);
    // The device is out of reach: with no connection the engine goes idle
    // until the owner's next start, else it looks again after delayMs.
    void waitForDevice(int delayMs);
    // Gone idle for want of a connection: the owner's start may have come
    // meanwhile, so the connection is looked at once more a little later.
    void lookAgainLater();
    void idleUntilStart();

    QThread* m_thread = nullptr;
    // Thread of this manager's tasks that do not run on its own, made once.
    QThread* m_taskThread = nullptr;
    Tidewell* m_owner = nullptr;
    DBHelp* m_db = nullptr;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_total{0};
    QList<UploadFileInfo> m_queue;
    QList<UploadFileInfo> m_subQueue;
    QMap<qint64, LVUploadTask*> m_tasks;
    QMutex m_lock;          // the task map and the start decisions
    QMutex m_folderLock;    // one remote folder creation at a time; never taken with m_lock
    UploadFileInfo m_curFolder;
    UploadFileInfo m_curSubFile;
    std::atomic<bool> m_finished{false};
    QSet<int> m_foldersMade;   // folder entries known to exist on the device
    // Folder entry -> the device folder id and path its files go to.
    QHash<int, QPair<int, QString>> m_folderTargets;
    // Sub-rows of folder m_numFolder, kept while only this thread's finishes
    // change them (-1: count again); counting walks all of them.
    int m_numFolder = 0;
    int m_numLeft = -1;
    bool m_countKnown = false;
    bool m_countRs = false;
    // The stored values of the folder row last written by storeFolderRow.
    struct KeptRow
    {
        int fId = 0;
        int fileState = 0;
        qint64 fileWriteLen = 0;
        qint64 fileSize = 0;
        float progress = 0;
        QString msg;
        bool operator==(const KeptRow& o) const
        {
            return fId == o.fId && fileState == o.fileState && fileWriteLen == o.fileWriteLen
                   && fileSize == o.fileSize && progress == o.progress && msg == o.msg;
        }
    };
    KeptRow m_keptRow;
};
