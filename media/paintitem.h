#pragma once

#include <QImage>
#include <QQuickPaintedItem>

// Paints an image handed over from C++ or QML (the sign-in QR code, a
// link's QR code), stretched to the item.
class PaintItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QImage img READ img WRITE setImg)
    Q_PROPERTY(bool isInit READ isInit NOTIFY isInitChange)
public:
    explicit PaintItem(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;

    QImage img() const { return m_img; }
    void setImg(const QImage& img);
    bool isInit() const { return m_isInit; }

signals:
    void isInitChange();

private:
    QImage m_img;
    bool m_isInit = false;
};
