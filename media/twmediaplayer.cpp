#include "media/twmediaplayer.h"

#include <clocale>
#include <mutex>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <stdexcept>

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QQuickWindow>

#include <mpv/client.h>

#include "core/common.h"
#include "core/tidewell.h"
#include "core/utils.h"
#include "media/mpvqt.h"
#include "media/twmediarenderer.h"
#include "media/twmediastream.h"
#include "media/twmpvcore.h"

namespace {
// Read by libmpv's own Matroska reader.
const QStringList kMatroskaSuffixes = {"mkv", "mka", "mk3d", "webm"};
}

TwMediaPlayer::TwMediaPlayer(QQuickItem* parent) : QQuickFramebufferObject(parent)
{
    std::setlocale(LC_NUMERIC, "C");
    limitArenas();
    mpv_handle* h = mpv_create();
    if (!h)
        throw std::runtime_error("could not create mpv context");
    m_core = std::make_shared<TwMpvCore>(h);
    // The player's own messages stay off the terminal; warnings only.
    mpv_set_option_string(h, "terminal", "no");
    mpv_set_option_string(h, "msg-level", "all=warn");
    // Video only through the render context: never a window of its own.
    mpv_set_option_string(h, "vo", "libmpv");
    // None of libmpv's built-in scripts serve this player (no on-screen
    // console or statistics, no web-video look-ups): each is a thread that
    // wakes on every event, and the look-up hooks into every load, which
    // then waits for that script's answer before it opens the stream.
    mpv_set_option_string(h, "load-scripts", "no");
    mpv_set_option_string(h, "ytdl", "no");
    mpv_set_option_string(h, "osc", "no");
    mpv_set_option_string(h, "load-stats-overlay", "no");
    mpv_set_option_string(h, "load-osd-console", "no");
    mpv_set_option_string(h, "load-auto-profiles", "no");
    if (mpv_initialize(h) < 0)
        throw std::runtime_error("could not initialize mpv context");
    mpv::qt::set_option(h, "hwdec", "auto");
    mpv::qt::set_option(h, "audio-display", "no");
    mpv_observe_property(h, 0, "duration", MPV_FORMAT_INT64);
    mpv_observe_property(h, 0, "time-pos", MPV_FORMAT_INT64);
    mpv_observe_property(h, 0, "pause", MPV_FORMAT_FLAG);
    // Kept from its change events: reading it while a file opens or seeks
    // would wait for libmpv's core and hold that up.
    mpv_observe_property(h, 0, "media-title", MPV_FORMAT_STRING);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &TwMediaPlayer::retryDevice);
    connect(this, &TwMediaPlayer::onUpdate, this, &TwMediaPlayer::doUpdate, Qt::QueuedConnection);
    connect(this, &TwMediaPlayer::onEvents, this, &TwMediaPlayer::doEvents, Qt::QueuedConnection);
    m_core->setPlayer(this);
    mpv_set_wakeup_callback(h, &TwMediaPlayer::onWakeup, this);
}

TwMediaPlayer::~TwMediaPlayer()
{
    mpv_set_wakeup_callback(m_core->handle(), nullptr, nullptr);
    m_core->setPlayer(nullptr);
    if (m_core->stream) {
        // A read waiting for data returns now; the core outlives this item
        // while its renderer still holds the render context.
        m_core->stream->detach();
        m_core->stream->stop();
    }
    mpv::qt::command(m_core->handle(), QVariantList{"stop"});
    m_core.reset();
}

void TwMediaPlayer::limitArenas()
{
#ifdef __GLIBC__
    // Every play starts and ends threads (the streaming downloads', libmpv's
    // demuxer and decoders); each takes a malloc arena of its own that keeps
    // what it freed, interleaved with what stays, so memory grew with every
    // play. Threads made from here on share a few arenas, at no cost to a
    // start or a seek. Process-wide, set once.
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_ARENA_MAX, kMallocArenas); });
#endif
}

QQuickFramebufferObject::Renderer* TwMediaPlayer::createRenderer() const
{
    qDebug() << "TwMediaPlayer::createRenderer - call. " << m_sourceUrl;
    if (QQuickWindow* w = window()) {
        w->setPersistentOpenGLContext(true);
        w->setPersistentSceneGraph(true);
    }
    return new TwMediaRenderer(const_cast<TwMediaPlayer*>(this), m_core);
}

