#include "transfer/normalfiledownmanager.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "core/tidewell.h"
#include "core/utils.h"
#include "sdk/download.h"
#include "sdk/task_interface.h"
#include "sdk/tidewell_network_sdk.h"

using sdk::cores::tidewell::download;

NormalFileDownManager::NormalFileDownManager()
{
    m_thread = new QThread;
    m_thread->setObjectName("NormalFileDownManager");
    moveToThread(m_thread);
    m_thread->start();
}

NormalFileDownManager::~NormalFileDownManager()
{
    // The task belongs to the manager's thread: stopped there, then the
    // thread ends.
    if (QThread::currentThread() == m_thread || !m_thread->isRunning())
        onStop();
    else
        QMetaObject::invokeMethod(this, [this] { onStop(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

bool NormalFileDownManager::init(Tidewell* owner)
{
    if (!owner)
        return false;
    m_sdk = owner->networkSdk();
    connect(this, &NormalFileDownManager::sStart, this, &NormalFileDownManager::onStart);
    connect(this, &NormalFileDownManager::sStop, this, &NormalFileDownManager::onStop);
    connect(this, &NormalFileDownManager::sDownFinish, this, &NormalFileDownManager::onDownFinish);
    connect(this, &NormalFileDownManager::sDownError, this, &NormalFileDownManager::onDownError);
    // Partial pictures get a folder of their own below "tmp": the download
    // queues clear their temporary files when they end.
    m_tempDir = getAppDataPath() + "tmp/headImg";
    m_imageDir = getAppDataPath() + "headImg";
    for (const QString& dir : {m_tempDir, m_imageDir})
        if (!QFileInfo::exists(dir))
            QDir().mkpath(dir);
    return true;
}

QString NormalFileDownManager::fileNameOf(const QString& url)
{
    return md5String(url) + ".jpg";
}

bool NormalFileDownManager::addDownUrl(QString url)
{
    if (url.isEmpty() || !url.contains("http"))
        return false;
    bool start = false;
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_queue.append(url);
        if (!m_running) {
            m_running = true;
            start = true;
        }
    }
    if (start)
        emit sStart();
    return true;
}

void NormalFileDownManager::onStart()
{
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_running = true;
    }
    downloadNext();
}

void NormalFileDownManager::onStop()
{
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_running = false;
        m_queue.clear();
    }
    if (m_task)
        m_task->stop();
    giveBack();
}

void NormalFileDownManager::giveBack()
{
    if (m_task && m_sdk)
        m_sdk->release_download(m_task);
    m_task = nullptr;
}

// Cached pictures are answered in a loop: a long run of them must not
// deepen the stack.
void NormalFileDownManager::downloadNext()
{
    for (;;) {
        QString url;
        {
            std::lock_guard<std::mutex> lock(m_queueMutex);
            if (!m_running)
                return;
            if (m_queue.isEmpty()) {
                m_running = false;
                return;
            }
            url = m_queue.takeFirst();
        }
        if (startDownload(url) == Started)
            return;
    }
}

NormalFileDownManager::Step NormalFileDownManager::startDownload(const QString& url)
{
    m_url = url;
    m_fileName = fileNameOf(url);
    const QString kept = m_imageDir + "/" + m_fileName;
    if (QFileInfo::exists(kept)) {
        const QImage img(kept);
        if (!img.isNull()) {
            emit rDownFinish(url, kept, img);
            return Answered;
        }
        // Damaged since it was kept: fetched again.
        qWarning() << "NormalFileDownManager::startDownload - kept picture does not decode:" << kept;
        QFile::remove(kept);
    }

    const QString temp = m_tempDir + "/" + m_fileName;
    qDebug() << "---------savePath:" << temp;
    sdk::cores::model::down_file_info info;
    info.type = sdk::cores::model::down_file_info::kind_url;
    info.url = url.toStdString();
    info.save_path = QFile::encodeName(temp).toStdString();
    download* task = m_sdk ? m_sdk->http_download(info, this) : nullptr;
    if (!task) {
        qWarning() << "Error: TidewellDownload::start() create upload task failed.";
        return Dropped;
    }
    m_task = task;
    if (!task->start()) {
        giveBack();
        return Dropped;
    }
    return Started;
}

void NormalFileDownManager::on_progress(std::int64_t total, std::int64_t done)
{
    qDebug() << "NormalFileDownManager::on_progress" << done << total;
}

void NormalFileDownManager::on_status(int status, const std::string& text, int errCode)
{
    Q_UNUSED(errCode)
    qDebug() << "NormalFileDownManager::on_status" << status;
    if (status == sdk::cores::tidewell::status_download_done)
        emit sDownFinish();
    else
        emit sDownError(status, QString::fromStdString(text));
}

void NormalFileDownManager::onDownFinish()
{
    // A report of a task already stopped.
    if (!m_task)
        return;
    giveBack();
    const QString temp = m_tempDir + "/" + m_fileName;
    const QString kept = m_imageDir + "/" + m_fileName;
    const QImage img(temp);
    if (img.isNull()) {
        // Not a picture (an error page, a cut body): nothing is kept, so the
        // next request fetches it again.
        qWarning() << "NormalFileDownManager::onDownFinish - not a picture:" << m_url;
        QFile::remove(temp);
        emit rDownError(m_url, sdk::cores::tidewell::status_download_failed, tr("Not a picture"));
        downloadNext();
        return;
    }
    if (QFileInfo::exists(kept))
        QFile::remove(kept);
    if (QFile::rename(temp, kept)) {
        emit rDownFinish(m_url, kept, img);
    } else {
        qWarning() << "NormalFileDownManager::onDownFinish: move file fail" << temp << kept;
        emit rDownFinish(m_url, temp, img);
    }
    downloadNext();
}

void NormalFileDownManager::onDownError(int code, QString msg)
{
    if (!m_task)
        return;
    giveBack();
    emit rDownError(m_url, code, msg);
    downloadNext();
}
