#include "transfer/lvdowntask.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include "core/safepath.h"
#include "core/tidewell.h"
#include "sdk/down_file_info.h"
#include "sdk/task_interface.h"
#include "transfer/filemd5asyn.h"
#include "transfer/movejournal.h"
#include "transfer/sourcestamp.h"
#include "transfer/tidewelldownload.h"

namespace {
// The bytes received are not the file the device names: fetched again.
const int kNotTheDevicesFile = -30;

// Failures another attempt cannot mend: the file is gone on the device, or
// the disk refused the temporary file (full, read-only).
bool isPermanent(int code)
{
    return code == 404 || code == sdk::cores::tidewell::error_local_file;
}

// The system's reason why the folder cannot be made: mkdir of the first
// missing component.
QString mkpathReason(const QString& folder)
{
    QString missing = QDir::cleanPath(folder);
    QString parent = QFileInfo(missing).path();
    while (!QFileInfo::exists(parent) && parent != missing) {
        missing = parent;
        parent = QFileInfo(missing).path();
    }
    if (QFileInfo(missing).exists() && !QFileInfo(missing).isDir())
        return QString::fromLocal8Bit(std::strerror(ENOTDIR));
    if (::mkdir(QFile::encodeName(missing).constData(), 0755) == 0) {
        ::rmdir(QFile::encodeName(missing).constData());
        return QString();
    }
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Copies src to dst whole; on failure removes what was written and gives
// the system's reason.
bool copyWhole(const QString& src, const QString& dst, QString& why)
{
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly)) {
        why = in.errorString();
        return false;
    }
    QFile out(dst);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        why = out.errorString();
        return false;
    }
    QByteArray buf;
    bool ok = true;
    while (ok) {
        buf = in.read(1024 * 1024);
        if (buf.isEmpty()) {
            if (in.error() != QFileDevice::NoError) {
                why = in.errorString();
                ok = false;
            }
            break;
        }
        if (out.write(buf) != buf.size()) {
            why = out.errorString();
            ok = false;
        }
    }
    if (ok && ::fsync(out.handle()) != 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        ok = false;
    }
    out.close();
    if (!ok)
        QFile::remove(dst);
    return ok;
}
}

QString LVDownTask::destMarkOf(const QString& tempPath)
{
    return tempPath + ".dest";
}

void LVDownTask::retireDestMark(const QString& tempPath)
{
    retireDestMarks({tempPath});
}

void LVDownTask::retireDestMarks(const QStringList& tempPaths)
{
    MoveJournal::retire(tempPaths);
    // Marks of a file of their own, as earlier versions left them.
    for (const QString& t : tempPaths)
        ::unlink(QFile::encodeName(destMarkOf(t)).constData());
}

QString LVDownTask::movedTo(const QString& tempPath)
{
    QFile mark(destMarkOf(tempPath));
    if (mark.open(QIODevice::ReadOnly))
        return QString::fromUtf8(mark.readAll());
    return MoveJournal::movedTo(tempPath);
}

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
    connect(m_download, &TidewellDownload::downloadSource, this, &LVDownTask::onDownloadSource);
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
    // The library's last report may be queued here already: on the shared
    // task thread it would be delivered while this goes.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
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

void LVDownTask::startTask(DownFileInfo fInfo)
{
    m_given = fInfo;
    emit sStartTask(fInfo);
}

void LVDownTask::prefetch(DownFileInfo fInfo)
{
    m_given = fInfo;
    m_held = true;
    m_heldStarted = false;
    m_heldDone = false;
    m_heldFailed = false;
    m_record = fInfo;
    m_retries = 0;
    m_redo = Redo::Download;
    m_outage.reset();
    m_retryPending = false;
    m_deleteOnPause = false;
    m_stopRequested = false;
    m_ended = false;
    m_lastStalled = false;
    m_stallFailure = false;
    m_tempPath.clear();
    // Only a plain transfer is fetched ahead; a file already moved into
    // place by an earlier run is left to the normal start.
    if (m_record.isFolder || m_record.fileSize <= 0 || !m_record.getTempPath(m_tempPath, m_tmpDir)
        || !movedTo(m_tempPath).isEmpty())
        return;
    m_heldStarted = true;
    downloadStep();
}

