#pragma once

#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>

#include <QByteArray>
#include <QFile>
#include <QReadWriteLock>
#include <QString>

#include "core/twfileinfo.h"
#include "media/filei.h"
#include "sdk/status_nf.h"
#include "sdk/status_notify.h"
#include "transfer/tidewelldownload.h"

class Tidewell;

// One segment of the streaming cache: a streaming download of one device file
// from a start offset towards its end, appended to a file of its own in the
// media cache folder. Bytes [start, end) of the remote file lie at [0,
// end - start) of that file.
class TwDownloadFile : public TidewellDownload, public FileI
{
    Q_OBJECT
public:
    using Waker = sdk::cores::utils::status_notify<sdk::cores::utils::status_nf>;
    enum State { Idle, Running, Finished, Failed };

    TwDownloadFile(Tidewell* owner, FileI* parent);
    ~TwDownloadFile() override;

    using TidewellDownload::start;
    // False when the segment file cannot be opened or the download does not
    // start; nothing runs then.
    bool start(const TwFileInfo& file, qint64 offset, const QString& folder);
    // start() in two steps, so that neither the request nor its first bytes
    // wait for the file: bytes that arrive before openFile() are held in
    // memory (up to kEarlyCap, then the task waits) and read from there.
    // False when nothing was asked for.
    bool begin(const TwFileInfo& file, qint64 offset, const QString& folder);
    // Makes the file and moves the held bytes into it. False (and the
    // segment failed, its task stopped, nothing held) when it cannot be made.
    // A full disk is no failure: the segment goes on in memory (see
    // keepInMemory) and writeError() tells why.
    bool openFile();
    // Instead of openFile(): the segment never has a file; it holds at most
    // kEarlyCap bytes in memory and ends there. For a cache disk that is
    // full: playing goes on from the device.
    void keepInMemory();
    bool inMemory() const { return m_memoryOnly.load(); }
    static constexpr int kEarlyCap = 8 * 1024 * 1024;
    // Between begin() and openFile(): its owner must not delete it.
    bool isOpening() const { return m_opening.load(); }
    // Up to length bytes from the absolute offset; -1 when none are held.
    qint64 get(char* buffer, qint64 length, qint64 offset);
    // Stops and gives back the library task (once) and closes the file.
    bool stop();

    const QString& path() const override { return m_path; }
    qint64 fwrite(const char* data, qint64 length, qint64 offset) override;
    qint64 fread(char* buffer, qint64 length, qint64 offset) override;

    int on_data(const char* data, size_t length) override;
    void on_status(int status, const std::string& text, int errCode) override;
    void on_task(const std::string& taskId) override;
    void on_progress(std::int64_t, std::int64_t) override {}

    // Bytes from offset on are held by another segment: this one ends there.
    // Only ever lowered.
    void limitTo(qint64 offset);
    // Before a segment starts at offset: false when this one holds the byte
    // there or is receiving it next (nothing to start); else it is limited
    // to offset under the lock its writes take, so it never stores a byte
    // at or past offset afterwards.
    bool endBefore(qint64 offset);
    // While it grows, the cache folder is trimmed to cap bytes now and then
    // (0: never).
    void setCacheCap(qint64 cap) { m_cap = cap; }
    qint64 limit() const { return m_limit.load(); }

    qint64 startOffset() const { return m_start; }
    qint64 endOffset() const { return m_end.load(); }
    State state() const { return m_state.load(); }
    // Still receiving, so a read at its end will be served.
    bool isLive() const { return m_state.load() == Running; }
    // The error code of a failed segment (the device's HTTP status, or a
    // negative transport code); 0 otherwise.
    int errorCode() const { return m_errCode.load(); }
    // errno of the write to its file that failed; 0 while none did.
    int writeError() const { return m_writeErrno.load(); }
    // The file system has no room (or the user's quota is spent).
    static bool isDiskFull(int err);
    // Woken whenever the segment receives bytes or ends.
    void setWaker(Waker* waker) { m_waker = waker; }
    FileI* parentFile() const { return m_parent; }

    // The segment's file name for an item and start offset; a name from the
    // device is made safe and kept within the file-name length limit.
    static QString segmentName(const TwFileInfo& file, qint64 start);

public slots:
    void downloadTaskCreate(bool isSucc, QString taskId);
    void downloadProgress(qlonglong byteSent, qlonglong bytesTotal);
    void downloadFinish();
    void downloadPause();
    void downloadError(int code, QString msg);

private:
    void wake();
    // Caller holds the write order lock, taken as writes: before the file
    // is made, waits while too much is held in memory already.
    void waitForRoom(std::unique_lock<std::mutex>& writes, qint64 length);
    // Caller holds the write order lock.
    qint64 writeLocked(const char* data, qint64 length);
    void holdFile(const QString& path);
    // Caller holds the write order lock; the file is not made.
    void toMemoryLocked();

    FileI* m_parent = nullptr;
    qint64 m_start = 0;
    std::atomic<qint64> m_end{0};
    std::atomic<qint64> m_limit{std::numeric_limits<qint64>::max()};
    std::atomic<State> m_state{Idle};
    std::atomic<int> m_errCode{0};
    std::atomic<int> m_writeErrno{0};
    std::atomic<bool> m_memoryOnly{false};
    TwFileInfo m_file;
    // Shared by reads and writes of the file (positioned, so they never
    // disturb each other); opening and closing take it alone.
    QReadWriteLock m_lock;
    // Orders writes, the growth of end and changes of the limit.
    std::mutex m_writeLock;
    // Set and cleared under m_writeLock; a task waiting for room in m_early
    // waits on m_opened.
    std::atomic<bool> m_opening{false};
    std::condition_variable m_opened;
    // Bytes [start, end) while the file is not made yet; grown under m_lock
    // held alone.
    QByteArray m_early;
    QString m_name;
    QString m_path;
    QFile m_segment;
    Waker* m_waker = nullptr;
    QString m_folder;
    QString m_heldPath;
    std::atomic<qint64> m_cap{0};
    qint64 m_sinceTrim = 0;
};
