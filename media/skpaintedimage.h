#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QUrl>

// What the picture items share: the properties the pages bind, the decoded
// picture painted over the whole item (which takes its size) and the
// placeholder shown until the picture comes. A derived item decodes.
class SKPaintedImage : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QUrl defaultSource READ defaultSource WRITE setDefaultSource NOTIFY defaultSourceChanged)
    Q_PROPERTY(QSize sourceSize READ sourceSize WRITE setSourceSize NOTIFY sourceSizeChanged)
    Q_PROPERTY(bool asynchronous READ asynchronous WRITE setAsynchronous NOTIFY asynchronousChanged)
    Q_PROPERTY(bool playing READ playing WRITE setPlaying NOTIFY playingChanged)
    Q_PROPERTY(double paintedHeight READ paintedHeight WRITE setPaintedHeight NOTIFY paintedHeightChanged)
    Q_PROPERTY(double paintedWidth READ paintedWidth WRITE setPaintedWidth NOTIFY paintedWidthChanged)
public:
    explicit SKPaintedImage(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;
    virtual void setSource(const QUrl& source) = 0;
    virtual void setDefaultSource(const QUrl& source);
    virtual void setSourceSize(const QSize& size);
    virtual void setAsynchronous(bool on);
    virtual void setPlaying(bool on);
    virtual void setPaintedHeight(double) {}
    virtual void setPaintedWidth(double) {}

    QUrl source() const { return m_source; }
    QUrl defaultSource() const { return m_defaultSource; }
    QSize sourceSize() const { return m_image.size(); }
    bool asynchronous() const { return m_asynchronous; }
    bool playing() const { return m_playing; }
    double paintedHeight() const { return m_image.height(); }
    double paintedWidth() const { return m_image.width(); }

signals:
    void sourceChanged();
    void defaultSourceChanged();
    void sourceSizeChanged();
    void asynchronousChanged();
    void playingChanged();
    void paintedHeightChanged();
    void paintedWidthChanged();

protected:
    // Takes a picture: the item's size follows it, then it repaints.
    virtual void show(const QImage& image);

    QUrl m_source;
    QUrl m_defaultSource;
    QImage m_image;
    bool m_asynchronous = true;
    bool m_playing = false;
};
