#include "protocol/devicesharegetinforesp.h"

#include "protocol/jsonread.h"

void DeviceShareGetInfoResp::parseData(const Json::Value& data)
{
    modify_date = JsonRead::toString(data, "modify_date");
    create_date = JsonRead::toString(data, "create_date");
    createdDate = JsonRead::toInt64(data, "createdDate");
    reportCount = JsonRead::toInt(data, "reportCount");
    shareId = JsonRead::toString(data, "shareId");
    deviceId = JsonRead::toString(data, "deviceId");
    deviceName = JsonRead::toString(data, "deviceName");
    title = JsonRead::toString(data, "title");
    userId = JsonRead::toString(data, "userId");
    userNickname = JsonRead::toString(data, "userNickname");
    extractedCode = JsonRead::toBool(data, "extractedCode", true);
    fileId = JsonRead::toInt64(data, "fileId");
}

Extlink DeviceShareGetInfoResp::toExtlink() const
{
    Extlink e;
    e.modify_date = modify_date;
    e.create_date = create_date;
    e.createdDate = createdDate;
    e.reportCount = reportCount;
    e.shareId = shareId;
    e.deviceId = deviceId;
    e.deviceName = deviceName;
    e.title = title;
    e.userId = userId;
    e.userNickname = userNickname;
    e.extractedCode = extractedCode;
    e.fileId = fileId;
    return e;
}
