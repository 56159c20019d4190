#pragma once

#include <QMutex>
#include <QSettings>
#include <QString>
#include <QVariant>

// Settings in "config.ini" of the application-data folder, groups
// "Environment" and "LarkVault". The file can hold a device's token, so
// only its user may read it.
class CConfig
{
public:
    explicit CConfig(const QString& file = QString());

    QVariant value(const QString& group, const QString& key,
                   const QVariant& def = QVariant()) const;
    void setValue(const QString& group, const QString& key, const QVariant& value);
    void remove(const QString& group, const QString& key);

    // The configured download folder ("LarkVault"/"DownPath"), may be empty.
    QString downPath() const;
    void setDownPath(const QString& path);

    QString fileName() const;

private:
    void syncPrivately();

    mutable QMutex m_lock;
    QSettings m_settings;
};
