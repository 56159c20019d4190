#include "protocol/devicesharegettokenresp.h"

#include "protocol/jsonread.h"

void DeviceShareGetTokenResp::parseData(const Json::Value& data)
{
    deviceId = JsonRead::toString(data, "deviceId");
    deviceToken = JsonRead::toString(data, "deviceToken");
    userId = JsonRead::toString(data, "userId");
    dcsCookie = JsonRead::toString(data, "dcsCookie");
    lanHost = JsonRead::toString(data, "lanHost");
    lanPort = JsonRead::toInt(data, "lanPort");
    mapHost = JsonRead::toString(data, "mapHost");
    mapPort = JsonRead::toInt(data, "mapPort");
    remoteHost = JsonRead::toString(data, "remoteHost");
    remotePort = JsonRead::toInt(data, "remotePort");
}
