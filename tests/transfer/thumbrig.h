#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <string>

#include "tools/testdeviceserver.h"

// A real picture: a JPEG drawn with Qt.
inline QByteArray pictureBytes(int w = 400, int h = 300, int seed = 1)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 200, 230));
    g.setColorAt(1, QColor::fromHsv((seed * 91 + 120) % 360, 160, 90));
    p.fillRect(img.rect(), g);
    p.setPen(Qt::white);
    p.drawEllipse(w / 4, h / 4, w / 2, h / 2);
    p.end();
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 90);
    return bytes;
}

// Stores a real picture on the test device.
inline qint64 addPicture(TestDeviceServer& server, const std::string& rel, int w = 400, int h = 300,
                         int seed = 1)
{
    const QByteArray bytes = pictureBytes(w, h, seed);
    return server.addFile(rel, std::string(bytes.constData(), std::size_t(bytes.size())));
}
