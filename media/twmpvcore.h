#pragma once

#include <memory>
#include <mutex>

#include <mpv/client.h>
#include <mpv/render.h>

class TwMediaPlayer;
class TwMediaStream;

// The libmpv core, its render context and the stream that serves it, shared
// by the player (GUI thread) and its renderer (render thread): the render
// context is made and freed by the renderer with its OpenGL context current,
// and the core, which calls the stream until it is gone, goes last.
class TwMpvCore
{
public:
    explicit TwMpvCore(mpv_handle* handle);
    ~TwMpvCore();
    TwMpvCore(const TwMpvCore&) = delete;
    TwMpvCore& operator=(const TwMpvCore&) = delete;

    mpv_handle* handle() const { return m_handle; }

    // Render thread, OpenGL context current. False when libmpv refused.
    bool createRenderContext();
    void freeRenderContext();
    bool hasRenderContext();
    // Draws into the framebuffer object; false without a render context.
    bool render(int fbo, int width, int height, int skip);

    // Where render updates go (null: nowhere, the player is going).
    void setPlayer(TwMediaPlayer* player);

    // Kept alive as long as libmpv can call it.
    std::unique_ptr<TwMediaStream> stream;

private:
    static void onRenderUpdate(void* ctx);

    mpv_handle* m_handle = nullptr;
    std::mutex m_renderLock;
    mpv_render_context* m_render = nullptr;
    std::mutex m_playerLock;
    TwMediaPlayer* m_player = nullptr;
};
