#pragma once

#include <atomic>

#include <QList>
#include <QMap>
#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include "core/deviceinfo.h"
#include "core/downfileinfo.h"
#include "core/localfileinfo.h"
#include "core/networkshare.h"
#include "core/twfileinfo.h"
#include "core/twhandle.h"

class DBHelp;
class FilesDataTaskHelp;
class LVDownTask;
class QThread;
class QTimer;
class Tidewell;

// The persistent download queue of one account on one device. New entries
// are stored as waiting, folders are expanded at once, and one LVDownTask
// runs at a time. Lives on a thread of its own: requests arrive as its s*
// signals (queued), answers and entry reports leave as r* signals. The queue
// is the database, so entries left waiting or running are resumed by the
// next start().
class LVDownloadManager : public QObject
{
    Q_OBJECT
public:
    LVDownloadManager();
    ~LVDownloadManager() override;

    bool init(Tidewell* owner);

    // Caller's thread. False (and nothing sent) for an empty selection.
    bool addDownFiles(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items, int fileType);
    bool addDownFilesPlain(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items);
    bool addShareDownFiles(TW_HANDLE handle, NetworkShare share, QString savePath,
                           QList<TwFileInfo> items, int fileType);
    // diskKind 1 USB, 2 SD card, 3 Samba.
    bool addDownUsbFiles(TW_HANDLE handle, QString savePath, QList<LocalFileInfo> items,
                         int diskKind);

    Q_INVOKABLE void start();
    // Stops every task and empties the in-memory queues; no rStop().
    Q_INVOKABLE void stopAll();
    Q_INVOKABLE bool isRun() const;
    Q_INVOKABLE int totalNum() const;

    Q_INVOKABLE void allStart();
    Q_INVOKABLE void allPause();
    Q_INVOKABLE void allDelete();
    void startFile(DownFileInfo fInfo);
    void startFiles(QList<DownFileInfo> list);
    void pauseFile(DownFileInfo fInfo);
    void pauseFiles(QList<DownFileInfo> list);
    void deleteFile(DownFileInfo fInfo);
    void deleteFiles(QList<DownFileInfo> list);
    Q_INVOKABLE void getTotalNum();

    // Folder of this manager's temporary files: one per account and device,
    // so clearing it never touches another manager's running downloads.
    QString tmpDir() const;

signals:
    void sStart();
    void sStop(bool isDelete);
    void sAllStart();
    void sAllPause();
    void sAllDelete();
    void sStartFiles(QList<DownFileInfo> list);
    void sPauseFiles(QList<DownFileInfo> list);
    void sDeleteFiles(QList<DownFileInfo> list);
    void sStartFile(DownFileInfo fInfo);
    void sPauseFile(DownFileInfo fInfo);
    void sDeleteFile(DownFileInfo fInfo);
    void sGetTotalNum();
    void sDownFileList(int pageIndex, int pageSize);
    void sAddDownFiles(TW_HANDLE handle, QString savePath, QList<DownFileInfo> files, int fileType);
    void sNextFile();

    void rStart();
    void rStop();
    void rGetTotalNum(bool rs, int num);
    void rDownFileList(int rs, QList<DownFileInfo> files);
    void rAddDownFiles(TW_HANDLE handle, bool rs);
    // Before rAddDownFiles: every item handed over was queued already and
    // was only started again.
    void rAddDownAgain(TW_HANDLE handle);
    void rAddDownUsbFiles(TW_HANDLE handle, bool rs);

    void rDownloadStart(DownFileInfo fInfo);
    void rDownloadProgress(DownFileInfo fInfo);
    void rDownloadFinish(DownFileInfo fInfo);
    void rDownloadPause(DownFileInfo fInfo);
    void rDownloadError(DownFileInfo fInfo);

public slots:
    void oStart();
    void oStop(bool isDelete);
    void oAllStart();
    void oAllPause();
    void oAllDelete();
    void oStartFiles(QList<DownFileInfo> list);
    void oPauseFiles(QList<DownFileInfo> list);
    void oDeleteFiles(QList<DownFileInfo> list);
    void oStartFile(DownFileInfo fInfo);
    void oPauseFile(DownFileInfo fInfo);
    void oDeleteFile(DownFileInfo fInfo);
    void oGetTotalNum();
    void oDownFileList(int pageIndex, int pageSize);
    void oAddDownFiles(TW_HANDLE handle, QString savePath, QList<DownFileInfo> files, int fileType);
    void oNextFile();

    void onDownProgress(DownFileInfo fInfo);
    void onDownFinish(DownFileInfo fInfo);
    void onDownPause(DownFileInfo fInfo);
    void onDownError(DownFileInfo fInfo);
    void onDownWait(DownFileInfo fInfo);
    void onRemoveTask(qint64 key);

private:
    // Top-level entries and sub-entries have separate row ids; a task is
    // known by both the table and the id.
    static qint64 taskKey(const DownFileInfo& f);
    // A folder not listed yet (or whose listing failed) is a sub-row
    // carrying this mark, so its top folder cannot finish with files
    // missing and a later start lists it.
    static bool isWalkMark(const DownFileInfo& f);

