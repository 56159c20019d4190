#include "transfer/lvdowntask.h"

#include <cerrno>
#include <climits>

#include <sys/stat.h>
#include <unistd.h>

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include "core/safepath.h"
#include "core/tidewell.h"
#include "sdk/down_file_info.h"
#include "transfer/tidewelldownload.h"

LVDownTask::LVDownTask(QThread* thread)
{
    qRegisterMetaType<DownFileInfo>("DownFileInfo");
    m_ownThread = !thread;
    m_thread = thread ? thread : new QThread;
    if (m_ownThread)
        m_thread->setObjectName("LVDownTask");
    moveToThread(m_thread);
    m_download = new TidewellDownload;
    m_download->moveToThread(m_thread);

    connect(this, &LVDownTask::sStartTask, this, &LVDownTask::onStartTask);
    connect(this, &LVDownTask::sStopTask, this, &LVDownTask::onStopTask);
    connect(this, &LVDownTask::sStartTry, this, &LVDownTask::onStartTry);
    connect(m_download, &TidewellDownload::downloadTaskCreate, this, &LVDownTask::onDownloadTaskCreate);
    connect(m_download, &TidewellDownload::downloadProgress, this, &LVDownTask::onDownloadProgress);
    connect(m_download, &TidewellDownload::downloadFinish, this, &LVDownTask::onDownloadFinish);
    connect(m_download, &TidewellDownload::downloadPause, this, &LVDownTask::onDownloadPause);
    connect(m_download, &TidewellDownload::downloadError, this, &LVDownTask::onDownloadError);
    if (m_ownThread)
        m_thread->start();
}

LVDownTask::~LVDownTask()
{
    // The wrapper and the timer belong to the task's thread; they are taken
    // down there so the library task is given back before the thread ends.
    if (QThread::currentThread() == m_thread)
        cleanupOnThread();
    else if (m_thread->isRunning())
        QMetaObject::invokeMethod(this, [this] { cleanupOnThread(); }, Qt::BlockingQueuedConnection);
    else
        cleanupOnThread();
    if (m_ownThread) {
        m_thread->quit();
        m_thread->wait();
        delete m_thread;
    }
    qDebug() << "---------------dis--~LVDownTask";
}

void LVDownTask::cleanupOnThread()
{
    m_ended = true;
    if (m_download) {
        m_download->disconnect(this);
        delete m_download;
        m_download = nullptr;
    }
    delete m_retryTimer;
    m_retryTimer = nullptr;
}

bool LVDownTask::init(Tidewell* owner)
{
    m_owner = owner;
    return m_download && m_download->init(owner);
}

void LVDownTask::setParentName(const QString& name)
{
    m_topName = name;
}

void LVDownTask::setTmpDir(const QString& dir)
{
    m_tmpDir = dir;
}

void LVDownTask::setKeepTempLink(bool keep)
{
    m_keepTempLink = keep;
}

void LVDownTask::startTask(DownFileInfo fInfo)
{
    m_given = fInfo;
    emit sStartTask(fInfo);
}

void LVDownTask::stopTask(bool isDelete)
{
    emit sStopTask(isDelete);
}

DownFileInfo LVDownTask::fileInfo() const
{
    return m_given;
}

void LVDownTask::onStartTask(DownFileInfo downFileInfo)
{
    m_record = downFileInfo;
    m_retries = 0;
    m_retryPending = false;
    m_deleteOnPause = false;
    m_stopRequested = false;
    m_tempPath.clear();
    m_ended = false;

    if (m_record.isFolder || m_record.fileSize <= 0) {
        completeLocally();
        return;
    }
    // Placed already by a run that ended before its finish was recorded.
    QString placed;
    if (m_keepTempLink && findPlaced(placed)) {
        qDebug() << "LVDownTask::onStartTask - placed before:" << placed;
        m_record.savePath = placed;
        m_record.fileWriteLen = m_record.fileSize;
        m_record.progress = 1.0f;
        endRun(Finished);
        return;
    }
    downloadStep();
}