void LVDownTask::admit(DownFileInfo fInfo)
{
    m_given = fInfo;
    if (!m_held || !m_heldStarted || m_heldFailed || m_ended) {
        m_held = false;
        onStartTask(fInfo);
        return;
    }
    m_held = false;
    m_record = fInfo;
    if (m_heldDone)
        onDownloadFinish();
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
    m_redo = Redo::Download;
    m_outage.reset();
    m_retryPending = false;
    m_deleteOnPause = false;
    m_stopRequested = false;
    m_tempPath.clear();
    m_ended = false;
    m_lastStalled = false;
    m_stallFailure = false;

    if (m_record.isFolder || m_record.fileSize <= 0) {
        completeLocally();
        return;
    }
    downloadStep();
}

// The entry's final folder, made when missing; a failure is retried
// (redoing `redo`) and finally ends the run with the system's reason.
bool LVDownTask::saveFolder(QString& folder, Redo redo)
{
    if (m_record.getSavePath(m_topName, folder))
        return true;
    QString why;
    if (!m_record.savePath.isEmpty()) {
        QString wanted = m_record.savePath;
        if (m_record.isSubItem)
            wanted += "/" + SafePath::safeName(m_topName) + SafePath::safeRelPath(m_record.pNamePath);
        why = mkpathReason(wanted);
    }
    retryLocally(redo, why.isEmpty() ? tr("Create Folder fail") : tr("Create Folder fail") + ": " + why);
    return false;
}

// Empty folders and empty files need no transfer.
void LVDownTask::completeLocally()
{
    QString folder;
    if (!saveFolder(folder, Redo::Local))
        return;
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
    retryLocally(Redo::Local,
                 path.isEmpty() ? tr("Create file fail") : tr("Create file fail") + ": " + f.errorString());
}

void LVDownTask::downloadStep()
{
    qDebug() << "LVDownloadManager::downloadData---------" << m_record.fileName;
    // A prefetch found the temporary path and looked for a move already.
    if (!m_held && !m_record.getTempPath(m_tempPath, m_tmpDir)) {
        retryLocally(Redo::Download, tr("Create Folder fail"));
        return;
    }
    qDebug() << "------path:" << m_record.usbFilePath << m_record.filePath;
    if (!m_held && finishFromMark())
        return;

    // The library continues from the size of the temporary file. A file
    // larger than the entry cannot be a part of it.
    const QFileInfo tmp(m_tempPath);
    if (tmp.exists() && m_record.fileSize > 0 && tmp.size() > m_record.fileSize) {
        qWarning() << "LVDownTask::downloadData - stale temporary file" << m_tempPath
                   << tmp.size() << "> size" << m_record.fileSize << ", starting over";
        QFile::remove(m_tempPath);
    }
    // The bytes held are of the file the entry was made from, unless an
    // earlier answer said which file they are of.
    SourceStamp held(m_record.fileMd5, m_record.fileSize);
    if (QFileInfo(m_tempPath).size() > 0)
        SourceStamp::read(m_tempPath, held);
    else
        SourceStamp::remove(m_tempPath);
    m_download->guardResume(held, m_tempPath);

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
        failOrRetry(OutagePacing::kNotConnected, tr("Device is not connected"));
    }
}

// A file moved into place by an earlier run that ended before it was
// recorded: finished, without asking the device again.
bool LVDownTask::finishFromMark()
{
    const QString dest = movedTo(m_tempPath);
    if (dest.isEmpty()) {
        if (QFileInfo::exists(destMarkOf(m_tempPath)))
            retireDestMark(m_tempPath);
        return false;
    }
    const QFileInfo placed(dest);
    QString folder;
    // Trusted only when the file is whole and lies in the entry's folder.
    if (dest.isEmpty() || !placed.isFile() || placed.size() != m_record.fileSize
        || !m_record.getSavePath(m_topName, folder)
        || QDir::cleanPath(placed.absolutePath())
               != QDir::cleanPath(QFileInfo(folder).absoluteFilePath())) {
        retireDestMark(m_tempPath);
        return false;
    }
    qDebug() << "LVDownTask - found" << dest << "already in place for" << m_record.fileName;
    QFile::remove(m_tempPath);
    m_record.savePath = dest;
    m_record.fileWriteLen = placed.size();
    m_record.progress = 1.0f;
    endRun(Finished);
    return true;
}

