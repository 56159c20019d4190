#pragma once

#include <atomic>
#include <memory>

#include <QElapsedTimer>
#include <QObject>
#include <QQuickFramebufferObject>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>

#include "core/twfileinfo.h"

class Tidewell;
class TwMediaStream;
class TwMpvCore;
struct mpv_event;
struct mpv_handle;

// The video and music player item: one libmpv instance drawn into the item's
// framebuffer object (TwMediaRenderer), playing the current item from the
// device through the media stream (STREAM) or a local path (FILE).
class TwMediaPlayer : public QQuickFramebufferObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(QObject* tw2 READ tw2 WRITE setTw2 NOTIFY tw2Changed)
    Q_PROPERTY(QVariant source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(DataMode dataMode READ dataMode WRITE setDataMode NOTIFY dataModeChanged)
    Q_PROPERTY(qlonglong duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(qlonglong position READ position WRITE setPosition NOTIFY positionChanged)
    Q_PROPERTY(double speed READ speed WRITE setSpeed NOTIFY speedChanged)
    Q_PROPERTY(int volume READ volume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(bool seekable READ seekable NOTIFY seekableChanged)
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(MediaStatus mediaStatus READ mediaStatus NOTIFY mediaStatusChanged)
    Q_PROPERTY(QString error READ error NOTIFY errorChanged)
    Q_PROPERTY(bool unreachable READ unreachable NOTIFY errorChanged)
    Q_PROPERTY(QVariantMap info READ info WRITE setInfo NOTIFY infoChanged)
public:
    enum State { StoppedState = 0, PlayingState, PausedState };
    Q_ENUM(State)
    enum MediaStatus {
        UnknownMediaStatus = 0,
        NoMedia,
        LoadingMedia,
        LoadedMedia,
        StalledMedia,
        BufferingMedia,
        BufferedMedia,
        EndOfMedia,
        InvalidMedia
    };
    Q_ENUM(MediaStatus)
    enum Error {
        NoError = 0,
        ResourceError,
        FormatError,
        NetworkError,
        AccessDeniedError,
        ServiceMissingError,
        MediaIsPlaylist
    };
    Q_ENUM(Error)
    enum DataMode { FILE = 0, STREAM };
    Q_ENUM(DataMode)

    explicit TwMediaPlayer(QQuickItem* parent = nullptr);
    ~TwMediaPlayer() override;

    // libmpv's per-file options for the item called name, started that many
    // seconds in; empty when it needs none.
    static QString openOptions(const QString& name, qlonglong seconds);
    // Packets of a WAV's PCM checked for compressed audio in it.
    static constexpr int kWavProbePackets = 16;
    // An item that ends sooner after play() does not move the play list on.
    static constexpr qint64 kPlayedMs = 3000;
    // malloc arenas the threads made after the first player share.
    static constexpr int kMallocArenas = 2;

    Renderer* createRenderer() const override;

    QObject* tw() const { return m_tw; }
    void setTw(QObject* tw) { m_tw = tw; }
    QObject* tw2() const { return m_tw2; }
    void setTw2(QObject* tw2) { m_tw2 = tw2; }
    QVariant source() const { return m_source; }
    void setSource(const QVariant& value);
    DataMode dataMode() const { return m_dataMode; }
    void setDataMode(DataMode mode);
    qlonglong duration() const;
    qlonglong position() const;
    double speed() const;
    int volume() const;
    bool seekable() const { return true; }
    State state() const;
    MediaStatus mediaStatus() const { return m_mediaStatus; }
    // Why the current item stopped, for the user; empty while all is well.
    QString error() const { return m_error; }
    // The device stopped answering while the item played: it is kept and
    // played on from where it stopped once the device answers again.
    bool unreachable() const { return m_unreachable; }
    // First wait before trying the device again; it doubles up to 10 s.
    void setRetryDelay(int ms) { m_retryDelay = ms; }
    QVariantMap info() const { return m_item.toVariantMap(); }
    void setInfo(const QVariantMap& map);

    Q_INVOKABLE void play();
    Q_INVOKABLE void pause();
    Q_INVOKABLE void resume();
    Q_INVOKABLE void stop();

    // For the stream and the renderer.
    mpv_handle* mpvHandle() const;
    std::shared_ptr<TwMpvCore> core() const { return m_core; }
    TwMediaStream* stream() const;
    TwFileInfo item() const { return m_item; }
    // The device tab's, else the root's owner interface; null without one.
    Tidewell* ownerInterface() const;
    QString mediaCachePath();
    int skipRendering() const { return m_skipRendering.load(); }
    // Any thread: the status reaches setMediaStatus on this item's thread.
    void postMediaStatus(int status);
    // Any thread: the cache disk is full (reason: the system's text); said
    // to the user while the item plays on from the device.
    void postCacheFull(const QString& reason);

public slots:
    void setPosition(qlonglong position);
    void setSpeed(double speed);
    void setVolume(int volume);
    void command(const QVariant& params);
    void setProperty(const QString& name, const QVariant& value);
    void setMediaStatus(int status);

signals:
    void twChanged();
    void tw2Changed();
    void sourceChanged();
    void dataModeChanged();
    void durationChanged();
    void positionChanged();
    void speedChanged();
    void volumeChanged();
    void seekableChanged();
    void stateChanged();
    void mediaStatusChanged();
    void infoChanged();
    void errorChanged();
    void showLoading();
    void cancelLading();
    void mediaStopChange();
    void onUpdate();
    void onEvents();

private slots:
    void doUpdate();
    void doEvents();

private:
    static void onWakeup(void* ctx);
    bool flag(const char* name) const;
    void onStart(const mpv_event* event);
    void onEnd(const mpv_event* event);
    // The item has sound that no output plays. Asks libmpv and waits for
    // it: once per item, while it plays.
    bool soundWithoutOutput(mpv_handle* h) const;
    void setError(const QString& text, bool unreachable);
    static QString cacheFullText(const QString& reason);
    // The last figures of an item that is not playing (shown after its end).
    void hold(qlonglong position, qlonglong duration);
    void retryDevice();
    static void limitArenas();

    std::shared_ptr<TwMpvCore> m_core;
    QObject* m_tw = nullptr;
    QObject* m_tw2 = nullptr;
    QString m_mediaPath;
    QUrl m_sourceUrl;
    QVariant m_source;
    TwFileInfo m_item;
    DataMode m_dataMode = STREAM;
    MediaStatus m_mediaStatus = NoMedia;
    // Since the last play(); monotonic.
    QElapsedTimer m_playClock;
    // libmpv's entry of the current item; ends of earlier entries are old news.
    qint64 m_entry = -1;
    // The current item was checked for a sound output, and has none.
    bool m_soundChecked = false;
    bool m_noSound = false;
    bool m_ended = false;
    bool m_endedAtEof = false;
    qlonglong m_lastPos = 0;
    qlonglong m_lastDuration = 0;
    qlonglong m_heldPos = 0;
    qlonglong m_heldDuration = 0;
    // Where the next play() of the same item starts (seconds).
    qlonglong m_resumeAt = 0;
    QString m_error;
    // libmpv's title of the current item, as its change events tell it.
    QString m_title;
    bool m_unreachable = false;
    bool m_retrying = false;
    QTimer m_retry;
    int m_retryDelay = 2000;
    int m_retryNext = 2000;
    std::atomic<int> m_skipRendering{0};
};
