#include "transfer/lvuploadtask.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include "core/tidewell.h"
#include "sdk/task_interface.h"
#include "transfer/filemd5asyn.h"
#include "transfer/tidewellupload.h"
#include "transfer/uploadstamp.h"

namespace {
// The file could not be hashed; retried like any other failure.
const int kHashFailed = -20;
}

bool LVUploadTask::isFatalCode(int code)
{
    switch (code) {
    case 2014: case 2001: case 2002: case 2201: case 403: case 404:
    case 20203: case 20204: case 20205:
    // The device refuses the name or the request itself: the same request
    // will be refused again.
    case 2005:
    // The local file cannot be read.
    case sdk::cores::tidewell::error_local_file:
        return true;
    default:
        return false;
    }
}

bool LVUploadTask::skipHash(Tidewell* owner, qint64 fileSize)
{
    if (!owner || fileSize <= kNoHashSize)
        return false;
    const int model = owner->deviceType();
    const int appCode = owner->currentDevice().appCode.toInt();
    return (model == 2 && appCode > 4053) || (model == 3 && appCode > 5022)
           || owner->isPCDevice();
}

LVUploadTask::LVUploadTask(QObject* parent, QThread* thread) : QObject(parent)
{
    qRegisterMetaType<UploadFileInfo>("UploadFileInfo");
    m_upload = new TidewellUpload;
    m_hasher = new FileMd5Asyn;
    m_ownThread = !thread;
    m_thread = thread ? thread : new QThread;
    moveToThread(m_thread);
    m_upload->moveToThread(m_thread);
    m_hasher->moveToThread(m_thread);
    if (m_ownThread)
        m_thread->start();
}

LVUploadTask::~LVUploadTask()
{
    // Timers, the hasher and the library task belong to the task's thread:
    // take them down there, then stop the thread.
    auto cleanup = [this] {
        if (m_retryTimer)
            m_retryTimer->stop();
        delete m_retryTimer;
        m_retryTimer = nullptr;
        m_hasher->stopAndWait();
        delete m_upload;   // stops and gives back a running library task
        m_upload = nullptr;
        // A stopped hash and the library report their end as queued calls:
        // on a shared thread they would be delivered while this goes.
        QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    };
    if (m_thread->isRunning() && QThread::currentThread() != m_thread)
        QMetaObject::invokeMethod(this, cleanup, Qt::BlockingQueuedConnection);
    else
        cleanup();
    if (m_ownThread) {
        m_thread->quit();
        m_thread->wait();
        delete m_thread;
    }
    delete m_hasher;
    qDebug() << "---------------dis--~LVUploadTask";
}

void LVUploadTask::init(Tidewell* owner, TidewellUpload::TaskIdKeeper keepTaskId,
                        FolderMaker makeFolder)
{
    m_owner = owner;
    m_makeFolder = std::move(makeFolder);
    connect(m_upload, &TidewellUpload::uploadTaskCreate, this, &LVUploadTask::uploadTaskCreate);
    connect(m_upload, &TidewellUpload::uploadProgress, this, &LVUploadTask::uploadProgress);
    connect(m_upload, &TidewellUpload::uploadFinish, this, &LVUploadTask::uploadFinish);
    connect(m_upload, &TidewellUpload::uploadPause, this, &LVUploadTask::uploadPause);
    connect(m_upload, &TidewellUpload::uploadError, this, &LVUploadTask::uploadError);
    // Queued even on the caller's own thread: the manager starts and stops
    // tasks under its lock, and the results come back to it directly.
    connect(this, &LVUploadTask::sStartTask, this, &LVUploadTask::onStartTask,
            Qt::QueuedConnection);
    connect(this, &LVUploadTask::sStopTask, this, &LVUploadTask::onStopTask,
            Qt::QueuedConnection);
    connect(this, &LVUploadTask::sStartTry, this, &LVUploadTask::onStartTry);
    m_upload->init(owner);
    // The stamp first: a task id stored without it is not trusted later,
    // one noted there without the row is never asked for.
    m_upload->setTaskIdKeeper([keep = std::move(keepTaskId)](const UploadFileInfo& record,
                                                            const QString& taskId) {
        UploadStamp::noteTask(record, taskId);
        return !keep || keep(record, taskId);
    });
    connect(m_hasher, &FileMd5Asyn::resultFileMd5, this, &LVUploadTask::resultFileMd5);
}

