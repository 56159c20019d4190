#include "media/skimage.h"

#include <QDebug>

#include "media/skimagepriv.h"

SKImage::SKImage(QQuickItem* parent) : SKPaintedImage(parent) {}

SKImage::~SKImage()
{
    if (m_priv) {
        disconnect(m_priv, nullptr, this, nullptr);
        m_priv->release();   // never waits for a frame being decoded
    }
}

void SKImage::paint(QPainter* painter)
{
    qDebug() << "SKImage::paint - call." << m_image;
    SKPaintedImage::paint(painter);
}

void SKImage::show(const QImage& image)
{
    SKPaintedImage::show(image);
    qDebug() << "SKImage::oUpdate - " << width() << height() << m_image.width() << m_image.height();
}

void SKImage::oUpdate()
{
    if (m_priv)
        show(m_priv->take());
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
