#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QVariantList>
#include <QVariantMap>

class QNetworkAccessManager;
class QProcess;
class TidewellSdk;

// The way to a device while there is no sign-in or device list: a device
// opened by address (remembered in config.ini once it answered), or, with
// none configured, the bundled test device serving a sample library on
// loopback with a random token, which ends with the program. The sample
// device also plays the cloud that resolves the links it made, unless the
// settings name another ("Environment"/"CloudUrl"). Exposed to QML as
// "twLauncher".
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
    // The map connect_to takes for a device address (empty for a bad
    // address); nothing is remembered.
    Q_INVOKABLE QVariantMap openDevice(const QString& host, int port, const QString& user,
                                       const QString& token);
    // Asks the device at the address whether it answers to the token;
    // answers with probeFinished: the device's map (remembered for the next
    // start, its user made the signed-in account) or why it failed.
    Q_INVOKABLE void probeDevice(const QString& host, int port, const QString& user,
                                 const QString& token);
    // The sample device's map, started when it is not running; empty when
    // it cannot be started.
    Q_INVOKABLE QVariantMap openSample();
    // Why a device (a map as connect_to takes it) does not answer, without
    // remembering it: answered with diagnosed, the reason "" when it answers.
    Q_INVOKABLE void diagnose(const QVariantMap& device);
    // A closed tab: its device is no longer opened at start.
    Q_INVOKABLE void forgetDevice(const QVariantMap& device);
    // Remembers a device that answered and signs its user in.
    void remember(const QVariantMap& device);

    // Tests hand the device in directly.
    void setDevices(const QVariantList& devices);
    // The test device program (next to this program by default).
    void setServerProgram(const QString& path) { m_program = path; }
    void setProbeTimeoutMs(int ms) { m_probeTimeoutMs = ms; }
    static QVariantMap deviceMap(const QString& host, int port, const QString& user,
                                 const QString& token, const QString& deviceId,
                                 const QString& name);

signals:
    void probeFinished(const QVariantMap& device, const QString& error);
    void diagnosed(const QString& deviceId, const QString& reason);

private:
    // Pings the device with its token; done gets why it failed, "" when it
    // answered.
    void ask(const QVariantMap& device, std::function<void(const QString& error)> done);
    bool startSample();
    void stopSample();
    void adoptUser(const QString& accessId);
    // Links are resolved by the configured cloud, else by the sample device.
    void applyCloud();

    TidewellSdk* m_root;
    QString m_program;
    std::unique_ptr<QProcess> m_sample;
    QVariantMap m_sampleDevice;
    QVariantList m_devices;
    std::unique_ptr<QNetworkAccessManager> m_net;
    int m_probeTimeoutMs = 8000;
};
