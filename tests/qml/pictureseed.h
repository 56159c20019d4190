#pragma once

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include "tests/qml/quickrig.h"

// count pictures <folder>/p-NNNNN.jpg on the test device, copies of a few
// drawn ones: oneDay of them daysAgo days before today, the rest perDay a
// day on the days before that; the number written.
inline int addDevicePictures(QuickRigApi* api, const QString& folder, int count, int oneDay, int perDay,
                             int daysAgo = 0)
{
    QList<QByteArray> set;
    for (int i = 0; i < 12; ++i) {
        QImage img(160, 120, QImage::Format_RGB32);
        img.fill(QColor::fromHsv((i * 29) % 360, 150, 220));
        QPainter p(&img);
        p.drawText(img.rect(), Qt::AlignCenter, QString::number(i));
        p.end();
        QFile tmp(api->localDir() + QString("/set-%1.jpg").arg(i));
        if (!img.save(tmp.fileName(), "JPG", 80) || !tmp.open(QIODevice::ReadOnly))
            return 0;
        set << tmp.readAll();
    }
    const QDateTime noon(QDate::currentDate().addDays(-daysAgo), QTime(12, 0));
    int written = 0;
    for (int i = 0; i < count; ++i) {
        const QString rel = QString("%1/p-%2.jpg").arg(folder).arg(i, 5, 10, QChar('0'));
        const QString path = api->devicePath(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        // Written out before the time is set, or closing would set it again.
        if (!f.open(QIODevice::WriteOnly) || f.write(set.at(i % set.size())) < 0 || !f.flush())
            continue;
        const QDateTime when = i < oneDay ? noon.addSecs(-i)
                                          : noon.addDays(-1 - (i - oneDay) / perDay).addSecs(-(i % perDay));
        f.setFileTime(when, QFileDevice::FileModificationTime);
        api->idForPath(rel);
        ++written;
    }
    return written;
}
