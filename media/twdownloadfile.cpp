#include "media/twdownloadfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <QDebug>
#include <QFileInfo>
#include <QUrl>

#include "core/safepath.h"
#include "core/tidewell.h"
#include "core/utils.h"
#include "media/mediacache.h"
#include "sdk/down_file_info.h"
#include "sdk/task_interface.h"

namespace {
// Longest file name most file systems take, in bytes.
constexpr int kMaxNameBytes = 255;
constexpr int kMaxMd5Chars = 64;

// Repeats io(done), which moves bytes from done on, until length bytes have
// moved; short only on an error or the end of a file.
template <class Io>
qint64 moveAll(qint64 length, Io&& io)
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = io(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

qint64 pwriteAll(int fd, const char* data, qint64 length, qint64 offset)
{
    return moveAll(length, [&](qint64 done) {
        return ::pwrite(fd, data + done, size_t(length - done), off_t(offset + done));
    });
}

// The longest prefix of s whose UTF-8 form fits in bytes.
QString fitUtf8(const QString& s, int bytes)
{
    QString out;
    int used = 0;
    for (int i = 0; i < s.size(); ++i) {
        int len = 1;
        if (s.at(i).isHighSurrogate() && i + 1 < s.size())
            len = 2;
        const QString ch = s.mid(i, len);
        const int b = ch.toUtf8().size();
        if (used + b > bytes)
            break;
        out += ch;
        used += b;
        i += len - 1;
    }
    return out;
}
}

TwDownloadFile::TwDownloadFile(Tidewell* owner, FileI* parent) : TidewellDownload(nullptr), m_parent(parent)
{
    init(owner);
    connect(this, &TidewellDownload::downloadTaskCreate, this, &TwDownloadFile::downloadTaskCreate,
            Qt::DirectConnection);
    connect(this, &TidewellDownload::downloadProgress, this, &TwDownloadFile::downloadProgress,
            Qt::DirectConnection);
    connect(this, &TidewellDownload::downloadFinish, this, &TwDownloadFile::downloadFinish, Qt::DirectConnection);
    connect(this, &TidewellDownload::downloadPause, this, &TwDownloadFile::downloadPause, Qt::DirectConnection);
    connect(this, &TidewellDownload::downloadError, this, &TwDownloadFile::downloadError, Qt::DirectConnection);
}

TwDownloadFile::~TwDownloadFile()
{
    // The library must be done with this object before the file and the
    // lock go.
    stop();
}

QString TwDownloadFile::segmentName(const TwFileInfo& file, qint64 start)
{
    QString md5 = SafePath::safeName(file.fileMd5).left(kMaxMd5Chars);
    QString name = SafePath::safeName(file.name);
    if (name.isEmpty())
        name = "media";
    const QString head = md5 + (file.isUsb ? "_usb_" : "_");
    const QString tail = "_" + QString::number(start);
    const int budget = kMaxNameBytes - head.toUtf8().size() - tail.toUtf8().size();
    if (name.toUtf8().size() > budget) {
        // Cut names stay apart by a tag of the whole identity.
        const QString tag = "~" + md5String(file.name + "\n" + file.url + "\n" + file.filePath + "\n"
                                            + QString::number(file.id)).left(12);
        name = fitUtf8(name, budget - tag.size()) + tag;
    }
    return head + name + tail;
}

bool TwDownloadFile::start(const TwFileInfo& file, qint64 offset, const QString& folder)
{
    return begin(file, offset, folder) && openFile();
}

bool TwDownloadFile::begin(const TwFileInfo& file, qint64 offset, const QString& folder)
{
    if (!m_owner || m_opening.load())
        return false;
    std::unique_lock<std::mutex> writes(m_writeLock);
    {
        QWriteLocker lock(&m_lock);
        m_file = file;
        m_start = offset;
        m_end = offset;
        m_state = Idle;
        m_writeErrno = 0;
        m_memoryOnly = false;
        m_name = segmentName(file, offset);
        m_path = folder + "/" + m_name;
        m_folder = folder;
        m_sinceTrim = 0;
        if (m_segment.isOpen())
            m_segment.close();
        if (!SafePath::isInside(folder, m_path) || !QFileInfo(folder).isDir()) {
            qWarning() << "TwDownloadFile::start - file " << m_path << ", open failed.";
            holdFile(QString());
            return false;
        }
        // Held before it is opened: no trim removes it from under us.
        holdFile(m_path);
        m_segment.setFileName(m_path);
        m_early.clear();
    }
    // Bytes that come before the file is made are held in memory.
    m_opening = true;
    writes.unlock();
    qDebug() << "TwDownloadFile::start - file " << file.id << ", start " << offset << ", save path: " << folder;

    sdk::cores::model::down_file_info info;
    if (file.isUsb) {
        info.type = sdk::cores::model::down_file_info::kind_disk_file;
        info.usb_path = QString::fromLatin1(QUrl::toPercentEncoding(file.filePath, QByteArray(), QByteArray()))
                            .toStdString();
        info.url = file.url.toStdString();
        info.offset = offset;
        qDebug() << "---------usb download: " << file.filePath << file.url;
    } else {
        const QString ower = file.ower.isEmpty() ? m_owner->userInfo().accessId : file.ower;
        info.type = sdk::cores::model::down_file_info::kind_device_file;
        info.file_id = static_cast<std::int32_t>(file.id);
        info.mode = 2;
        info.file_category = file.fileCatetory;
        info.ower = ower.toStdString();
        info.file_md5 = file.fileMd5.toStdString();
        info.offset = offset;
        info.share_id = file.shareId.toStdString();
        info.extracted_code = file.extractedCode.toStdString();
        qDebug() << "---------file download: " << file.name << ower;
    }
    m_state = Running;
    if (!TidewellDownload::start(info, true)) {
        m_state = Failed;
        m_opening = false;
        QWriteLocker lock(&m_lock);
        holdFile(QString());
        return false;
    }
    // The request is on its way while the file is made: making a file can
    // take longer than the device's first answer.
    return true;
}

bool TwDownloadFile::openFile()
{
    if (!m_opening.load())
        return false;
    // Made without a lock: bytes go on arriving and being read meanwhile.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    int err = fd < 0 ? errno : 0;
    std::unique_lock<std::mutex> writes(m_writeLock);
    if (!m_opening.load()) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    // The held bytes go into the file while reads still find them in memory:
    // nothing is added to them while the writes are held.
    errno = 0;
    bool opened = fd >= 0 && pwriteAll(fd, m_early.constData(), m_early.size(), 0) == m_early.size();
    if (fd >= 0 && !opened) {
        err = errno ? errno : EIO;
        qWarning() << "TwDownloadFile::start - file " << m_path << ", write failed: " << std::strerror(err);
    }
    if (!opened && isDiskFull(err)) {
        // No room on the cache disk: the bytes stay in memory and the
        // segment goes on there.
        if (fd >= 0)
            ::close(fd);
        m_writeErrno = err;
        toMemoryLocked();
        writes.unlock();
        m_opened.notify_all();
        wake();
        return true;
    }
    {
        QWriteLocker lock(&m_lock);
        opened = opened && m_segment.open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered,
                                          QFileDevice::AutoCloseHandle);
        if (!opened && fd >= 0)
            ::close(fd);
        m_early = QByteArray();
        if (!opened) {
            // Nothing is held that the file does not have.
            m_end = m_start;
            holdFile(QString());
        }
    }
    m_opening = false;
    if (opened) {
        m_opened.notify_all();
        return true;
    }
    // Writes would all fail: a segment without its file fetches nothing.
    qWarning() << "TwDownloadFile::start - file " << m_path << ", open failed.";
    m_state = Failed;
    // A chunk waiting for room finds the file closed and ends the task.
    writes.unlock();
    m_opened.notify_all();
    TidewellDownload::stop();
    release();
    wake();
    return false;
}

