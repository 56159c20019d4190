#pragma once

#include <functional>

#include <QString>

#include "core/deviceinfo.h"
#include "core/networkshare.h"
#include "core/userinfo.h"

namespace sdk { namespace plugins { class tidewell_network_sdk; } }
class ThumbI;

// What every engine, facade and model owner needs of the current device,
// user and library session. Implemented by the root object (application
// level, external-link sessions) and by each device tab.
class Tidewell
{
public:
    using OnlineFn = std::function<bool(sdk::plugins::tidewell_network_sdk*, bool)>;

    virtual ~Tidewell() = default;
    // Runs fn at most once on a live session; false when it did not run.
    virtual bool device_online(const NetworkShare& share, OnlineFn fn) = 0;
    virtual bool isOnline() = 0;
    // Whether the session that serves this share is up or can come back:
    // a tab has one session for everything, the root one per link.
    virtual bool linkOnline(const NetworkShare&) { return isOnline(); }
    virtual bool isLan() = 0;
    virtual QString deviceId() = 0;
    virtual QString downloadPath() = 0;
    virtual void notifyUpRun() = 0;
    virtual void notifyDownRun(bool run) = 0;
    virtual void notifyUpTaskNum() = 0;
    virtual void notifyDownTaskNum() = 0;
    virtual UserInfo userInfo() = 0;
    // The record itself, for the owner's own thread.
    virtual DeviceInfo* deviceInfo() = 0;
    // A copy of the current device record, for any thread: an owner that
    // replaces its record (a tab switching devices) guards it.
    virtual DeviceInfo currentDevice()
    {
        const DeviceInfo* d = deviceInfo();
        return d ? *d : DeviceInfo();
    }
    virtual int deviceType() = 0;
    virtual bool isPCDevice() = 0;
    virtual int netType() = 0;
    virtual ThumbI* thumb() = 0;
    virtual sdk::plugins::tidewell_network_sdk* networkSdk() = 0;
    virtual void showLoading() = 0;
    virtual void cancelLading() = 0;
    virtual void notifyStatus(int code, const QString& message, int level) = 0;
};
