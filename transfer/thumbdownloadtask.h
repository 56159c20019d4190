#pragma once

#include <atomic>
#include <memory>

#include <QFile>
#include <QObject>
#include <QString>

#include "sdk/download_observer.h"
#include "transfer/thumbinfo.h"

class QThreadPool;
class Tidewell;
class ThumbTmpWriter;
namespace sdk {
namespace cores { namespace tidewell { class download; } }
namespace plugins { class tidewell_network_sdk; }
}

// One thumbnail download: a library stream download written into
// <cache file>_tmp. When it is complete the task answers at once and the
// service has the file checked and renamed into place (place()) after the
// task gave back its slot, so a disk that is slow to create, look into and
// rename files does not hold a download slot. A part
// left by an earlier task is resumed only when it was written for the same
// version of the item (recorded beside it as <cache file>_tmp.ver).
// Callbacks arrive on library threads; the one answer leaves as rFinished.
// The service owns the task and gives it back (release) on its own thread.
class ThumbDownloadTask : public QObject, public sdk::cores::tidewell::download_observer
{
    Q_OBJECT
public:
    // Milliseconds without data after which the service ends a task that
    // the library did not end itself (its stall limit comes first).
    static const qint64 kInactiveMs = 20000;

    // disk: the thread (a pool of one) that writes the temporary file, the
    // same that puts finished files in place, so that creating and renaming
    // files in one folder never wait on each other.
    ThumbDownloadTask(const QString& root, QThreadPool* disk);
    ~ThumbDownloadTask() override;

    // Takes the request; the temporary file's size is where it resumes,
    // unless that part belongs to another version (then it starts over).
    // Without mayHavePart the file is not looked at: the download starts
    // from 0 (a file there is overwritten). Looking up a name in a folder
    // where files are being created waits for the folder's lock.
    void setInfo(const ThumbInfo& info, bool mayHavePart = true);
    const ThumbInfo& info() const { return m_info; }
    QString tmpPath() const { return m_tmpPath; }
    // Where the download started: past 0 a part (and its version file)
    // was taken over.
    qint64 startOffset() const { return m_startPos; }

    // Starts the library download on the owner's session; false when the
    // session is not online or the library refused.
    bool start(Tidewell* owner);
    bool isReported() const { return m_reported.load(); }
    // The library's error code of the answer (0: none, see task_error).
    int errorCode() const { return m_errCode.load(); }
    // Started to find out whether an unreachable device is back.
    void setProbe(bool probe) { m_probe = probe; }
    bool isProbe() const { return m_probe; }
    // Released, or silent for longer than kInactiveMs (nowMs: steady clock).
    bool isFinished(qint64 nowMs) const;
    bool isSilent(qint64 nowMs) const { return nowMs - m_lastData.load() > kInactiveMs; }
    // A stalled attempt: its part is not kept for a later one.
    void dropStalled();
    // Once released: its temporary file may hold a part that a later
    // download can go on from.
    bool leftPart() const { return m_leftPart; }
    void markReleased() { m_state.store(-1); }
    bool isReleased() const { return m_state.load() == -1; }
    qint64 lastDataMs() const { return m_lastData.load(); }
    // Stops the library task and gives it back to the library object that
    // made it. No callback reaches this object afterwards.
    void release();

    static qint64 steadyMs();
    // Why the file at path is no whole picture ("" when it is one): it must
    // decode as far as its size, and a JPEG or PNG must end where its
    // format ends. decode: decode it all (for small pictures only).
    static QString pictureFault(const QString& path, bool decode);
    static QString pictureFault(const QByteArray& data, bool decode);
    // Puts the complete download of info into the cache when it is a whole
    // picture, replacing an older file; else drops it. The fault ("" when
    // placed). resumed: the download went on from a kept part, whose version
    // file goes too (a download from 0 has none: removing it would only
    // take the folder's lock again).
    static QString place(const ThumbInfo& info, const QString& root, bool resumed);
    // Waits until every byte received is in the temporary file and closes
    // it; false when it could not be written.
    static bool finishWrites(const std::shared_ptr<ThumbTmpWriter>& writer);
    // Removes a partial download and its version file.
    static void dropPartialAt(const QString& tmpPath);
    std::shared_ptr<ThumbTmpWriter> writer() const { return m_writer; }
    // The download is complete and its file waits for place(); the task no
    // longer touches it.
    bool needsPlacing() const { return m_handedOver.load(); }

    // download_observer (library threads)
    void on_progress(std::int64_t total, std::int64_t done) override;
    int on_data(const char* data, std::size_t length) override;
    void on_status(int status, const std::string& text, int err_code) override;

signals:
    void rFinished(ThumbInfo info, int code, QString message);

private:
    void report(int code, const QString& message, int errCode = 0);
    void dropPartial();

    QString m_root;
    QThreadPool* m_disk;
    ThumbInfo m_info;
    QString m_tmpPath;
    // Writes the received bytes into the temporary file on the disk thread,
    // in order: creating and growing a file can wait on a busy disk.
    std::shared_ptr<ThumbTmpWriter> m_writer;
    qint64 m_startPos = 0;
    qint64 m_writePos = 0;
    std::atomic<int> m_state{0};
    std::atomic<qint64> m_lastData{0};
    std::atomic<bool> m_reported{false};
    std::atomic<int> m_errCode{0};
    bool m_wrote = false;    // this task added to the temporary file
    std::atomic<bool> m_handedOver{false};   // complete, the file is place()'s
    bool m_probe = false;
    bool m_leftPart = false;
    sdk::plugins::tidewell_network_sdk* m_net = nullptr;
    sdk::cores::tidewell::download* m_task = nullptr;
};