void LVUploadTask::startTask(const UploadFileInfo& info)
{
    m_entryPId = info.pId;
    m_entryIsSub = info.isSubItem;
    emit sStartTask(info);
}

void LVUploadTask::stopTask()
{
    emit sStopTask();
}

void LVUploadTask::onStartTask(UploadFileInfo upFileInfo)
{
    m_record = upFileInfo;
    m_declaredMd5.clear();
    m_retries = 0;
    m_outage.reset();
    m_deviceHeld = -1;
    m_stopRequested = false;
    m_hashing = false;
    m_retryPending = false;
    m_ended = false;
    uploadData();
}

void LVUploadTask::exitTask(Exit how, const QString& msg)
{
    if (m_ended)
        return;
    m_ended = true;
    m_hashing = false;
    m_retryPending = false;
    if (m_retryTimer)
        m_retryTimer->stop();
    switch (how) {
    case Exit::Finish:
        UploadStamp::remove(m_record);
        m_record.fileState = 5;
        emit rUploadFinish(m_record);
        break;
    case Exit::Pause:
        m_record.fileState = 3;
        emit rUploadPause(m_record);
        break;
    case Exit::Error:
        m_record.fileState = 4;
        m_record.msg = msg;
        emit rUploadError(m_record);
        break;
    case Exit::Wait:
        m_record.fileState = 2;
        m_record.msg.clear();
        emit rUploadWait(m_record);
        break;
    }
}

void LVUploadTask::uploadData()
{
    qDebug() << "-------Start beigin upload:" << m_record.fileName;
    const QFileInfo local(m_record.filePath);
    if (!local.exists()) {
        qWarning() << "-------Start end upload error File does not exist:" << m_record.fileName;
        uploadError(m_record, 404, tr("File does not exist"));
        return;
    }

    if (m_record.isSubItem && !m_record.isDirMade) {
        int dirId = m_parentDirId;
        QString path = m_parentPath;
        int code = 0;
        if (!m_makeFolder || !m_makeFolder(m_record, dirId, path, code)) {
            qWarning() << "create Folder fail---------" << code;
            uploadError(m_record, code, tr("create Folder fail"));
            return;
        }
        if (m_record.isFolder) {
            // A folder inside an uploaded folder only has to exist.
            exitTask(Exit::Finish);
            return;
        }
        qDebug() << "----3--dirId" << dirId << "----curDirId:" << m_record.dirId << "---------"
                 << m_record.fileName << "----------";
        m_record.dirId = dirId;
        m_record.externalPath = path;
        m_record.isDirMade = true;
    }

    // The file changed since it was queued: its size and digest are stale and
    // a device task made for the old size cannot be continued.
    if (!m_record.isFolder && local.size() != m_record.fileSize) {
        qWarning() << "LVUploadTask: size of" << m_record.filePath << "changed from"
                   << m_record.fileSize << "to" << local.size() << ", hashing again";
        m_record.fileSize = local.size();
        m_record.fileMd5.clear();
        m_record.taskId.clear();
        m_record.fileWriteLen = 0;
        m_record.progress = 0;
    }
    m_fileNow = UploadStamp::ofFile(m_record.filePath);
    if (!m_record.isFolder && (!m_record.fileMd5.isEmpty() || !m_record.taskId.isEmpty()))
        checkUnchanged();

    if (m_record.fileMd5.isEmpty() && !skipHash(m_owner, m_record.fileSize)) {
        m_hashing = true;
        m_hashedFile = m_fileNow;
        // A small file is hashed sooner than it is handed to the pool.
        if (m_record.fileSize <= kInlineHashSize)
            resultFileMd5(FileMd5Asyn::digestOf(m_record.filePath));
        else
            m_hasher->start(m_record.filePath);
        return;
    }
    startUpload();
}