// A finished temporary file is placed as a second link and only unlinked by
// the manager once the finish is recorded. A temporary file with two links
// was therefore placed by a run whose finish was not recorded: the path of
// the same file among the entry's free-name candidates is the placed one.
bool LVDownTask::findPlaced(QString& path)
{
    QString tmp;
    struct stat st;
    if (!m_record.getTempPath(tmp, m_tmpDir)
        || ::stat(QFile::encodeName(tmp).constData(), &st) != 0 || st.st_nlink < 2)
        return false;
    QString folder;
    const QString base = SafePath::safeName(m_record.fileName);
    if (!base.isEmpty() && m_record.getSavePath(m_topName, folder)) {
        for (int c = 0; c < kMaxPlacedNames; ++c) {
            const QString candidate = folder + "/" + DownFileInfo::numberedName(base, c);
            struct stat cs;
            if (::stat(QFile::encodeName(candidate).constData(), &cs) == 0
                && cs.st_dev == st.st_dev && cs.st_ino == st.st_ino) {
                QFile::remove(tmp);
                path = candidate;
                return true;
            }
        }
    }
    // Shared with a file we cannot find (moved by the user): never append to it.
    qWarning() << "LVDownTask - temporary file linked elsewhere, starting over:" << tmp;
    QFile::remove(tmp);
    return false;
}

bool LVDownTask::placeFile(const QString& folder, QString& path)
{
    if (!m_keepTempLink)
        return m_record.newFileName(folder, path, 0) && QFile::rename(m_tempPath, path);
    for (int tries = 0; tries < kMaxPlacedNames; ++tries) {
        if (!m_record.newFileName(folder, path, 0))
            return false;
        if (::link(QFile::encodeName(m_tempPath).constData(), QFile::encodeName(path).constData())
            == 0)
            return true;
        if (errno == EEXIST)
            continue;   // taken meanwhile
        // No links here (another file system, or one without them).
        return QFile::rename(m_tempPath, path);
    }
    return false;
}

// Empty folders and empty files need no transfer.
void LVDownTask::completeLocally()
{
    QString folder;
    if (!m_record.getSavePath(m_topName, folder)) {
        failOrRetry(-1, tr("Create Folder fail"));
        return;
    }
    if (m_record.isFolder) {
        m_record.savePath = folder;
        endRun(Finished);
        return;
    }
    QString path;
    QFile f;
    if (m_record.newFileName(folder, path, 0)) {
        f.setFileName(path);
        if (f.open(QIODevice::WriteOnly)) {
            f.close();
            m_record.savePath = path;
            endRun(Finished);
            return;
        }
    }
    qWarning() << "LVDownTask::completeLocally - cannot create" << path << f.errorString();
    failOrRetry(-1, tr("Create file fail"));
}

void LVDownTask::downloadStep()
{
    qDebug() << "LVDownloadManager::downloadData---------" << m_record.fileName;
    if (!m_record.getTempPath(m_tempPath, m_tmpDir)) {
        failOrRetry(-1, tr("Create Folder fail"));
        return;
    }
    qDebug() << "------path:" << m_record.usbFilePath << m_record.filePath;

    // The library continues from the size of the temporary file. A file
    // larger than the entry cannot be a part of it.
    const QFileInfo tmp(m_tempPath);
    if (tmp.exists() && m_record.fileSize > 0 && tmp.size() > m_record.fileSize) {
        qWarning() << "LVDownTask::downloadData - stale temporary file" << m_tempPath
                   << tmp.size() << "> size" << m_record.fileSize << ", starting over";
        QFile::remove(m_tempPath);
    }

    sdk::cores::model::down_file_info info;
    if (!m_record.usbFilePath.isEmpty()) {
        info.type = sdk::cores::model::down_file_info::kind_disk_file;
        info.usb_path = QUrl::toPercentEncoding(m_record.usbFilePath).toStdString();
        info.url = m_record.filePath.toStdString();
    } else {
        info.type = sdk::cores::model::down_file_info::kind_device_file;
        info.file_id = m_record.fileId;
        info.mode = 2;
        info.file_category = m_record.fileCatetory;
        info.ower = (m_record.ower.isEmpty() ? m_record.accessId : m_record.ower).toStdString();
        info.file_md5 = m_record.fileMd5.toStdString();
        info.share_id = m_record.shareId.toStdString();
        info.extracted_code = m_record.extractedCode.toStdString();
    }
    info.save_path = QFile::encodeName(m_tempPath).toStdString();
    info.share_type = 0;

    if (!m_download->start(info, false)) {
        qWarning() << "LVDownTask::downloadData - could not start" << m_record.fileName
                   << "(device not reachable or task refused)";
        failOrRetry(-1, tr("Device is not connected"));
    }
}

