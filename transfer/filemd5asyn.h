#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include <QObject>
#include <QRunnable>
#include <QString>

// MD5 of one local file, computed on the global thread pool. One object
// serves any number of runs; its owner deletes it, after stopAndWait().
class FileMd5Asyn : public QObject, public QRunnable
{
    Q_OBJECT
public:
    explicit FileMd5Asyn(QObject* parent = nullptr);
    ~FileMd5Asyn() override;

    void start(const QString& filePath);
    void stop();
    // Stops a queued or running hash and returns once the pool no longer
    // holds or runs this object, so it may be deleted.
    void stopAndWait();
    bool isActive() const;

    void run() override;

    // The digest of path on the caller's thread, as resultFileMd5 gives it;
    // stop, when given, is looked at between reads.
    static QString digestOf(const QString& path, const std::atomic<bool>* stop = nullptr);

signals:
    // Lower-case hex digest; "" when the file cannot be read in full; "-1"
    // when the run was stopped.
    void resultFileMd5(QString md5);

private:
    void setActive(bool active);

    QString m_filePath;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_active = false;
};
