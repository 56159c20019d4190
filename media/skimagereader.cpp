#include "media/skimagereader.h"

#include <QDebug>

SKImageReader::SKImageReader(QObject* item) : m_item(item)
{
    m_name = "SKImageReader";
}

SKImageReader::~SKImageReader()
{
    // Ends the loop before this part of the object goes.
    stop();
    wait();
}

void SKImageReader::play(const QUrl& source)
{
    SKDecoderThread::play(source, QThread::LowPriority);
}

bool SKImageReader::readFrame(const QUrl& source)
{
    if (!m_reader.canRead()) {
        qWarning() << "SKImageReader::oPlay - canRead error: " << m_reader.error() << ", msg "
                   << m_reader.errorString();
        return false;
    }
    if (!m_reader.read(&m_lastFrame)) {
        qWarning() << "SKImageReader::oPlay - read error: " << m_reader.error() << ", msg "
                   << m_reader.errorString();
        return false;
    }
    if (m_lastFrame.isNull()) {
        qWarning() << "SKImageReader::oPlay - load failed." << source;
        return false;
    }
    emit updateFrame(m_lastFrame);
    return true;
}

void SKImageReader::decode(const QUrl& source)
{
    playFrames(source);
    // The item holds what it shows; the reader's copy and file go.
    m_lastFrame = QImage();
    m_reader.setFileName(QString());
}

void SKImageReader::playFrames(const QUrl& source)
{
    qDebug() << "SKImageReader::run - call source. " << source;
    open(m_reader, source, true);
    if (!m_reader.canRead()) {
        qWarning() << "SKImageReader::oPlay - m_source: stop: " << source;
        return;
    }
    qDebug() << "SKImageReader::oPlay - m_source: " << source;
    if (!fit(m_reader, source))
        return;
    if (!m_reader.supportsAnimation()) {
        readFrame(source);
        return;
    }
    m_loopCount = m_reader.loopCount();
    const int frames = m_reader.imageCount();
    if (m_loopCount == 0) {
        readFrame(source);
        return;
    }
    for (int next = 0; !interrupted() && m_loopCount != 0; ++next) {
        const bool jumped = m_reader.jumpToImage(next);
        qDebug() << "SKImageReader::oPlay - jumpToImage " << jumped << ", next " << next;
        if (frames > 0 && next >= frames)
            return;
        if (!readFrame(source))
            return;
        qDebug() << "SKImageReader::oPlay - -- loop " << m_loopCount;
        const int delay = m_reader.nextImageDelay();
        if (delay > 0)
            pause(delay);
    }
}
