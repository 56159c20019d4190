#include "media/skphoto.h"

#include <QDebug>
#include <QPainter>

#include "media/skimagereader.h"

SKPhoto::SKPhoto(QQuickItem* parent) : QQuickPaintedItem(parent) {}

SKPhoto::~SKPhoto()
{
    if (m_reader) {
        disconnect(m_reader, nullptr, this, nullptr);
        delete m_reader;   // stops the loop and waits for it
    }
}

void SKPhoto::paint(QPainter* painter)
{
    if (!m_image.isNull())
        painter->drawImage(boundingRect(), m_image);
}

void SKPhoto::oUpdate(QImage image)
{
    m_image = image;
    setWidth(m_image.width());
    setHeight(m_image.height());
    emit paintedHeightChanged();
    emit paintedWidthChanged();
    update();
}

void SKPhoto::setDefaultSource(const QUrl& source)
{
    if (source.isEmpty())
        return;
    m_defaultSource = source;
    // A qrc URL names the same path in the resource bundle.
    oUpdate(QImage(":" + source.path()));
    emit defaultSourceChanged();
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
    m_reader->play(source);
    emit sourceChanged();
}

void SKPhoto::setSourceSize(const QSize&)
{
    emit sourceSizeChanged();
}

void SKPhoto::setAsynchronous(bool on)
{
    if (on == m_asynchronous)
        return;
    m_asynchronous = on;
    emit asynchronousChanged();
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
