#pragma once

#include <atomic>

#include <QHash>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QSet>
#include <QReadWriteLock>
#include <QThread>
#include <QThreadPool>
#include <QUrl>
#include <QWaitCondition>

#include "transfer/outagepacing.h"
#include "transfer/thumbi.h"
#include "transfer/thumbinfo.h"

class ThumbDownloadTask;
class Tidewell;

// Fetches picture and video thumbnails from the device into a local cache
// (<cache>/thumbs/small|medium|original). Requests answer at once; missing
// thumbnails are queued and downloaded on the service's thread, at most 5
// at a time (20 on the local network), each tried 3 times. A device that
// cannot be reached costs no attempt: the queue waits, looking now and then
// with one download, and goes on when the device answers again. Every
// finished request is announced with sFinished.
class TidewellThumb : public QThread, public ThumbI
{
    Q_OBJECT
public:
    explicit TidewellThumb(QObject* parent = nullptr);
    ~TidewellThumb() override;

    virtual QUrl medium(NetworkShare share, int type, TwFileInfo item, bool& original);

    void init(Tidewell* owner, const QString& root);

    QUrl small(NetworkShare share, int type, qint64 fileId, QString ower, QString fileMd5,
               int fileCatetory) override;
    QUrl medium(NetworkShare share, int type, TwFileInfo item) override;
    QUrl original(NetworkShare share, int type, TwFileInfo item) override;

    // Empties both queues, then pause().
    Q_INVOKABLE void stop();
    // Starts nothing more and returns once the running tasks are given back
    // (on the service's own thread it only sets the flags). Queues stay.
    Q_INVOKABLE void pause();
    // Starts again; 20 at a time on the local network, else 5.
    Q_INVOKABLE void resume();
    // Empties the cache; with a root, init() again.
    void reinit(bool ignoreCache, const QString& root);
    void setMaxCount(int count);
    int maxCount() const;
    int pendingCount() const;
    int runningCount() const;
    qint64 execCount() const { return m_execCount.load(); }
    bool isStopped() const { return m_stopped.load(); }
    QString cacheRoot() const;
    // Deletes the item's cached small thumbnail (when not empty).
    bool removeCached(TwFileInfo item);
    void clearMedium();
    // Queued requests, for tests and the log.
    QList<ThumbInfo> smallQueue() const;
    QList<ThumbInfo> mediumQueue() const;

signals:
    void sFinished(ThumbInfo info, int code, QString message);

public slots:
    void rFinished(ThumbInfo info, int code, QString message);
    void oRelease(ThumbInfo info, int code, QString msg);
    // A complete download was put into the cache (fault "") or dropped.
    void oPlaced(ThumbInfo info, int code, QString msg, QString fault, quint64 clears);

protected:
    void run() override;

private:
    enum Take { Idle, Started, Answered, NotStarted };

    // URL of a cached picture; an empty file or one that is no whole
    // picture is deleted.
    QUrl cachedUrl(const QString& path);
    void forgetChecked(const QString& path);
    void rememberChecked(const QString& path);
    // Marks the task that answered released and passes its answer on
    // (ownAnswer: only when that task is the one tracked and reported).
    void settle(const ThumbInfo& info, int code, const QString& msg, bool ownAnswer);
    // What a released task's answer leads to: announced, or tried again.
    void answer(ThumbInfo info, int code, const QString& msg);
    Take execute(bool mediumQueue);
    // Back to the end of its queue (caller holds the write lock).
    void requeueLocked(const ThumbInfo& info);
    // The device could not be reached: the queue waits; probe tells a
    // download started to look for it (caller holds the write lock).
    void deviceAwayLocked(bool probe, const QString& why);
    // Wakes the service thread (caller holds the write lock).
    void wakeLocked();
    // Notes the parts of downloads left in the cache under root (service
    // thread).
    void findParts(const QString& root);
    // Parts of other versions of the picture (another MD5) never go on:
    // removed before a download of this version starts (service thread).
    void dropOtherVersions(const ThumbInfo& info, const QString& tmpPath);

    Tidewell* m_owner = nullptr;
    QString m_root;
    QMap<QString, ThumbDownloadTask*> m_running;
    QList<ThumbInfo> m_smallQueue;
    QSet<QString> m_smallKeys;  // cacheName() of every queued small request
    QList<ThumbInfo> m_mediumQueue;
    // cacheName() of complete downloads being checked and put in place;
    // their answer also answers a request for the same key.
    QSet<QString> m_placing;
    // Temporary files that may hold a part to go on from: found when the
    // cache root is first seen, then those the service's own tasks left.
    // Only these are looked up when a download starts (service thread).
    QSet<QString> m_parts;
    QString m_partsRoot;
    // The disk thread: writes the tasks' temporary files and puts finished
    // ones in place.
    QThreadPool m_placer;
    mutable QReadWriteLock m_lock;
    QWaitCondition m_wake;      // work, a released task, resume, the end
    QWaitCondition m_reaped;    // the running map shrank
    quint64 m_events = 0;       // bumped under the lock with each wake
    quint64 m_clears = 0;       // bumped by stop(): requests taken before are dropped
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_quit{false};
    int m_maxCount = 5;
    std::atomic<qint64> m_execCount{0};
    bool m_ignoreCache = false;
    // The device could not be reached: no new start before this time
    // unless something wakes the thread, then one at a time.
    std::atomic<qint64> m_retryAt{0};
    bool m_away = false;
    OutagePacing m_outage;
    // Cached files found to be whole pictures, with their size and time.
    struct Checked
    {
        qint64 size;
        qint64 modified;
    };
    QMutex m_checkedLock;
    QHash<QString, Checked> m_checked;
};
