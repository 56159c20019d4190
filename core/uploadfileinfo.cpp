#include "core/uploadfileinfo.h"

#include "core/transferfields.h"

QVariantMap UploadFileInfo::toVariantMap() const
{
    QVariantMap m;
    writeTransferFields(*this, m);
    m["isCover"] = isCover;
    m["isSafeBox"] = isSafeBox;
    m["dirId"] = dirId;
    m["diskSerial"] = diskSerial;
    m["upPath"] = upPath;
    return m;
}

void UploadFileInfo::fromVariantMap(const QVariantMap& m)
{
    if (m.isEmpty())
        return;
    readTransferFields(*this, m);
    isCover = m.value("isCover").toBool();
    isSafeBox = m.value("isSafeBox").toBool();
    dirId = m.value("dirId").toInt();
    diskSerial = m.value("diskSerial").toString();
    upPath = m.value("upPath").toString();
}
