#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// The user's own runtime folder keeps other users from holding our lock.
QString lockPath(const QString& key)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(key + ".lock");
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), m_key(key), m_lock(new QLockFile(lockPath(key)))
{
    // A lock left by a process that is gone is taken over (QLockFile checks
    // the holder's pid); a live holder is waited for up to a second.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(1000)) {
        qDebug() << "SingleInstance - another instance runs, key" << key;
        return;
    }
    m_primary = true;
    // We hold the lock, so a socket of that name is a leftover of a crash.
    QLocalServer::removeServer(key);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(key))
        qWarning() << "SingleInstance - cannot listen:" << m_server.errorString();
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

SingleInstance::~SingleInstance()
{
    m_server.close();
    if (m_primary)
        m_lock->unlock();
}

QString SingleInstance::userKey()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    const QByteArray id = (user + "|" + QDir::homePath()).toUtf8();
    return "tidewell-"
           + QString::fromLatin1(QCryptographicHash::hash(id, QCryptographicHash::Md5).toHex().left(16));
}

bool SingleInstance::handOver(const QStringList& args, int timeoutMs) const
{
    const QByteArray msg = args.join(' ').toUtf8();
    if (msg.size() > kMaxMessage)
        return false;
    QLocalSocket s;
    s.connectToServer(m_key);
    if (!s.waitForConnected(1000)) {
        qWarning() << "SingleInstance::handOver - no running instance:" << s.errorString();
        return false;
    }
    s.write(msg);
    bool ok = s.waitForBytesWritten(timeoutMs) || s.bytesToWrite() == 0;
    s.disconnectFromServer();
    if (s.state() != QLocalSocket::UnconnectedState)
        ok = s.waitForDisconnected(timeoutMs) && ok;
    return ok;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* s = m_server.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(s, &QLocalSocket::readyRead, this, [s, buffer] {
            buffer->append(s->readAll());
            if (buffer->size() > kMaxMessage) {
                qWarning() << "SingleInstance - message too long, dropped.";
                buffer->clear();
                s->abort();
            }
        });
        auto finish = [this, s, buffer] {
            buffer->append(s->readAll());
            if (!buffer->isEmpty() && buffer->size() <= kMaxMessage)
                emit receivedMessage(*buffer);
            buffer->clear();
            s->deleteLater();
        };
        connect(s, &QLocalSocket::disconnected, this, finish);
        if (s->state() == QLocalSocket::UnconnectedState)
            finish();
    }
}