bool TwDownloadFile::isDiskFull(int err)
{
    return err == ENOSPC || err == EDQUOT;
}

void TwDownloadFile::keepInMemory()
{
    {
        std::lock_guard<std::mutex> writes(m_writeLock);
        if (!m_opening.load())
            return;
        toMemoryLocked();
    }
    m_opened.notify_all();
    wake();
}

void TwDownloadFile::toMemoryLocked()
{
    {
        QWriteLocker lock(&m_lock);
        holdFile(QString());
    }
    m_memoryOnly = true;
    m_opening = false;
    m_cap = 0;
    // Bounded: what is held in memory is never given back before the
    // segment goes, so the segment ends there and the next one takes over.
    const qint64 cap = m_start + kEarlyCap;
    qint64 cur = m_limit.load();
    while (cap < cur && !m_limit.compare_exchange_weak(cur, cap)) {
    }
    if (m_end.load() >= m_limit.load()) {
        State expected = Running;
        m_state.compare_exchange_strong(expected, Finished);
    }
}

void TwDownloadFile::holdFile(const QString& path)
{
    if (!m_heldPath.isEmpty())
        MediaCache::release(m_heldPath);
    m_heldPath = path;
    if (!path.isEmpty())
        MediaCache::hold(path);
}

qint64 TwDownloadFile::get(char* buffer, qint64 length, qint64 offset)
{
    const qint64 end = m_end.load();
    const qint64 n = qMin(length, end - offset);
    if (n <= 0 || offset < m_start) {
        qDebug() << "TwDownloadFile::get - need len " << length << ", at offset " << offset << ", current start "
                 << m_start << ", only " << end - offset;
        return -1;
    }
    return fread(buffer, n, offset - m_start);
}

