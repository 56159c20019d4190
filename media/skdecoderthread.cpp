#include "media/skdecoderthread.h"

#include <QDebug>
#include <QImageReader>

SKDecoderThread::SKDecoderThread(QObject* parent) : QThread(parent), m_name("SKDecoderThread") {}

SKDecoderThread::~SKDecoderThread()
{
    stop();
    wait();
}

void SKDecoderThread::play(const QUrl& source, QThread::Priority priority)
{
    QMutexLocker lock(&m_mutex);
    m_source = source;
    if (m_active && !m_stop) {
        // The loop takes the new source between frames, or on its way out.
        qDebug() << m_name << "::play - 1 start . " << isRunning();
        m_reset = true;
        m_wake.wakeAll();
        return;
    }
    lock.unlock();
    // A stopped or finishing loop ends first; it never waits long.
    wait();
    lock.relock();
    m_active = true;
    m_stop = false;
    m_reset = false;
    lock.unlock();
    qDebug() << m_name << "::play - 2 start . ";
    start(priority);
}

void SKDecoderThread::stop()
{
    QMutexLocker lock(&m_mutex);
    qDebug() << m_name << "::stop - call . " << isRunning();
    if (m_active) {
        m_stop = true;
        m_wake.wakeAll();
    }
    quit();
}

void SKDecoderThread::run()
{
    for (;;) {
        QUrl source;
        {
            QMutexLocker lock(&m_mutex);
            if (m_stop) {
                m_active = false;
                return;
            }
            source = m_source;
            m_reset = false;
        }
        decode(source);
        QMutexLocker lock(&m_mutex);
        // A source given while the last frame was decoded is not lost.
        if (m_reset && !m_stop)
            continue;
        m_active = false;
        return;
    }
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
}
