#pragma once

#include <QMetaType>
#include <QString>

#include "core/networkshare.h"

// One thumbnail request: which file, which size, on which device and session.
// A plain record passed by value through queued signals.
struct ThumbInfo
{
    enum SizeKind {
        Small = 1,
        Original = 2,
        Medium = 3,
    };

    int type = 0;             // Common::MediaType: 6 picture, 7 video
    qint64 fileId = 0;
    QString ower;
    QString name;
    QString fileMd5;          // medium/original of a USB file: "usb_" + md5(url + filePath)
    int sizeKind = Small;
    int fileCatetory = 0;
    qint32 isUsb = 0;
    QString url;
    QString filePath;
    int retries = 3;
    QString deviceId;
    NetworkShare share;
    qint64 lastModified = 0;  // the item's, when the request names it (medium, original)
    qint64 fileLen = 0;

    ThumbInfo() = default;
    ThumbInfo(int type, const QString& deviceId);

    // <deviceId>_<fileId>_<fileMd5>_<kind> (<deviceId>_<fileId>_<kind>
    // without an MD5), or <deviceId>_<fileMd5>_<kind> for a USB file; always
    // one plain file name, whatever the device id holds.
    QString cacheName() const;
    // root + "/small/", "/medium/" or "/original/" + cacheName().
    QString cacheFilePath(const QString& root) const;

    // What tells one version of the item from the next (MD5, time, size);
    // "" when the request knows none of them.
    QString versionTag() const;

    void setSmall(qint64 fileId, const QString& ower, const QString& fileMd5, int fileCatetory);
    void toMedium();
    void toOriginal();
    void setShare(const NetworkShare& s) { share = s; }

private:
    void usbKey();
};
Q_DECLARE_METATYPE(ThumbInfo)
