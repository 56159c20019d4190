#include "core/deviceinfo.h"

QVariantMap DeviceInfo::toVariantMap() const
{
    QVariantMap m;
    m["accessId"] = accessId;
    m["deviceId"] = deviceId;
    m["deviceSn"] = deviceSn;
    m["deviceName"] = deviceName;
    m["deviceModel"] = deviceModel;
    m["appCode"] = appCode;
    m["deviceOwnerName"] = deviceOwnerName;
    m["deviceToken"] = deviceToken;
    m["online"] = online;
    m["lanHost"] = lanHost;
    m["lanPort"] = lanPort;
    m["mapHost"] = mapHost;
    m["mapPort"] = mapPort;
    m["remoteHost"] = remoteHost;
    m["remotePort"] = remotePort;
    return m;
}

DeviceInfo DeviceInfo::fromVariantMap(const QVariantMap& m)
{
    DeviceInfo d;
    d.accessId = m.value("accessId").toString();
    d.deviceId = m.value("deviceId").toString();
    d.deviceSn = m.value("deviceSn").toString();
    d.deviceName = m.value("deviceName").toString();
    d.deviceModel = m.value("deviceModel").toString();
    d.appCode = m.value("appCode").toString();
    d.deviceOwnerName = m.value("deviceOwnerName").toString();
    d.deviceToken = m.value("deviceToken").toString();
    d.online = m.value("online").toBool();
    d.lanHost = m.value("lanHost").toString();
    d.lanPort = m.value("lanPort").toInt();
    d.mapHost = m.value("mapHost").toString();
    d.mapPort = m.value("mapPort").toInt();
    d.remoteHost = m.value("remoteHost").toString();
    d.remotePort = m.value("remotePort").toInt();
    return d;
}
