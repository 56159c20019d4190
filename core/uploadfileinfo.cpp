#include "core/uploadfileinfo.h"

QVariantMap UploadFileInfo::toVariantMap() const
{
    QVariantMap m;
    m["fId"] = fId;
    m["isFolder"] = isFolder;
    m["fileType"] = fileType;
    m["fileName"] = fileName;
    m["filePath"] = filePath;
    m["accessId"] = accessId;
    m["deviceId"] = deviceId;
    m["fileMd5"] = fileMd5;
    m["fileWriteLen"] = QString::number(fileWriteLen, 10);
    m["fileSize"] = QString::number(fileSize, 10);
    m["createTime"] = QString::number(createTime, 10);
    m["fileState"] = fileState;
    m["msg"] = msg;
    m["progress"] = progress;
    m["taskId"] = taskId;
    m["isCover"] = isCover;
    m["isSafeBox"] = isSafeBox;
    m["dirId"] = dirId;
    m["diskSerial"] = diskSerial;
    m["upPath"] = upPath;
    m["isSubItem"] = isSubItem;
    m["pId"] = pId;
    m["speed"] = speed;
    m["num"] = num;
    return m;
}

void UploadFileInfo::fromVariantMap(const QVariantMap& m)
{
    if (m.isEmpty())
        return;
    fId = m.value("fId").toInt();
    isFolder = m.value("isFolder").toBool();
    fileType = m.value("fileType").toInt();
    fileName = m.value("fileName").toString();
    filePath = m.value("filePath").toString();
    accessId = m.value("accessId").toString();
    deviceId = m.value("deviceId").toString();
    fileMd5 = m.value("fileMd5").toString();
    fileWriteLen = m.value("fileWriteLen").toString().toLongLong(nullptr, 10);
    fileSize = m.value("fileSize").toString().toLongLong(nullptr, 10);
    createTime = m.value("createTime").toString().toLongLong(nullptr, 10);
    fileState = m.value("fileState").toInt();
    msg = m.value("msg").toString();
    progress = m.value("progress").toFloat();
    taskId = m.value("taskId").toString();
    isCover = m.value("isCover").toBool();
    isSafeBox = m.value("isSafeBox").toBool();
    dirId = m.value("dirId").toInt();
    diskSerial = m.value("diskSerial").toString();
    upPath = m.value("upPath").toString();
    isSubItem = m.value("isSubItem").toBool();
    pId = m.value("pId").toInt();
    speed = m.value("speed").toInt();
    num = m.value("num").toInt();
}
