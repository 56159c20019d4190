#include "transfer/tidewellthumb.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "core/tidewell.h"
#include "core/utils.h"
#include "sdk/task_interface.h"
#include "transfer/thumbdownloadtask.h"

namespace {
// First pause before looking again for a device that could not be reached.
const int kRetryMs = 100;
const int kSmallFrontAt = 16;
const int kSmallInsertAt = 5;
const int kCheckedMax = 20000;
}

TidewellThumb::TidewellThumb(QObject* parent) : QThread(parent)
{
    // One thread writes the temporary files and puts finished ones in
    // place: creating and renaming files in one folder take that folder's
    // lock, and more threads only spin on it, burning processor time the
    // downloads need.
    m_placer.setMaxThreadCount(1);
}

TidewellThumb::~TidewellThumb()
{
    m_stopped = true;
    {
        QWriteLocker l(&m_lock);
        m_quit = true;
        wakeLocked();
    }
    wait();
    // Their answers, posted to this object, go with it.
    m_placer.waitForDone();
    // run() gave every task back when it ended; these were never started.
    qDeleteAll(m_running);
    m_running.clear();
    m_owner = nullptr;
}

void TidewellThumb::init(Tidewell* owner, const QString& root)
{
    if (owner)
        m_owner = owner;
    {
        QWriteLocker l(&m_lock);
        m_root = root + "/thumbs";
    }
    QDir dir;
    for (const char* sub : {"small", "medium", "original"})
        dir.mkpath(m_root + "/" + sub);
    qDebug() << "TidewellThumb::init - thumb cached: " << m_root;
    if (!isRunning())
        start();
}

QString TidewellThumb::cacheRoot() const
{
    QReadLocker l(&m_lock);
    return m_root;
}

QUrl TidewellThumb::cachedUrl(const QString& path)
{
    const QFileInfo fi(path);
    if (!fi.exists())
        return QUrl();
    const Checked seen{fi.size(), fi.lastModified().toMSecsSinceEpoch()};
    if (seen.size > 0) {
        // Each file is looked into once; the views ask for it again and again.
        {
            QMutexLocker l(&m_checkedLock);
            const auto it = m_checked.constFind(path);
            if (it != m_checked.constEnd() && it->size == seen.size && it->modified == seen.modified)
                return QUrl::fromLocalFile(fi.absoluteFilePath());
        }
        const QString fault = ThumbDownloadTask::pictureFault(path, false);
        if (fault.isEmpty()) {
            QMutexLocker l(&m_checkedLock);
            // Bounded: past that, files are simply looked into again.
            if (m_checked.size() >= kCheckedMax)
                m_checked.clear();
            m_checked.insert(path, seen);
            return QUrl::fromLocalFile(fi.absoluteFilePath());
        }
        qWarning() << "TidewellThumb - cached thumbnail removed, " << fault << ": " << path;
    }
    forgetChecked(path);
    QFile::remove(path);
    return QUrl();
}

void TidewellThumb::rememberChecked(const QString& path)
{
    const QFileInfo fi(path);
    QMutexLocker l(&m_checkedLock);
    if (m_checked.size() >= kCheckedMax)
        m_checked.clear();
    m_checked.insert(path, Checked{fi.size(), fi.lastModified().toMSecsSinceEpoch()});
}

void TidewellThumb::forgetChecked(const QString& path)
{
    QMutexLocker l(&m_checkedLock);
    m_checked.remove(path);
}

void TidewellThumb::wakeLocked()
{
    ++m_events;
    m_wake.wakeAll();
}

QUrl TidewellThumb::small(NetworkShare share, int type, qint64 fileId, QString ower,
                          QString fileMd5, int fileCatetory)
{
    ThumbInfo info(type, m_owner ? m_owner->deviceId() : QString());
    info.setSmall(fileId, ower, fileMd5, fileCatetory);
    info.setShare(share);
    const QUrl cached = cachedUrl(info.cacheFilePath(cacheRoot()));
    if (cached.isValid())
        return cached;
    const QString key = info.cacheName();
    {
        QWriteLocker l(&m_lock);
        if (!m_smallKeys.contains(key) && !m_running.contains(key) && !m_placing.contains(key)) {
            if (m_smallQueue.size() >= kSmallFrontAt)
                m_smallQueue.prepend(info);
            else
                m_smallQueue.insert(qMin(kSmallInsertAt, m_smallQueue.size()), info);
            m_smallKeys.insert(key);
            wakeLocked();
        }
    }
    return getFileTypeIcon(type);
}