void LVDownTask::failOrRetry(int code, const QString& msg)
{
    if (m_ended)
        return;
    if (m_stopRequested) {
        endRun(Paused);
        return;
    }
    if (code != 404 && m_retries < kMaxRetries) {
        ++m_retries;
        qDebug() << "LVDownTask::TryAgian: ---------------" << m_retries << m_record.fileName;
        if (m_download)
            m_download->release();
        emit sStartTry();
        return;
    }
    endRun(Failed, msg);
}

void LVDownTask::onStartTry()
{
    if (!m_retryTimer) {
        m_retryTimer = new QTimer(this);
        m_retryTimer->setSingleShot(true);
        connect(m_retryTimer, &QTimer::timeout, this, &LVDownTask::tryUploadData);
    }
    m_retryTimer->start(kRetryDelayMs);
    m_retryPending = true;
}

void LVDownTask::tryUploadData()
{
    if (m_retryTimer)
        m_retryTimer->stop();
    m_retryPending = false;
    if (m_ended)
        return;
    downloadStep();
}

void LVDownTask::onStopTask(bool isDelete)
{
    if (m_ended)
        return;
    m_deleteOnPause = m_deleteOnPause || isDelete;
    m_stopRequested = true;
    if (m_retryPending) {
        m_retryTimer->stop();
        m_retryPending = false;
        endRun(Paused);
        return;
    }
    // Pauses at once (signal delivered directly) unless a final status is
    // already on its way; that report then ends the run.
    if (m_download)
        m_download->stop();
}

void LVDownTask::onDownloadTaskCreate(bool isSucc, QString taskId)
{
    Q_UNUSED(isSucc)
    Q_UNUSED(taskId)
}

void LVDownTask::onDownloadProgress(qlonglong byteSent, qlonglong bytesTotal)
{
    if (m_ended || m_stopRequested)
        return;
    m_record.fileWriteLen = bytesTotal;
    m_record.speed = int(qBound<qlonglong>(0, byteSent, INT_MAX));
    m_record.progress = m_record.fileSize < 1 ? 0.0f : float(double(bytesTotal) / double(m_record.fileSize));
    emit rDownProgress(m_record);
}

void LVDownTask::onDownloadFinish()
{
    if (m_ended)
        return;
    if (m_download)
        m_download->release();
    if (m_stopRequested && m_deleteOnPause) {
        endRun(Paused);
        return;
    }
    QString folder;
    if (!m_record.getSavePath(m_topName, folder)) {
        failOrRetry(-1, tr("Create Folder fail"));
        return;
    }
    QString path;
    if (!placeFile(folder, path)) {
        qWarning() << "LVDownTask::onDownloadFinish - cannot move" << m_tempPath << "to" << path;
        failOrRetry(-1, tr("Move file fail"));
        return;
    }
    m_record.savePath = path;
    m_record.fileWriteLen = QFileInfo(path).size();
    m_record.progress = 1.0f;
    endRun(Finished);
}

void LVDownTask::onDownloadPause()
{
    if (m_ended)
        return;
    endRun(Paused);
}

void LVDownTask::onDownloadError(int code, QString msg)
{
    if (m_ended)
        return;
    qDebug() << "LVDownTask::onDownloadError:" << code << msg << m_record.fileName;
    failOrRetry(code, msg);
}

void LVDownTask::endRun(Outcome outcome, const QString& msg)
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_retryTimer)
        m_retryTimer->stop();
    m_retryPending = false;
    if (m_download)
        m_download->release();
    m_record.speed = 0;
    switch (outcome) {
    case Finished:
        m_record.fileState = 5;
        m_record.msg.clear();
        emit rDownFinish(m_record);
        break;
    case Paused:
        if (m_deleteOnPause) {
            QString tmp = m_tempPath;
            if (tmp.isEmpty())
                m_record.getTempPath(tmp, m_tmpDir);
            if (!tmp.isEmpty() && QFileInfo::exists(tmp))
                QFile::remove(tmp);
        }
        m_record.fileState = 3;
        emit rDownPause(m_record);
        break;
    case Failed:
        m_record.fileState = 4;
        m_record.msg = msg;
        emit rDownError(m_record);
        break;
    }
}
