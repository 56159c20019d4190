#pragma once

#include <QMetaType>
#include <QString>

#include "protocol/apibase.h"

// Token of the device behind a link, with the addresses that reach it; shareId is the one asked.
class DeviceShareGetTokenResp : public APIBase
{
public:
    QString deviceId;
    QString deviceToken;
    QString userId;
    QString dcsCookie;
    QString shareId;     // the share id that was asked (set by the requester)
    QString lanHost;
    int lanPort = 0;
    QString mapHost;
    int mapPort = 0;
    QString remoteHost;
    int remotePort = 0;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(DeviceShareGetTokenResp)
