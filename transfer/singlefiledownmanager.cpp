#include "transfer/singlefiledownmanager.h"

#include <climits>

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include "core/safepath.h"
#include "core/tidewell.h"
#include "core/utils.h"
#include "sdk/down_file_info.h"
#include "transfer/tidewelldownload.h"

namespace {
const int kMaxNameTries = 10000;
}

SingleFileDownManager::SingleFileDownManager()
{
    qRegisterMetaType<DownFileInfo>("DownFileInfo");
    m_thread = new QThread;
    m_thread->setObjectName("SingleFileDownManager");
    moveToThread(m_thread);
    m_thread->start();
}

SingleFileDownManager::~SingleFileDownManager()
{
    // The wrapper belongs to the manager's thread: its task is given back
    // there, then the thread ends.
    if (QThread::currentThread() == m_thread || !m_thread->isRunning())
        cleanupOnThread();
    else
        QMetaObject::invokeMethod(this, [this] { cleanupOnThread(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

void SingleFileDownManager::cleanupOnThread()
{
    m_active = false;
    if (m_download) {
        m_download->disconnect(this);
        delete m_download;
        m_download = nullptr;
    }
}

bool SingleFileDownManager::init(Tidewell* owner)
{
    if (!owner)
        return false;
    if (m_download)
        return true;
    m_owner = owner;
    connect(this, &SingleFileDownManager::sStartFile, this, &SingleFileDownManager::oStartFile);
    connect(this, &SingleFileDownManager::sPauseFile, this, &SingleFileDownManager::oPauseFile);
    m_download = new TidewellDownload;
    m_download->moveToThread(m_thread);

    // The wrapper reports on library threads (and on this one from stop()).
    // Each report takes the run number current when it is emitted and is
    // handled on the manager's thread only when that run is still current.
    auto relay = [this](auto handler) {
        return [this, handler](auto... args) {
            const quint64 run = m_run.load();
            QMetaObject::invokeMethod(this, [this, handler, run, args...] {
                if (run == m_run.load())
                    (this->*handler)(args...);
            }, Qt::QueuedConnection);
        };
    };
    connect(m_download, &TidewellDownload::downloadTaskCreate, this,
            relay(&SingleFileDownManager::downloadTaskCreate), Qt::DirectConnection);
    connect(m_download, &TidewellDownload::downloadProgress, this,
            relay(&SingleFileDownManager::downloadProgress), Qt::DirectConnection);
    connect(m_download, &TidewellDownload::downloadFinish, this,
            relay(&SingleFileDownManager::downloadFinish), Qt::DirectConnection);
    connect(m_download, &TidewellDownload::downloadPause, this,
            relay(&SingleFileDownManager::downloadPause), Qt::DirectConnection);
    connect(m_download, &TidewellDownload::downloadError, this,
            relay(&SingleFileDownManager::downloadError), Qt::DirectConnection);
    return m_download->init(owner);
}

void SingleFileDownManager::startFile(DownFileInfo fileInfo)
{
    emit sStartFile(fileInfo);
}

void SingleFileDownManager::pauseFile(const QString& taskId)
{
    emit sPauseFile(taskId);
}

QString SingleFileDownManager::tempPathOf(const DownFileInfo& fileInfo)
{
    // A folder of its own: the download queues clear their temporary files
    // when they end.
    const QString dir = getTmpPath() + "/preview";
    return dir + "/" + md5String(QString("%1%2").arg(fileInfo.fileId).arg(fileInfo.fileName));
}

QString SingleFileDownManager::uniqueFilePath(const QString& folder, const QString& name, int n)
{
    // The name comes from the device: it never leaves the folder.
    const QString safe = SafePath::safeName(name);
    if (safe.isEmpty() || folder.isEmpty())
        return QString();
    const QFileInfo fi(safe);
    const QString base = fi.baseName();
    const QString suffix = fi.suffix();
    for (int tries = 0; tries < kMaxNameTries; ++n, ++tries) {
        QString candidate;
        if (n == 0) {
            candidate = folder + "/" + safe;
        } else {
            candidate = folder + "/" + base + "(" + QString::number(n) + ")";
            if (!suffix.isEmpty())
                candidate += "." + suffix;
        }
        qDebug() << "newFileName:" << candidate;
        if (!SafePath::isInside(folder, candidate) || candidate == folder)
            return QString();
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
    return QString();
}

void SingleFileDownManager::stopActive()
{
    if (!m_active)
        return;
    m_download->stop();
    // Whatever the stopped task still had on its way is not reported.
    ++m_run;
    downloadPause();
}

void SingleFileDownManager::oStartFile(DownFileInfo fileInfo)
{
    if (!m_download)
        return;
    qDebug() << "SingleFileDownManager::downloadData---------" << fileInfo.fileName << ", "
             << fileInfo.shareId;
    // One download at a time: the one in hand goes back to the library and
    // is reported paused to its requester.
    stopActive();

    ++m_run;
    m_record = fileInfo;
    m_active = true;
    m_tempPath = tempPathOf(m_record);
    qDebug() << "------path:" << m_record.usbFilePath << m_record.filePath;
    const QString tmpDir = QFileInfo(m_tempPath).path();
    if (!QFileInfo::exists(tmpDir) && !QDir().mkpath(tmpDir)) {
        fail(tr("Create Folder fail"));
        return;
    }
    // The library continues from the size of the temporary file; one larger
    // than the file cannot be a part of it.
    const QFileInfo tmp(m_tempPath);
    if (tmp.exists() && m_record.fileSize > 0 && tmp.size() > m_record.fileSize)
        QFile::remove(m_tempPath);

    sdk::cores::model::down_file_info info;
    if (!m_record.usbFilePath.isEmpty()) {
        info.type = sdk::cores::model::down_file_info::kind_disk_file;
        info.usb_path = QUrl::toPercentEncoding(m_record.usbFilePath).toStdString();
        info.url = m_record.filePath.toStdString();
        qDebug() << "---------usbPath:" << m_record.usbFilePath << m_record.filePath;
    } else {
        const QString account = m_record.ower.isEmpty() ? m_record.accessId : m_record.ower;
        qDebug() << "------------ower" << m_record.ower << m_record.accessId << account;
        info.type = sdk::cores::model::down_file_info::kind_device_file;
        info.file_id = m_record.fileId;
        info.mode = 2;
        info.file_category = m_record.fileCatetory;
        info.ower = account.toStdString();
        info.file_md5 = m_record.fileMd5.toStdString();
    }
    // Also for a path download: the root reaches a link's files through the
    // session of that link only.
    info.share_id = m_record.shareId.toStdString();
    info.extracted_code = m_record.extractedCode.toStdString();
    info.save_path = QFile::encodeName(m_tempPath).toStdString();
    info.share_type = 0;
    if (!m_download->start(info, false)) {
        // Not connected, or the library refused: said at once rather than
        // leaving the requester waiting.
        qWarning() << "SingleFileDownManager::oStartFile - could not start" << m_record.fileName;
        fail(tr("Device is not connected"));
    }
}

void SingleFileDownManager::oPauseFile(QString taskId)
{
    if (!m_active || (!taskId.isEmpty() && taskId != m_record.taskId))
        return;
    stopActive();
}

void SingleFileDownManager::downloadTaskCreate(bool isSucc, QString taskId)
{
    Q_UNUSED(isSucc)
    Q_UNUSED(taskId)
}

void SingleFileDownManager::downloadProgress(qlonglong byteSent, qlonglong bytesTotal)
{
    if (!m_active)
        return;
    m_record.speed = int(qBound<qlonglong>(0, byteSent, INT_MAX));
    m_record.fileWriteLen = bytesTotal;
    // Without a size there is no fraction to show.
    m_record.progress = m_record.fileSize > 0 ? float(double(bytesTotal) / double(m_record.fileSize))
                                              : 0.0f;
    emit rDownProggress(m_record);
}

void SingleFileDownManager::downloadFinish()
{
    if (!m_active)
        return;
    m_download->release();
    QString folder = m_record.savePath;
    if (m_record.isSubItem) {
        const QString rel = SafePath::safeRelPath(m_record.pNamePath);
        // "/A/B" or "", each part made safe; null when a part cannot be.
        folder = rel.isNull() ? QString() : m_record.savePath + rel;
    }
    if (folder.isEmpty() || m_record.savePath.isEmpty()
        || !SafePath::isInside(m_record.savePath, folder)
        || (!QFileInfo::exists(folder) && !QDir().mkpath(folder))) {
        fail("Create Folder fail");
        return;
    }
    qDebug() << "DownFolderPath: " << folder;
    const QString path = uniqueFilePath(folder, m_record.fileName, 0);
    if (path.isEmpty() || !QFile::rename(m_tempPath, path)) {
        qWarning() << "SingleFileDownManager::downloadFinish - cannot move" << m_tempPath << "to"
                   << path;
        fail("Move file fail");
        return;
    }
    m_active = false;
    m_record.fileState = 5;
    m_record.savePath = path;
    m_record.fileWriteLen = QFileInfo(path).size();
    m_record.progress = 1.0f;
    m_record.speed = 0;
    emit rDownFinish(m_record);
}

void SingleFileDownManager::downloadPause()
{
    if (!m_active)
        return;
    m_active = false;
    m_download->release();
    if (!m_tempPath.isEmpty() && QFileInfo::exists(m_tempPath))
        QFile::remove(m_tempPath);
    m_record.fileState = 3;
    m_record.speed = 0;
    emit rDownPause(m_record);
}

void SingleFileDownManager::downloadError(int code, QString msg)
{
    Q_UNUSED(code)
    if (!m_active)
        return;
    fail(msg);
}

void SingleFileDownManager::fail(const QString& msg)
{
    m_active = false;
    m_record.fileState = 4;
    m_record.msg = msg;
    m_record.speed = 0;
    emit rDownError(m_record);
    if (m_download)
        m_download->release();
}