void LVDownTask::failOrRetry(int code, const QString& msg)
{
    if (m_ended)
        return;
    if (m_held) {
        m_heldFailed = true;
        if (m_download)
            m_download->release();
        return;
    }
    if (m_stopRequested) {
        endRun(Paused);
        return;
    }
    QString why = msg;
    int delay = kRetryDelayMs;
    m_lastStalled = false;
    if (OutagePacing::isDeviceAway(code)) {
        if (code == OutagePacing::kNotConnected) {
            endRun(Waiting, msg);
            return;
        }
        // A transfer that stalls or breaks off while the device answers
        // everything else is a failed attempt, not an outage: waited for
        // like one it would hold the queue for many minutes.
        const NetworkShare share(0, m_record.shareId, m_record.extractedCode);
        const bool broke = code == sdk::cores::tidewell::error_network
                           || code == sdk::cores::tidewell::error_stalled;
        if (!broke || !OutagePacing::deviceAnswers(m_owner, share)) {
            waitForDevice(msg);
            return;
        }
        why = tr("The device stopped sending the file") + ": " + msg;
        delay = OutagePacing::capped(kRetryDelayMs);
        m_lastStalled = true;
        qDebug() << "LVDownTask - transfer of" << m_record.fileName
                 << "broke off while the device answers:" << msg;
    }
    if (!isPermanent(code) && m_retries < kMaxRetries) {
        ++m_retries;
        qDebug() << "LVDownTask::TryAgian: ---------------" << m_retries << m_record.fileName;
        if (m_download)
            m_download->release();
        m_nextDelayMs = delay;
        emit sStartTry();
        return;
    }
    endRun(Failed, why);
}

// The owner is connected but the device did not answer, or answered that it
// is busy: tried again with a growing delay. Only a long wait counts as one
// failed attempt.
void LVDownTask::waitForDevice(const QString& msg)
{
    bool counted = false;
    const int delay = m_outage.next(kRetryDelayMs, counted);
    if (counted) {
        if (m_retries >= kMaxRetries) {
            endRun(Failed, msg);
            return;
        }
        ++m_retries;
    }
    qDebug() << "LVDownTask - device not reachable (" << msg << "), trying" << m_record.fileName
             << "again in" << delay << "ms";
    if (m_download)
        m_download->release();
    m_nextDelayMs = delay;
    emit sStartTry();
}

void LVDownTask::onStartTry()
{
    if (!m_retryTimer) {
        m_retryTimer = new QTimer(this);
        m_retryTimer->setSingleShot(true);
        connect(m_retryTimer, &QTimer::timeout, this, &LVDownTask::tryUploadData);
    }
    m_retryTimer->start(m_nextDelayMs);
    m_retryPending = true;
}

