#pragma once

#include <atomic>
#include <memory>

#include <QObject>
#include <QString>

#include "core/deviceinfo.h"
#include "core/tidewell.h"
#include "core/userinfo.h"

namespace sdk { namespace plugins { class tidewell_network_sdk; } }

// A device owner for engine tests: one library session connected to a test
// device server on loopback, answering the owner questions like a tab does,
// and counting the notices engines send.
class TestOwner : public QObject, public Tidewell
{
    Q_OBJECT
public:
    explicit TestOwner(const QString& accessId = "acc1", const QString& deviceId = "dev1",
                       QObject* parent = nullptr);
    ~TestOwner() override;

    // Connects the session: lanPort as the local route, or only remotePort
    // (link state 4), or mapPort (link state 3). Waits until connected.
    bool connectTo(int lanPort, int remotePort = 0, int mapPort = 0, int waitMs = 5000);
    void disconnectSession();
    // A new, unconnected session whose transfers fail after seconds
    // without a byte (5 by default).
    void setStallTimeout(int seconds);
    int linkState() const;

    DeviceInfo device;
    UserInfo user;
    QString downDir;
    bool allowOnline = true;   // false: device_online refuses like an unconnected tab

    std::atomic<int> upRunNotices{0};
    std::atomic<int> downRunNotices{0};
    std::atomic<int> upNumNotices{0};
    std::atomic<int> downNumNotices{0};
    std::atomic<int> onlineCalls{0};

    bool device_online(const NetworkShare& share, OnlineFn fn) override;
    bool isOnline() override;
    bool isLan() override;
    QString deviceId() override { return device.deviceId; }
    QString downloadPath() override { return downDir; }
    void notifyUpRun() override { ++upRunNotices; }
    void notifyDownRun(bool) override { ++downRunNotices; }
    void notifyUpTaskNum() override { ++upNumNotices; }
    void notifyDownTaskNum() override { ++downNumNotices; }
    UserInfo userInfo() override { return user; }
    DeviceInfo* deviceInfo() override { return &device; }
    int deviceType() override;
    bool isPCDevice() override { return device.deviceModel.startsWith("QXP"); }
    int netType() override;
    ThumbI* thumb() override { return nullptr; }
    sdk::plugins::tidewell_network_sdk* networkSdk() override;
    void showLoading() override { emit sg_showLoading(); }
    void cancelLading() override { emit sg_cancelLading(); }
    void notifyStatus(int code, const QString& message, int level) override
    {
        emit sg_notifyStatus(code, message, level);
    }

signals:
    void sg_showLoading();
    void sg_cancelLading();
    void sg_notifyStatus(int code, QString message, int level);

private:
    std::unique_ptr<sdk::plugins::tidewell_network_sdk> m_sdk;
};
