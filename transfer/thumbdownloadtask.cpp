#include "transfer/thumbdownloadtask.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
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

ThumbDownloadTask::ThumbDownloadTask(const QString& root, QThreadPool* disk) : m_root(root), m_disk(disk)
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
// appended in order, one job at a time, on the service's disk thread.
class ThumbTmpWriter : public std::enable_shared_from_this<ThumbTmpWriter>
{
public:
    ThumbTmpWriter(const QString& path, qint64 at, QThreadPool* disk) : m_file(path), m_at(at), m_disk(disk) {}

    void append(const char* data, qint64 length)
    {
        std::lock_guard<std::mutex> l(m_mutex);
        if (m_closed)
            return;
        m_pending.append(data, int(length));
        scheduleLocked();
    }

    // Writes what is still pending on the caller's thread (a job queued
    // behind the caller on the disk thread is not waited for), then closes
    // the file; false when a write failed. Later calls only answer that.
    bool finish()
    {
        std::unique_lock<std::mutex> l(m_mutex);
        m_idle.wait(l, [this] { return !m_writing; });
        while (!m_pending.isEmpty() && !m_failed && !m_closed)
            writePendingUnlocked(l);
        m_pending.clear();
        if (m_file.isOpen())
            m_file.close();
        m_closed = true;
        m_idle.notify_all();
        return !m_failed;
    }

private:
    void scheduleLocked()
    {
        if (m_scheduled || m_pending.isEmpty() || m_failed || m_closed)
            return;
        m_scheduled = true;
        auto self = shared_from_this();
        m_disk->start([self] { self->drain(); });
    }

    void drain()
    {
        std::unique_lock<std::mutex> l(m_mutex);
        m_scheduled = false;
        // Whoever writes now goes on with what is left.
        if (m_writing || m_closed || m_failed || m_pending.isEmpty())
            return;
        writePendingUnlocked(l);
        m_idle.notify_all();
        // What came meanwhile waits behind the other tasks' jobs: a long
        // download does not hold the disk thread.
        scheduleLocked();
    }

    // Writes what is pending with the lock let go; l is held again after.
    void writePendingUnlocked(std::unique_lock<std::mutex>& l)
    {
        QByteArray chunk;
        chunk.swap(m_pending);
        m_writing = true;
        l.unlock();
        const bool ok = write(chunk);
        l.lock();
        m_writing = false;
        m_failed = m_failed || !ok;
    }

    // Only the one that set m_writing calls this.
    bool write(const QByteArray& chunk)
    {
        // Opened once for the task, unbuffered: no flush per chunk. From 0
        // nothing earlier is kept, not even a longer file left there.
        const QIODevice::OpenMode mode = QIODevice::ReadWrite | QIODevice::Unbuffered
                                         | (m_at == 0 ? QIODevice::Truncate : QIODevice::NotOpen);
        bool ok = m_file.isOpen() || (m_file.open(mode) && m_file.seek(m_at));
        ok = ok && m_file.write(chunk) == chunk.size();
        if (!ok) {
            qWarning() << "ThumbDownloadTask - cannot write" << m_file.fileName() << m_file.errorString();
            m_file.close();
        }
        return ok;
    }

    QFile m_file;
    const qint64 m_at;
    QThreadPool* const m_disk;
    std::mutex m_mutex;
    std::condition_variable m_idle;
    QByteArray m_pending;
    bool m_scheduled = false;   // a drain job is queued
    bool m_writing = false;     // a write runs outside the lock
    bool m_failed = false;
    bool m_closed = false;
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

void ThumbDownloadTask::setInfo(const ThumbInfo& info, bool mayHavePart)
{
    m_info = info;
    m_tmpPath = info.cacheFilePath(m_root) + "_tmp";
    m_writePos = 0;
    if (mayHavePart) {
        const QFileInfo fi(m_tmpPath);
        m_writePos = fi.exists() ? fi.size() : 0;
    }
    // The device may have a new picture under the same id since the part
    // was written: its rest would not fit the old beginning.
    const QString tag = info.versionTag();
    if (m_writePos > 0 && (tag.isEmpty() || readSmallFile(versionPath(m_tmpPath)) != tag.toUtf8())) {
        qDebug() << "ThumbDownloadTask - partial thumbnail of another version, starting over:"
                 << m_tmpPath;
        dropPartial();
        m_writePos = 0;
    }
    m_startPos = m_writePos;
    m_writer = std::make_shared<ThumbTmpWriter>(m_tmpPath, m_writePos, m_disk);
}

void ThumbDownloadTask::dropPartial()
{
    dropPartialAt(m_tmpPath);
}

void ThumbDownloadTask::dropStalled()
{
    finishWrites(m_writer);
    m_wrote = false;
    m_leftPart = false;
    dropPartial();
}

void ThumbDownloadTask::dropPartialAt(const QString& tmpPath)
{
    // The version first: a part left alone is dropped when next set up,
    // a version file left alone would stay for good.
    QFile::remove(versionPath(tmpPath));
    QFile::remove(tmpPath);
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
    m_leftPart = !m_handedOver.load() && (m_wrote || m_startPos > 0);
    if (m_wrote && !m_handedOver.load() && finishWrites(m_writer) && QFileInfo(m_tmpPath).size() > 0) {
        const QString tag = m_info.versionTag();
        QFile ver(versionPath(m_tmpPath));
        if (tag.isEmpty() || !ver.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || ver.write(tag.toUtf8()) != tag.toUtf8().size()) {
            dropPartial();
            m_leftPart = false;
        }
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

QString ThumbDownloadTask::place(const ThumbInfo& info, const QString& root, bool resumed)
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
    // Replaces an older thumbnail in one step: a view never finds none.
    if (::rename(QFile::encodeName(tmpPath).constData(), QFile::encodeName(target).constData()) != 0) {
        qWarning() << "ThumbDownloadTask - cannot put in place" << target << strerror(errno);
        return "thumb file save path open failed.";
    }
    if (resumed)
        QFile::remove(versionPath(tmpPath));
    // A thumbnail cached before names carried the MD5 is never asked for
    // again.
    if (!info.isUsb && !info.fileMd5.isEmpty()) {
        ThumbInfo unversioned = info;
        unversioned.fileMd5.clear();
        QFile::remove(unversioned.cacheFilePath(root));
    }
    return QString();
}

void ThumbDownloadTask::report(int code, const QString& message, int errCode)
{
    if (m_reported.exchange(true))
        return;
    m_errCode.store(errCode);
    emit rFinished(m_info, code, message);
}