bool TwDownloadFile::stop()
{
    {
        // A task waiting for room for bytes before the file is made finds
        // nothing to wait for.
        std::lock_guard<std::mutex> writes(m_writeLock);
        m_opening = false;
    }
    m_opened.notify_all();
    TidewellDownload::stop();
    // A task that ended by itself is still held: give it back too.
    release();
    State s = m_state.load();
    if (s == Running || s == Idle)
        m_state = Failed;
    {
        // Waits for a read or write in progress on the file.
        QWriteLocker lock(&m_lock);
        if (m_segment.isOpen())
            m_segment.close();
        m_early = QByteArray();
        holdFile(QString());
    }
    return true;
}

qint64 TwDownloadFile::fwrite(const char* data, qint64 length, qint64 offset)
{
    Q_UNUSED(offset);
    std::unique_lock<std::mutex> writes(m_writeLock);
    waitForRoom(writes, length);
    return writeLocked(data, length);
}

void TwDownloadFile::waitForRoom(std::unique_lock<std::mutex>& writes, qint64 length)
{
    m_opened.wait(writes, [&] {
        return !m_opening.load() || m_early.isEmpty() || m_early.size() + length <= kEarlyCap;
    });
}

qint64 TwDownloadFile::writeLocked(const char* data, qint64 length)
{
    if (m_opening.load() || m_memoryOnly.load()) {
        // Before the file is made, or without one: held in memory.
        QWriteLocker lock(&m_lock);
        m_early.append(data, int(length));
        m_end += length;
        return length;
    }
    // Positioned writes under the shared lock: reads of held bytes go on
    // meanwhile, and only closing the file waits for the write.
    QReadLocker lock(&m_lock);
    if (!m_segment.isOpen())
        return -2;
    const qint64 at = m_end.load() - m_start;
    if (at < 0)
        return -3;
    errno = 0;
    const qint64 written = pwriteAll(m_segment.handle(), data, length, at);
    if (written != length) {
        const int err = errno ? errno : EIO;
        m_writeErrno = err;
        qWarning() << "TwDownloadFile::fwrite - write file offset." << at << " length." << length
                   << ", not equal real length." << written << ", task." << m_name << ": "
                   << std::strerror(err);
        return -4;
    }
    m_end += written;
    return written;
}

qint64 TwDownloadFile::fread(char* buffer, qint64 length, qint64 position)
{
    // Positioned reads share the file with the writer: a read never waits
    // for a chunk being written, nor for the next one.
    QReadLocker lock(&m_lock);
    if (position < 0)
        return -3;
    if (!m_segment.isOpen()) {
        if (position >= m_early.size())
            return -2;
        const qint64 n = qMin<qint64>(length, m_early.size() - position);
        memcpy(buffer, m_early.constData() + position, size_t(n));
        return n;
    }
    const int fd = m_segment.handle();
    const qint64 n = moveAll(length, [&](qint64 done) {
        return ::pread(fd, buffer + done, size_t(length - done), off_t(position + done));
    });
    if (n != length)
        qWarning() << "TwDownloadFile::fread - read file offset." << position << " length." << length
                   << ", not equal real length." << n << ", task." << m_name;
    return n;
}