mpv_handle* TwMediaPlayer::mpvHandle() const
{
    return m_core ? m_core->handle() : nullptr;
}

TwMediaStream* TwMediaPlayer::stream() const
{
    return m_core ? m_core->stream.get() : nullptr;
}

Tidewell* TwMediaPlayer::ownerInterface() const
{
    if (m_tw)
        if (auto* t = dynamic_cast<Tidewell*>(m_tw))
            return t;
    if (m_tw2)
        if (auto* t = dynamic_cast<Tidewell*>(m_tw2))
            return t;
    return nullptr;
}

QString TwMediaPlayer::mediaCachePath()
{
    if (m_mediaPath.isEmpty())
        m_mediaPath = getCachePath() + "/medias";
    QDir().mkpath(m_mediaPath);
    return m_mediaPath;
}

void TwMediaPlayer::setSource(const QVariant& value)
{
    if (value.type() == QVariant::String || value.type() == QVariant::Url) {
        const QUrl url = value.type() == QVariant::Url ? value.toUrl() : QUrl(value.toString());
        if (url == m_sourceUrl)
            return;
        m_sourceUrl = url;
        m_source = url;
    } else if (value.canConvert<QVariantMap>() && value.toMap().size() > 0) {
        const TwFileInfo next = TwFileInfo::fromVariantMap(value.toMap());
        if (!(next == m_item) || next.local != m_item.local) {
            // Another item: nothing of the last one's end or outage stays.
            m_resumeAt = 0;
            m_retry.stop();
            setError(QString(), false);
            hold(0, 0);
        }
        m_item = next;
        qDebug() << "TwMediaPlayer::setSource ------------------- source QJSValue " << value << ", " << m_item.name
                 << ", " << m_item.filePath;
    } else {
        qDebug() << "TwMediaPlayer::setSource ------------------- source other " << value;
        return;
    }
    emit sourceChanged();
}

void TwMediaPlayer::setDataMode(DataMode mode)
{
    if (mode == m_dataMode)
        return;
    m_dataMode = mode;
    emit dataModeChanged();
}

void TwMediaPlayer::setInfo(const QVariantMap& map)
{
    m_item = TwFileInfo::fromVariantMap(map);
    emit infoChanged();
}

qlonglong TwMediaPlayer::duration() const
{
    const QVariant v = mpv::qt::get_property(mpvHandle(), "duration");
    return mpv::qt::isError(v) ? m_heldDuration : qlonglong(v.toDouble());
}

qlonglong TwMediaPlayer::position() const
{
    const QVariant v = mpv::qt::get_property(mpvHandle(), "time-pos");
    return mpv::qt::isError(v) ? m_heldPos : qlonglong(v.toDouble());
}

double TwMediaPlayer::speed() const
{
    const QVariant v = mpv::qt::get_property(mpvHandle(), "speed");
    return mpv::qt::isError(v) ? 0.0 : v.toDouble();
}

int TwMediaPlayer::volume() const
{
    const QVariant v = mpv::qt::get_property(mpvHandle(), "volume");
    return mpv::qt::isError(v) ? 0 : int(v.toDouble());
}

bool TwMediaPlayer::flag(const char* name) const
{
    const QVariant v = mpv::qt::get_property(mpvHandle(), name);
    return !mpv::qt::isError(v) && v.toBool();
}

TwMediaPlayer::State TwMediaPlayer::state() const
{
    // Ended, stopped or given up: libmpv has no file, Play starts again.
    if (m_ended)
        return StoppedState;
    return flag("pause") ? PausedState : PlayingState;
}

