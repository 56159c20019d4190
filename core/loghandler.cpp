#include "core/loghandler.h"

#include <cstdio>

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>

static LogHandler* s_active = nullptr;

static void messageHandler(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    if (s_active)
        s_active->write(type, msg);
}

LogHandler::LogHandler(const QString& dir, qint64 maxSize)
    : m_dir(dir), m_maxSize(maxSize)
{
    QDir().mkpath(m_dir);
    cleanOld(m_dir);
    openNewFile();
}

LogHandler::~LogHandler()
{
    uninstall();
}

void LogHandler::install()
{
    s_active = this;
    m_installed = true;
    qInstallMessageHandler(messageHandler);
}

void LogHandler::uninstall()
{
    if (m_installed && s_active == this) {
        qInstallMessageHandler(nullptr);
        s_active = nullptr;
    }
    m_installed = false;
}

void LogHandler::openNewFile()
{
    m_file.close();
    const QString stamp = QDateTime::currentDateTime().toString("yyyy-MM-dd_hh_mm_ss");
    QString name = m_dir + "/tw_" + stamp + "_log.txt";
    // A rotation within the same second must not reopen the full file.
    for (int i = 1; QFile::exists(name); ++i)
        name = m_dir + "/tw_" + stamp + "_" + QString::number(i) + "_log.txt";
    m_file.setFileName(name);
    m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void LogHandler::write(QtMsgType type, const QString& text)
{
    static const char* level[] = {"D", "W", "C", "F", "I"};
    const int t = static_cast<int>(type);
    const QByteArray line = QDateTime::currentDateTime().toString("hh:mm:ss.zzz ").toUtf8()
        + (t >= 0 && t < 5 ? level[t] : "?") + " " + text.toUtf8() + "\n";
    Level severity = Error;
    switch (type) {
    case QtDebugMsg: severity = Debug; break;
    case QtInfoMsg: severity = Info; break;
    case QtWarningMsg: severity = Warning; break;
    default: break;
    }
    QMutexLocker l(&m_lock);
    if (severity >= m_terminalLevel)
        fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    if (m_file.isOpen() && m_file.size() + line.size() > m_maxSize)
        openNewFile();
    if (m_file.isOpen()) {
        m_file.write(line);
        m_file.flush();
    }
}

LogHandler::Level LogHandler::parseLevel(const QString& name, Level fallback)
{
    const QString n = name.trimmed().toLower();
    if (n == "debug")
        return Debug;
    if (n == "info")
        return Info;
    if (n == "warning" || n == "warn")
        return Warning;
    if (n == "error")
        return Error;
    return fallback;
}

QString LogHandler::currentFile() const
{
    QMutexLocker l(&m_lock);
    return m_file.fileName();
}

int LogHandler::cleanOld(const QString& dir, int maxAgeDays)
{
    static const QRegularExpression pattern("^tw_(.*)_log.txt$");
    const QDateTime limit = QDateTime::currentDateTime().addDays(-maxAgeDays);
    int removed = 0;
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo& f : files) {
        if (!pattern.match(f.fileName()).hasMatch() || f.lastModified() < limit) {
            if (QFile::remove(f.absoluteFilePath()))
                ++removed;
        }
    }
    return removed;
}
