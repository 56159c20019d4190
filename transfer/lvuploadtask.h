#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "core/uploadfileinfo.h"
#include "transfer/outagepacing.h"
#include "transfer/tidewellupload.h"
#include "transfer/uploadstamp.h"

class FileMd5Asyn;
class QThread;
class QTimer;
class Tidewell;

// Uploads one file (a queue entry or a file inside an uploaded folder): checks
// the local file, makes its remote folder, hashes it, runs the library upload
// and retries failed attempts. Lives on a thread of its own or on the one its
// manager gives it (the manager's own for small files); every attempt ends in
// exactly one of rUploadFinish, rUploadPause, rUploadError or rUploadWait.
// Attempts that fail because the device cannot be reached spend
// no retries (see OutagePacing).
class LVUploadTask : public QObject
{
    Q_OBJECT
public:
    // Fatal error codes are never retried.
    static bool isFatalCode(int code);
    static constexpr int kMaxRetries = 6;
    static constexpr int kRetryDelayMs = 2000;
    // Above this size some devices accept uploads without a digest.
    static constexpr qint64 kNoHashSize = 524288000;
    // Files up to this size are hashed on the task's own thread.
    static constexpr qint64 kInlineHashSize = 1024 * 1024;

    // Without a thread the task makes and owns one; a manager hands in a
    // thread it keeps for all its tasks, so none is made per file.
    explicit LVUploadTask(QObject* parent = nullptr, QThread* thread = nullptr);
    ~LVUploadTask() override;

    // Makes the folder chain of a sub-entry on the device (called on the
    // task's thread): dirId/path come in as the parent folder and go out as
    // the deepest folder made; false with code set when that fails.
    using FolderMaker =
        std::function<bool(const UploadFileInfo& record, int& dirId, QString& path, int& code)>;
    // The manager hands in what the task needs of it; without a folder maker
    // a sub-entry whose folder is not made yet fails.
    void init(Tidewell* owner, TidewellUpload::TaskIdKeeper keepTaskId = {},
              FolderMaker makeFolder = {});
    void setParentDirId(int id) { m_parentDirId = id; }
    void setParentPath(const QString& path) { m_parentPath = path; }
    void startTask(const UploadFileInfo& info);
    void stopTask();
    // Only for the task's own thread; other threads use the two below.
    UploadFileInfo fileInfo() const { return m_record; }
    // Set by startTask on the caller's thread; safe to read from there.
    int entryPId() const { return m_entryPId; }
    bool entryIsSubItem() const { return m_entryIsSub; }

    // Whether this file is sent without a digest on this owner's device.
    static bool skipHash(Tidewell* owner, qint64 fileSize);

signals:
    void sStartTask(UploadFileInfo upFileInfo);
    void sStopTask();
    void sStartTry();
    void rUploadTaskId(UploadFileInfo fInfo, QString taskId);
    void rUploadMD5(UploadFileInfo fInfo);
    void rUploadProgress(UploadFileInfo fInfo);
    void rUploadFinish(UploadFileInfo fInfo);
    void rUploadPause(UploadFileInfo fInfo);
    void rUploadError(UploadFileInfo fInfo);
    // The device could not be reached and the owner is not connected: the
    // entry waits (state 2) for the next start; the device keeps its offset.
    void rUploadWait(UploadFileInfo fInfo);

public slots:
    void onStartTask(UploadFileInfo upFileInfo);
    void onStopTask();
    void onStartTry();
    void tryUploadData();
    void resultFileMd5(QString md5);
    void uploadTaskCreate(UploadFileInfo fInfo, bool isSucc, QString taskId);
    void uploadProgress(UploadFileInfo fInfo, qlonglong byteSent, qlonglong bytesTotal);
    void uploadFinish(UploadFileInfo fInfo);
    void uploadPause(UploadFileInfo fInfo);
    void uploadError(UploadFileInfo fInfo, int code, QString msg);

private:
    enum class Exit { Finish, Pause, Error, Wait };

    void uploadData();
    void startUpload();
    void checkUnchanged();
    // The device task is not of this file: a new one, from the first byte.
    void startOver();
    // The only way out of an attempt series: emits one result, once.
    void exitTask(Exit how, const QString& msg = QString());

    QThread* m_thread = nullptr;
    bool m_ownThread = true;
    FolderMaker m_makeFolder;
    TidewellUpload* m_upload = nullptr;
    FileMd5Asyn* m_hasher = nullptr;
    Tidewell* m_owner = nullptr;
    int m_retries = 0;
    int m_nextDelayMs = kRetryDelayMs;
    OutagePacing m_outage;
    UploadFileInfo m_record;
    QTimer* m_retryTimer = nullptr;
    bool m_stopRequested = false;
    bool m_hashing = false;
    bool m_retryPending = false;
    bool m_ended = true;
    // The first progress figure of an attempt is what the device holds.
    bool m_firstReport = false;
    qint64 m_deviceHeld = -1;
    // The local file at this attempt's start and when its hashing began.
    UploadStamp m_fileNow;
    UploadStamp m_hashedFile;
    // The digest the device task was made with, while the file is hashed
    // again to see whether it changed.
    QString m_declaredMd5;
    int m_parentDirId = 0;
    QString m_parentPath;
    int m_entryPId = 0;
    bool m_entryIsSub = false;
};