void LVDownTask::tryUploadData()
{
    if (m_retryTimer)
        m_retryTimer->stop();
    m_retryPending = false;
    if (m_ended)
        return;
    const Redo step = m_redo;
    m_redo = Redo::Download;
    switch (step) {
    case Redo::Local:
        completeLocally();
        break;
    case Redo::Place:
        placeDownloaded();
        break;
    case Redo::Download:
        downloadStep();
        break;
    }
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

void LVDownTask::onDownloadSource(QString md5, qlonglong size)
{
    if (m_ended)
        return;
    // The entry follows the file the device sends now; an MD5 the answer
    // does not confirm is of no use for the check at the end.
    if (!md5.isEmpty())
        m_record.fileMd5 = md5;
    else if (!SourceStamp(m_record.fileMd5, m_record.fileSize).matches(SourceStamp(QString(), size)))
        m_record.fileMd5.clear();
    if (size > 0)
        m_record.fileSize = size;
}

// A file whose MD5 the device names must have it: a part of another
// file (or bytes of no download) never reaches the final folder.
bool LVDownTask::receivedWhole()
{
    if (m_record.fileMd5.isEmpty())
        return true;
    const QString got = FileMd5Asyn::digestOf(m_tempPath);
    if (got.compare(m_record.fileMd5, Qt::CaseInsensitive) == 0)
        return true;
    qWarning() << "LVDownTask - " << m_record.fileName << "arrived with MD5" << got << "instead of"
               << m_record.fileMd5 << ", fetching it again";
    QFile::remove(m_tempPath);
    SourceStamp::remove(m_tempPath);
    failOrRetry(kNotTheDevicesFile, tr("The file received does not match its MD5 on the device"));
    return false;
}

void LVDownTask::onDownloadProgress(qlonglong byteSent, qlonglong bytesTotal)
{
    if (m_ended || m_stopRequested || m_held)
        return;
    if (bytesTotal > m_record.fileWriteLen) {
        // Bytes move again: an earlier outage is over.
        m_outage.reset();
    }
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
    if (m_held) {
        m_heldDone = true;
        return;
    }
    emit rTransferDone();
    if (m_stopRequested && m_deleteOnPause) {
        endRun(Paused);
        return;
    }
    if (receivedWhole())
        placeDownloaded();
}

// The whole temporary file goes to a free name in the final folder.
void LVDownTask::placeDownloaded()
{
    QString folder;
    if (!saveFolder(folder, Redo::Place))
        return;
    // The free name is chosen once per attempt; nothing is written under it
    // until the whole file is there.
    QString path;
    QString why;
    if (!m_record.newFileName(folder, path, 0)) {
        why = tr("no usable free name");
    } else if (placeFile(folder, path, why)) {
        m_record.savePath = path;
        m_record.fileWriteLen = QFileInfo(path).size();
        m_record.progress = 1.0f;
        endRun(Finished);
        return;
    }
    qWarning() << "LVDownTask::onDownloadFinish - cannot move" << m_tempPath << "to" << path << why;
    retryLocally(Redo::Place, tr("Move file fail") + ": " + why);
}

// A local step that failed (folder, file or move) is tried again like a
// transfer, 2000 ms apart, without asking the device again: a disk that
// was full or read-only for a moment does not fail the entry. After the
// last attempt the entry fails with the system's reason.
void LVDownTask::retryLocally(Redo step, const QString& msg)
{
    if (m_ended)
        return;
    if (m_held) {
        m_heldFailed = true;
        return;
    }
    if (m_stopRequested) {
        endRun(Paused);
        return;
    }
    if (m_retries >= kMaxRetries) {
        endRun(Failed, msg);
        return;
    }
    ++m_retries;
    qDebug() << "LVDownTask::TryAgian: ---------------" << m_retries << m_record.fileName << msg;
    m_redo = step;
    m_nextDelayMs = OutagePacing::capped(kRetryDelayMs);
    emit sStartTry();
}

// Moves the finished temporary file to dest, whole or not at all. Across
// file systems the copy goes to a hidden name in the target folder first.
bool LVDownTask::placeFile(const QString& folder, const QString& dest, QString& why)
{
    if (!MoveJournal::note(m_tempPath, dest))
        qWarning() << "LVDownTask - cannot note the destination in" << MoveJournal::journalOf(m_tempPath);
    const QByteArray from = QFile::encodeName(m_tempPath);
    const QByteArray to = QFile::encodeName(dest);
    SourceStamp::remove(m_tempPath);
    if (::rename(from.constData(), to.constData()) == 0)
        return true;
    if (errno != EXDEV) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        retireDestMark(m_tempPath);
        return false;
    }
    const QString part = folder + "/." + QFileInfo(m_tempPath).fileName() + ".part";
    if (!copyWhole(m_tempPath, part, why)) {
        retireDestMark(m_tempPath);
        return false;
    }
    if (::rename(QFile::encodeName(part).constData(), to.constData()) != 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(part);
        retireDestMark(m_tempPath);
        return false;
    }
    QFile::remove(m_tempPath);
    return true;
}

void LVDownTask::onDownloadPause()
{
    if (m_ended)
        return;
    if (m_held) {
        m_heldFailed = true;
        return;
    }
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
            if (!tmp.isEmpty())
                SourceStamp::remove(tmp);
        } else if (!m_tempPath.isEmpty() && QFileInfo::exists(m_tempPath)) {
            // Progress reports are thinned: the partial file tells the bytes done.
            m_record.fileWriteLen = QFileInfo(m_tempPath).size();
            if (m_record.fileSize > 0)
                m_record.progress = float(double(m_record.fileWriteLen) / double(m_record.fileSize));
        }
        m_record.fileState = 3;
        emit rDownPause(m_record);
        break;
    case Failed:
        m_record.fileState = 4;
        m_record.msg = msg;
        m_stallFailure = m_lastStalled;
        emit rDownError(m_record);
        break;
    case Waiting:
        m_record.fileState = 2;
        m_record.msg.clear();
        emit rDownWait(m_record);
        break;
    }
}
