#include "transfer/filemd5asyn.h"

#include <fcntl.h>
#include <memory>

#include <openssl/evp.h>

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QThreadPool>

FileMd5Asyn::FileMd5Asyn(QObject* parent) : QObject(parent)
{
    setAutoDelete(false);
}

FileMd5Asyn::~FileMd5Asyn()
{
    stopAndWait();
    qDebug() << "~~~~~~~FileMd5Asyn():" << m_filePath;
}

void FileMd5Asyn::setActive(bool active)
{
    std::lock_guard<std::mutex> l(m_mutex);
    m_active = active;
    if (!active)
        m_cond.notify_all();
}

bool FileMd5Asyn::isActive() const
{
    std::lock_guard<std::mutex> l(m_mutex);
    return m_active;
}

void FileMd5Asyn::start(const QString& filePath)
{
    // A run still in the pool would read the path while we change it.
    stopAndWait();
    m_filePath = filePath;
    m_stop = false;
    setActive(true);
    QThreadPool::globalInstance()->start(this, 0);
}

void FileMd5Asyn::stop()
{
    qDebug() << "FileMd5Asyn::stop(): -----------------------------------start";
    m_stop = true;
    qDebug() << "FileMd5Asyn::stop(): -----------------------------------end";
}

void FileMd5Asyn::stopAndWait()
{
    if (!isActive())
        return;
    m_stop = true;
    // Not started yet: take it back from the queue, no run and no signal.
    if (QThreadPool::globalInstance()->tryTake(this)) {
        setActive(false);
        return;
    }
    std::unique_lock<std::mutex> l(m_mutex);
    m_cond.wait(l, [this] { return !m_active; });
}

void FileMd5Asyn::run()
{
    const QString result = digestOf(m_filePath, &m_stop);
    // Signal first: the owner waits for the inactive state before deleting us.
    emit resultFileMd5(result);
    setActive(false);
}

QString FileMd5Asyn::digestOf(const QString& path, const std::atomic<bool>* stop)
{
    qDebug() << "FileMd5Asyn::run() filePath:" << path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        qWarning() << "file open error." << path << file.errorString();
        return QString();
    }
    // Read ahead as far as the system likes: the file is read once, in order.
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    QElapsedTimer timer;
    timer.start();
    // The crypto library's digest is the fastest at hand. The buffer is on
    // the stack: a large one on the heap stays with each thread that used it.
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> hash(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    const bool hashing = hash && EVP_DigestInit_ex(hash.get(), EVP_md5(), nullptr) == 1;
    const qint64 size = file.size();
    qint64 remaining = size;
    qint64 done = 0;
    bool shortRead = !hashing;
    bool stopped = false;
    char buf[64 * 1024];
    while (hashing && done != size) {
        if (stop && *stop) {
            qDebug() << "FileMd5Asyn::run(): -----------------------------------break";
            stopped = true;
            break;
        }
        const qint64 n = file.read(buf, qMin<qint64>(remaining, qint64(sizeof(buf))));
        if (n <= 0) {
            // Shortened while being read, or a read error.
            shortRead = true;
            break;
        }
        EVP_DigestUpdate(hash.get(), buf, size_t(n));
        done += n;
        remaining -= n;
    }
    file.close();

    QString result;
    if (stopped || (stop && *stop)) {
        result = QStringLiteral("-1");
    } else if (shortRead) {
        qWarning() << "FileMd5Asyn::run() read failed after" << done << "of" << size
                   << "bytes:" << path;
    } else {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int len = 0;
        if (EVP_DigestFinal_ex(hash.get(), digest, &len) == 1)
            result = QString::fromLatin1(
                QByteArray(reinterpret_cast<const char*>(digest), int(len)).toHex());
        qDebug() << "Result md5:" << result << "time:" << timer.elapsed() << "/ms "
                 << "filePath:" << path << "--------------";
    }
    return result;
}
