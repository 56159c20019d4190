#pragma once

#include <atomic>
#include <mutex>

#include <QFile>
#include <QMap>
#include <QObject>
#include <QString>

#include "core/twfileinfo.h"
#include "media/filei.h"
#include "media/streami.h"
#include "sdk/status_nf.h"
#include "sdk/status_notify.h"

class Tidewell;
class TwDownloadFile;
class TwMediaPlayer;
struct mpv_handle;
struct mpv_stream_cb_info;

// Serves the played item to libmpv through the custom protocol "stream": a
// device item from segments of the streaming cache (a read at an offset that
// nothing fetches starts a segment there), a local item from its own file.
// libmpv calls open/read/seek/size/close on its stream thread; play and stop
// run on the player's thread.
class TwMediaStream : public QObject,
                      public StreamI,
                      public FileI,
                      public sdk::cores::utils::status_notify<sdk::cores::utils::status_nf>
{
    Q_OBJECT
public:
    // Bounded wait of one read round; bytes arriving end it earlier.
    static constexpr int kWaitMs = 500;
    // Segments a read may start at its position before it gives up.
    static constexpr int kMaxStarts = 4;
    // Segment files kept in the media cache folder; beyond it the items
    // played longest ago go, when an item starts or stops and while its
    // segments grow. What any player has open stays.
    static constexpr qint64 kCacheLimit = 1024LL * 1024 * 1024;
    // libmpv's read-ahead of an item until its first frame is out.
    static constexpr double kStartReadAheadSecs = 1.0;
    // The first segment's file is made once the first frame is out, or after
    // this long without one.
    static constexpr int kMakeFileAfterMs = 250;
    // After the cache disk ran full, new segments are written to it again
    // only with this much free; until then they hold their bytes in memory.
    static constexpr qint64 kCacheRoom = 32LL * 1024 * 1024;

    explicit TwMediaStream(TwMediaPlayer* player);
    ~TwMediaStream() override;

    // Starts playback of the player's current item through the protocol,
    // startAt seconds into it.
    void play(qlonglong startAt = 0);
    // The same for a given item, device owner and cache folder; without a
    // handle nothing is loaded (the StreamI calls serve the item directly).
    void play(const TwFileInfo& item, Tidewell* owner, const QString& folder, mpv_handle* handle,
              qlonglong startAt = 0);
    // The item's first frame is out (libmpv restarted playback): its
    // read-ahead goes back to the full cache, and the first segment's file is
    // made. Player's thread.
    void started(mpv_handle* handle);
    // Stops every segment and wakes a waiting read.
    void stop();
    // A read of the current item gave up: the device sent nothing.
    bool readFailed() const { return m_readFailed.load(); }
    // The device answered that the item is not there (any more).
    bool itemMissing() const { return m_itemMissing.load(); }
    // The system's reason when the cache disk ran full during this play;
    // empty otherwise.
    QString cacheFullReason() const;
    // The player is going: nothing is reported to it any more.
    void detach();

    // On the session opened last (libmpv uses a session per open).
    bool open(const char* uri) override;
    qint64 read(char* buffer, qint64 length) override;
    qint64 seek(qint64 offset) override;
    qint64 size() override;
    void close() override;

    const QString& path() const override { return m_itemPath; }
    qint64 fwrite(const char* data, qint64 length, qint64 offset) override;
    qint64 fread(char* buffer, qint64 length, qint64 offset) override;

    // Registers the protocol on a libmpv handle; false when libmpv refused.
    bool registerOn(mpv_handle* handle);
    // What libmpv calls to open the protocol's url (userData: the stream);
    // fills info with the callbacks of the new session.
    static int openCallback(void* userData, char* uri, mpv_stream_cb_info* info);
    bool isStopped() const { return m_stopped.load(); }
    void setCacheLimit(qint64 bytes);
    int segmentCount();
    QString url() const;

    // One open of libmpv: reads, seeks and the close of an earlier open never
    // touch the item of a later play.
    struct Session
    {
        TwMediaStream* stream = nullptr;
        quint64 generation = 0;
        bool streamMode = true;
        qint64 position = 0;
        qint64 seekTarget = 0;
        std::atomic<bool> cancelled{false};
    };
    Session* openSession(const char* uri);
    qint64 readIn(Session* s, char* buffer, qint64 length);
    qint64 seekIn(Session* s, qint64 offset);
    qint64 sizeOf(Session* s);
    void closeSession(Session* s);
    void cancel(Session* s);

private:
    bool current(const Session* s) const { return s && s->generation == m_generation; }
    // A live segment covers [start, end] of pos, so bytes there are coming.
    bool fed(qint64 pos) const;
    // With opening, the segment's file is left to the caller, who makes it
    // (openFile) without this lock: a read may hold it while it waits for
    // that segment.
    bool startSegment(qint64 pos, TwDownloadFile** opening = nullptr);
    // Makes the file of the first segment if it has none yet.
    void makeFirstFile();
    void dropSegments();
    // Without the lock held while the folder is gone through: reads go on.
    void trimCache();
    void report(int status);
    // A segment found the cache disk full: noted once per play, and told
    // to the player. True when newly noted (caller holds the lock).
    bool noteCacheFull();
    // Frees what the cache can on its disk (without the lock).
    void giveBack();
    // Memory segments that have ended and do not hold pos.
    void dropSpentMemory(qint64 pos);

    TwMediaPlayer* m_player = nullptr;
    bool m_streamMode = true;
    TwFileInfo m_file;
    Tidewell* m_owner = nullptr;
    QString m_folder;
    QString m_url;
    QFile m_itemFile;
    QString m_itemPath;
    QMap<qint64, TwDownloadFile*> m_segments;
    std::atomic<bool> m_stopped{true};
    std::atomic<bool> m_readFailed{false};
    std::atomic<bool> m_itemMissing{false};
    quint64 m_generation = 0;
    qint64 m_cacheLimit = kCacheLimit;
    int m_reported = 0;
    QString m_cacheFull;
    // libmpv's own cache-secs, read once; the read-ahead is still narrowed.
    double m_cacheSecs = -1;
    bool m_narrowed = false;
    Session* m_direct = nullptr;
    // The first segment while its bytes are held in memory only.
    TwDownloadFile* m_unmade = nullptr;
    mutable std::recursive_mutex m_lock;
};
