#pragma once

#include <atomic>

#include <QImage>
#include <QMutex>
#include <QThread>
#include <QUrl>
#include <QWaitCondition>

class QImageReader;

// A reusable decoding thread of an image item. play() starts it on a
// source, or, while it runs, hands it the new source to restart on; stop()
// ends it between frames, also during a frame's wait.
class SKDecoderThread : public QThread
{
    Q_OBJECT
public:
    // Larger pictures are decoded smaller where the format allows it, else
    // refused: a file of a few kilobytes can claim a picture of gigabytes.
    static constexpr qint64 kMaxPixels = 40'000'000;

    explicit SKDecoderThread(QObject* parent = nullptr);
    ~SKDecoderThread() override;

    void play(const QUrl& source, QThread::Priority priority);
    // Pictures larger than this (device pixels) are decoded down to it:
    // nothing is shown larger. Empty: no bound.
    void setBound(const QSize& bound);
    void stop();
    // The item is going: the thread stops and deletes itself once the frame
    // it decodes is done (at once when idle). The caller never waits for a
    // decode and must not touch the object again.
    void release();
    // Decoder objects alive in the process.
    static int instances() { return s_instances.load(); }

protected:
    void run() override;
    // Decodes one source; returns early when interrupted() turns true.
    virtual void decode(const QUrl& source) = 0;
    // A new source or a stop is pending.
    bool interrupted() const;
    // Waits ms (frame delay) unless interrupted first.
    void pause(int ms);
    // Opens the reader on the local file of the source.
    static void open(QImageReader& reader, const QUrl& source, bool autoTransform);
    // Keeps the decoded picture within kMaxPixels; false (logged) when the
    // picture cannot be decoded within it.
    bool fit(QImageReader& reader, const QUrl& source) const;

    const char* m_name;

private:
    static std::atomic<int> s_instances;

    mutable QMutex m_mutex;
    QWaitCondition m_wake;
    QUrl m_source;
    QSize m_bound;
    bool m_reset = false;
    bool m_stop = false;
    bool m_active = false;
    bool m_released = false;
};
