#pragma once

#include <QString>

#include "core/deviceinfo.h"
#include "core/tidewell.h"
#include "sdk/tidewell_network_sdk.h"

// The owner side of one device session, as a tab would answer it. The
// library's log is silenced so only the figures are printed.
class BenchOwner : public Tidewell
{
public:
    // A "QXP" model makes the device a PC one, whose large files go without a
    // digest.
    explicit BenchOwner(const QString& deviceModel = QString());

    // Connects over the local route (lanPort) and/or the mapped one (mapPort)
    // on loopback; false unless linked within 5 s.
    bool connectTo(int lanPort, int mapPort = 0);

    bool device_online(const NetworkShare& share, OnlineFn fn) override;
    bool isOnline() override { return net.link_state() != 0; }
    bool isLan() override { return net.link_state() == 2 || net.link_state() == 3; }
    QString deviceId() override { return device.deviceId; }
    QString downloadPath() override { return QString(); }
    void notifyUpRun() override {}
    void notifyDownRun(bool) override {}
    void notifyUpTaskNum() override {}
    void notifyDownTaskNum() override {}
    UserInfo userInfo() override { return UserInfo(); }
    DeviceInfo* deviceInfo() override { return &device; }
    int deviceType() override { return 2; }
    bool isPCDevice() override { return device.deviceModel.startsWith("QXP"); }
    int netType() override;
    ThumbI* thumb() override { return nullptr; }
    sdk::plugins::tidewell_network_sdk* networkSdk() override { return &net; }
    void showLoading() override {}
    void cancelLading() override {}
    void notifyStatus(int, const QString&, int) override {}

    DeviceInfo device;
    sdk::plugins::tidewell_network_sdk net;
};