    DeviceInfo device() const;
    void setIsRun(bool flag);
    void clearQueues();
    void startRunning();
    void continueRunning();
    void checkFinish();
    void loadTopDownFiles();
    int getDownloadSubData(const DownFileInfo& folder);
    void downloadData(const DownFileInfo& entry);
    LVDownTask* newTask(const DownFileInfo& entry);
    void keepFolderName(int folderFId, const QString& name);
    void prefetchNext();
    void cancelPrefetch();
    void deferredStep(bool fileDone);
    // False when some deferred write failed.
    bool writeDeferred();
    bool saveDownFiles(QList<DownFileInfo> level, int fileType);
    bool stopWalk() const;

    // Listing marks: a sub-row standing for a folder not listed yet.
    enum class Listing { Listed, Later, Failed };
    struct WalkScope
    {
        WalkScope() { clock.start(); }
        QSet<QString> walked;   // folders listed or marked in this expansion
        QElapsedTimer clock;
    };
    // trail: the folders above it, so a listing that leads back to one of
    // them is not walked again, also in a later expansion.
    static DownFileInfo walkMark(const DownFileInfo& folder, int fileType, const QString& trail = QString());
    static QString walkKey(const DownFileInfo& folder);
    static QString trailKey(const DownFileInfo& folder);
    // Lists the mark's folder and stores its rows (and marks for its
    // folders, added to newMarks) in the mark's place. Failed: the mark
    // keeps state 4 and the reason; Later: it stays waiting.
    Listing listMark(DownFileInfo mark, WalkScope& scope, QList<DownFileInfo>& newMarks);
    void expandMarks(QList<DownFileInfo> marks, WalkScope& scope);
    // False when the folder could not be listed now but may be later.
    bool expandWalkMark(const DownFileInfo& mark);
    DownFileInfo folderOf(const DownFileInfo& sub);
    int subFileNum(int folderFId);
    bool isCurrentTask(const DownFileInfo& f);
    bool takeDeleted(const DownFileInfo& f);
    void stopTasksOfFolder(int folderFId, bool isDelete);
    void stopTaskOf(const DownFileInfo& f, bool isDelete);
    void removeTempFiles(const DownFileInfo& entry);
    void removeDestMark(const DownFileInfo& f);
    void doStopAll();
    void shutdown();
    // Entries that failed only because the device stopped sending go back
    // to waiting once a later transfer succeeds, each once per failure.
    void noteStallFailure(const DownFileInfo& f);
    void retryStalled();
    // When nothing else is left to run, they are tried again once the
    // device answers.
    void probeStalledLater();
    void probeStalled();
    static constexpr int kStallProbeMs = 5000;

    QThread* m_thread = nullptr;
    // Thread of all this manager's tasks, made once.
    QThread* m_taskThread = nullptr;
    Tidewell* m_owner = nullptr;
    DBHelp* m_db = nullptr;
    FilesDataTaskHelp* m_walker = nullptr;

    // Read from any thread.
    std::atomic<bool> m_run{false};
    std::atomic<int> m_total{0};
    // Set from any thread to cut a folder expansion short (quit, stop,
    // pause, delete); what was not listed yet is left for a later start.
    std::atomic<bool> m_abortWalk{false};

    // Small files whose transfers run ahead of the one being recorded:
    // enough that the library always has the next one under way.
    static constexpr int kFilesAhead = 6;

    // Manager's thread only.
    QList<DownFileInfo> m_pending;
    QList<DownFileInfo> m_subQueue;
    QMap<qint64, LVDownTask*> m_tasks;
    // The next small files of the current folder in their order, fetched
    // ahead (not in m_tasks: they are not running as far as anyone can
    // tell).
    QList<LVDownTask*> m_prefetch;
    // Made ahead for the next prefetches (on this thread, unused yet).
    QList<LVDownTask*> m_spareTasks;
    // Deferred store writes (see deferredStep) and the marks that go once
    // they are written.
    bool m_deferring = false;
    int m_deferredFiles = 0;
    QElapsedTimer m_deferClock;
    QTimer* m_deferTimer = nullptr;
    QStringList m_marksToRetire;
    // tmpDir() of the last device asked for: it is asked for several times
    // a file, and finding the data folder costs more than a small file's
    // bytes.
    mutable QMutex m_tmpMutex;
    mutable QString m_tmpKey;
    mutable QString m_tmpDir;
    // The last local folder made for a folder's files.
    QString m_madeFolder;
    QSet<qint64> m_deleting;
    DownFileInfo m_curFolder;
    DownFileInfo m_curSub;
    bool m_finishedAny = false;
    int m_walkRetryMs = 0;
    // Sub-rows left of folder m_numFolder, kept while only this manager's
    // finishes change them (-1: count again).
    int m_numFolder = 0;
    int m_numLeft = -1;
    // Folder whose files run with the entry count kept (0: count again).
    int m_totalKeptFor = 0;
    QElapsedTimer m_totalClock;
    QMap<qint64, DownFileInfo> m_stalled;
    // Tried again by themselves already; a user's start clears the mark.
    QSet<qint64> m_stallRetried;
    bool m_stallProbePending = false;
};
