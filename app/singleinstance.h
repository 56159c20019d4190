#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

// The single-instance guard: the first start of a user holds a lock file
// and listens on a local socket; a later start hands its command line to it
// and ends. Messages are the arguments joined by single blanks, UTF-8.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // Bigger messages are not a command line and are dropped.
    static constexpr int kMaxMessage = 64 * 1024;

    // key: names the lock and the socket; userKey() for the program.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // One key per user and home folder.
    static QString userKey();

    // True when this process is the first: it now listens for later starts.
    bool isPrimary() const { return m_primary; }
    // A later start: sends args to the first; false when none took them.
    bool handOver(const QStringList& args, int timeoutMs = 100) const;

signals:
    void receivedMessage(QByteArray message);

private:
    void onNewConnection();

    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
    bool m_primary = false;
};
