#include "media/twmediarenderer.h"

#include <QDebug>
#include <QOpenGLFramebufferObject>
#include <QQuickWindow>

#include "media/twmediaplayer.h"
#include "media/twmpvcore.h"

TwMediaRenderer::TwMediaRenderer(TwMediaPlayer* player, std::shared_ptr<TwMpvCore> core)
    : m_core(std::move(core))
{
    qDebug() << "TwMediaRenderer::TwMediaRenderer - dataMode " << player->dataMode() << ", stream "
             << player->stream();
}

TwMediaRenderer::~TwMediaRenderer()
{
    // Qt deletes renderers on the render thread with the context current.
    m_core->freeRenderContext();
}

QOpenGLFramebufferObject* TwMediaRenderer::createFramebufferObject(const QSize& size)
{
    qDebug() << "------------ TwMediaRenderer::createFramebufferObject -  " << size;
    // An exception would end the program on the render thread: without a
    // context the item stays empty.
    if (!m_core->hasRenderContext() && !m_core->createRenderContext())
        qCritical() << "failed to initialize mpv GL context";
    return new QOpenGLFramebufferObject(size);
}

void TwMediaRenderer::synchronize(QQuickFramebufferObject* item)
{
    auto* player = static_cast<TwMediaPlayer*>(item);
    m_window = player->window();
    m_skip = player->skipRendering();
}

void TwMediaRenderer::render()
{
    if (m_window)
        m_window->resetOpenGLState();
    QOpenGLFramebufferObject* fbo = framebufferObject();
    if (fbo && fbo->isValid())
        m_core->render(static_cast<int>(fbo->handle()), fbo->width(), fbo->height(), m_skip);
    else
        qDebug() << "------------ TwMediaRenderer::render - fbo is valid not";
    if (m_window)
        m_window->resetOpenGLState();
}
