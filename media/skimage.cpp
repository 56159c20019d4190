#include "media/skimage.h"

#include <QDebug>
#include <QPainter>

#include "media/skimagepriv.h"

SKImage::SKImage(QQuickItem* parent) : QQuickPaintedItem(parent) {}

SKImage::~SKImage()
{
    if (m_priv) {
        disconnect(m_priv, nullptr, this, nullptr);
        delete m_priv;   // stops the thread and waits for it
    }
}

void SKImage::paint(QPainter* painter)
{
    qDebug() << "SKImage::paint - call." << m_image;
    if (!m_image.isNull())
        painter->drawImage(boundingRect(), m_image);
}

void SKImage::show(const QImage& image)
{
    m_image = image;
    setWidth(m_image.width());
    setHeight(m_image.height());
    qDebug() << "SKImage::oUpdate - " << width() << height() << m_image.width() << m_image.height();
    emit paintedHeightChanged();
    emit paintedWidthChanged();
    update();
}

void SKImage::oUpdate()
{
    if (m_priv)
        show(m_priv->take());
}

void SKImage::setDefaultSource(const QUrl& source)
{
    if (source.isEmpty())
        return;
    m_defaultSource = source;
    show(QImage(":" + source.path()));
    emit defaultSourceChanged();
}

void SKImage::setSource(const QUrl& source)
{
    m_source = source;
    qDebug() << "SKImage::setSource - " << source << ", size "
             << QString("%1:%2").arg(m_image.width()).arg(m_image.height());
    setDefaultSource(m_defaultSource);
    if (!m_priv) {
        m_priv = new SKImagePriv(this);
        connect(m_priv, &SKImagePriv::updateData, this, &SKImage::oUpdate, Qt::QueuedConnection);
    }
    m_priv->play(source);
    emit sourceChanged();
}

void SKImage::setSourceSize(const QSize&)
{
    emit sourceSizeChanged();
}

void SKImage::setAsynchronous(bool on)
{
    if (on == m_asynchronous)
        return;
    m_asynchronous = on;
    emit asynchronousChanged();
}

void SKImage::setPlaying(bool on)
{
    if (on == m_playing)
        return;
    m_playing = on;
    emit playingChanged();
}
