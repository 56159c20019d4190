#pragma once

#include <memory>

#include <QObject>
#include <QVariantList>
#include <QVariantMap>

class QProcess;
class TidewellSdk;

// The way to a device while there is no sign-in or device list: a device
// opened by address (remembered in config.ini), or, with none configured,
// the bundled test device serving a sample library on loopback with a
// random token, which ends with the program. Exposed to QML as "twLauncher".
class DeviceLauncher : public QObject
{
    Q_OBJECT
public:
    explicit DeviceLauncher(TidewellSdk* root, QObject* parent = nullptr);
    ~DeviceLauncher() override;

    // Starts the sample device when no device is configured; waits for it
    // to listen. False (with a log line) when it cannot be started.
    bool prepare();

    // The devices to open at start: the configured one or the sample one.
    Q_INVOKABLE QVariantList devices() const;
    // Opens a device by address and remembers it; the map as connect_to
    // takes it (empty for a bad address). The user becomes the signed-in
    // account.
    Q_INVOKABLE QVariantMap openDevice(const QString& host, int port, const QString& user,
                                       const QString& token);

    // Tests hand the device in directly.
    void setDevices(const QVariantList& devices);
    // The test device program (next to this program by default).
    void setServerProgram(const QString& path) { m_program = path; }
    static QVariantMap deviceMap(const QString& host, int port, const QString& user,
                                 const QString& token, const QString& deviceId,
                                 const QString& name);

private:
    bool startSample();
    void stopSample();
    void adoptUser(const QString& accessId);

    TidewellSdk* m_root;
    QString m_program;
    std::unique_ptr<QProcess> m_sample;
    QVariantList m_devices;
};
