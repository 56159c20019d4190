#pragma once

#include <QColor>
#include <QQuickPaintedItem>

// A dashed rounded frame drawn lineWidth inside the item's edges (drop
// zones, empty lists).
class SKDashLineView : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QColor lineColor READ lineColor WRITE setLineColor NOTIFY lineColorChanged)
    Q_PROPERTY(int lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged)
    Q_PROPERTY(int radius READ radius WRITE setRadius NOTIFY radiusChanged)
public:
    explicit SKDashLineView(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;

    QColor lineColor() const { return m_lineColor; }
    void setLineColor(const QColor& color);
    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int width);
    int radius() const { return m_radius; }
    void setRadius(int radius);

signals:
    void lineColorChanged();
    void lineWidthChanged();
    void radiusChanged();

private:
    int m_lineWidth = 1;
    int m_radius = 5;
    QColor m_lineColor = QColor(232, 236, 239, 255);
};
