#include "core/pubgroupinfo.h"

QVariantMap PubGroupInfo::toMap() const
{
    QVariantMap m;
    m["gId"] = gId;
    m["gName"] = gName;
    m["ower"] = ower;
    m["userName"] = userName;
    m["memberAuthority"] = memberAuthority;
    m["status"] = status;
    m["totalSize"] = totalSize;
    m["diskSerial"] = diskSerial;
    m["createTime"] = createTime;
    m["lastModified"] = lastModified;
    return m;
}

void PubGroupInfo::fromMap(const QVariantMap& m)
{
    if (m.isEmpty())
        return;
    gId = m.value("gId").toInt();
    gName = m.value("gName").toString();
    ower = m.value("ower").toString();
    userName = m.value("userName").toString();
    memberAuthority = m.value("memberAuthority").toInt();
    status = m.value("status").toInt();
    totalSize = m.value("totalSize").toLongLong();
    diskSerial = m.value("diskSerial").toString();
    createTime = m.value("createTime").toLongLong();
    lastModified = m.value("lastModified").toLongLong();
}
