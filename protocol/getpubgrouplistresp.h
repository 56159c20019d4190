#pragma once

#include <QList>
#include <QMetaType>

#include "core/pubgroupinfo.h"
#include "protocol/apibase.h"

// A page of public groups ("listPath"), paged by offset.
class GetPubGroupListResp : public APIBase
{
public:
    QList<PubGroupInfo> groups;
    int offset = 0;
    int totalPages = 0;
    int totalNum = 0;
    // "diskSerial": the device's personal disk, where a new group goes.
    QString diskSerial;

    // One group: "id", "name", "ower", "userName", "memberAuthority",
    // "status", "totalSize", "diskSerial", "createTime", "lastModified".
    static PubGroupInfo groupFromJson(const Json::Value& item);

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(GetPubGroupListResp)
