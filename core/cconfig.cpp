#include "core/cconfig.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>

#include "core/utils.h"

CConfig::CConfig(const QString& file)
    : m_settings(file.isEmpty() ? getAppDataPath() + "config.ini" : file, QSettings::IniFormat)
{
}

QVariant CConfig::value(const QString& group, const QString& key, const QVariant& def) const
{
    QMutexLocker l(&m_lock);
    return m_settings.value(group + "/" + key, def);
}

void CConfig::setValue(const QString& group, const QString& key, const QVariant& value)
{
    QMutexLocker l(&m_lock);
    m_settings.setValue(group + "/" + key, value);
    syncPrivately();
}

void CConfig::remove(const QString& group, const QString& key)
{
    QMutexLocker l(&m_lock);
    m_settings.remove(group + "/" + key);
    syncPrivately();
}

// Called with m_lock held.
void CConfig::syncPrivately()
{
    const QString name = m_settings.fileName();
    const QFileDevice::Permissions mine = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    // Made private before anything is written into it; a rewrite keeps the
    // file's permissions.
    if (!QFileInfo::exists(name)) {
        QDir().mkpath(QFileInfo(name).absolutePath());
        QFile f(name);
        if (f.open(QIODevice::WriteOnly))
            f.setPermissions(mine);
    }
    m_settings.sync();
    QFile::setPermissions(name, mine);
}

QString CConfig::downPath() const
{
    return value("LarkVault", "DownPath").toString();
}

void CConfig::setDownPath(const QString& path)
{
    setValue("LarkVault", "DownPath", path);
}

QString CConfig::fileName() const
{
    return m_settings.fileName();
}
