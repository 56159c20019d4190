#include "app/devicelauncher.h"
#include "app/tidewellsdk.h"
#include "tests/testenv.h"

// Opening a device by address: bad addresses refused, a good one
// remembered for the next start and its user made the signed-in account.
class TstDeviceLauncher : public QObject
{
    Q_OBJECT
private slots:
    void opensAndRemembersADevice()
    {
        TidewellSdk root;
        {
            DeviceLauncher launcher(&root);
            QVERIFY(launcher.openDevice("", 8080, "u", "t").isEmpty());
            QVERIFY(launcher.openDevice("10.0.0.2", 0, "u", "t").isEmpty());
            QVERIFY(launcher.openDevice("10.0.0.2", 70000, "u", "t").isEmpty());
            QVERIFY(launcher.devices().isEmpty());

            const QVariantMap d = launcher.openDevice(" 10.0.0.2 ", 8080, "alice", "secret");
            QCOMPARE(d.value("lanHost").toString(), QString("10.0.0.2"));
            QCOMPARE(d.value("lanPort").toInt(), 8080);
            QCOMPARE(d.value("accessId").toString(), QString("alice"));
            QCOMPARE(d.value("deviceToken").toString(), QString("secret"));
            QVERIFY(!d.value("deviceId").toString().isEmpty());
            QCOMPARE(root.userInfo().accessId, QString("alice"));
            QCOMPARE(launcher.devices().size(), 1);
        }
        // The next start opens it again and starts no sample device.
        TidewellSdk again;
        DeviceLauncher launcher(&again);
        launcher.setServerProgram("/nonexistent/tw_testdevice");
        QVERIFY(launcher.prepare());
        QCOMPARE(launcher.devices().size(), 1);
        const QVariantMap d = launcher.devices().first().toMap();
        QCOMPARE(d.value("lanPort").toInt(), 8080);
        QCOMPARE(again.userInfo().accessId, QString("alice"));

        // Without a user the device's owner is taken; the same address is
        // the same device.
        const QVariantMap same = launcher.openDevice("10.0.0.2", 8080, "", "");
        QCOMPARE(same.value("accessId").toString(), QString("owner"));
        QCOMPARE(same.value("deviceId"), d.value("deviceId"));
    }
};

TW_TEST_MAIN(TstDeviceLauncher)
#include "tst_devicelauncher.moc"
