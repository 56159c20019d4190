#include "media/skbase64img.h"

#include <QPainter>

SKBase64Img::SKBase64Img(QQuickItem* parent) : QQuickPaintedItem(parent) {}

void SKBase64Img::paint(QPainter* painter)
{
    if (!m_image.isNull())
        painter->drawImage(boundingRect(), m_image);
}

void SKBase64Img::setBaseImg(const QString& text)
{
    m_baseImg = text;
    if (text.isEmpty())
        return;
    // Undecodable data leaves a null image: nothing is drawn.
    m_image = QImage::fromData(QByteArray::fromBase64(text.toUtf8()));
    update();
}
