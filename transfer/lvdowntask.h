#pragma once

#include <atomic>

#include <QObject>
#include <QString>
#include <QStringList>

#include "core/downfileinfo.h"
#include "transfer/outagepacing.h"

class QThread;
class QTimer;
class Tidewell;
class TidewellDownload;

// Downloads one queue entry on a thread of its own or its manager's: into a temporary file,
// with retries 2000 ms apart, then moved to a free name in the final folder.
// Every change is reported as a copy of the entry; exactly one of
// rDownFinish, rDownPause, rDownError and rDownWait ends a run.
// Attempts that fail because the device cannot be reached spend no retries:
// they are tried again with a growing delay while the owner is connected,
// and the entry goes back to waiting (rDownWait) when it is not.
class LVDownTask : public QObject
{
    Q_OBJECT
public:
    // Failed attempts retried before an entry fails (7 attempts in all).
    static const int kMaxRetries = 6;
    static const int kRetryDelayMs = 2000;
    // Before the temporary file is moved into place its destination is
    // noted (in the folder's MoveJournal), so a restart finds a file that was
    // moved but not recorded. Earlier versions wrote it into this file
    // beside the temporary file, which is still read.
    static QString destMarkOf(const QString& tempPath);
    // Where the temporary file was moved to by a run whose finish may not be
    // recorded; empty when it was not.
    static QString movedTo(const QString& tempPath);
    // Called once the finish is recorded (or the entry is gone).
    static void retireDestMark(const QString& tempPath);
    static void retireDestMarks(const QStringList& tempPaths);

    // Without a thread the task makes and owns one. A manager running many
    // short entries hands in one thread of its own for all its tasks, so no
    // thread is made and joined per file.
    explicit LVDownTask(QThread* thread = nullptr);
    ~LVDownTask() override;

    bool init(Tidewell* owner);
    // Local name of the top-level folder of a sub-entry.
    void setParentName(const QString& name);
    // Folder of the temporary files; the application's "tmp" when empty.
    void setTmpDir(const QString& dir);
    void startTask(DownFileInfo fInfo);
    // Task's thread only. Fetches the entry into its temporary file while
    // the entry before it is still being recorded: nothing is reported or
    // moved into place until admit(), and a failed fetch only leaves the
    // partial file (admit() then starts over as startTask() does).
    void prefetch(DownFileInfo fInfo);
    // Task's thread only: the entry starts for real (its start is recorded).
    void admit(DownFileInfo fInfo);
    void stopTask(bool isDelete);
    // The entry as handed to startTask (identity only; progress lives on the
    // task's thread).
    DownFileInfo fileInfo() const;
    // The run failed only because the device stopped sending while it
    // answered everything else (read after rDownError).
    bool failedByStall() const { return m_stallFailure.load(); }
    // Task's thread only: no run under way, nothing pending; the task may
    // take another entry.
    bool isIdle() const { return m_ended && !m_retryPending && !m_held; }

signals:
    void sStartTask(DownFileInfo downFileInfo);
    void sStopTask(bool isDelete);
    void sStartTry();

    // The bytes are all there and the file is about to be moved into place:
    // the next entry's transfer may start.
    void rTransferDone();
    void rDownProgress(DownFileInfo fInfo);
    void rDownFinish(DownFileInfo fInfo);
    void rDownPause(DownFileInfo fInfo);
    void rDownError(DownFileInfo fInfo);
    // The device could not be reached and the owner is not connected: the
    // entry waits (state 2) for the next start, its partial file kept.
    void rDownWait(DownFileInfo fInfo);

private slots:
    void onStartTask(DownFileInfo downFileInfo);
    void onStopTask(bool isDelete);
    void onStartTry();
    void tryUploadData();
    void onDownloadTaskCreate(bool isSucc, QString taskId);
    void onDownloadSource(QString md5, qlonglong size);
    void onDownloadProgress(qlonglong byteSent, qlonglong bytesTotal);
    void onDownloadFinish();
    void onDownloadPause();
    void onDownloadError(int code, QString msg);

private:
    enum Outcome { Finished, Paused, Failed, Waiting };
    // What a retry does again.
    enum class Redo { Download, Local, Place };

    void downloadStep();
    void failOrRetry(int code, const QString& msg);
    void waitForDevice(const QString& msg);
    bool finishFromMark();
    bool receivedWhole();
    bool placeFile(const QString& folder, const QString& dest, QString& why);
    bool saveFolder(QString& folder, Redo redo);
    void placeDownloaded();
    void retryLocally(Redo step, const QString& msg);
    void completeLocally();
    // The one way out of a run: records the final state, gives the library
    // task back, cleans up and emits the one final report.
    void endRun(Outcome outcome, const QString& msg = QString());
    void cleanupOnThread();

    QThread* m_thread = nullptr;
    bool m_ownThread = true;
    TidewellDownload* m_download = nullptr;
    Tidewell* m_owner = nullptr;
    QTimer* m_retryTimer = nullptr;

    // Set on the caller's thread, read by fileInfo().
    DownFileInfo m_given;
    // Touched on the task's thread only (the setters run before the start).
    DownFileInfo m_record;
    QString m_topName;
    QString m_tmpDir;
    QString m_tempPath;
    int m_retries = 0;
    Redo m_redo = Redo::Download;
    int m_nextDelayMs = kRetryDelayMs;
    OutagePacing m_outage;
    bool m_deleteOnPause = false;
    bool m_stopRequested = false;
    bool m_retryPending = false;
    bool m_ended = true;
    bool m_lastStalled = false;
    // Prefetch: not admitted yet; its transfer was started, has ended well,
    // or failed (then admit() starts over).
    bool m_held = false;
    bool m_heldStarted = false;
    bool m_heldDone = false;
    bool m_heldFailed = false;
    std::atomic<bool> m_stallFailure{false};
};
