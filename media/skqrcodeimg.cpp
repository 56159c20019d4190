#include "media/skqrcodeimg.h"

#include <QPainter>

#include "core/utils.h"

SKQRCodeImg::SKQRCodeImg(QQuickItem* parent) : QQuickPaintedItem(parent) {}

void SKQRCodeImg::paint(QPainter* painter)
{
    if (!m_image.isNull())
        painter->drawImage(boundingRect(), m_image);
}

void SKQRCodeImg::setText(const QString& text)
{
    m_text = text;
    // An empty text or a failed encoding keeps the last code.
    createQRCode(text, m_image, 1);
    update();
    emit textChanged();
}