QString TwMediaPlayer::openOptions(const QString& name, qlonglong seconds)
{
    QStringList options;
    if (seconds > 0)
        options << QString("start=%1").arg(seconds);
    // libavformat checks a WAV's PCM for a compressed stream in it (DTS,
    // AC3, MP3) over its first 32 packets, running every format's probe on
    // the growing buffer each time it doubles: most of a WAV's start. 16
    // packets (64 KiB) still hold several frames of any of them at their
    // highest rates.
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == "wav")
        options << QString("demuxer-lavf-o=max_probe_packets=%1").arg(kWavProbePackets);
    // libmpv tries its own readers (disc images, edit lists, cue sheets,
    // Matroska, archives) on every file before libavformat's, which is a
    // tenth of a short start; for a kind that only libavformat reads it is
    // named at once. Matroska keeps libmpv's own reader.
    const int kind = getMediaType(suffix);
    if ((kind == Common::MT_Music || kind == Common::MT_Video) && !kMatroskaSuffixes.contains(suffix))
        options << QString("demuxer=lavf");
    return options.join(',');
}

void TwMediaPlayer::play()
{
    qDebug() << "TwMediaPlayer::play - m_dataMode " << m_dataMode << ", curr state " << state();
    if (!m_sourceUrl.isValid() && m_item.name.isEmpty())
        return;
    // A new start says nothing of the last one's trouble; a try of the
    // device keeps its message until it plays again.
    if (!m_retrying)
        setError(QString(), false);
    m_retrying = false;
    // After an outage the item goes on where it stopped: libmpv starts it
    // there, so no frame or position of its beginning shows first.
    const qlonglong startAt = m_resumeAt;
    m_lastPos = startAt;
    if (m_dataMode == STREAM) {
        m_skipRendering = 0;
        stop();
        if (!m_core->stream)
            m_core->stream.reset(new TwMediaStream(this));
        m_core->stream->play(startAt);
        qDebug() << "TwMediaPlayer::play - STREAM " << m_dataMode;
    } else {
        const QString file = m_item.local ? m_item.filePath : m_sourceUrl.toLocalFile();
        qDebug() << "TwMediaPlayer::play - file: " << file << ", m_dataMode " << m_dataMode;
        mpv::qt::command(mpvHandle(),
                         QVariantList{"loadfile", file, "replace", openOptions(file, startAt)});
    }
    // Timed by the monotonic clock: a wall clock set back or forward must
    // not decide whether the item played long enough.
    m_playClock.start();
    qDebug() << "start Time----------" << m_playClock.msecsSinceReference();
    m_ended = false;
    m_endedAtEof = false;
    // Not resume(): reading the state now would wait for libmpv's core,
    // which is busy opening the file, and hold it up.
    int paused = 0;
    mpv_set_property_async(mpvHandle(), 0, "pause", MPV_FORMAT_FLAG, &paused);
    emit stateChanged();
}

void TwMediaPlayer::pause()
{
    const State s = state();
    qDebug() << "TwMediaPlayer::pause - " << s;
    if (s == PlayingState)
        mpv::qt::set_property(mpvHandle(), "pause", true);
    emit stateChanged();
}

void TwMediaPlayer::resume()
{
    const State s = state();
    qDebug() << "TwMediaPlayer::resume - " << s;
    if (s == PausedState)
        mpv::qt::set_property(mpvHandle(), "pause", false);
    emit stateChanged();
}

void TwMediaPlayer::stop()
{
    qDebug() << "TwMediaPlayer::stop 1 - ";
    m_retry.stop();
    mpv::qt::command(mpvHandle(), QVariantList{"stop"});
    if (m_core->stream) {
        m_core->stream->stop();
        qDebug() << "TwMediaPlayer::stop 2 - ";
    }
    qDebug() << "TwMediaPlayer::stop 3 - ";
    mediaCachePath();
}

void TwMediaPlayer::setPosition(qlonglong position)
{
    qDebug() << "TwMediaPlayer::setPosition - time-pos " << position;
    mpv::qt::set_property(mpvHandle(), "time-pos", position);
    emit positionChanged();
}

void TwMediaPlayer::setSpeed(double speed)
{
    qDebug() << "TwMediaPlayer::setSpeed - speed " << speed;
    mpv::qt::set_property(mpvHandle(), "speed", speed);
    emit speedChanged();
}

void TwMediaPlayer::setVolume(int volume)
{
    volume = qBound(0, volume, 100);
    mpv::qt::set_property(mpvHandle(), "volume", volume);
    qDebug() << "TwMediaPlayer::setVolume" << volume;
    emit volumeChanged();
}

void TwMediaPlayer::command(const QVariant& params)
{
    mpv::qt::command(mpvHandle(), params);
}

