#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

// The single-instance guard: the first start of a user holds a lock and
// listens on a local socket; a later start hands its command line to it and
// ends. Lock and socket live only in a folder that no other user can enter,
// and both ends of a connection make sure the other runs as the same user.
// A message is the arguments joined by single blanks, UTF-8; an argument that
// is empty or holds a blank or a quote is sent quoted.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // Bigger messages are not a command line and are dropped.
    static constexpr int kMaxMessage = 64 * 1024;
    // How long a later start waits for the first to listen.
    static constexpr int kConnectMs = 1000;

    // key: names the lock and the socket; userKey() for the program.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // One key per user and home folder.
    static QString userKey();

    // True when this process is the first (or runs as if it were).
    bool isPrimary() const { return m_primary; }
    // True when this process holds the lock and listens for later starts.
    bool isListening() const { return m_server.isListening(); }
    // The private folder of the lock and the socket; empty when there is none.
    QString folder() const { return m_folder; }
    QString lockPath() const;
    QString serverPath() const;

    // A later start: sends args to the first; false when none took them,
    // with the reason in errorString().
    bool handOver(const QStringList& args, int timeoutMs = 100);
    QString errorString() const { return m_error; }
    // After a failed hand-over: takes the lock and listens when its holder
    // is gone. False (the reason in errorString()) while another process
    // holds it: this one must not run beside it on the same store.
    bool takeOver();

    static QByteArray encodeArguments(const QStringList& args);
    static QStringList decodeArguments(const QByteArray& message);
    // True when the process at the other end of a local socket runs as this
    // process's user; why tells otherwise.
    static bool samePeerUser(qintptr socket, QString* why = nullptr);

signals:
    void receivedMessage(QByteArray message);

private:
    enum class Lock { Taken, Held, Failed };
    Lock takeLock();
    void listen();
    void onNewConnection();

    QString m_key;
    QString m_folder;
    QString m_error;
    int m_lockFd = -1;
    QLocalServer m_server;
    bool m_primary = false;
};
