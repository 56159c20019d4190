#include "transfer/thumbdownloadtask.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <QBuffer>
#include <QDebug>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QThreadPool>
#include <QUrl>

#include "core/tidewell.h"
#include "sdk/down_file_info.h"
#include "sdk/download.h"
#include "sdk/task_interface.h"
#include "sdk/tidewell_network_sdk.h"

using namespace sdk::cores;

ThumbDownloadTask::ThumbDownloadTask(const QString& root) : m_root(root)
{
    m_lastData.store(steadyMs());
}

ThumbDownloadTask::~ThumbDownloadTask()
{
    release();
}

qint64 ThumbDownloadTask::steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The temporary file of one task, written behind the download: chunks are
// appended in order by one job at a time on a pool of its own.
class ThumbTmpWriter : public std::enable_shared_from_this<ThumbTmpWriter>
{
public:
    ThumbTmpWriter(const QString& path, qint64 at) : m_file(path), m_at(at) {}

    void append(const char* data, qint64 length)
    {
        std::lock_guard<std::mutex> l(m_mutex);
        m_pending.append(data, int(length));
        if (m_scheduled)
            return;
        m_scheduled = true;
        auto self = shared_from_this();
        pool().start([self] { self->drain(); });
    }

    bool finish()
    {
        std::unique_lock<std::mutex> l(m_mutex);
        m_idle.wait(l, [this] { return !m_scheduled; });
        if (m_file.isOpen())
            m_file.close();
        return !m_failed;
    }

private:
    static QThreadPool& pool()
    {
        struct Pool : QThreadPool
        {
            Pool() { setMaxThreadCount(4); }
        };
        static Pool p;
        return p;
    }

    void drain()
    {
        for (;;) {
            QByteArray chunk;
            {
                std::lock_guard<std::mutex> l(m_mutex);
                chunk.swap(m_pending);
                if (chunk.isEmpty() || m_failed) {
                    m_pending.clear();
                    m_scheduled = false;
                    m_idle.notify_all();
                    return;
                }
            }
            // Opened once for the task, unbuffered: no flush per chunk.
            bool ok = m_file.isOpen()
                      || (m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered) && m_file.seek(m_at));
            ok = ok && m_file.write(chunk) == chunk.size();
            if (!ok) {
                qWarning() << "ThumbDownloadTask - cannot write" << m_file.fileName() << m_file.errorString();
                m_file.close();
                std::lock_guard<std::mutex> l(m_mutex);
                m_failed = true;
            }
        }
    }

    QFile m_file;
    const qint64 m_at;
    std::mutex m_mutex;
    std::condition_variable m_idle;
    QByteArray m_pending;
    bool m_scheduled = false;
    bool m_failed = false;
};

bool ThumbDownloadTask::finishWrites(const std::shared_ptr<ThumbTmpWriter>& writer)
{
    return !writer || writer->finish();
}

namespace {
QString versionPath(const QString& tmpPath)
{
    return tmpPath + ".ver";
}

QByteArray readSmallFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(1024) : QByteArray();
}
}

void ThumbDownloadTask::setInfo(const ThumbInfo& info)
{
    m_info = info;
    m_tmpPath = info.cacheFilePath(m_root) + "_tmp";
    const QFileInfo fi(m_tmpPath);
    m_writePos = fi.exists() ? fi.size() : 0;
    // The device may have a new picture under the same id since the part
    // was written: its rest would not fit the old beginning.
    const QString tag = info.versionTag();
    if (m_writePos > 0 && (tag.isEmpty() || readSmallFile(versionPath(m_tmpPath)) != tag.toUtf8())) {
        qDebug() << "ThumbDownloadTask - partial thumbnail of another version, starting over:"
                 << m_tmpPath;
        dropPartial();
        m_writePos = 0;
    }
    m_writer = std::make_shared<ThumbTmpWriter>(m_tmpPath, m_writePos);
}