int TwDownloadFile::on_data(const char* data, size_t length)
{
    if (m_state.load() != Running)
        return 1;
    bool failed = false;
    bool reached = false;
    qint64 take = 0;
    {
        // The limit is read and the bytes written under one lock: a limit
        // set meanwhile (endBefore) is never passed.
        std::unique_lock<std::mutex> writes(m_writeLock);
        waitForRoom(writes, qint64(length));
        const qint64 end = m_end.load();
        take = qBound<qint64>(0, m_limit.load() - end, static_cast<qint64>(length));
        if (take > 0 && writeLocked(data, take) != take)
            failed = true;
        else
            reached = end + take >= m_limit.load();
    }
    if (failed) {
        // A lost chunk would shift every later byte: this segment ends here.
        m_state = Failed;
        wake();
        return 1;
    }
    const qint64 cap = m_cap.load();
    if (cap > 0) {
        // The cache is held to its cap while it grows, not only when an
        // item starts or stops.
        m_sinceTrim += take;
        if (m_sinceTrim >= qBound<qint64>(64 * 1024, cap / 16, 1024 * 1024)) {
            m_sinceTrim = 0;
            MediaCache::trim(m_folder, cap);
        }
    }
    if (reached) {
        // What follows is another segment's: the library task stops here.
        State expected = Running;
        m_state.compare_exchange_strong(expected, Finished);
        wake();
        return 1;
    }
    wake();
    return 0;
}

void TwDownloadFile::limitTo(qint64 offset)
{
    std::lock_guard<std::mutex> writes(m_writeLock);
    qint64 cur = m_limit.load();
    while (offset < cur && !m_limit.compare_exchange_weak(cur, offset)) {
    }
    if (m_end.load() >= m_limit.load()) {
        State expected = Running;
        if (m_state.compare_exchange_strong(expected, Finished))
            wake();
    }
}

bool TwDownloadFile::endBefore(qint64 offset)
{
    std::lock_guard<std::mutex> writes(m_writeLock);
    const qint64 end = m_end.load();
    if (end > offset || (end == offset && m_state.load() == Running && end < m_limit.load()))
        return false;
    qint64 cur = m_limit.load();
    while (offset < cur && !m_limit.compare_exchange_weak(cur, offset)) {
    }
    if (end >= m_limit.load()) {
        State expected = Running;
        if (m_state.compare_exchange_strong(expected, Finished))
            wake();
    }
    return true;
}

void TwDownloadFile::on_status(int status, const std::string& text, int errCode)
{
    qDebug() << "TwDownloadFile::on_status - code." << status << ", msg." << QString::fromStdString(text)
             << ", task." << m_name << errCode;
    if (status != sdk::cores::tidewell::status_download_done)
        m_errCode = errCode;
    State expected = Running;
    m_state.compare_exchange_strong(expected,
                                    status == sdk::cores::tidewell::status_download_done ? Finished : Failed);
    wake();
}

void TwDownloadFile::on_task(const std::string& taskId)
{
    qDebug() << "TwDownloadFile::on_task - taskId." << QString::fromStdString(taskId);
}

void TwDownloadFile::wake()
{
    if (m_waker)
        m_waker->notify(sdk::cores::utils::nf_data);
}

void TwDownloadFile::downloadTaskCreate(bool isSucc, QString taskId)
{
    qDebug() << "TwDownloadFile::downloadTaskCreate - " << isSucc << ", taskId." << taskId;
}

void TwDownloadFile::downloadProgress(qlonglong byteSent, qlonglong bytesTotal)
{
    qDebug() << "TwDownloadFile::downloadProgress - byteSent." << byteSent << ", bytesTotal." << bytesTotal;
}

void TwDownloadFile::downloadFinish()
{
    qDebug() << "TwDownloadFile::downloadProgress - call.";
}

void TwDownloadFile::downloadPause()
{
    qDebug() << "TwDownloadFile::downloadPause - call.";
}

void TwDownloadFile::downloadError(int code, QString msg)
{
    qDebug() << "TwDownloadFile::downloadError - code." << code << ", msg." << msg;
}
