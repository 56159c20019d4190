#pragma once

#include <memory>

#include <QQuickFramebufferObject>

class QQuickWindow;
class TwMediaPlayer;
class TwMpvCore;

// Draws libmpv's video into the player's framebuffer object on the scene
// graph's render thread. It owns the render context: made on the first
// framebuffer, freed when Qt deletes the renderer (render thread, OpenGL
// context current), before the core goes.
class TwMediaRenderer : public QQuickFramebufferObject::Renderer
{
public:
    TwMediaRenderer(TwMediaPlayer* player, std::shared_ptr<TwMpvCore> core);
    ~TwMediaRenderer() override;

    QOpenGLFramebufferObject* createFramebufferObject(const QSize& size) override;
    void render() override;
    void synchronize(QQuickFramebufferObject* item) override;

private:
    std::shared_ptr<TwMpvCore> m_core;
    QQuickWindow* m_window = nullptr;
    int m_skip = 0;
};
