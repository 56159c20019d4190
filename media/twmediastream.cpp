#include "media/twmediastream.h"

#include <cstring>
#include <unordered_map>

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QVariantList>

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include "core/safepath.h"
#include "media/mediacache.h"
#include "media/mpvqt.h"
#include "media/twdownloadfile.h"
#include "media/twmediaplayer.h"

using sdk::cores::utils::nf_data;
using sdk::cores::utils::nf_stopped;

namespace {

// libmpv may cancel an open a moment after it closed it (its cancel hook
// goes with the stream, after the close): a cookie is a number looked up
// here, so a late cancel finds nothing, neither a freed session nor the
// next one made at its address.
struct OpenSessions
{
    std::mutex lock;
    std::unordered_map<quintptr, TwMediaStream::Session*> byCookie;
    quintptr last = 0;
};

OpenSessions& openSessions()
{
    // Never destroyed: libmpv's threads may call in while the process ends.
    static OpenSessions* o = new OpenSessions;
    return *o;
}

// Caller holds o.lock.
auto findSession(OpenSessions& o, void* cookie)
{
    return o.byCookie.find(reinterpret_cast<quintptr>(cookie));
}

// The session is closed by libmpv's stream thread only, after its last
// read: one found here stays while that thread uses it.
TwMediaStream::Session* sessionOf(void* cookie)
{
    OpenSessions& o = openSessions();
    std::lock_guard<std::mutex> lock(o.lock);
    const auto it = findSession(o, cookie);
    return it == o.byCookie.end() ? nullptr : it->second;
}

int64_t readFn(void* cookie, char* buf, uint64_t nbytes)
{
    TwMediaStream::Session* s = sessionOf(cookie);
    if (!s)
        return -1;
    return s->stream->readIn(s, buf, static_cast<qint64>(nbytes));
}

int64_t seekFn(void* cookie, int64_t offset)
{
    TwMediaStream::Session* s = sessionOf(cookie);
    if (!s)
        return MPV_ERROR_GENERIC;
    const qint64 r = s->stream->seekIn(s, offset);
    return r < 0 ? int64_t(MPV_ERROR_GENERIC) : r;
}

int64_t sizeFn(void* cookie)
{
    TwMediaStream::Session* s = sessionOf(cookie);
    if (!s)
        return MPV_ERROR_UNSUPPORTED;
    const qint64 r = s->stream->sizeOf(s);
    return r < 0 ? int64_t(MPV_ERROR_UNSUPPORTED) : r;
}

void closeFn(void* cookie)
{
    TwMediaStream::Session* s = nullptr;
    {
        OpenSessions& o = openSessions();
        std::lock_guard<std::mutex> lock(o.lock);
        const auto it = findSession(o, cookie);
        if (it == o.byCookie.end())
            return;
        s = it->second;
        o.byCookie.erase(it);
    }
    s->stream->closeSession(s);
    delete s;
}

void cancelFn(void* cookie)
{
    // Under the lock: a close meanwhile waits, so the session stays.
    OpenSessions& o = openSessions();
    std::lock_guard<std::mutex> lock(o.lock);
    const auto it = findSession(o, cookie);
    if (it != o.byCookie.end())
        it->second->stream->cancel(it->second);
}

} // namespace

int TwMediaStream::openCallback(void* userData, char* uri, mpv_stream_cb_info* info)
{
    auto* stream = static_cast<TwMediaStream*>(userData);
    if (!stream || !info)
        return MPV_ERROR_LOADING_FAILED;
    TwMediaStream::Session* s = stream->openSession(uri);
    if (!s)
        return MPV_ERROR_LOADING_FAILED;
    OpenSessions& o = openSessions();
    quintptr cookie = 0;
    {
        std::lock_guard<std::mutex> lock(o.lock);
        cookie = ++o.last;
        o.byCookie.emplace(cookie, s);
    }
    info->cookie = reinterpret_cast<void*>(cookie);
    info->read_fn = readFn;
    info->seek_fn = seekFn;
    info->size_fn = sizeFn;
    info->close_fn = closeFn;
    info->cancel_fn = cancelFn;
    return 0;
}

TwMediaStream::TwMediaStream(TwMediaPlayer* player) : QObject(nullptr), m_player(player)
{
    if (m_player)
        m_file = m_player->item();
}