void TwMediaPlayer::setProperty(const QString& name, const QVariant& value)
{
    mpv::qt::set_property(mpvHandle(), name, value);
}

void TwMediaPlayer::setMediaStatus(int status)
{
    const auto s = static_cast<MediaStatus>(status);
    if (s == m_mediaStatus)
        return;
    m_mediaStatus = s;
    emit mediaStatusChanged();
}

void TwMediaPlayer::postMediaStatus(int status)
{
    QMetaObject::invokeMethod(this, "setMediaStatus", Qt::QueuedConnection, Q_ARG(int, status));
}

void TwMediaPlayer::postCacheFull(const QString& reason)
{
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            // An outage says more: the device is what the item waits for.
            if (!m_unreachable && !m_noSound)
                setError(cacheFullText(reason), false);
        },
        Qt::QueuedConnection);
}

QString TwMediaPlayer::cacheFullText(const QString& reason)
{
    return tr("The cache disk is full (%1). Playing goes on from the device.").arg(reason);
}

void TwMediaPlayer::onWakeup(void* ctx)
{
    emit static_cast<TwMediaPlayer*>(ctx)->onEvents();
}

void TwMediaPlayer::doUpdate()
{
    update();
}

void TwMediaPlayer::doEvents()
{
    mpv_handle* h = mpvHandle();
    while (h) {
        mpv_event* event = mpv_wait_event(h, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        switch (event->event_id) {
        case MPV_EVENT_START_FILE:
            onStart(event);
            break;
        case MPV_EVENT_END_FILE:
            setMediaStatus(EndOfMedia);
            onEnd(event);
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (m_dataMode == STREAM && m_core->stream)
                m_core->stream->started(h);
            // Playing again (also after an outage): nothing to report but a
            // missing sound output or a cache disk that is still full.
            if (!m_error.isEmpty() && !m_noSound) {
                m_retryNext = m_retryDelay;
                const QString full = m_core->stream ? m_core->stream->cacheFullReason() : QString();
                setError(full.isEmpty() ? QString() : cacheFullText(full), false);
            }
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            auto* prop = static_cast<mpv_event_property*>(event->data);
            const QByteArray name(prop->name);
            if (name == "media-title") {
                m_title = prop->format == MPV_FORMAT_STRING && prop->data
                              ? QString::fromUtf8(*static_cast<const char* const*>(prop->data))
                              : QString();
            }
            qDebug() << "TwMediaPlayer::doEvents - media title " << m_title;
            const bool hasValue = prop->format == MPV_FORMAT_INT64 && prop->data;
            const qlonglong value = hasValue ? *static_cast<int64_t*>(prop->data) : 0;
            if (name == "time-pos") {
                if (hasValue) {
                    qDebug() << "TwMediaPlayer::doEvents - time-pos " << value;
                    m_lastPos = value;
                }
                // A second in, the sound output was tried: a missing one is
                // said while the picture plays on (libmpv tells only at the end).
                if (hasValue && value >= 1 && !m_soundChecked) {
                    m_soundChecked = true;
                    m_noSound = soundWithoutOutput(h);
                    if (m_noSound) {
                        qWarning() << "TwMediaPlayer::doEvents - no audio output for " << m_item.name;
                        setError(tr("No audio output: the sound cannot be played."), false);
                    }
                }
                emit positionChanged();
            } else if (name == "duration") {
                qDebug() << "TwMediaPlayer::doEvents - duration " << value;
                if (hasValue && value > 0)
                    m_lastDuration = value;
                emit durationChanged();
            } else if (name == "pause") {
                emit stateChanged();
            }
            break;
        }
        case MPV_EVENT_IDLE: {
            const qint64 played = m_playClock.isValid() ? m_playClock.elapsed() : 0;
            qDebug() << "TwMediaPlayer::doEvents - MPV_EVENT_IDLE ";
            qDebug() << "start Time----------" << m_playClock.msecsSinceReference() << played;
            // Only an item played to its end moves the play list on, never
            // one that failed or lost its device.
            if (m_endedAtEof && played > kPlayedMs) {
                m_endedAtEof = false;
                emit mediaStopChange();
            }
            break;
        }
        default:
            qDebug() << "TwMediaPlayer::doEvents - event id " << event->event_id;
            break;
        }
    }
}

