#pragma once

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
    explicit SKDecoderThread(QObject* parent = nullptr);
    ~SKDecoderThread() override;

    void play(const QUrl& source, QThread::Priority priority);
    void stop();

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

    const char* m_name;

private:
    mutable QMutex m_mutex;
    QWaitCondition m_wake;
    QUrl m_source;
    bool m_reset = false;
    bool m_stop = false;
    bool m_active = false;
};