void ThumbDownloadTask::dropPartial()
{
    dropPartialAt(m_tmpPath);
}

void ThumbDownloadTask::dropStalled()
{
    finishWrites(m_writer);
    m_wrote = false;
    dropPartial();
}

void ThumbDownloadTask::dropPartialAt(const QString& tmpPath)
{
    QFile::remove(tmpPath);
    QFile::remove(versionPath(tmpPath));
}

namespace {
// tail: the last bytes of the file (up to 32).
QString faultOf(QImageReader& reader, QByteArray tail, bool decode)
{
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.canRead() ? reader.size() : QSize();
    if (!size.isValid() || size.isEmpty())
        return "file is not image data";
    // Qt decodes a cut JPEG without complaint, grey where data is missing.
    const QByteArray format = reader.format();
    const QByteArray end = format == "jpeg" ? QByteArray("\xff\xd9")
                         : format == "png" ? QByteArray("IEND\xae\x42\x60\x82")
                                           : QByteArray();
    if (!end.isEmpty()) {
        while (tail.endsWith('\0'))
            tail.chop(1);
        if (!tail.endsWith(end))
            return "thumb data is truncated";
    }
    if (decode && reader.read().isNull())
        return "file is not image data: " + reader.errorString();
    return QString();
}
}

QString ThumbDownloadTask::pictureFault(const QString& path, bool decode)
{
    QFile f(path);
    QByteArray tail;
    if (f.open(QIODevice::ReadOnly) && f.seek(qMax<qint64>(0, f.size() - 32)))
        tail = f.read(32);
    f.close();
    QImageReader reader(path);
    return faultOf(reader, tail, decode);
}

QString ThumbDownloadTask::pictureFault(const QByteArray& data, bool decode)
{
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    return faultOf(reader, data.right(32), decode);
}

bool ThumbDownloadTask::start(Tidewell* owner)
{
    if (!owner)
        return false;
    m_lastData.store(steadyMs());
    const ThumbInfo info = m_info;
    const qint64 offset = m_writePos;
    return owner->device_online(info.share, [this, owner, info, offset](
                                                    sdk::plugins::tidewell_network_sdk* net, bool lan) {
        if (!net)
            return false;
        model::down_file_info d;
        if (info.isUsb) {
            d.type = model::down_file_info::kind_disk_file;
            d.usb_path = QUrl::toPercentEncoding(info.filePath).toStdString();
            d.url = info.url.toStdString();
            d.offset = 0;
        } else {
            d.type = model::down_file_info::kind_device_file;
            d.file_id = static_cast<std::int32_t>(info.fileId);
            d.mode = info.sizeKind;
            d.file_category = info.fileCatetory;
            d.ower = (info.ower.isEmpty() ? owner->userInfo().accessId : info.ower).toStdString();
            d.file_md5 = info.fileMd5.toStdString();
            d.offset = offset;
        }
        tidewell::download* t = lan ? net->http_download_stream(d, this)
                                    : net->p2p_download_stream(d, this);
        if (!t)
            return false;
        if (!t->start()) {
            net->release_download(t);
            return false;
        }
        m_net = net;
        m_task = t;
        return true;
    });
}

bool ThumbDownloadTask::isFinished(qint64 nowMs) const
{
    return m_state.load() == -1 || nowMs - m_lastData.load() > kInactiveMs;
}

void ThumbDownloadTask::release()
{
    m_state.store(-1);
    if (!m_task)
        return;
    qDebug() << "--------------------- ThumbDownloadTask::release " << m_info.fileId << ", "
             << m_info.name << ", pause.";
    m_task->stop();
    qDebug() << "--------------------- ThumbDownloadTask::release " << m_info.fileId << ", "
             << m_info.name << ", release_download.";
    // The library object that made the task takes it back, online or not.
    m_net->release_download(m_task);
    m_task = nullptr;
    m_net = nullptr;
    // No callback comes any more: a part written here stays for a later
    // task only with the version it belongs to.
    if (m_wrote && !m_handedOver.load() && finishWrites(m_writer) && QFileInfo(m_tmpPath).size() > 0) {
        const QString tag = m_info.versionTag();
        QFile ver(versionPath(m_tmpPath));
        if (tag.isEmpty() || !ver.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || ver.write(tag.toUtf8()) != tag.toUtf8().size())
            dropPartial();
    }
    m_wrote = false;
}

