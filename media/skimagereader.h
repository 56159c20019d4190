#pragma once

#include <QImage>
#include <QImageReader>

#include "media/skdecoderthread.h"

// Decoding thread of SKPhoto: reads a still image once, or plays the frames
// of an animation once each, paced by each frame's own delay. Frames leave
// by value through updateFrame.
class SKImageReader : public SKDecoderThread
{
    Q_OBJECT
public:
    explicit SKImageReader(QObject* item = nullptr);
    ~SKImageReader() override;

    void play(const QUrl& source);

signals:
    void updateFrame(QImage frame);

protected:
    void decode(const QUrl& source) override;

private:
    void playFrames(const QUrl& source);
    bool readFrame(const QUrl& source);

    // The item served; it may be gone once it released the thread, so the
    // thread never touches it.
    QObject* m_item;
    QImageReader m_reader;
    QImage m_lastFrame;
    int m_loopCount = 0;
};
