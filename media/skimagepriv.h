#pragma once

#include <QImage>
#include <QImageReader>
#include <QMutex>

#include "media/skdecoderthread.h"

class SKImage;

// Decoding thread of SKImage: reads a still image, or every frame of an
// animation one after the other without pacing. Each decoded image waits
// in a slot guarded by a lock until the item takes it on the GUI thread.
class SKImagePriv : public SKDecoderThread
{
    Q_OBJECT
public:
    explicit SKImagePriv(SKImage* item);
    ~SKImagePriv() override;

    void play(const QUrl& source);
    // The latest decoded image (GUI thread).
    QImage take() const;

signals:
    void updateData();

protected:
    void decode(const QUrl& source) override;

private:
    void hand(const QImage& image);

    // The item served; it may be gone once it released the thread, so the
    // thread never touches it.
    SKImage* m_item;
    QImageReader m_reader;
    mutable QMutex m_imageLock;
    QImage m_ready;
};
