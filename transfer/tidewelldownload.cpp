#include "transfer/tidewelldownload.h"

#include <QDebug>

#include "core/networkshare.h"
#include "core/tidewell.h"
#include "sdk/download.h"
#include "sdk/task_interface.h"
#include "sdk/tidewell_network_sdk.h"

using sdk::cores::tidewell::download;
using sdk::plugins::tidewell_network_sdk;

TidewellDownload::TidewellDownload(QObject* parent) : QObject(parent)
{
    m_clock.start();
}

TidewellDownload::~TidewellDownload()
{
    stop();
    // After a final status the task may not be given back yet and its
    // worker may still be in that call: giving it back waits for the worker.
    giveBack();
    m_owner = nullptr;
}

bool TidewellDownload::init(Tidewell* owner)
{
    if (!owner)
        return false;
    m_owner = owner;
    return true;
}

bool TidewellDownload::start(sdk::cores::model::down_file_info& info, bool stream)
{
    if (!m_owner)
        return false;
    // A task of an earlier attempt that was not given back goes now. A
    // failed start leaves the object idle, so a later stop still pauses.
    giveBack();
    m_done = false;
    const NetworkShare share(info.share_type, QString::fromStdString(info.share_id),
                             QString::fromStdString(info.extracted_code));
    return m_owner->device_online(share, [this, &info, stream](tidewell_network_sdk* net, bool http) {
        if (!net)
            return false;
        m_lastBytes = 0;
        m_lastTime = m_clock.elapsed();
        download* task = nullptr;
        if (http && stream)
            task = net->http_download_stream(info, this);
        else if (http)
            task = net->http_download(info, this);
        else if (stream)
            task = net->p2p_download_stream(info, this);
        else
            task = net->p2p_download(info, this);
        if (!task) {
            qWarning() << "Error: TidewellDownload::start() create upload task failed.";
            return false;
        }
        if (!task->start()) {
            net->release_download(task);
            return false;
        }
        m_task = task;
        m_sdk = net;
        return true;
    });
}

void TidewellDownload::guardResume(const SourceStamp& held, const QString& tempPath)
{
    m_guarded = true;
    m_held = held;
    m_guardedPath = tempPath;
}

bool TidewellDownload::on_source(const sdk::cores::tidewell::source_info& source, bool resumed)
{
    if (!m_guarded)
        return true;
    const SourceStamp now = SourceStamp::of(source);
    const bool same = !resumed || m_held.matches(now);
    if (!same)
        qWarning() << "TidewellDownload - the file changed on the device since its first bytes were fetched ("
                   << m_held.toString() << "; now" << now.toString() << "), starting over:" << m_guardedPath;
    // From here on the bytes at the path are of this file.
    m_held = same && resumed ? now.completedBy(m_held) : now;
    if (!m_held.write(m_guardedPath))
        qWarning() << "TidewellDownload - cannot keep the source of" << m_guardedPath;
    emit downloadSource(m_held.md5, m_held.size);
    return same;
}

void TidewellDownload::giveBack()
{
    if (m_task && m_sdk)
        m_sdk->release_download(m_task);
    m_task = nullptr;
    m_sdk = nullptr;
}

void TidewellDownload::stop()
{
    qDebug() << "TidewellDownload::stop ------------------------ begin";
    if (m_done.exchange(true))
        return;
    if (m_task) {
        m_task->stop();
        giveBack();
        emit downloadPause();
        qDebug() << "TidewellDownload::stop ------------------------";
    } else {
        emit downloadPause();
    }
}

void TidewellDownload::release()
{
    giveBack();
}

void TidewellDownload::on_released()
{
    m_task = nullptr;
    m_sdk = nullptr;
}

void TidewellDownload::on_task(const std::string& taskId)
{
    qDebug() << "TidewellDownload::on_task - " << this;
    emit downloadTaskCreate(!taskId.empty(), QString::fromStdString(taskId));
}

void TidewellDownload::on_progress(std::int64_t total, std::int64_t done)
{
    const qint64 now = m_clock.elapsed();
    const qint64 elapsed = now - m_lastTime;
    qint64 speed = 0;
    if (m_lastBytes > 0) {
        const bool completing = done == total && done != m_lastBytes;
        if (elapsed < 1000 && !completing)
            return;
        if (done < 0)
            return;
        // A completing report can come within the same millisecond.
        const float secs = float(elapsed > 0 ? elapsed : 1) / 1000.0f;
        speed = qint64(float(done - m_lastBytes) / secs);
        if (speed < 0)
            speed = 0;
        m_lastTime = now;
        m_lastBytes = done;
    } else {
        if (done < 0)
            return;
        m_lastBytes = done;
        m_lastTime = now;
    }
    emit downloadProgress(speed, done);
}

void TidewellDownload::on_status(int status, const std::string& text, int errCode)
{
    if (m_done.exchange(true))
        return;
    qDebug() << "TidewellDownload::on_status ------------------------errCode:" << errCode
             << "---msg:" << QString::fromStdString(text);
    if (status == sdk::cores::tidewell::status_download_done) {
        emit downloadFinish();
        return;
    }
    // The library's own text says what went wrong (time-out, refused
    // connection, disk full); it reaches the row.
    const QString why = QString::fromStdString(text).trimmed();
    const QString msg = errCode == 404 ? tr("File does not write")
                        : why.isEmpty() ? tr("Unknown error")
                                        : why;
    emit downloadError(errCode, msg);
}