TwMediaStream::~TwMediaStream()
{
    stop();
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    dropSegments();
    if (m_itemFile.isOpen())
        m_itemFile.close();
    delete m_direct;
    m_direct = nullptr;
}

bool TwMediaStream::registerOn(mpv_handle* handle)
{
    if (!handle)
        return false;
    // A second registration is refused and the first (this object) kept.
    return mpv_stream_cb_add_ro(handle, "stream", this, openCallback) >= 0;
}

void TwMediaStream::play(qlonglong startAt)
{
    if (!m_player)
        return;
    play(m_player->item(), m_player->ownerInterface(), m_player->mediaCachePath(), m_player->mpvHandle(), startAt);
}

void TwMediaStream::play(const TwFileInfo& item, Tidewell* owner, const QString& folder, mpv_handle* handle,
                         qlonglong startAt)
{
    bool wasFull = false;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        // Everything of the previous item goes: its segments are keyed by
        // offset only.
        ++m_generation;
        dropSegments();
        wasFull = !m_cacheFull.isEmpty();
        m_cacheFull.clear();
        if (m_itemFile.isOpen())
            m_itemFile.close();
        m_file = item;
        m_streamMode = !m_file.local;
        m_owner = owner;
        m_folder = folder;
        m_url = "stream://" + m_file.name;
        m_reported = 0;
        m_readFailed = false;
        m_itemMissing = false;
    }
    qDebug() << "TwMediaStream::play - url: " << m_url;
    if (wasFull)
        giveBack();
    if (handle)
        registerOn(handle);
    reset();
    m_stopped = false;
    // A read of the previous item still waiting gives up now.
    notify(nf_data);
    if (!handle) {
        trimCache();
        return;
    }
    TwDownloadFile* first = nullptr;
    {
        // libmpv reads from the start first: those bytes are asked for now,
        // while it sets up, and its first read finds them on their way.
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        if (m_streamMode && m_file.fileLen > 0 && !m_stopped.load() && !fed(0))
            startSegment(0, &first);
    }
    // libmpv keeps its packet cache only for streams it knows to be remote,
    // which this protocol is not: without it every seek, even into bytes it
    // read a moment ago, goes back to the segments. Its read-ahead waits for
    // the first frame (started()): with the bytes at hand, filling the whole
    // cache first keeps the decoder from its first packet.
    if (m_cacheSecs < 0)
        m_cacheSecs = mpv::qt::get_property(handle, "cache-secs").toDouble();
    m_narrowed = true;
    QString options = QString("cache=yes,cache-secs=%1").arg(kStartReadAheadSecs);
    const QString more = TwMediaPlayer::openOptions(m_file.name, startAt);
    if (!more.isEmpty())
        options += "," + more;
    mpv::qt::command(handle, QVariantList{"loadfile", m_url, "replace", options});
    if (first) {
        // Its file is made once the item plays: making a file takes a
        // millisecond of processor time on some disks, and the threads
        // starting the item wait for it when they share its processor.
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        m_unmade = first;
        QTimer::singleShot(kMakeFileAfterMs, this, &TwMediaStream::makeFirstFile);
    }
    // Only now, with the item on its way: a large cache folder takes a while
    // to go through, and the new segment's file is held, so it stays.
    trimCache();
}

void TwMediaStream::makeFirstFile()
{
    TwDownloadFile* seg = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        seg = m_unmade;
        m_unmade = nullptr;
    }
    // Not under the lock: a read may hold it while it waits for this
    // segment's writes. Only this thread drops segments, and no read
    // replaces one whose file is being made.
    if (!seg)
        return;
    seg->openFile();
    bool full = false;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        full = noteCacheFull();
    }
    if (full)
        giveBack();
}

void TwMediaStream::started(mpv_handle* handle)
{
    makeFirstFile();
    if (!handle || !m_narrowed)
        return;
    m_narrowed = false;
    if (m_cacheSecs <= kStartReadAheadSecs)
        return;
    // Only for this item: libmpv puts back the option's own value at its end.
    double secs = m_cacheSecs;
    mpv_set_property_async(handle, 0, "cache-secs", MPV_FORMAT_DOUBLE, &secs);
}

