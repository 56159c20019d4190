#include "core/twfolderinfo.h"

QVariantMap TwFolderInfo::toVariantMap() const
{
    QVariantMap m;
    m["fid"] = fid;
    m["name"] = name;
    m["filePath"] = filePath;
    m["isDevice"] = isDevice;
    m["lastModified"] = QString::number(lastModified, 10);
    m["serialNo"] = serialNo;
    m["type"] = type;
    m["diskType"] = diskType;
    m["freeCapacity"] = QString::number(freeCapacity, 10);
    m["totalCapacity"] = QString::number(totalCapacity, 10);
    m["groupId"] = groupId;
    m["isSafeBox"] = isSafeBox;
    m["upPath"] = upPath;
    return m;
}

TwFolderInfo TwFolderInfo::fromVariantMap(const QVariantMap& m)
{
    TwFolderInfo f;
    f.fid = m.value("fid").toInt();
    f.name = m.value("name").toString();
    f.filePath = m.value("filePath").toString();
    f.isDevice = m.value("isDevice").toBool();
    f.lastModified = m.value("lastModified").toString().toLongLong(nullptr, 10);
    f.serialNo = m.value("serialNo").toString();
    f.type = m.value("type").toInt();
    f.diskType = m.value("diskType").toInt();
    f.freeCapacity = m.value("freeCapacity").toString().toLongLong(nullptr, 10);
    f.totalCapacity = m.value("totalCapacity").toString().toLongLong(nullptr, 10);
    f.groupId = m.value("groupId").toInt();
    f.isSafeBox = m.value("isSafeBox").toBool();
    f.upPath = m.value("upPath").toString();
    return f;
}
