#include <QtQuickTest>

#include <QSqlDatabase>
#include <QSqlQuery>

#include "core/utils.h"
#include "tests/qml/pictureseed.h"
#include "tests/qml/seededrig.h"
#include "tools/testdeviceserver.h"

// Seeds the device with a large library of pictures and reads back what the
// download store holds.
class DaysSeed : public QObject
{
    Q_OBJECT
public:
    QuickRigApi* api = nullptr;

    Q_INVOKABLE int addPictures(const QString& folder, int count, int oneDay, int perDay)
    {
        return addDevicePictures(api, folder, count, oneDay, perDay);
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