// The digest and the device task of the entry hold only for the file they
// were made for: a file rewritten since (even to the same size) is hashed
// again, and its upload starts over unless the digest is still the same.
void LVUploadTask::checkUnchanged()
{
    UploadStamp kept;
    const bool stamped = UploadStamp::read(m_record, kept);
    const bool digestHolds = stamped && kept.sameFile(m_fileNow) && kept.md5 == m_record.fileMd5;
    if (digestHolds) {
        if (kept.taskId != m_record.taskId && !m_record.taskId.isEmpty()) {
            qWarning() << "LVUploadTask:" << m_record.filePath << "was hashed again after device task"
                       << m_record.taskId << "was made; starting over";
            startOver();
        }
        return;
    }
    if (skipHash(m_owner, m_record.fileSize)) {
        m_record.fileMd5.clear();
        if (!m_record.taskId.isEmpty()) {
            qWarning() << "LVUploadTask:" << m_record.filePath << "changed since device task"
                       << m_record.taskId << "was made; starting over";
            startOver();
        }
        return;
    }
    // Hashed again; the new digest decides (resultFileMd5).
    qDebug() << "LVUploadTask:" << m_record.filePath << "may have changed since it was hashed";
    if (m_declaredMd5.isEmpty())
        m_declaredMd5 = !m_record.fileMd5.isEmpty() ? m_record.fileMd5 : kept.md5;
    m_record.fileMd5.clear();
}

void LVUploadTask::startOver()
{
    m_record.taskId.clear();
    m_record.fileWriteLen = 0;
    m_record.progress = 0;
    m_deviceHeld = -1;
}

void LVUploadTask::startUpload()
{
    m_firstReport = true;
    if (m_record.fileMd5.isEmpty()) {
        // Sent without a digest: the file's looks alone tell a change.
        UploadStamp stamp = m_fileNow;
        stamp.taskId = m_record.taskId;
        stamp.write(m_record);
    }
    if (!m_upload->start(m_record)) {
        // Not connected, or the library refused the task: retried like any
        // other transfer failure so the entry never stays running.
        qWarning() << "LVUploadTask: upload could not start:" << m_record.fileName;
        uploadError(m_record, OutagePacing::kNotConnected, tr("Device is not connected"));
    }
}

void LVUploadTask::resultFileMd5(QString md5)
{
    if (!m_hashing || m_ended)
        return;
    m_hashing = false;
    if (m_stopRequested) {
        exitTask(Exit::Pause);
        return;
    }
    if (md5 == QLatin1String("-1")) {
        qDebug() << "LVUploadManager::resultFileMd5  md5 cancel---------------";
        exitTask(Exit::Pause);
        return;
    }
    if (md5.isEmpty()) {
        uploadError(m_record, kHashFailed, QStringLiteral("Get Md5 Fail"));
        return;
    }
    if (!m_record.taskId.isEmpty() && md5 != m_declaredMd5) {
        qWarning() << "LVUploadTask:" << m_record.filePath << "changed since its bytes went to device task"
                   << m_record.taskId << "(MD5" << m_declaredMd5 << "now" << md5 << "); starting over";
        startOver();
    }
    m_declaredMd5.clear();
    m_record.fileMd5 = md5;
    // As the file was when its hashing began: a change meanwhile shows later.
    UploadStamp stamp = m_hashedFile;
    stamp.md5 = md5;
    stamp.taskId = m_record.taskId;
    stamp.write(m_record);
    emit rUploadMD5(m_record);
    startUpload();
}

