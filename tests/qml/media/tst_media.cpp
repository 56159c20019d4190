#include <QtQuickTest>

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include "tests/qml/seededrig.h"
#include "tools/testdeviceserver.h"

// Seeds the device with more real pictures than one page of a media list.
class MediaSeed : public QObject
{
    Q_OBJECT
public:
    QuickRigApi* api = nullptr;

    // count small JPEGs <folder>/<prefix>-NNN.jpg, perDay of them a day
    // from daysAgo days before today backwards; the number written.
    Q_INVOKABLE int addPictures(const QString& folder, const QString& prefix, int count, int daysAgo, int perDay)
    {
        int written = 0;
        for (int i = 0; i < count; ++i) {
            const QString rel = QString("%1/%2-%3.jpg").arg(folder, prefix).arg(i, 3, 10, QChar('0'));
            QImage img(160, 120, QImage::Format_RGB32);
            img.fill(QColor::fromHsv((i * 37) % 360, 160, 220));
            QPainter p(&img);
            p.setPen(Qt::black);
            p.drawText(img.rect(), Qt::AlignCenter, QString::number(i));
            p.end();
            const QString path = api->devicePath(rel);
            QDir().mkpath(QFileInfo(path).absolutePath());
            if (!img.save(path, "JPG", 85))
                continue;
            QFile f(path);
            if (f.open(QIODevice::ReadWrite))
                f.setFileTime(QDateTime(QDate::currentDate().addDays(-daysAgo - i / perDay), QTime(9, 0)).addSecs(-60 * i),
                              QFileDevice::FileModificationTime);
            api->idForPath(rel);
            ++written;
        }
        return written;
    }
    // One JPEG of width x height at rel, a gradient that compresses well.
    Q_INVOKABLE bool addLargePicture(const QString& rel, int width, int height)
    {
        QImage img(width, height, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient g(0, 0, width, height);
        g.setColorAt(0, Qt::darkBlue);
        g.setColorAt(1, Qt::yellow);
        p.fillRect(img.rect(), g);
        p.end();
        const QString path = api->devicePath(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!img.save(path, "JPG", 60))
            return false;
        api->idForPath(rel);
        return true;
    }
};

class MediaRig : public SeededRig<MediaSeed>
{
public:
    MediaRig() : SeededRig("mediaSeed") {}
};

QUICK_TEST_MAIN_WITH_SETUP(media, MediaRig)

#include "tst_media.moc"