QUrl TidewellThumb::medium(NetworkShare share, int type, TwFileInfo item)
{
    bool original = false;
    return medium(share, type, item, original);
}

QUrl TidewellThumb::original(NetworkShare share, int type, TwFileInfo item)
{
    bool original = true;
    return medium(share, type, item, original);
}

QUrl TidewellThumb::medium(NetworkShare share, int type, TwFileInfo item, bool& original)
{
    ThumbInfo info(type, m_owner ? m_owner->deviceId() : QString());
    info.setShare(share);
    info.fileId = item.id;
    info.ower = item.ower;
    info.fileMd5 = item.fileMd5;
    info.name = item.name;
    info.isUsb = item.isUsb ? 1 : 0;
    info.url = item.url;
    info.filePath = item.filePath;
    info.fileCatetory = item.fileCatetory;
    info.lastModified = item.lastModified;
    info.fileLen = item.fileLen;
    info.toOriginal();
    const QString root = cacheRoot();
    QUrl url = cachedUrl(info.cacheFilePath(root));
    if (url.isValid()) {
        original = true;
        return url;
    }
    if (!original) {
        info.toMedium();
        url = cachedUrl(info.cacheFilePath(root));
        if (url.isValid())
            return url;
    }
    {
        QWriteLocker l(&m_lock);
        while (m_mediumQueue.size() > 2)
            m_mediumQueue.removeLast();
        m_mediumQueue.prepend(info);
        wakeLocked();
    }
    qDebug() << "TidewellThumb::medium - type " << type << ", fileId " << info.fileId << ", isUsb "
             << info.isUsb << ", url " << info.url;
    return QUrl();
}

void TidewellThumb::stop()
{
    {
        QWriteLocker l(&m_lock);
        m_smallQueue.clear();
        m_smallKeys.clear();
        m_mediumQueue.clear();
        ++m_clears;
    }
    pause();
}

void TidewellThumb::pause()
{
    m_stopped = true;
    QWriteLocker l(&m_lock);
    for (ThumbDownloadTask* t : qAsConst(m_running))
        t->markReleased();
    wakeLocked();
    // On the service's own thread (a start that found the device offline)
    // waiting would wait for ourselves: the loop reaps them next.
    if (QThread::currentThread() == this)
        return;
    while (!m_running.isEmpty() && isRunning()) {
        qDebug() << "TidewellThumb::stop - wait...";
        m_reaped.wait(&m_lock, 100);
    }
}

void TidewellThumb::resume()
{
    m_stopped = false;
    Tidewell* owner = m_owner;
    const bool online = owner && owner->isOnline();
    const bool lan = online && owner->isLan();
    QWriteLocker l(&m_lock);
    if (online)
        m_maxCount = lan ? 20 : 5;
    // Connected again: the device is looked for at once.
    m_away = false;
    m_outage.reset();
    m_retryAt = 0;
    wakeLocked();
}

void TidewellThumb::reinit(bool ignoreCache, const QString& root)
{
    m_placer.waitForDone();
    const QString cache = cacheRoot();
    if (!cache.isEmpty()) {
        for (const char* sub : {"small", "medium", "original"})
            clearDirFiles(cache + "/" + sub);
        clearDirFiles(cache);
    }
    {
        QMutexLocker l(&m_checkedLock);
        m_checked.clear();
    }
    {
        QWriteLocker l(&m_lock);
        m_ignoreCache = ignoreCache;
    }
    if (!root.isEmpty())
        init(nullptr, root);
}

void TidewellThumb::setMaxCount(int count)
{
    QWriteLocker l(&m_lock);
    m_maxCount = count;
    wakeLocked();
}

int TidewellThumb::maxCount() const
{
    QReadLocker l(&m_lock);
    return m_maxCount;
}

int TidewellThumb::pendingCount() const
{
    QReadLocker l(&m_lock);
    return m_smallQueue.size() + m_mediumQueue.size();
}

int TidewellThumb::runningCount() const
{
    QReadLocker l(&m_lock);
    return m_running.size();
}

QList<ThumbInfo> TidewellThumb::smallQueue() const
{
    QReadLocker l(&m_lock);
    return m_smallQueue;
}

QList<ThumbInfo> TidewellThumb::mediumQueue() const
{
    QReadLocker l(&m_lock);
    return m_mediumQueue;
}

bool TidewellThumb::removeCached(TwFileInfo item)
{
    ThumbInfo info(item.type, m_owner ? m_owner->deviceId() : QString());
    info.setSmall(item.id, item.ower, item.fileMd5, item.fileCatetory);
    const QFileInfo fi(info.cacheFilePath(cacheRoot()));
    if (!fi.exists() || fi.size() == 0)
        return false;
    forgetChecked(fi.filePath());
    return QFile::remove(fi.absoluteFilePath());
}

