#include "core/cconfig.h"

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
    m_settings.sync();
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
