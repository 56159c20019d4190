#pragma once

#include <QDir>
#include <QProcess>
#include <QString>

// A small file system of its own (tmpfs) for tests of a full or read-only
// download folder. Needs the right to mount; ok() tells whether it worked.
class SmallDisk
{
public:
    SmallDisk(const QString& path, const QString& size)
        : m_path(path)
    {
        QDir().mkpath(path);
        m_mounted = run({"-t", "tmpfs", "-o", "size=" + size, "tmpfs", path});
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute("umount", {"-l", m_path});
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool ok() const { return m_mounted; }
    QString path() const { return m_path; }
    bool makeReadOnly() { return m_mounted && run({"-o", "remount,ro", m_path}); }

private:
    static bool run(const QStringList& args)
    {
        QProcess p;
        p.start("mount", args);
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit
               && p.exitCode() == 0;
    }

    QString m_path;
    bool m_mounted = false;
};
