#pragma once

#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One device: identity, firmware, owner, and the addresses our network layer
// uses to reach it (local network, port mapping, remote route).
struct DeviceInfo
{
    QString accessId;       // signed-in account on this device
    QString deviceId;
    QString deviceSn;       // serial, e.g. "QX2..."
    QString deviceName;
    QString deviceModel;    // model string, "QXP..." for a PC device
    QString appCode;        // decimal firmware number
    QString deviceOwnerName;
    QString deviceToken;    // session token the device accepts
    bool online = false;

    QString lanHost;        // local network address
    int lanPort = 0;
    QString mapHost;        // local network by port mapping
    int mapPort = 0;
    QString remoteHost;     // route across the internet
    int remotePort = 0;

    QVariantMap toVariantMap() const;
    static DeviceInfo fromVariantMap(const QVariantMap& map);
};
Q_DECLARE_METATYPE(DeviceInfo)
