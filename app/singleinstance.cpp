#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/utils.h"

namespace {

QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A folder only this user can enter: a real folder (no link), owned by the
// user, mode 0700.
bool isPrivateFolder(const QString& path, QString* why)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        *why = path + ": " + lastError();
        return false;
    }
    if (!S_ISDIR(st.st_mode))
        *why = path + " is not a folder";
    else if (st.st_uid != ::geteuid())
        *why = QString("%1 belongs to user %2").arg(path).arg(st.st_uid);
    else if ((st.st_mode & 0077) != 0)
        *why = QString("%1 has mode %2, not 0700").arg(path).arg(st.st_mode & 0777, 0, 8);
    else
        return true;
    return false;
}

// The user's runtime folder, else one of our own under the application
// data. Never a shared folder: there another user could hold our names.
QString privateFolder(QString* why)
{
    QStringList reasons;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString w;
    if (runtime.isEmpty())
        reasons << "no runtime folder";
    else if (isPrivateFolder(runtime, &w))
        return runtime;
    else
        reasons << "runtime folder: " + w;

    const QString own = getAppDataPath() + "run";
    const QByteArray ownName = QFile::encodeName(own);
    if (::mkdir(ownName.constData(), 0700) != 0 && errno != EEXIST) {
        reasons << own + ": " + lastError();
    } else {
        struct stat st;
        // Ours to repair when a umask or a copy widened it.
        if (::lstat(ownName.constData(), &st) == 0 && S_ISDIR(st.st_mode)
            && st.st_uid == ::geteuid() && (st.st_mode & 0077) != 0)
            ::chmod(ownName.constData(), 0700);
        if (isPrivateFolder(own, &w))
            return own;
        reasons << w;
    }
    *why = reasons.join("; ");
    return QString();
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), m_key(key)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    QString why;
    m_folder = privateFolder(&why);
    if (m_folder.isEmpty()) {
        qWarning() << "SingleInstance - no private folder for the lock (" << why
                   << "), running without the guard.";
        m_primary = true;
        return;
    }
    switch (takeLock()) {
    case Lock::Taken:
        m_primary = true;
        listen();
        break;
    case Lock::Held:
        qDebug() << "SingleInstance - another instance runs, key" << key;
        break;
    case Lock::Failed:
        qWarning() << "SingleInstance -" << m_error << ", running without the guard.";
        m_primary = true;
        break;
    }
}

SingleInstance::~SingleInstance()
{
    m_server.close();
    if (m_lockFd >= 0) {
        // The file stays: removing it could let two starts lock two files.
        ::flock(m_lockFd, LOCK_UN);
        ::close(m_lockFd);
    }
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

QString SingleInstance::lockPath() const
{
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(m_key + ".lock");
}

QString SingleInstance::serverPath() const
{
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(m_key + ".socket");
}

SingleInstance::Lock SingleInstance::takeLock()
{
    // The kernel drops the lock when its holder ends, however it ends, so a
    // left-over file, empty or not, never blocks a start.
    const QByteArray path = QFile::encodeName(lockPath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = "cannot open the lock " + lockPath() + ": " + lastError();
        return Lock::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        m_error = "cannot lock " + lockPath() + ": " + lastError();
        ::close(fd);
        return held ? Lock::Held : Lock::Failed;
    }
    // The holder's pid, for whoever looks.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::write(fd, pid.constData(), size_t(pid.size())) < 0)
        qDebug() << "SingleInstance - pid not written to the lock:" << lastError();
    m_lockFd = fd;
    return Lock::Taken;
}

void SingleInstance::listen()
{
    // We hold the lock, so a socket of that name is a leftover of a crash.
    QLocalServer::removeServer(serverPath());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(serverPath()))
        qWarning() << "SingleInstance - cannot listen on" << serverPath() << ":"
                   << m_server.errorString();
}

bool SingleInstance::takeOver()
{
    if (m_primary || m_lockFd >= 0)
        return true;
    if (takeLock() != Lock::Taken)
        return false;
    m_primary = true;
    listen();
    return true;
}

bool SingleInstance::handOver(const QStringList& args, int timeoutMs)
{
    m_error.clear();
    const QByteArray msg = encodeArguments(args);
    if (msg.size() > kMaxMessage) {
        m_error = QString("the command line is too long to hand over (%1 bytes, at most %2)")
                      .arg(msg.size())
                      .arg(kMaxMessage);
        return false;
    }
    if (m_folder.isEmpty()) {
        m_error = "no private folder to find the running instance in";
        return false;
    }
    QLocalSocket s;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        s.connectToServer(serverPath());
        if (s.waitForConnected(kConnectMs))
            break;
        // The first holds the lock before it listens: wait for it a while.
        const bool starting = s.error() == QLocalSocket::ServerNotFoundError
                              || s.error() == QLocalSocket::ConnectionRefusedError;
        if (!starting || waited.elapsed() >= kConnectMs) {
            m_error = "no running instance answers: " + s.errorString();
            return false;
        }
        s.abort();
        QThread::msleep(50);
    }
    QString why;
    if (!samePeerUser(s.socketDescriptor(), &why)) {
        s.abort();
        m_error = "the socket is not held by this user: " + why;
        return false;
    }
    s.write(msg);
    bool ok = s.waitForBytesWritten(timeoutMs) || s.bytesToWrite() == 0;
    if (!ok)
        m_error = "the running instance did not take the message: " + s.errorString();
    s.disconnectFromServer();
    if (s.state() != QLocalSocket::UnconnectedState && !s.waitForDisconnected(timeoutMs)) {
        if (ok)
            m_error = "the running instance did not end the hand-over: " + s.errorString();
        ok = false;
    }
    return ok;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* s = m_server.nextPendingConnection()) {
        QString why;
        if (!samePeerUser(s->socketDescriptor(), &why)) {
            qWarning() << "SingleInstance - connection refused:" << why;
            s->abort();
            s->deleteLater();
            continue;
        }
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

bool SingleInstance::samePeerUser(qintptr socket, QString* why)
{
    struct ucred cred;
    socklen_t len = sizeof(cred);
    QString reason;
    if (socket < 0 || ::getsockopt(int(socket), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        reason = "the peer is unknown: " + lastError();
    else if (cred.uid != ::geteuid())
        reason = QString("the peer runs as user %1").arg(cred.uid);
    else
        return true;
    if (why)
        *why = reason;
    return false;
}

QByteArray SingleInstance::encodeArguments(const QStringList& args)
{
    QStringList words;
    for (const QString& a : args) {
        if (!a.isEmpty() && !a.contains(' ') && !a.contains('"')) {
            words << a;
            continue;
        }
        QString q = a;
        q.replace('\\', "\\\\");
        q.replace('"', "\\\"");
        words << '"' + q + '"';
    }
    return words.join(' ').toUtf8();
}

QStringList SingleInstance::decodeArguments(const QByteArray& message)
{
    const QString text = QString::fromUtf8(message);
    QStringList out;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == '\\' && i + 1 < text.size() && (text.at(i + 1) == '\\' || text.at(i + 1) == '"'))
                word += text.at(++i);
            else if (c == '"')
                quoted = false;
            else
                word += c;
        } else if (c == ' ') {
            if (inWord)
                out << word;
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '"')
                quoted = true;
            else
                word += c;
        }
    }
    if (inWord)
        out << word;
    return out;
}
