#pragma once

#include "media/skpaintedimage.h"

class SKImagePriv;

// A photo shown from a local file, decoded on a thread of its own; an
// animation runs through its frames without pacing and stays on the last.
// The placeholder shows until the picture is decoded.
class SKImage : public SKPaintedImage
{
    Q_OBJECT
public:
    explicit SKImage(QQuickItem* parent = nullptr);
    ~SKImage() override;

    void paint(QPainter* painter) override;
    void setSource(const QUrl& source) override;

public slots:
    void oUpdate();

protected:
    void show(const QImage& image) override;

private:
    SKImagePriv* m_priv = nullptr;
};