void TidewellThumb::clearMedium()
{
    QWriteLocker l(&m_lock);
    m_mediumQueue.clear();
}

TidewellThumb::Take TidewellThumb::execute(bool mediumQueue)
{
    QList<ThumbInfo>& queue = mediumQueue ? m_mediumQueue : m_smallQueue;
    ThumbInfo info;
    QString key;
    QString root;
    bool ignoreCache = false;
    quint64 clears = 0;
    {
        QWriteLocker l(&m_lock);
        // A task counts until it is released, answered or not. While the
        // device is away one download at a time looks whether it is back.
        const int limit = m_away ? 1 : m_maxCount;
        if (queue.isEmpty() || m_stopped || m_running.size() >= limit)
            return Idle;
        clears = m_clears;
        info = queue.takeFirst();
        key = info.cacheName();
        // Already on its way: that download answers this request too. One
        // given back with the request queued again is reaped first.
        if (const ThumbDownloadTask* out = m_running.value(key)) {
            if (out->isReleased()) {
                queue.prepend(info);
                return Idle;
            }
            if (!mediumQueue)
                m_smallKeys.remove(key);
            return Answered;
        }
        if (m_placing.contains(key)) {
            if (!mediumQueue)
                m_smallKeys.remove(key);
            return Answered;
        }
        // The key stays reserved in m_smallKeys until the task is tracked,
        // so a request arriving meanwhile is not queued a second time.
        root = m_root;
        ignoreCache = m_ignoreCache;
    }
    if (!ignoreCache && cachedUrl(info.cacheFilePath(root)).isValid()) {
        if (!mediumQueue) {
            QWriteLocker l(&m_lock);
            m_smallKeys.remove(key);
        }
        emit sFinished(info, 100310, "ok");
        return Answered;
    }
    auto* task = new ThumbDownloadTask(root, &m_placer);
    const QString tmpPath = info.cacheFilePath(root) + "_tmp";
    const bool mayHavePart = m_parts.remove(tmpPath);
    dropOtherVersions(info, tmpPath);
    task->setInfo(info, mayHavePart);
    connect(task, &ThumbDownloadTask::rFinished, this, &TidewellThumb::rFinished);
    {
        // Tracked before it starts, so an answer arriving at once finds it.
        QWriteLocker l(&m_lock);
        if (m_stopped) {
            // Paused meanwhile: it waits in front; stopped: it is dropped.
            if (clears == m_clears)
                queue.prepend(info);
            if (mayHavePart)
                m_parts.insert(tmpPath);
            delete task;
            return Idle;
        }
        task->setProbe(m_away);
        m_running.insert(key, task);
        if (!mediumQueue)
            m_smallKeys.remove(key);
    }
    if (!task->start(m_owner)) {
        {
            QWriteLocker l(&m_lock);
            m_running.remove(key);
            if (clears == m_clears) {
                queue.append(info);
                if (!mediumQueue)
                    m_smallKeys.insert(key);
            }
            m_reaped.wakeAll();
        }
        if (mayHavePart)
            m_parts.insert(tmpPath);
        delete task;
        return NotStarted;
    }
    qDebug() << (mediumQueue ? "TidewellThumb::executeMedium - " : "TidewellThumb::executeSmall - ")
             << m_execCount.load();
    ++m_execCount;
    return Started;
}

void TidewellThumb::findParts(const QString& root)
{
    m_partsRoot = root;
    m_parts.clear();
    if (root.isEmpty())
        return;
    for (const char* sub : {"small", "medium", "original"}) {
        QDirIterator it(root + "/" + sub, {"*_tmp"}, QDir::Files);
        while (it.hasNext())
            m_parts.insert(it.next());
    }
}

void TidewellThumb::dropOtherVersions(const ThumbInfo& info, const QString& tmpPath)
{
    if (info.isUsb || m_parts.isEmpty())
        return;
    // <folder>/<device>_<id>_, then the MD5 if any, then _<kind>_tmp.
    ThumbInfo unversioned = info;
    unversioned.fileMd5.clear();
    const QString plain = unversioned.cacheName();
    const QString head = tmpPath.left(tmpPath.lastIndexOf('/') + 1) + plain.left(plain.lastIndexOf('_') + 1);
    const QString tail = "_" + QString::number(info.sizeKind) + "_tmp";
    for (auto it = m_parts.begin(); it != m_parts.end();) {
        if (*it != tmpPath && it->startsWith(head) && it->endsWith(tail)) {
            ThumbDownloadTask::dropPartialAt(*it);
            it = m_parts.erase(it);
        } else {
            ++it;
        }
    }
}

