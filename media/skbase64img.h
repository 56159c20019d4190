#pragma once

#include <QImage>
#include <QQuickPaintedItem>

// Paints a picture given as base64 text (the sign-in verification picture).
class SKBase64Img : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QString baseImg READ baseImg WRITE setBaseImg)
public:
    explicit SKBase64Img(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;

    QString baseImg() const { return m_baseImg; }
    void setBaseImg(const QString& text);

private:
    QImage m_image;
    QString m_baseImg;
};
