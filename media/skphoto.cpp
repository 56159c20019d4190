#include "media/skphoto.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>

#include "media/skimagereader.h"

SKPhoto::SKPhoto(QQuickItem* parent) : SKPaintedImage(parent) {}

SKPhoto::~SKPhoto()
{
    if (m_reader) {
        disconnect(m_reader, nullptr, this, nullptr);
        m_reader->release();   // never waits for a frame being decoded
    }
}

void SKPhoto::oUpdate(QImage image)
{
    show(image);
}

void SKPhoto::setSource(const QUrl& source)
{
    m_source = source;
    if (source.isEmpty()) {
        if (m_reader)
            m_reader->stop();
        oUpdate(QImage());
        emit sourceChanged();
        return;
    }
    setDefaultSource(m_defaultSource);
    if (!m_reader) {
        m_reader = new SKImageReader(this);
        connect(m_reader, &SKImageReader::updateFrame, this, [this](QImage frame) {
            // A frame still on its way when the picture was cleared.
            if (!m_source.isEmpty())
                oUpdate(frame);
        }, Qt::QueuedConnection);
    }
    m_reader->setBound(screenBound());
    m_reader->play(source);
    emit sourceChanged();
}

QSize SKPhoto::screenBound() const
{
    // A picture is never shown larger than the screen it is on.
    QScreen* screen = window() ? window()->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->size() * screen->devicePixelRatio() : QSize();
}

void SKPhoto::setPlaying(bool on)
{
    if (on == m_playing)
        return;
    m_playing = on;
    if (m_reader)
        m_reader->stop();
    emit playingChanged();
}
