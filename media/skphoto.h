#pragma once

#include "media/skpaintedimage.h"

class SKImageReader;

// The previewed picture: a local image file decoded on a thread of its own,
// animations played once at their own pace; the item takes the decoded
// image's size, decoded no larger than the screen. A placeholder shows until the first frame arrives.
class SKPhoto : public SKPaintedImage
{
    Q_OBJECT
public:
    explicit SKPhoto(QQuickItem* parent = nullptr);
    ~SKPhoto() override;

    void setSource(const QUrl& source) override;
    void setPlaying(bool on) override;

public slots:
    void oUpdate(QImage image);

private:
    QSize screenBound() const;

    SKImageReader* m_reader = nullptr;
};