void TidewellThumb::run()
{
    while (!m_quit.load()) {
        const qint64 now = ThumbDownloadTask::steadyMs();
        ThumbDownloadTask* done = nullptr;
        bool silent = false;
        quint64 seen = 0;
        qint64 deadline = -1;
        QString root;
        {
            QWriteLocker l(&m_lock);
            seen = m_events;
            root = m_root;
            for (auto it = m_running.begin(); it != m_running.end(); ++it) {
                if (it.value()->isFinished(now)) {
                    done = it.value();
                    silent = !done->isReleased() && !done->isReported();
                    m_running.erase(it);
                    break;
                }
            }
        }
        if (root != m_partsRoot)
            findParts(root);
        if (done) {
            done->release();
            const ThumbInfo info = done->info();
            if (silent)
                done->dropStalled();
            if (done->leftPart())
                m_parts.insert(done->tmpPath());
            delete done;
            {
                QWriteLocker l(&m_lock);
                m_reaped.wakeAll();
            }
            // Nothing came for so long that the library did not end it:
            // answered like a stalled attempt, not left unanswered.
            if (silent && !m_stopped.load()) {
                qWarning() << "TidewellThumb - no data for" << ThumbDownloadTask::kInactiveMs << "ms:"
                           << info.fileId;
                answer(info, sdk::cores::tidewell::error_stalled,
                       QString("no data for %1 s").arg(ThumbDownloadTask::kInactiveMs / 1000));
            }
            continue;
        }

        bool progressed = false;
        if (!m_stopped.load() && now >= m_retryAt) {
            const Take m = execute(true);
            const Take s = execute(false);
            progressed = m == Started || m == Answered || s == Started || s == Answered;
            if (m == NotStarted || s == NotStarted) {
                qWarning() << "TidewellThumb::run - pending " << pendingCount()
                           << ", down max count " << runningCount() << ":" << maxCount()
                           << ", need sleep 100ms.";
                QWriteLocker l(&m_lock);
                deviceAwayLocked(true, "not connected");
                progressed = false;
            }
        }
        if (progressed)
            continue;

        // Nothing to do now: sleep until a request, a released task, a
        // resume, the next silent-task deadline or the retry time.
        QWriteLocker l(&m_lock);
        if (m_quit.load() || m_events != seen)
            continue;
        for (ThumbDownloadTask* t : qAsConst(m_running)) {
            const qint64 due = t->lastDataMs() + ThumbDownloadTask::kInactiveMs + 1;
            deadline = deadline < 0 ? due : qMin(deadline, due);
        }
        const qint64 retryAt = m_retryAt.load();
        if (retryAt > now && !m_stopped.load()
            && !(m_smallQueue.isEmpty() && m_mediumQueue.isEmpty()))
            deadline = deadline < 0 ? retryAt : qMin(deadline, retryAt);
        if (deadline < 0)
            m_wake.wait(&m_lock);
        else
            m_wake.wait(&m_lock, QDeadlineTimer(qMax<qint64>(1, deadline - now)));
    }

    // The end: every task still out is given back here.
    QList<ThumbDownloadTask*> left;
    {
        QWriteLocker l(&m_lock);
        left = m_running.values();
        m_running.clear();
        m_reaped.wakeAll();
    }
    for (ThumbDownloadTask* t : left) {
        t->release();
        delete t;
    }
}

void TidewellThumb::rFinished(ThumbInfo info, int code, QString message)
{
    // Only the tracked task's own answer counts: one that was dropped
    // (silent too long) may still have an answer on its way.
    settle(info, code, message, true);
}

void TidewellThumb::oRelease(ThumbInfo info, int code, QString msg)
{
    settle(info, code, msg, false);
}

