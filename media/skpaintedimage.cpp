#include "media/skpaintedimage.h"

#include <QPainter>

SKPaintedImage::SKPaintedImage(QQuickItem* parent) : QQuickPaintedItem(parent) {}

void SKPaintedImage::paint(QPainter* painter)
{
    if (!m_image.isNull())
        painter->drawImage(boundingRect(), m_image);
}

void SKPaintedImage::show(const QImage& image)
{
    m_image = image;
    setWidth(m_image.width());
    setHeight(m_image.height());
    emit paintedHeightChanged();
    emit paintedWidthChanged();
    update();
}

void SKPaintedImage::setDefaultSource(const QUrl& source)
{
    if (source.isEmpty())
        return;
    m_defaultSource = source;
    // A qrc URL names the same path in the resource bundle.
    show(QImage(":" + source.path()));
    emit defaultSourceChanged();
}

void SKPaintedImage::setSourceSize(const QSize&)
{
    emit sourceSizeChanged();
}

void SKPaintedImage::setAsynchronous(bool on)
{
    if (on == m_asynchronous)
        return;
    m_asynchronous = on;
    emit asynchronousChanged();
}

void SKPaintedImage::setPlaying(bool on)
{
    if (on == m_playing)
        return;
    m_playing = on;
    emit playingChanged();
}
