#pragma once

#include <memory>

#include <QObject>
#include <QVariantMap>

#include "tests/testenv.h"

class QQmlContext;
class QQmlEngine;
class QQuickItem;
class DeviceLauncher;
class TestDeviceServer;
class TidewellSdk;

// What a page test drives from QML as "testRig": the test device (the
// sample library on loopback), files on both sides, faults, screenshots.
class QuickRigApi : public QObject
{
    Q_OBJECT
public:
    explicit QuickRigApi(QObject* parent = nullptr) : QObject(parent) {}

    TestDeviceServer* server = nullptr;
    TidewellSdk* root = nullptr;
    QString base;

    // The device map a TidewellTab connects to.
    Q_INVOKABLE QVariantMap device() const;
    Q_INVOKABLE QString downloadDir() const;
    // A local folder for upload sources and such.
    Q_INVOKABLE QString localDir() const;
    // Saves the window of item as screenshots/<name>.png in the build folder.
    Q_INVOKABLE bool screenshot(QQuickItem* item, const QString& name) const;
    // The colour drawn at (x, y) of item, as "#rrggbb"; "" when it cannot
    // be grabbed.
    Q_INVOKABLE QString colorAt(QQuickItem* item, qreal x, qreal y) const;

    // Device side (paths relative to the device's storage).
    Q_INVOKABLE QString deviceId() const;
    Q_INVOKABLE qint64 idForPath(const QString& rel) const;
    Q_INVOKABLE bool deviceHas(const QString& rel) const;
    Q_INVOKABLE QStringList deviceList(const QString& relFolder) const;
    Q_INVOKABLE QString devicePath(const QString& rel) const;
    Q_INVOKABLE qint64 addDeviceFile(const QString& rel, int size, int seed = 1);
    Q_INVOKABLE qint64 addDeviceFolder(const QString& rel);

    // Local side.
    Q_INVOKABLE QString writeLocalFile(const QString& name, int size, int seed = 1) const;
    Q_INVOKABLE bool localExists(const QString& path) const;
    Q_INVOKABLE qint64 localSize(const QString& path) const;
    // Byte-exact comparison of a local file with a device file.
    Q_INVOKABLE bool sameBytes(const QString& localPath, const QString& deviceRel) const;

    // Faults (see TestDeviceServer).
    Q_INVOKABLE void failWithStatus(int status, int count, const QString& match);
    // The device answers its next request of this command with an error of
    // its own (code, message).
    Q_INVOKABLE void failCommandOnce(const QString& command, int code, const QString& message);
    Q_INVOKABLE void delayAnswer(int ms, int count, const QString& match);
    Q_INVOKABLE void throttle(qint64 bytesPerSecond);
    Q_INVOKABLE void stallAfter(qint64 bytes, int count);
    Q_INVOKABLE void clearFaults();
    Q_INVOKABLE int requestCount(const QString& match) const;
    Q_INVOKABLE void clearRequests();
};

// Set-up object of the page tests: a fresh application-data folder, the
// test device with the sample library, the root object and the QML types
// exactly as the program registers them. A test area with more to seed
// derives from it and overrides extend().
class QuickRig : public QObject
{
    Q_OBJECT
public:
    QuickRig();
    ~QuickRig() override;

protected:
    virtual void extend(QQmlContext*) {}
    QuickRigApi* api() const { return m_api.get(); }

public slots:
    void applicationAvailable();
    void qmlEngineAvailable(QQmlEngine* engine);
    void cleanupTestCase();

private:
    TestEnv m_env;
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TidewellSdk> m_root;
    std::unique_ptr<DeviceLauncher> m_launcher;
    std::unique_ptr<QuickRigApi> m_api;
};
