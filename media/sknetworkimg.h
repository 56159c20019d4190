#pragma once

#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>

// A user's head image fetched by URL through the small-file downloader
// (netDown); the placeholder shows until the picture arrives.
class SKNetworkImg : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QObject* netDown READ netDown WRITE setNetDown NOTIFY netDownChanged)
    Q_PROPERTY(QString url READ url WRITE setUrl NOTIFY urlChanged)
    Q_PROPERTY(QString placeholder READ placeholder WRITE setPlaceholder NOTIFY placeholderChanged)
public:
    explicit SKNetworkImg(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) override;

    QObject* netDown() const { return m_netDown; }
    void setNetDown(QObject* netDown);
    QString url() const { return m_url; }
    void setUrl(const QString& url);
    QString placeholder() const { return m_placeholder; }
    void setPlaceholder(const QString& path);

signals:
    void netDownChanged();
    void urlChanged();
    void placeholderChanged();

private slots:
    void onDownFinish(QString path, QString savePath, QImage img);
    void onDownError(QString path, int code, QString msg);

private:
    void fetch();

    QImage m_image;
    QPointer<QObject> m_netDown;
    QString m_url;
    QString m_placeholder;
};
