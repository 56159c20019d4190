#include "media/sknetworkimg.h"

#include <QDebug>
#include <QFile>
#include <QPainter>

#include "transfer/normalfiledownmanager.h"

SKNetworkImg::SKNetworkImg(QQuickItem* parent) : QQuickPaintedItem(parent) {}

void SKNetworkImg::paint(QPainter* painter)
{
    if (!m_image.isNull())
        painter->drawImage(boundingRect(), m_image);
}

void SKNetworkImg::fetch()
{
    if (auto* down = qobject_cast<NormalFileDownManager*>(m_netDown.data()))
        down->addDownUrl(m_url);
}

void SKNetworkImg::setNetDown(QObject* netDown)
{
    if (m_netDown)
        disconnect(m_netDown, nullptr, this, nullptr);
    m_netDown = netDown;
    if (auto* down = qobject_cast<NormalFileDownManager*>(netDown)) {
        connect(down, &NormalFileDownManager::rDownFinish, this, &SKNetworkImg::onDownFinish);
        connect(down, &NormalFileDownManager::rDownError, this, &SKNetworkImg::onDownError);
    }
    emit netDownChanged();
    if (!m_url.isEmpty())
        fetch();
}

void SKNetworkImg::setPlaceholder(const QString& path)
{
    m_placeholder = path;
    if (!path.isEmpty()) {
        m_image = QImage(path);
        update();
    }
    emit placeholderChanged();
}

void SKNetworkImg::setUrl(const QString& url)
{
    m_url = url;
    m_image = m_placeholder.isEmpty() ? QImage() : QImage(m_placeholder);
    update();
    if (!url.isEmpty() && m_netDown)
        fetch();
    emit urlChanged();
}

void SKNetworkImg::onDownFinish(QString path, QString savePath, QImage img)
{
    if (path != m_url)
        return;
    if (img.isNull()) {
        // Saved, but not a picture: drop it so it is fetched afresh next time.
        qWarning() << "SKNetworkImg::onDownFinish - not an image" << path;
        QFile::remove(savePath);
        return;
    }
    m_image = img;
    update();
}

void SKNetworkImg::onDownError(QString path, int code, QString msg)
{
    if (path == m_url)
        qDebug() << "SKNetworkImg::onDownError -" << path << code << msg;
}
