#pragma once

#include <QFile>
#include <QMutex>
#include <QString>
#include <QtGlobal>

// Writes every log record to standard error and to
// "logs/tw_<start time>_log.txt", starting a new file past a size limit.
class LogHandler
{
public:
    static constexpr qint64 kMaxFileSize = 100LL * 1024 * 1024;

    explicit LogHandler(const QString& dir, qint64 maxSize = kMaxFileSize);
    ~LogHandler();

    // Becomes Qt's message handler; only one may be installed.
    void install();
    void uninstall();

    void write(QtMsgType type, const QString& text);
    QString currentFile() const;

    // Removes files older than maxAgeDays and files not named like our logs.
    static int cleanOld(const QString& dir, int maxAgeDays = 3);

private:
    void openNewFile();

    QString m_dir;
    qint64 m_maxSize;
    mutable QMutex m_lock;
    QFile m_file;
    bool m_installed = false;
};