void TwMediaStream::stop()
{
    if (m_stopped.exchange(true))
        return;
    notify(nf_stopped);
    bool wasFull = false;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        dropSegments();
        wasFull = !m_cacheFull.isEmpty();
        m_cacheFull.clear();
    }
    // What this play left on a full disk goes too: nothing keeps filling it.
    if (wasFull)
        giveBack();
    trimCache();
    qDebug() << "TwMediaStream::stop - " << m_itemPath << ", need release " << m_file.filePath << ", over.";
}

void TwMediaStream::detach()
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_player = nullptr;
}

void TwMediaStream::dropSegments()
{
    // Segments have no Qt parent and this may be libmpv's thread without an
    // event loop: they are deleted here, after their task is stopped.
    for (TwDownloadFile* seg : qAsConst(m_segments)) {
        qDebug() << "TwMediaStream::stop - " << m_itemPath << ", need release " << seg->path();
        seg->stop();
        delete seg;
    }
    m_segments.clear();
    m_unmade = nullptr;
}

void TwMediaStream::setCacheLimit(qint64 bytes)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_cacheLimit = bytes;
    for (TwDownloadFile* seg : qAsConst(m_segments))
        seg->setCacheCap(bytes);
}

int TwMediaStream::segmentCount()
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_segments.size();
}

QString TwMediaStream::url() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_url;
}

QString TwMediaStream::cacheFullReason() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_cacheFull;
}

bool TwMediaStream::noteCacheFull()
{
    if (!m_cacheFull.isEmpty())
        return false;
    for (const TwDownloadFile* seg : qAsConst(m_segments)) {
        const int err = seg->writeError();
        if (!TwDownloadFile::isDiskFull(err))
            continue;
        m_cacheFull = QString::fromLocal8Bit(std::strerror(err));
        qWarning() << "TwMediaStream - the cache disk is full at " << m_folder << ": " << m_cacheFull
                   << ", " << m_file.name << " plays on from the device";
        if (m_player)
            m_player->postCacheFull(m_cacheFull);
        return true;
    }
    return false;
}

void TwMediaStream::giveBack()
{
    QString folder;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        folder = m_folder;
    }
    const MediaCache::Trim t = MediaCache::makeRoom(folder, kCacheRoom);
    qDebug() << "TwMediaStream::giveBack - removed " << t.removed << " files, " << MediaCache::freeBytes(folder)
             << " bytes free at " << folder;
}

void TwMediaStream::dropSpentMemory(qint64 pos)
{
    for (auto it = m_segments.begin(); it != m_segments.end();) {
        TwDownloadFile* seg = it.value();
        if (seg->inMemory() && !seg->isLive() && !(seg->startOffset() <= pos && pos < seg->endOffset())) {
            seg->stop();
            delete seg;
            it = m_segments.erase(it);
        } else {
            ++it;
        }
    }
}

void TwMediaStream::report(int status)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (status == m_reported)
        return;
    m_reported = status;
    if (m_player)
        m_player->postMediaStatus(status);
}

// ---- sessions ----------------------------------------------------------------

TwMediaStream::Session* TwMediaStream::openSession(const char* uri)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    const QString u = QString::fromUtf8(uri ? uri : "");
    qDebug() << "TwMediaStream::open - 1url " << u << ", streamMode " << m_streamMode << ", " << m_file.filePath;
    auto* s = new Session;
    s->stream = this;
    s->generation = m_generation;
    s->streamMode = m_streamMode;
    if (m_stopped.load())
        return s;   // every read fails
    if (u != m_url) {
        // A late open of an earlier item.
        qWarning() << "TwMediaStream::open - not the played item " << u << m_url;
        delete s;
        return nullptr;
    }
    qDebug() << "TwMediaStream::open - 2url " << u << ", streamMode " << m_streamMode << ", " << m_file.filePath;
    if (m_streamMode) {
        // Bytes live in the segments; no item-sized file is made for them.
        m_itemPath = m_folder + "/" + TwDownloadFile::segmentName(m_file, 0);
        qDebug() << "TwMediaStream::open - file " << m_itemPath << " ok, len " << m_file.fileLen;
        return s;
    }
    if (m_itemFile.isOpen())
        m_itemFile.close();
    m_itemPath = m_file.filePath;
    m_itemFile.setFileName(m_itemPath);
    // Only read: a user's own file is never opened for writing.
    if (!m_itemFile.open(QIODevice::ReadOnly) || !QFileInfo(m_itemPath).isFile()) {
        qWarning() << "TwMediaStream::open - open failed." << m_itemPath;
        m_itemFile.close();
        delete s;
        return nullptr;
    }
    return s;
}