void TwMediaPlayer::onStart(const mpv_event* event)
{
    if (event->data)
        m_entry = static_cast<const mpv_event_start_file*>(event->data)->playlist_entry_id;
    m_ended = false;
    m_soundChecked = false;
    m_noSound = false;
    emit stateChanged();
}

void TwMediaPlayer::onEnd(const mpv_event* event)
{
    const auto* end = static_cast<const mpv_event_end_file*>(event->data);
    if (!end || end->playlist_entry_id != m_entry)
        return;
    qDebug() << "TwMediaPlayer::onEnd - reason " << end->reason << ", error " << end->error << ", at "
             << m_lastPos;
    m_ended = true;
    TwMediaStream* s = stream();
    const bool readFailed = m_dataMode == STREAM && !m_item.local && s && s->readFailed();
    if (readFailed && s->itemMissing()) {
        // The device answers, without the file: nothing to wait for.
        m_resumeAt = 0;
        hold(m_lastPos, m_lastDuration);
        qWarning() << "TwMediaPlayer::onEnd - the device no longer has " << m_item.name;
        setError(tr("The file is no longer on the device."), false);
    } else if (readFailed) {
        // Kept: played on from here when the device answers again.
        m_resumeAt = qMax(m_resumeAt, m_lastPos);
        hold(m_resumeAt, m_lastDuration);
        qWarning() << "TwMediaPlayer::onEnd - the device stopped answering at " << m_resumeAt << "s of "
                   << m_item.name;
        setError(tr("The device cannot be reached. Playing goes on when it answers again."), true);
        m_retry.start(m_retryNext);
        m_retryNext = qMin(m_retryNext * 2, 10000);
    } else if (end->reason == MPV_END_FILE_REASON_EOF) {
        m_resumeAt = 0;
        m_endedAtEof = true;
        hold(m_lastDuration, m_lastDuration);
    } else if (end->reason == MPV_END_FILE_REASON_ERROR) {
        m_resumeAt = 0;
        hold(0, m_lastDuration);
        const QString why = QString::fromUtf8(mpv_error_string(end->error));
        qWarning() << "TwMediaPlayer::onEnd - " << m_item.name << " cannot be played: " << why;
        if (end->error == MPV_ERROR_AO_INIT_FAILED)
            setError(tr("No audio output: the sound cannot be played."), false);
        else if (end->error == MPV_ERROR_UNKNOWN_FORMAT)
            setError(tr("The file's format cannot be played."), false);
        else
            setError(tr("The file cannot be played: %1").arg(why), false);
    } else {
        hold(m_lastPos, m_lastDuration);
    }
    emit stateChanged();
}

bool TwMediaPlayer::soundWithoutOutput(mpv_handle* h) const
{
    char* ao = mpv_get_property_string(h, "current-ao");
    const bool output = ao && *ao;
    mpv_free(ao);
    if (output)
        return false;
    int64_t tracks = 0;
    mpv_get_property(h, "track-list/count", MPV_FORMAT_INT64, &tracks);
    for (int64_t i = 0; i < tracks; ++i) {
        const QByteArray name = "track-list/" + QByteArray::number(qlonglong(i)) + "/type";
        char* type = mpv_get_property_string(h, name.constData());
        const bool audio = type && qstrcmp(type, "audio") == 0;
        mpv_free(type);
        if (audio)
            return true;
    }
    return false;
}

void TwMediaPlayer::setError(const QString& text, bool unreachable)
{
    if (text == m_error && unreachable == m_unreachable)
        return;
    m_error = text;
    m_unreachable = unreachable;
    emit errorChanged();
}

void TwMediaPlayer::hold(qlonglong position, qlonglong duration)
{
    m_heldPos = position;
    m_heldDuration = duration;
    if (position == 0 && duration == 0) {
        m_lastPos = 0;
        m_lastDuration = 0;
    }
    emit positionChanged();
    emit durationChanged();
}

void TwMediaPlayer::retryDevice()
{
    if (!m_unreachable || !m_ended)
        return;
    qDebug() << "TwMediaPlayer::retryDevice - " << m_item.name << " from " << m_resumeAt;
    m_retrying = true;
    play();
}
