#pragma once

#include <QFile>
#include <QMutex>
#include <QString>
#include <QtGlobal>

// Writes every log record to "logs/tw_<start time>_log.txt", starting a new
// file past a size limit, and the records from a level on (warnings unless
// set otherwise) to standard error.
class LogHandler
{
public:
    static constexpr qint64 kMaxFileSize = 100LL * 1024 * 1024;
    // Severity from low to high, for the terminal's threshold.
    enum Level { Debug = 0, Info = 1, Warning = 2, Error = 3 };

    explicit LogHandler(const QString& dir, qint64 maxSize = kMaxFileSize);
    ~LogHandler();

    // Becomes Qt's message handler; only one may be installed.
    void install();
    void uninstall();

    void write(QtMsgType type, const QString& text);
    QString currentFile() const;

    // Lowest level shown on the terminal (the file gets everything).
    void setTerminalLevel(Level level) { m_terminalLevel = level; }
    Level terminalLevel() const { return m_terminalLevel; }
    // "debug", "info", "warning" or "error" (any case); fallback otherwise.
    static Level parseLevel(const QString& name, Level fallback);

    // Removes files older than maxAgeDays and files not named like our logs.
    static int cleanOld(const QString& dir, int maxAgeDays = 3);

private:
    void openNewFile();

    QString m_dir;
    qint64 m_maxSize;
    mutable QMutex m_lock;
    QFile m_file;
    bool m_installed = false;
    Level m_terminalLevel = Warning;
};
