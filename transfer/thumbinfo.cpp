#include "transfer/thumbinfo.h"

#include "core/safepath.h"
#include "core/utils.h"

ThumbInfo::ThumbInfo(int type, const QString& deviceId) : type(type), deviceId(deviceId) {}

namespace {
// Longest MD5 text taken into a name; a device's is 32.
constexpr int kMaxMd5Chars = 64;
}

QString ThumbInfo::cacheName() const
{
    QString key = isUsb ? fileMd5 : QString::number(fileId);
    // A picture changed under the same id comes with a new MD5: its
    // thumbnail is another file, never the old one's.
    if (!isUsb && !fileMd5.isEmpty())
        key += "_" + fileMd5.left(kMaxMd5Chars);
    const QString name = deviceId + "_" + key + "_" + QString::number(sizeKind);
    // The device id and the MD5 come from outside: one safe component, so
    // the file stays inside its size folder.
    QString safe = SafePath::safeName(name);
    if (safe.isEmpty() || safe == "." || safe == "..")
        safe = "_" + QString::number(fileId) + "_" + QString::number(sizeKind);
    return safe;
}

QString ThumbInfo::cacheFilePath(const QString& root) const
{
    const char* sub = sizeKind == Medium ? "/medium/" : sizeKind == Original ? "/original/" : "/small/";
    return root + sub + cacheName();
}

QString ThumbInfo::versionTag() const
{
    // A USB item's MD5 names its path, not its content.
    const QString md5 = isUsb ? QString() : fileMd5;
    if (md5.isEmpty() && lastModified == 0 && fileLen == 0)
        return QString();
    return md5 + "/" + QString::number(lastModified) + "/" + QString::number(fileLen);
}

void ThumbInfo::setSmall(qint64 id, const QString& o, const QString& md5, int category)
{
    fileId = id;
    ower = o;
    fileMd5 = md5;
    fileCatetory = category;
    sizeKind = Small;
}

void ThumbInfo::usbKey()
{
    if (isUsb)
        fileMd5 = "usb_" + md5String(url + filePath);
}

void ThumbInfo::toMedium()
{
    sizeKind = Medium;
    usbKey();
}

void ThumbInfo::toOriginal()
{
    sizeKind = Original;
    usbKey();
}
