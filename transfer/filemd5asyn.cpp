#include "transfer/filemd5asyn.h"

#include <QCryptographicHash>
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
    qDebug() << "FileMd5Asyn::run() filePath:" << m_filePath;
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning() << "file open error." << m_filePath << file.errorString();
        emit resultFileMd5(QString());
        setActive(false);
        return;
    }
    QElapsedTimer timer;
    timer.start();
    QCryptographicHash hash(QCryptographicHash::Md5);
    const qint64 size = file.size();
    qint64 remaining = size;
    qint64 done = 0;
    bool shortRead = false;
    char buf[4096];
    do {
        if (m_stop) {
            qDebug() << "FileMd5Asyn::run(): -----------------------------------break";
            break;
        }
        if (remaining == 0)
            break;
        const qint64 n = file.read(buf, qMin<qint64>(remaining, sizeof(buf)));
        if (n <= 0) {
            // Shortened while being read, or a read error.
            shortRead = true;
            break;
        }
        hash.addData(buf, int(n));
        done += n;
        remaining -= n;
    } while (done != size);
    file.close();

    QString result;
    if (m_stop) {
        result = QStringLiteral("-1");
    } else if (shortRead) {
        qWarning() << "FileMd5Asyn::run() read failed after" << done << "of" << size
                   << "bytes:" << m_filePath;
    } else {
        result = QString::fromLatin1(hash.result().toHex());
        qDebug() << "Result md5:" << result << "time:" << timer.elapsed() << "/ms "
                 << "filePath:" << m_filePath << "--------------";
    }
    // Signal first: the owner waits for the inactive state before deleting us.
    emit resultFileMd5(result);
    setActive(false);
}