bool TwMediaStream::fed(qint64 pos) const
{
    for (const TwDownloadFile* seg : m_segments)
        if (seg->isLive() && seg->startOffset() <= pos && pos <= seg->endOffset())
            return true;
    return false;
}

bool TwMediaStream::startSegment(qint64 pos, TwDownloadFile** opening)
{
    if (!m_owner) {
        qWarning() << "TwMediaStream::seek - no device for " << m_file.name;
        return false;
    }
    auto it = m_segments.find(pos);
    if (it != m_segments.end()) {
        // One whose file is still being made is its starter's to finish.
        if (it.value()->isLive() || it.value()->isOpening())
            return true;
        // A dead segment under the same key is replaced, not left running.
        it.value()->stop();
        delete it.value();
        m_segments.erase(it);
    }
    // Segments never store the same byte twice: the earlier ones end here
    // before the new one starts, and one that got here meanwhile feeds the
    // position itself. Nearest first: only it can have got here.
    auto before = m_segments.lowerBound(pos);
    while (before != m_segments.begin()) {
        --before;
        if (!before.value()->endBefore(pos))
            return true;
    }
    // The cache disk ran full and has no room yet: the bytes are held in
    // memory while they are read, and let go once read past.
    const qint64 free = m_cacheFull.isEmpty() ? -1 : MediaCache::freeBytes(m_folder);
    const bool memory = free >= 0 && free < kCacheRoom;
    if (memory)
        dropSpentMemory(pos);
    auto* seg = new TwDownloadFile(m_owner, this);
    seg->setWaker(this);
    seg->setCacheCap(m_cacheLimit);
    // Each ends where the next one begins.
    const auto next = m_segments.upperBound(pos);
    if (next != m_segments.end())
        seg->limitTo(next.key());
    const bool started = opening || memory ? seg->begin(m_file, pos, m_folder) : seg->start(m_file, pos, m_folder);
    if (!started) {
        delete seg;
        return false;
    }
    if (memory)
        seg->keepInMemory();
    m_segments.insert(pos, seg);
    if (opening && !memory)
        *opening = seg;
    return true;
}

void TwMediaStream::trimCache()
{
    QString folder;
    qint64 limit = 0;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        folder = m_folder;
        limit = m_cacheLimit;
    }
    const MediaCache::Trim t = MediaCache::trim(folder, limit);
    if (t.failed > 0)
        qWarning() << "TwMediaStream::trimCache - " << t.failed << " files could not be removed, cache " << t.total
                   << " of " << limit;
}

qint64 TwMediaStream::readIn(Session* s, char* buffer, qint64 length)
{
    if (m_stopped.load() || !s || s->cancelled.load() || length <= 0)
        return -1;
    if (!s->streamMode) {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        if (!current(s))
            return -1;
        const qint64 n = fread(buffer, length, s->position);
        if (n != length)
            qWarning() << "TwMediaStream::read - file  " << m_itemPath << ", offset " << s->position << ", real "
                       << n << ", size " << m_itemFile.size();
        if (n > 0)
            s->position += n;
        return n;
    }
    // The device gave nothing a moment ago: later reads of this play fail
    // at once instead of waiting through their rounds again (the player
    // tries the device again with a new play).
    if (m_readFailed.load())
        return -1;
    qint64 n = -1;
    int starts = 0;
    bool giveBackNow = false;
    for (;;) {
        if (m_stopped.load() || s->cancelled.load())
            break;
        {
            std::lock_guard<std::recursive_mutex> lock(m_lock);
            // A stop that took the segments down while this waited for the
            // lock must not see a new one started behind it.
            if (!current(s) || m_stopped.load())
                break;
            if (s->position >= m_file.fileLen) {
                qWarning() << "TwMediaStream::read - file length end. " << s->position;
                n = 0;
                break;
            }
            n = -1;
            for (TwDownloadFile* seg : qAsConst(m_segments)) {
                if (seg->startOffset() <= s->position && s->position < seg->endOffset()) {
                    const qint64 got = seg->get(buffer, length, s->position);
                    if (got > 0) {
                        n = got;
                        s->position += got;
                        break;
                    }
                }
            }
            if (n >= 0)
                break;
            if (!fed(s->position)) {
                giveBackNow = noteCacheFull() || giveBackNow;
                // Nothing fetches this position (first read, or the segment
                // failed): start one, a bounded number of times.
                if (starts >= kMaxStarts) {
                    qWarning() << "TwMediaStream::read - no data at " << s->position << " after " << starts
                               << " segments";
                    m_readFailed = true;
                    const auto last = m_segments.constFind(s->position);
                    if (last != m_segments.constEnd() && last.value()->errorCode() == 404)
                        m_itemMissing = true;
                    break;
                }
                ++starts;
                startSegment(s->position);
            }
            qDebug() << "TwMediaStream::read - wait once 10ms." << ", current offset " << s->position << ", at "
                     << s->seekTarget;
        }
        if (giveBackNow) {
            giveBackNow = false;
            giveBack();
        }
        report(5);   // BufferingMedia
        wait(kWaitMs);
    }
    report(6);   // BufferedMedia
    if (n >= 0)
        return n;
    qWarning() << "TwMediaStream::read - min len no." << m_itemPath;
    return -1;
}

