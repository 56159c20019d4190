#include "protocol/getexternallinklistresp.h"

#include "protocol/jsonread.h"

Extlink GetExternalLinkListResp::extlinkFromJson(const Json::Value& item)
{
    Extlink e;
    if (!item.isObject())
        return e;
    e.modify_date = JsonRead::toString(item, "modify_date");
    e.create_date = JsonRead::toString(item, "create_date");
    e.createdDate = JsonRead::toInt64(item, "createdDate");
    e.reportCount = JsonRead::toInt(item, "reportCount");
    e.shareId = JsonRead::toString(item, "shareId");
    e.deviceId = JsonRead::toString(item, "deviceId");
    e.deviceName = JsonRead::toString(item, "deviceName");
    e.title = JsonRead::toString(item, "title");
    e.userId = JsonRead::toString(item, "userId");
    e.userNickname = JsonRead::toString(item, "userNickname");
    e.extractedCode = JsonRead::toBool(item, "extractedCode", true);
    e.url = JsonRead::toString(item, "url");
    e.code = JsonRead::toString(item, "code");
    e.userVisitTime = JsonRead::toInt(item, "userVisitTime");
    e.resVisitTime = JsonRead::toInt(item, "resVisitTime");
    // Links listed from the device carry their own id in fileId.
    e.fileId = item.isMember("id") ? JsonRead::toInt64(item, "id")
                                   : JsonRead::toInt64(item, "fileId");
    return e;
}

void GetExternalLinkListResp::parseData(const Json::Value& data)
{
    const Json::Value& items = JsonRead::listItems(data);
    links.clear();
    for (const Json::Value& it : items) {
        if (it.isObject())
            links.append(extlinkFromJson(it));
    }
    totalNum = JsonRead::toInt(data, "totalNum");
}