void LVUploadTask::onStopTask()
{
    m_stopRequested = true;
    if (m_ended)
        return;
    if (m_retryPending) {
        m_retryPending = false;
        exitTask(Exit::Pause);
        return;
    }
    if (m_hashing) {
        m_hasher->stop();
        return;
    }
    // Everything sent: the finish is on its way.
    if (!m_upload->hasSendFinish())
        m_upload->stop();
}

void LVUploadTask::uploadError(UploadFileInfo, int code, QString msg)
{
    if (m_ended)
        return;
    if (m_stopRequested) {
        m_upload->release();
        exitTask(Exit::Pause);
        return;
    }
    if (OutagePacing::isDeviceAway(code)) {
        m_upload->release();
        if (code == OutagePacing::kNotConnected) {
            exitTask(Exit::Wait);
            return;
        }
        bool counted = false;
        m_nextDelayMs = m_outage.next(kRetryDelayMs, counted);
        if (!counted || m_retries < kMaxRetries) {
            if (counted)
                ++m_retries;
            qDebug() << "LVUploadTask - device not reachable (" << msg << "), trying"
                     << m_record.fileName << "again in" << m_nextDelayMs << "ms";
            emit sStartTry();
            return;
        }
        exitTask(Exit::Error, msg);
        return;
    }
    if (!isFatalCode(code) && m_retries < kMaxRetries) {
        ++m_retries;
        qDebug() << "LVUploadManager::TryAgian: ---------------" << m_retries << m_record.fileName;
        m_upload->release();
        m_nextDelayMs = OutagePacing::capped(kRetryDelayMs);
        emit sStartTry();
        return;
    }
    m_upload->release();
    exitTask(Exit::Error, msg);
}

void LVUploadTask::onStartTry()
{
    qDebug() << "onStartTry() 当前线程ID:" << QThread::currentThreadId();
    if (!m_retryTimer) {
        m_retryTimer = new QTimer;
        m_retryTimer->setSingleShot(true);
        connect(m_retryTimer, &QTimer::timeout, this, &LVUploadTask::tryUploadData,
                Qt::DirectConnection);
    }
    m_retryTimer->start(m_nextDelayMs);
    m_retryPending = true;
}

void LVUploadTask::tryUploadData()
{
    m_retryTimer->stop();
    if (!m_retryPending || m_ended)
        return;
    m_retryPending = false;
    uploadData();
}

void LVUploadTask::uploadFinish(UploadFileInfo fInfo)
{
    if (m_ended)
        return;
    m_upload->release();
    // Keep what only the task knows (the folder made for it).
    fInfo.isDirMade = m_record.isDirMade;
    m_record = fInfo;
    exitTask(Exit::Finish);
}

void LVUploadTask::uploadPause(UploadFileInfo)
{
    if (m_ended)
        return;
    exitTask(Exit::Pause);
}

void LVUploadTask::uploadProgress(UploadFileInfo fInfo, qlonglong byteSent, qlonglong bytesTotal)
{
    if (m_ended)
        return;
    // Bytes moved: past the most reported so far, or the device holds more
    // at this attempt's start than at any earlier one (what was reported
    // may have been only buffered on the way). An outage after this gets
    // its whole waiting budget.
    const bool held = m_firstReport && bytesTotal > m_deviceHeld;
    if (held)
        m_deviceHeld = bytesTotal;
    m_firstReport = false;
    if (bytesTotal > m_record.fileWriteLen || held)
        m_outage.reset();
    m_record.fileWriteLen = bytesTotal;
    m_record.speed = int(byteSent);
    m_record.progress = fInfo.progress;
    emit rUploadProgress(m_record);
}

void LVUploadTask::uploadTaskCreate(UploadFileInfo fInfo, bool isSucc, QString taskId)
{
    if (m_ended)
        return;
    if (isSucc) {
        m_record.taskId = taskId;
        emit rUploadTaskId(fInfo, taskId);
        return;
    }
    exitTask(Exit::Error, QStringLiteral("create task id fail"));
    m_upload->stop();
}
