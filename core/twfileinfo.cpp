#include "core/twfileinfo.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include "core/common.h"
#include "core/safepath.h"
#include "core/utils.h"

static qint64 toInt64(const QVariant& v)
{
    return v.toString().toLongLong(nullptr, 10);
}

QVariantMap TwFileInfo::toVariantMap() const
{
    QVariantMap m;
    m["local"] = local;
    m["type"] = type;
    m["name"] = name;
    m["isFile"] = isFile;
    m["isHidden"] = isHidden;
    m["isSamba"] = isSamba;
    m["isUsb"] = isUsb;
    m["filePath"] = filePath;
    m["upPath"] = upPath;
    m["url"] = url;
    m["id"] = QString::number(id, 10);
    m["fileLen"] = QString::number(fileLen, 10);
    m["lastModified"] = QString::number(lastModified, 10);
    m["createTime"] = QString::number(createTime, 10);
    m["ower"] = ower;
    m["fileMd5"] = fileMd5;
    m["fileCatetory"] = fileCatetory;
    m["mode"] = mode;
    m["groupId"] = groupId;
    m["labelId"] = labelId;
    m["downStatus"] = downStatus;
    m["status"] = status;
    m["isCollect"] = isCollect;
    m["publicType"] = publicType;
    m["shareId"] = shareId;
    m["extractedCode"] = extractedCode;
    m["shareTime"] = QString::number(shareTime, 10);
    m["shareHeadImg"] = shareHeadImg;
    m["shareUserName"] = shareUserName;
    return m;
}

TwFileInfo TwFileInfo::fromVariantMap(const QVariantMap& m)
{
    TwFileInfo f;
    f.local = m.value("local").toBool();
    f.type = m.value("type").toInt();
    f.name = m.value("name").toString();
    f.isFile = m.value("isFile").toBool();
    f.isHidden = m.value("isHidden").toBool();
    f.isSamba = m.value("isSamba").toBool();
    f.isUsb = m.value("isUsb").toBool();
    f.filePath = m.value("filePath").toString();
    f.upPath = m.value("upPath").toString();
    f.url = m.value("url").toString();
    f.id = toInt64(m.value("id"));
    f.fileLen = toInt64(m.value("fileLen"));
    f.lastModified = toInt64(m.value("lastModified"));
    f.createTime = toInt64(m.value("createTime"));
    f.ower = m.value("ower").toString();
    f.fileMd5 = m.value("fileMd5").toString();
    f.fileCatetory = m.value("fileCatetory").toInt();
    f.mode = m.value("mode").toInt();
    f.groupId = m.value("groupId").toInt();
    f.labelId = m.value("labelId").toString();
    f.downStatus = m.value("downStatus").toInt();
    f.status = m.value("status").toInt();
    f.isCollect = m.value("isCollect").toInt();
    f.publicType = m.contains("publicType") ? m.value("publicType").toInt() : 1;
    f.shareId = m.value("shareId").toString();
    f.extractedCode = m.value("extractedCode").toString();
    f.shareTime = toInt64(m.value("shareTime"));
    f.shareHeadImg = m.value("shareHeadImg").toString();
    f.shareUserName = m.value("shareUserName").toString();
    return f;
}

void TwFileInfo::fileType()
{
    if (isSamba)
        type = Common::MT_Samba;
    else if (!isFile)
        type = Common::MT_Folder;
    else
        type = getMediaType(QFileInfo(name).suffix());
}

QString TwFileInfo::secondKey() const
{
    return isUsb || isSamba ? url : filePath;
}

bool TwFileInfo::operator==(const TwFileInfo& o) const
{
    if (local != o.local)
        return false;
    if (local)
        return filePath == o.filePath;
    return id == o.id && secondKey() == o.secondKey();
}

void TwFileInfo::initEditorItem(TwFileInfo& item, const TwFileInfo& parent,
                                const QString& name, qint64 id)
{
    Q_UNUSED(parent)
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    item.name = name;
    item.id = id;
    item.lastModified = now;
    item.createTime = now;
    item.isFile = false;
    item.downStatus = 1;
    item.status = 1;
}

bool TwFileInfo::prepareCacheFile(const TwFileInfo& item, const QString& folder, QString& path)
{
    const QString safe = SafePath::safeName(item.name);
    if (safe.isEmpty()) {
        qWarning() << "TwFileInfo::prepareCacheFile - unusable name:" << item.name;
        return false;
    }
    const QString prefix = item.isUsb ? "usb_" + md5String(item.url) : SafePath::safeName(item.fileMd5);
    const QString candidate = folder + "/" + prefix + "_" + safe;
    if (!SafePath::isInside(folder, candidate) || QFileInfo(candidate).isDir()) {
        qWarning() << "TwFileInfo::prepareCacheFile - refused path:" << candidate;
        return false;
    }
    path = candidate;
    QFileInfo fi(path);
    if (fi.exists()) {
        if (fi.size() == item.fileLen)
            return true;
        QFile::remove(path);
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    const bool sized = f.resize(item.fileLen);
    f.close();
    return sized && QFileInfo(path).size() == item.fileLen;
}
