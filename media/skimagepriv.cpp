#include "media/skimagepriv.h"

#include <QDebug>

SKImagePriv::SKImagePriv(SKImage* item) : m_item(item)
{
    m_name = "SKImagePriv";
}

SKImagePriv::~SKImagePriv()
{
    stop();
    wait();
}

void SKImagePriv::play(const QUrl& source)
{
    SKDecoderThread::play(source, QThread::InheritPriority);
}

QImage SKImagePriv::take() const
{
    QMutexLocker lock(&m_imageLock);
    return m_ready;
}

void SKImagePriv::hand(const QImage& image)
{
    {
        QMutexLocker lock(&m_imageLock);
        m_ready = image;
    }
    emit updateData();
}

void SKImagePriv::decode(const QUrl& source)
{
    qDebug() << "SKImage::oPlay - call.";
    open(m_reader, source, false);
    if (!m_reader.canRead())
        return;
    qDebug() << "SKImage::oPlay - supportsAnimation: " << m_reader.supportsAnimation();
    qDebug() << "SKImage::oPlay - textKeys: " << m_reader.textKeys();
    qDebug() << "SKImage::oPlay - loopCount: " << m_reader.loopCount();
    qDebug() << "SKImage::oPlay - imageCount: " << m_reader.imageCount();
    qDebug() << "SKImage::oPlay - imageFormat: " << m_reader.imageFormat();
    if (!fit(m_reader, source))
        return;

    auto readOne = [this, &source]() {
        if (!m_reader.canRead()) {
            qWarning() << "SKImage::oPlay - canRead error: " << m_reader.error() << ", msg "
                       << m_reader.errorString();
            return false;
        }
        // Decoded into a local image: the item's copy is only replaced
        // under the lock.
        QImage image;
        if (!m_reader.read(&image)) {
            qWarning() << "SKImage::oPlay - read error: " << m_reader.error() << ", msg "
                       << m_reader.errorString();
            return false;
        }
        if (image.isNull()) {
            qWarning() << "SKImage::setSource - load failed." << source;
            return true;
        }
        hand(image);
        qDebug() << "SKImage::oPlay - nextImageDelay: " << m_reader.nextImageDelay();
        return true;
    };

    if (!m_reader.supportsAnimation()) {
        readOne();
        return;
    }
    const int frames = m_reader.imageCount();
    for (int i = 0; i < frames && !interrupted(); ++i) {
        m_reader.jumpToImage(i);
        if (!readOne())
            break;
    }
}
