#include <QtQuickTest>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "core/utils.h"
#include "tests/qml/seededrig.h"
#include "tools/testdeviceserver.h"

// Seeds the device with a large library of pictures and reads back what the
// download store holds.
class DaysSeed : public QObject
{
    Q_OBJECT
public:
    QuickRigApi* api = nullptr;

    // count pictures <folder>/p-NNNNN.jpg, copies of a few drawn ones:
    // oneDay of them today, the rest perDay a day on the days before; the
    // number written.
    Q_INVOKABLE int addPictures(const QString& folder, int count, int oneDay, int perDay)
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
        const QDateTime noon(QDate::currentDate(), QTime(12, 0));
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

    // Names of the queued top-level downloads of the test device, in the
    // order they were stored.
    Q_INVOKABLE QStringList storedDownloads() const
    {
        QStringList out;
        {
            QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "days_check");
            d.setDatabaseName(getAppDataPath() + "larkvault.db");
            d.setConnectOptions("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000");
            if (d.open()) {
                QSqlQuery q(d);
                q.prepare("select fileName from lv_down_file where deviceId = ? order by fId");
                q.addBindValue(api->deviceId());
                if (q.exec()) {
                    while (q.next())
                        out << q.value(0).toString();
                }
            }
            d.close();
        }
        QSqlDatabase::removeDatabase("days_check");
        return out;
    }
};

class DaysRig : public SeededRig<DaysSeed>
{
public:
    DaysRig() : SeededRig("daysSeed") {}
};

QUICK_TEST_MAIN_WITH_SETUP(days, DaysRig)

#include "tst_days.moc"
