#include "media/skdecoderthread.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QSet>
#include <QImageReader>

std::atomic<int> SKDecoderThread::s_instances{0};

namespace {
// Released threads still decoding. The application waits for them as it
// ends: a decode must not run on while the process takes Qt down.
QMutex releasedLock;
QSet<SKDecoderThread*> released;

void finishReleased()
{
    QSet<SKDecoderThread*> left;
    {
        QMutexLocker lock(&releasedLock);
        left.swap(released);
    }
    for (SKDecoderThread* t : qAsConst(left)) {
        t->wait();
        delete t;
    }
}
}

SKDecoderThread::SKDecoderThread(QObject* parent) : QThread(parent), m_name("SKDecoderThread")
{
    ++s_instances;
}

SKDecoderThread::~SKDecoderThread()
{
    stop();
    wait();
    {
        QMutexLocker lock(&releasedLock);
        released.remove(this);
    }
    --s_instances;
}

void SKDecoderThread::play(const QUrl& source, QThread::Priority priority)
{
    QMutexLocker lock(&m_mutex);
    m_source = source;
    if (m_active) {
        // The loop takes the new source between frames, or on its way out;
        // a stop still pending is overtaken by it.
        qDebug().noquote() << QLatin1String(m_name) + "::play - 1 start . " << isRunning();
        m_stop = false;
        m_reset = true;
        m_wake.wakeAll();
        return;
    }
    lock.unlock();
    // The loop has taken its last look at the flags: this ends at once.
    wait();
    lock.relock();
    m_active = true;
    m_stop = false;
    m_reset = false;
    lock.unlock();
    qDebug().noquote() << QLatin1String(m_name) + "::play - 2 start . ";
    start(priority);
}

void SKDecoderThread::setBound(const QSize& bound)
{
    QMutexLocker lock(&m_mutex);
    m_bound = bound;
}

void SKDecoderThread::stop()
{
    QMutexLocker lock(&m_mutex);
    qDebug().noquote() << QLatin1String(m_name) + "::stop - call . " << isRunning();
    if (m_active) {
        m_stop = true;
        m_wake.wakeAll();
    }
    quit();
}

void SKDecoderThread::release()
{
    QMutexLocker lock(&m_mutex);
    m_released = true;
    m_stop = true;
    m_wake.wakeAll();
    if (m_active) {
        // The loop deletes the object on its way out.
        static bool hooked = false;
        QMutexLocker relLock(&releasedLock);
        if (!hooked && QCoreApplication::instance()) {
            qAddPostRoutine(finishReleased);
            hooked = true;
        }
        released.insert(this);
        return;
    }
    lock.unlock();
    delete this;
}

void SKDecoderThread::run()
{
    QMutexLocker lock(&m_mutex);
    while (!m_stop) {
        const QUrl source = m_source;
        m_reset = false;
        lock.unlock();
        decode(source);
        lock.relock();
        // A source given while the last frame was decoded is not lost.
        if (!m_reset)
            break;
    }
    m_active = false;
    if (m_released)
        deleteLater();   // on the owner's thread, after this run has ended
}

bool SKDecoderThread::interrupted() const
{
    QMutexLocker lock(&m_mutex);
    return m_stop || m_reset;
}

void SKDecoderThread::pause(int ms)
{
    QMutexLocker lock(&m_mutex);
    if (!m_stop && !m_reset)
        m_wake.wait(&m_mutex, static_cast<unsigned long>(ms));
}

void SKDecoderThread::open(QImageReader& reader, const QUrl& source, bool autoTransform)
{
    reader.setFileName(source.isLocalFile() ? source.toLocalFile() : source.toString());
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(autoTransform);
    reader.setScaledSize(QSize());
}

namespace {
// A GIF is decoded onto a canvas of its logical screen, which the reader's
// size (the first frame's) does not tell.
QSize gifScreen(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QSize();
    const QByteArray head = file.read(10);
    if (head.size() < 10 || !head.startsWith("GIF8"))
        return QSize();
    auto le16 = [&head](int at) { return int(uchar(head[at])) | int(uchar(head[at + 1])) << 8; };
    return QSize(le16(6), le16(8));
}
}

bool SKDecoderThread::fit(QImageReader& reader, const QUrl& source) const
{
    QSize size = reader.size();
    if (reader.format() == "gif")
        size = size.expandedTo(gifScreen(reader.fileName()));
    if (!size.isValid())
        return true;   // the format tells no size before decoding
    const qint64 pixels = qint64(size.width()) * size.height();
    // JPEG decodes at a half, a quarter or an eighth of its size without the
    // whole picture in memory; other formats decode whole before any scaling.
    const QByteArray format = reader.format();
    const bool jpeg = format == "jpeg" || format == "jpg";
    QSize bound;
    {
        QMutexLocker lock(&m_mutex);
        bound = m_bound;
    }
    if (bound.isValid() && (size.width() > bound.width() || size.height() > bound.height())
        && (jpeg || pixels <= kMaxPixels)) {
        reader.setScaledSize(size.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
        return true;
    }
    if (pixels <= kMaxPixels)
        return true;
    if (jpeg) {
        for (int d = 2; d <= 8; d *= 2) {
            if (pixels / (qint64(d) * d) <= kMaxPixels) {
                const QSize scaled(qMax(1, size.width() / d), qMax(1, size.height() / d));
                reader.setScaledSize(scaled);
                qWarning().noquote() << QLatin1String(m_name) + "::oPlay - picture of " << size << " decoded at "
                                     << scaled << ", " << source;
                return true;
            }
        }
    }
    qWarning().noquote() << QLatin1String(m_name) + "::oPlay - picture too large: " << size << ", more than "
                         << kMaxPixels << " pixels, not decoded: " << source;
    return false;
}
