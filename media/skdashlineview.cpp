#include "media/skdashlineview.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

SKDashLineView::SKDashLineView(QQuickItem* parent) : QQuickPaintedItem(parent) {}

void SKDashLineView::paint(QPainter* painter)
{
    QPen pen(Qt::DashLine);
    pen.setWidth(m_lineWidth);
    pen.setColor(m_lineColor);
    painter->setPen(pen);
    const QRectF frame(m_lineWidth, m_lineWidth, width() - 2 * m_lineWidth, height() - 2 * m_lineWidth);
    QPainterPath path;
    path.addRoundedRect(frame, m_radius, m_radius, Qt::AbsoluteSize);
    painter->drawPath(path);
}

void SKDashLineView::setLineColor(const QColor& color)
{
    m_lineColor = color;
    emit lineColorChanged();
}

void SKDashLineView::setLineWidth(int width)
{
    m_lineWidth = width;
    emit lineWidthChanged();
}

void SKDashLineView::setRadius(int radius)
{
    m_radius = radius;
    emit radiusChanged();
}
