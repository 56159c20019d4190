#pragma once

#include <memory>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <mpv/client.h>

#include "media/mpvqt.h"
#include "media/twmediaplayer.h"
#include "tests/media/mediarig.h"

// A player with null audio and video outputs working for the rig's owner,
// and a second libmpv client on the same core that watches its events.
struct PlayerRig : MediaRig
{
    std::unique_ptr<TwMediaPlayer> player;
    mpv_handle* watcher = nullptr;
    QList<int> statuses;
    bool statusOffThread = false;

    PlayerRig()
    {
        player.reset(new TwMediaPlayer);
        player->setTw(owner.get());
        player->setProperty(QStringLiteral("ao"), "null");
        player->setProperty(QStringLiteral("vo"), "null");
        watcher = mpv_create_client(player->mpvHandle(), "watcher");
        QObject::connect(player.get(), &TwMediaPlayer::mediaStatusChanged, player.get(), [this] {
            statuses << player->mediaStatus();
            if (QThread::currentThread() != qApp->thread())
                statusOffThread = true;
        });
    }

    ~PlayerRig()
    {
        closePlayer();
    }

    void closePlayer()
    {
        if (watcher)
            mpv_destroy(watcher);
        watcher = nullptr;
        player.reset();
    }

    void playItem(const TwFileInfo& f)
    {
        player->setSource(f.toVariantMap());
        player->play();
    }

    // Waits for an event of the played file; false after the time-out.
    bool waitFor(mpv_event_id id, int timeoutMs = 30000, mpv_event_end_file* end = nullptr)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            mpv_event* e = mpv_wait_event(watcher, 0.05);
            if (e->event_id == id) {
                if (end && e->data)
                    *end = *static_cast<mpv_event_end_file*>(e->data);
                return true;
            }
        }
        return false;
    }

    QVariant prop(const char* name) const { return mpv::qt::get_property(player->mpvHandle(), name); }
};
