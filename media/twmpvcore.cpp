#include "media/twmpvcore.h"


#include <QByteArray>
#include <QDebug>
#include <QOpenGLContext>

#include <mpv/render_gl.h>

#include "media/twmediaplayer.h"
#include "media/twmediastream.h"

namespace {
void* getProcAddress(void*, const char* name)
{
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    if (!ctx)
        return nullptr;
    return reinterpret_cast<void*>(ctx->getProcAddress(QByteArray(name)));
}
}

TwMpvCore::TwMpvCore(mpv_handle* handle) : m_handle(handle)
{
}

TwMpvCore::~TwMpvCore()
{
    setPlayer(nullptr);
    if (stream)
        stream->stop();
    {
        std::lock_guard<std::mutex> lock(m_renderLock);
        if (m_render) {
            // Only when no renderer freed it on its thread.
            qWarning() << "TwMpvCore - render context freed outside the render thread";
            mpv_render_context_free(m_render);
            m_render = nullptr;
        }
    }
    if (m_handle)
        mpv_terminate_destroy(m_handle);
    m_handle = nullptr;
    stream.reset();
}

bool TwMpvCore::createRenderContext()
{
    std::lock_guard<std::mutex> lock(m_renderLock);
    if (m_render)
        return true;
    mpv_opengl_init_params gl{getProcAddress, nullptr};
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, m_handle, params) < 0) {
        m_render = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(m_render, &TwMpvCore::onRenderUpdate, this);
    return true;
}

void TwMpvCore::freeRenderContext()
{
    std::lock_guard<std::mutex> lock(m_renderLock);
    if (m_render)
        mpv_render_context_free(m_render);
    m_render = nullptr;
}

bool TwMpvCore::hasRenderContext()
{
    std::lock_guard<std::mutex> lock(m_renderLock);
    return m_render != nullptr;
}

bool TwMpvCore::render(int fbo, int width, int height, int skip)
{
    std::lock_guard<std::mutex> lock(m_renderLock);
    if (!m_render)
        return false;
    mpv_opengl_fbo target{fbo, width, height, 0};
    int flip = 0;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(m_render, params) >= 0;
}

void TwMpvCore::setPlayer(TwMediaPlayer* player)
{
    std::lock_guard<std::mutex> lock(m_playerLock);
    m_player = player;
}

void TwMpvCore::onRenderUpdate(void* ctx)
{
    auto* self = static_cast<TwMpvCore*>(ctx);
    std::lock_guard<std::mutex> lock(self->m_playerLock);
    if (self->m_player)
        emit self->m_player->onUpdate();
}
