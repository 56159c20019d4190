#include "transfer/tidewellupload.h"

#include <QDebug>
#include <QMutexLocker>

#include "core/tidewell.h"
#include "sdk/tidewell_network_sdk.h"
#include "sdk/up_file_info.h"
#include "sdk/upload.h"

using namespace sdk::cores;
namespace plugins = sdk::plugins;

TidewellUpload::TidewellUpload(QObject* parent) : QObject(parent)
{
    m_clock.start();
}

TidewellUpload::~TidewellUpload()
{
    // Same as stop, without a signal: nobody listens any more.
    if (!m_done.exchange(true) && m_task) {
        m_task->stop();
        qDebug() << "TidewellUpload::stop()---------------------------";
    }
    giveBack();
}

bool TidewellUpload::init(Tidewell* owner)
{
    if (!owner)
        return false;
    m_owner = owner;
    return true;
}

UploadFileInfo TidewellUpload::recordCopy()
{
    QMutexLocker l(&m_lock);
    return m_record;
}

void TidewellUpload::giveBack()
{
    if (!m_task)
        return;
    // The session may have been replaced since; a session frees its own
    // tasks when it goes away, so only the one that made the task gets it.
    if (m_owner && m_owner->networkSdk() == m_taskSdk)
        m_taskSdk->release_upload(m_task);
    m_task = nullptr;
    m_taskSdk = nullptr;
}

void TidewellUpload::on_released()
{
    m_task = nullptr;
    m_taskSdk = nullptr;
}

bool TidewellUpload::start(const UploadFileInfo& info)
{
    giveBack();
    {
        QMutexLocker l(&m_lock);
        m_record = info;
        m_lastBytes = 0;
        m_lastTime = m_clock.elapsed();
    }
    m_bytesSent = 0;
    if (!m_owner)
        return false;

    model::up_file_info d;
    d.file_name = info.fileName.toStdString();
    d.file_size = info.fileSize;
    d.file_md5 = info.fileMd5.toStdString();
    d.file_path = info.filePath.toStdString();
    d.file_ext = std::string();
    d.create_time = info.createTime;
    d.is_folder = 0;
    d.dir_id = info.dirId;
    d.is_cover = info.isCover ? 1 : 0;
    d.is_external = info.isExternal ? 1 : 0;
    d.is_safe_box = info.isSafeBox ? 1 : 0;
    d.external_path = info.externalPath.toStdString();
    d.disk_serial = info.diskSerial.toStdString();
    d.client_type = "PC";
    d.upload_type = info.uploadType;
    d.group_id = info.groupId;
    d.modify_time = info.createTime;
    d.app_type = 3;
    d.task_id = info.taskId.toStdString();
    d.offset = 0;
    d.total_size = info.fileSize;

    qDebug() << "TidewellUpload::start - task id " << info.taskId << info.fileName
             << info.fileMd5 << info.dirId;

    return m_owner->device_online(NetworkShare(), [this, &d](sdk::plugins::tidewell_network_sdk* net,
                                                             bool lan) {
        m_done = false;
        tidewell::upload* task = lan ? net->http_upload(d, this) : net->p2p_upload(d, this);
        if (!task) {
            qWarning() << "Error: TidewellUpload::start() create upload task failed.";
            return false;
        }
        m_task = task;
        m_taskSdk = net;
        {
            // Before the start: the library may report progress at once.
            QMutexLocker l(&m_lock);
            m_lastBytes = 0;
            m_lastTime = m_clock.elapsed();
        }
        if (!task->start()) {
            net->release_upload(task);
            m_task = nullptr;
            m_taskSdk = nullptr;
            return false;
        }
        return true;
    });
}

void TidewellUpload::stop()
{
    if (m_done.exchange(true))
        return;
    if (!m_task) {
        emit uploadPause(recordCopy());
        return;
    }
    m_task->stop();
    giveBack();
    emit uploadPause(recordCopy());
    qDebug() << "TidewellUpload::stop()---------------------------";
}

void TidewellUpload::release()
{
    giveBack();
}

bool TidewellUpload::hasSendFinish()
{
    const qint64 sent = m_bytesSent;
    const qint64 size = recordCopy().fileSize;
    const bool rs = sent >= size;
    qDebug() << "hasSendFinish:" << sent << size << rs;
    return rs;
}

void TidewellUpload::on_progress(std::int64_t total, std::int64_t sent)
{
    UploadFileInfo copy;
    qint64 speed = 0;
    {
        QMutexLocker l(&m_lock);
        const qint64 now = m_clock.elapsed();
        const qint64 elapsed = now - m_lastTime;
        m_bytesSent = sent;
        if (m_lastBytes <= 0) {
            m_lastBytes = sent;
            copy = m_record;
            l.unlock();
            emit uploadProgress(copy, 0, sent);
            return;
        }
        if (elapsed < 1000 && !(total == sent && sent != m_lastBytes))
            return;
        m_lastTime = now;
        const float secs = float(elapsed) / 1000.0f;
        speed = secs > 0 ? qint64(float(sent - m_lastBytes) / secs) : 0;
        m_lastBytes = sent;
        if (sent < 0)
            return;
        m_record.fileWriteLen = sent;
        float p = m_record.fileSize > 0 ? float(sent) / float(m_record.fileSize) : 0.0f;
        if (p > 1.0f)
            p = 1.0f;
        m_record.progress = p;
        copy = m_record;
    }
    emit uploadProgress(copy, speed, sent);
}

int TidewellUpload::on_data(const char*, std::size_t)
{
    return 0;
}

void TidewellUpload::on_task(const std::string& taskId)
{
    const QString id = QString::fromStdString(taskId);
    qDebug() << "TidewellUpload::on_task - id " << id;
    UploadFileInfo copy;
    QString known;
    {
        QMutexLocker l(&m_lock);
        known = m_record.taskId;
        m_record.taskId = id;
        copy = m_record;
    }
    if (!id.isEmpty() && id != known && m_keepTaskId && !m_keepTaskId(copy, id))
        qWarning() << "TidewellUpload - task id" << id << "of" << copy.fileName << "not stored";
    emit uploadTaskCreate(copy, !id.isEmpty(), id);
}

void TidewellUpload::on_status(int code, const std::string& text, int errCode)
{
    if (m_done.exchange(true))
        return;
    qDebug().noquote() << "TidewellUpload::on_status()---------------:code:" << code
                       << " msg:" << QString::fromStdString(text) << " errCode:" << errCode
                       << "------------\n\n";
    const UploadFileInfo copy = recordCopy();
    if (code == tidewell::status_upload_done)
        emit uploadFinish(copy);
    else
        emit uploadError(copy, errCode, messageFor(errCode, QString::fromStdString(text)));
}

void TidewellUpload::on_stored(const std::string& name)
{
    // The finished entry names the file as the device shows it.
    QMutexLocker lock(&m_lock);
    m_record.fileName = QString::fromStdString(name);
}

QString TidewellUpload::messageFor(int errCode, const QString& text)
{
    // Codes with a text of their own keep it; otherwise the device's or the
    // network layer's own words say more than "Unknown error".
    const QString known = errorMessage(errCode);
    if (known != tr("Unknown error") || text.trimmed().isEmpty())
        return known;
    return text.trimmed();
}

QString TidewellUpload::errorMessage(int errCode)
{
    switch (errCode) {
    case 2014: return tr("Capacity is full");
    case 2001:
    case 2002: return tr("Without permission");
    case 2201: return tr("Unauthorized operation");
    case 404: return tr("File does not exist");
    case 20203: return tr("Space by remove");
    default: return tr("Unknown error");
    }
}
