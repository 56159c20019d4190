#pragma once

#include <QImage>
#include <QQuickPaintedItem>

// Draws a text as a QR code, one pixel per module, stretched to the item.
class SKQRCodeImg : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
public:
    explicit SKQRCodeImg(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;

    QString text() const { return m_text; }
    void setText(const QString& text);

signals:
    void textChanged();

private:
    QImage m_image;
    QString m_text;
};