void ThumbDownloadTask::on_progress(std::int64_t, std::int64_t) {}

int ThumbDownloadTask::on_data(const char* data, std::size_t length)
{
    if (m_state.load() == -1 || !m_writer)
        return 1;
    m_lastData.store(steadyMs());
    m_writer->append(data, qint64(length));
    m_writePos += qint64(length);
    m_wrote = true;
    return 0;
}

void ThumbDownloadTask::on_status(int status, const std::string& text, int err_code)
{
    if (m_state.load() == -1)
        return;
    QString message = QString::fromStdString(text);
    // The missing-file answer is known by its leading "404".
    if (err_code != 0)
        message = QString::number(err_code) + " " + message;
    if (status == tidewell::status_download_done || status == 1) {
        // Written out, looked into and renamed by the service after the
        // slot is given back (finishWrites, place).
        m_handedOver = true;
        report(status, message, err_code);
        return;
    }
    if (!finishWrites(m_writer)) {
        dropPartial();
        report(-1, "thumb file save path open failed.");
        return;
    }
    const QFileInfo fi(m_tmpPath);
    if (fi.exists() && fi.size() > 0) {
        const QMimeType mime = QMimeDatabase().mimeTypeForFile(m_tmpPath, QMimeDatabase::MatchContent);
        if (mime.inherits("text/plain")) {
            qDebug().noquote() << "------1---hasImgFile:" << mime.name() << "------------\n";
            dropPartial();
            report(-1, "file is not image data");
            return;
        }
        qDebug().noquote() << "---------hasImgFile:" << mime.name() << "------------\n";
    }
    // The part no longer fits what the device holds, or came from a device
    // that stopped sending: start over next time.
    if (err_code == 416 || err_code == tidewell::error_stalled) {
        m_wrote = false;
        dropPartial();
    }
    report(status, message, err_code);
}

QString ThumbDownloadTask::place(const ThumbInfo& info, const QString& root)
{
    const QString target = info.cacheFilePath(root);
    const QString tmpPath = target + "_tmp";
    // Read once; the checks look at the bytes.
    QFile tmp(tmpPath);
    const QByteArray data = tmp.open(QIODevice::ReadOnly) ? tmp.readAll() : QByteArray();
    tmp.close();
    const QMimeType mime = QMimeDatabase().mimeTypeForData(data);
    if (mime.inherits("text/plain")) {
        qDebug().noquote() << "------1---hasImgFile:" << mime.name() << "------------\n";
        dropPartialAt(tmpPath);
        return "file is not image data";
    }
    qDebug().noquote() << "---------hasImgFile:" << mime.name() << "------------\n";
    // Only a picture goes into the cache; a small one is decoded in full.
    const QString fault = pictureFault(data, info.sizeKind == ThumbInfo::Small);
    if (!fault.isEmpty()) {
        qWarning() << "ThumbDownloadTask -" << fault << "for" << info.fileId << tmpPath;
        dropPartialAt(tmpPath);
        return fault;
    }
    // rename() does not overwrite: an older thumbnail gives way.
    if (QFile::exists(target))
        QFile::remove(target);
    if (!QFile::rename(tmpPath, target))
        return "thumb file save path open failed.";
    QFile::remove(versionPath(tmpPath));
    return QString();
}

void ThumbDownloadTask::report(int code, const QString& message, int errCode)
{
    if (m_reported.exchange(true))
        return;
    m_errCode.store(errCode);
    emit rFinished(m_info, code, message);
}