void TidewellThumb::settle(const ThumbInfo& info, int code, const QString& msg, bool ownAnswer)
{
    enum { Answer, Waits, Placing } next = Answer;
    int pending = 0;
    {
        // One pass under the lock: twenty tasks answer within moments of
        // each other, and every extra pass queues them up behind the others.
        QWriteLocker l(&m_lock);
        ThumbDownloadTask* t = m_running.value(info.cacheName());
        if (!t || t->isReleased() || (ownAnswer && !t->isReported()))
            return;
        pending = m_smallQueue.size() + m_mediumQueue.size();
        t->markReleased();
        wakeLocked();
        if (OutagePacing::isDeviceAway(t->errorCode())
            && t->errorCode() != sdk::cores::tidewell::error_stalled) {
            // Not reaching the device is no attempt: the request waits for
            // it. A device that took the request and then sent nothing was
            // reached: that attempt failed.
            requeueLocked(info);
            deviceAwayLocked(t->isProbe(), msg);
            next = Waits;
        } else {
            if (m_away) {
                qDebug() << "TidewellThumb - the device answers again, "
                         << m_smallQueue.size() + m_mediumQueue.size() << " waiting go on";
                m_away = false;
                m_outage.reset();
                m_retryAt = 0;
            }
            if (t->needsPlacing()) {
                // The slot is free from here; the file is looked into and
                // put in place on the placer, and only then announced.
                const QString key = info.cacheName();
                const QString root = m_root;
                const quint64 clears = m_clears;
                const std::shared_ptr<ThumbTmpWriter> writer = t->writer();
                const bool resumed = t->startOffset() > 0;
                m_placing.insert(key);
                m_placer.start([this, info, code, msg, root, clears, writer, resumed] {
                    const QString fault = ThumbDownloadTask::finishWrites(writer)
                                              ? ThumbDownloadTask::place(info, root, resumed)
                                              : QString("thumb file save path open failed.");
                    if (fault.isEmpty())
                        rememberChecked(info.cacheFilePath(root));
                    QMetaObject::invokeMethod(
                        this, [this, info, code, msg, fault, clears] { oPlaced(info, code, msg, fault, clears); },
                        Qt::QueuedConnection);
                });
                next = Placing;
            }
        }
    }
    qDebug() << "TidewellThumb::oRelease - >>>>>>>>>>>>>>>>>>>>>>>>>>>>>> " << code << ", msg " << msg
             << ", file " << info.fileId << "_" << info.fileMd5 << ", m_exec_count " << m_execCount.load()
             << ", pending " << pending;
    if (next == Answer)
        answer(info, code, msg);
}

void TidewellThumb::oPlaced(ThumbInfo info, int code, QString msg, QString fault, quint64 clears)
{
    {
        QWriteLocker l(&m_lock);
        m_placing.remove(info.cacheName());
        // stop() dropped the request meanwhile: no retry for it.
        if (!fault.isEmpty() && clears != m_clears)
            return;
    }
    if (fault.isEmpty())
        answer(info, code, msg);
    else
        answer(info, -1, fault);
}

void TidewellThumb::answer(ThumbInfo info, int code, const QString& msg)
{
    if (code == 100310 || code == 1) {
        qDebug() << "TidewellThumb::oRelease - >>>>>>>>>>>>>>>>>>>>>>>>>>>>>> " << code << ", msg "
                 << msg << ", file " << info.fileId << "_" << info.fileMd5 << ", m_exec_count "
                 << m_execCount.load() << ", pending " << pendingCount();
        emit sFinished(info, code, msg);
        return;
    }
    if (msg.size() > 4 && msg.startsWith("404")) {
        qWarning() << "TidewellThumb::oRelease - >>>>>>>>>>>>>>>>>>>>>>>>>>>>>> " << 404 << ", msg "
                   << msg << ", file " << info.fileId << "_" << info.fileMd5;
        emit sFinished(info, code, msg);
        return;
    }
    const int left = info.retries;
    info.retries = left - 1;
    if (left > 1) {
        QWriteLocker l(&m_lock);
        requeueLocked(info);
        return;
    }
    qWarning() << "TidewellThumb::oRelease - thumb down failed, override max count, " << info.fileId
               << "_" << info.fileMd5;
    emit sFinished(info, code, msg);
}

void TidewellThumb::requeueLocked(const ThumbInfo& info)
{
    if (info.sizeKind == ThumbInfo::Small) {
        const QString key = info.cacheName();
        if (!m_smallKeys.contains(key)) {
            m_smallQueue.append(info);
            m_smallKeys.insert(key);
        }
    } else {
        m_mediumQueue.append(info);
    }
    wakeLocked();
}

void TidewellThumb::deviceAwayLocked(bool probe, const QString& why)
{
    // Tasks that were out when the device went answer too; only the first
    // answer and those of the looking downloads make the wait longer.
    if (m_away && !probe)
        return;
    if (!m_away)
        m_outage.reset();
    m_away = true;
    bool counted = false;
    const int delay = m_outage.next(kRetryMs, counted);
    m_retryAt = ThumbDownloadTask::steadyMs() + delay;
    qWarning() << "TidewellThumb - device not reachable (" << why << "), "
               << m_smallQueue.size() + m_mediumQueue.size() << " waiting, looking again in "
               << delay << " ms";
}
