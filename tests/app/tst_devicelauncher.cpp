#include <QSignalSpy>
#include <QTcpServer>

#include "app/devicelauncher.h"
#include "app/tidewellsdk.h"
#include "tests/testenv.h"
#include "tools/testdeviceserver.h"

// Opening a device by address: bad addresses refused, a device asked first
// and remembered for the next start only when it answered (its user made the
// signed-in account), with the reason when it did not; a closed tab forgets it.
class TstDeviceLauncher : public QObject
{
    Q_OBJECT

    // The answer of one probe: (device map, reason).
    static QPair<QVariantMap, QString> probe(DeviceLauncher& l, const QString& host, int port,
                                             const QString& token)
    {
        QSignalSpy done(&l, &DeviceLauncher::probeFinished);
        l.probeDevice(host, port, "alice", token);
        if (done.isEmpty() && !done.wait(15000))
            return {};
        return {done.at(0).at(0).toMap(), done.at(0).at(1).toString()};
    }

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
            // As when the device answered.
            launcher.remember(d);
            QCOMPARE(root.userInfo().accessId, QString("alice"));
        }
        // The next start opens it again and starts no sample device; its
        // links are resolved by the cloud the settings name.
        TidewellSdk again;
        again.config()->setValue("Environment", "CloudUrl", "https://cloud.example:8443");
        DeviceLauncher launcher(&again);
        launcher.setServerProgram("/nonexistent/tw_testdevice");
        QVERIFY(launcher.prepare());
        QCOMPARE(again.channelOption().cloud_url, std::string("https://cloud.example:8443"));
        QCOMPARE(launcher.devices().size(), 1);
        const QVariantMap d = launcher.devices().first().toMap();
        QCOMPARE(d.value("lanPort").toInt(), 8080);
        QCOMPARE(again.userInfo().accessId, QString("alice"));

        // Without a user the device's owner is taken; the same address is
        // the same device.
        const QVariantMap same = launcher.openDevice("10.0.0.2", 8080, "", "");
        QCOMPARE(same.value("accessId").toString(), QString("owner"));
        QCOMPARE(same.value("deviceId"), d.value("deviceId"));

        // Its tab closed: the next start is on the sample device again.
        launcher.forgetDevice(d);
        TidewellSdk third;
        DeviceLauncher next(&third);
        next.setServerProgram("/nonexistent/tw_testdevice");
        QVERIFY(!next.prepare());
        QVERIFY(next.devices().isEmpty());
    }

    void asksTheDeviceFirstAndSaysWhyItFailed()
    {
        QTemporaryDir dir;
        TestDeviceServer device(dir.path().toStdString());
        device.setToken("right");
        QVERIFY(device.start());
        TidewellSdk root;
        DeviceLauncher launcher(&root);
        launcher.setProbeTimeoutMs(1500);
        const QString ini = root.config()->fileName();

        auto r = probe(launcher, "127.0.0.1", device.port(), "wrong");
        QVERIFY(r.first.isEmpty());
        QVERIFY2(r.second.contains("refused the token"), qPrintable(r.second));

        QTcpServer silent;   // accepts and never answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        r = probe(launcher, "127.0.0.1", silent.serverPort(), "right");
        QVERIFY2(r.second.contains("did not answer within 2 s"), qPrintable(r.second));

        const int closedPort = silent.serverPort();
        silent.close();
        r = probe(launcher, "127.0.0.1", closedPort, "right");
        QVERIFY2(r.second.contains("refused"), qPrintable(r.second));
        QVERIFY(root.config()->value("Environment", "DeviceHost").toString().isEmpty());

        r = probe(launcher, "127.0.0.1", device.port(), "right");
        QVERIFY2(r.second.isEmpty(), qPrintable(r.second));
        QCOMPARE(r.first.value("lanPort").toInt(), device.port());
        QCOMPARE(root.config()->value("Environment", "DevicePort").toInt(), device.port());
        QCOMPARE(root.config()->value("Environment", "DeviceToken").toString(), QString("right"));
        QCOMPARE(root.userInfo().accessId, QString("alice"));
        // The token is in there: for its user's eyes only.
        QCOMPARE(QFile::permissions(ini) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup
                                            | QFile::WriteOther),
                 QFileDevice::Permissions());
        launcher.forgetDevice(r.first);
        QVERIFY(root.config()->value("Environment", "DeviceToken").toString().isEmpty());
    }
};

TW_TEST_MAIN(TstDeviceLauncher)
#include "tst_devicelauncher.moc"
