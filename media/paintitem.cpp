#include "media/paintitem.h"

#include <QPainter>

PaintItem::PaintItem(QQuickItem* parent) : QQuickPaintedItem(parent) {}

void PaintItem::paint(QPainter* painter)
{
    if (!m_img.isNull())
        painter->drawImage(boundingRect(), m_img);
}

void PaintItem::setImg(const QImage& img)
{
    m_img = img;
    update();
    m_isInit = true;
    emit isInitChange();
}