qint64 TwMediaStream::seekIn(Session* s, qint64 offset)
{
    if (m_stopped.load() || !s || offset < 0)
        return -1;
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!current(s) || m_stopped.load())
        return -1;
    // Where the read is already: nothing moves, and the reads fetch what is
    // missing. libmpv asks this at open to learn whether the stream can seek
    // at all, and a device away at that moment would have made it one that
    // never can (an item resumed after an outage then started from 0).
    if (offset == s->position)
        return offset;
    s->position = offset;
    s->seekTarget = offset;
    if (!s->streamMode)
        return offset;
    for (const TwDownloadFile* seg : qAsConst(m_segments))
        if (seg->startOffset() <= offset && offset < seg->endOffset())
            return offset;
    if (offset >= m_file.fileLen) {
        qWarning() << "TwMediaStream::seek - to offset - " << offset << ", length " << m_file.fileLen;
        return 0;
    }
    if (fed(offset))
        return offset;
    return startSegment(offset) ? offset : -1;
}

qint64 TwMediaStream::sizeOf(Session* s)
{
    if (m_stopped.load())
        return -1;
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!current(s))
        return -1;
    if (s->streamMode)
        return m_file.fileLen;
    return m_itemFile.isOpen() ? m_itemFile.size() : 0;
}

void TwMediaStream::closeSession(Session* s)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (s == m_direct)
        m_direct = nullptr;
    if (!current(s))
        return;   // the close of an earlier item leaves the current one alone
    qDebug() << "TwMediaStream::close - " << m_itemPath << ", need release " << m_itemFile.isOpen();
    s->position = 0;
    s->seekTarget = 0;
    if (m_itemFile.isOpen())
        m_itemFile.close();
    qDebug() << "TwMediaStream::close - " << m_itemPath << ", need release " << m_itemFile.isOpen() << ", over.";
}

void TwMediaStream::cancel(Session* s)
{
    s->cancelled = true;
    notify(nf_stopped);
}

// ---- the session opened last -------------------------------------------------

bool TwMediaStream::open(const char* uri)
{
    TwMediaStream::close();
    Session* s = openSession(uri);
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_direct = s;
    return s != nullptr;
}

qint64 TwMediaStream::read(char* buffer, qint64 length)
{
    return readIn(m_direct, buffer, length);
}

qint64 TwMediaStream::seek(qint64 offset)
{
    return seekIn(m_direct, offset);
}

qint64 TwMediaStream::size()
{
    return m_direct ? sizeOf(m_direct) : -1;
}

void TwMediaStream::close()
{
    Session* s = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        s = m_direct;
        m_direct = nullptr;
    }
    if (s) {
        closeSession(s);
        delete s;
    }
}

// ---- the item file -------------------------------------------------------------

qint64 TwMediaStream::fwrite(const char* data, qint64 length, qint64 offset)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!m_itemFile.isOpen() || !m_itemFile.isWritable() || !m_itemFile.seek(offset))
        return 0;
    const qint64 n = m_itemFile.write(data, length);
    m_itemFile.flush();
    return n;
}

qint64 TwMediaStream::fread(char* buffer, qint64 length, qint64 offset)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!m_itemFile.isOpen() || !m_itemFile.seek(offset))
        return -1;
    return m_itemFile.read(buffer, length);
}
