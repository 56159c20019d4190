#include "core/downfileinfo.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include "core/localfileinfo.h"
#include "core/safepath.h"
#include "core/transferfields.h"
#include "core/twfileinfo.h"
#include "core/utils.h"

namespace {
// Free-name searches give up after this many candidates.
const int kMaxNameTries = 10000;
const int kMaxNameBytes = 255;
}

DownFileInfo DownFileInfo::fromItem(const TwFileInfo& item)
{
    DownFileInfo f;
    f.fileId = int(item.id);
    f.isFolder = !item.isFile;
    f.fileName = item.name;
    f.ower = item.ower;
    f.filePath = item.filePath;
    f.fileMd5 = item.fileMd5;
    f.fileSize = item.fileLen;
    f.fileCatetory = item.fileCatetory;
    f.groupId = item.groupId;
    return f;
}

DownFileInfo DownFileInfo::fromItem(const LocalFileInfo& item)
{
    DownFileInfo f;
    f.fileId = int(item.id);
    f.isFolder = !item.isFile;
    f.fileName = item.name;
    f.usbFilePath = item.filePath;
    f.filePath = item.url;
    f.fileSize = item.fileLen;
    return f;
}

QVariantMap DownFileInfo::toVariantMap() const
{
    QVariantMap m;
    writeTransferFields(*this, m);
    m["fileId"] = fileId;
    m["ower"] = ower;
    m["usbFilePath"] = usbFilePath;
    m["savePath"] = savePath;
    m["pNamePath"] = pNamePath;
    m["shareId"] = shareId;
    m["extractedCode"] = extractedCode;
    return m;
}

void DownFileInfo::fromVariantMap(const QVariantMap& m)
{
    if (m.isEmpty())
        return;
    readTransferFields(*this, m);
    fileId = m.value("fileId").toInt();
    ower = m.value("ower").toString();
    usbFilePath = m.value("usbFilePath").toString();
    savePath = m.value("savePath").toString();
    pNamePath = m.value("pNamePath").toString();
    shareId = m.value("shareId").toString();
    extractedCode = m.value("extractedCode").toString();
}

QString DownFileInfo::numberedName(const QString& name, int count)
{
    if (count < 1 && name.toUtf8().size() <= kMaxNameBytes)
        return name;
    QString suffix;
    const int lastDot = name.lastIndexOf('.');
    if (lastDot >= 0 && lastDot + 1 < name.size())
        suffix = "." + name.mid(lastDot + 1);
    const QString number = count < 1 ? QString() : QString("(%1)").arg(count);
    // Unnumbered, the whole name before the suffix is kept as far as it fits.
    QString stem = count < 1 ? (suffix.isEmpty() ? name : name.left(lastDot))
                             : name.section('.', 0, 0);
    // A suffix that leaves no room for the name is no suffix; the number
    // alone names the file well enough.
    if ((number + suffix).toUtf8().size() > kMaxNameBytes - (number.isEmpty() ? 1 : 0)) {
        stem = count < 1 ? name : stem + suffix;
        suffix.clear();
    }
    // File systems take names of at most 255 bytes: the stem gives way, the
    // number and the suffix stay.
    const int room = kMaxNameBytes - (number + suffix).toUtf8().size();
    while (!stem.isEmpty() && stem.toUtf8().size() > room) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.at(stem.size() - 1).isHighSurrogate())
            stem.chop(1);
    }
    return stem + number + suffix;
}

bool DownFileInfo::getSavePath(const QString& topName, QString& out) const
{
    if (savePath.isEmpty()) {
        qWarning() << "DownFileInfo::getSavePath - no save folder for" << fileName;
        return false;
    }
    QString folder = savePath;
    if (isSubItem) {
        const QString top = SafePath::safeName(topName);
        const QString rel = SafePath::safeRelPath(pNamePath);
        if (top.isEmpty() || rel.isNull()) {
            qWarning() << "DownFileInfo::getSavePath - unusable folder name, top:" << topName
                       << "path:" << pNamePath;
            return false;
        }
        // Joined as they are: a nested entry yields save/Top//A.
        folder = savePath + "/" + top + "/" + rel;
    }
    if (!SafePath::isInside(savePath, folder)) {
        qWarning() << "DownFileInfo::getSavePath - folder outside save folder:" << folder;
        return false;
    }
    if (!QFileInfo::exists(folder) && !QDir().mkpath(folder)) {
        qWarning() << "DownFileInfo::getSavePath - cannot create" << folder;
        return false;
    }
    qDebug() << "savePath: " << folder;
    out = folder;
    return true;
}

bool DownFileInfo::newFolderName(QString& outName, int count) const
{
    const QString base = SafePath::safeName(fileName);
    if (base.isEmpty() || savePath.isEmpty()) {
        qWarning() << "DownFileInfo::newFolderName - unusable folder name:" << fileName;
        return false;
    }
    for (int c = count, tries = 0; tries < kMaxNameTries; ++c, ++tries) {
        const QString candidate = numberedName(base, c);
        const QString full = savePath + "/" + candidate;
        if (!SafePath::isInside(savePath, full) || full == savePath) {
            qWarning() << "DownFileInfo::newFolderName - outside save folder:" << full;
            return false;
        }
        if (QFileInfo::exists(full))
            continue;
        outName = candidate;
        return QDir().mkpath(full);
    }
    qWarning() << "DownFileInfo::newFolderName - no free name for" << fileName;
    return false;
}

bool DownFileInfo::newFileName(const QString& dir, QString& out, int count) const
{
    const QString base = SafePath::safeName(fileName);
    if (base.isEmpty() || dir.isEmpty()) {
        qWarning() << "DownFileInfo::newFileName - unusable file name:" << fileName;
        return false;
    }
    for (int c = count, tries = 0; tries < kMaxNameTries; ++c, ++tries) {
        const QString candidate = dir + "/" + numberedName(base, c);
        qDebug() << "newFileName:" << candidate;
        if (!SafePath::isInside(dir, candidate)) {
            qWarning() << "DownFileInfo::newFileName - outside folder:" << candidate;
            return false;
        }
        if (QFileInfo::exists(candidate))
            continue;
        out = candidate;
        return true;
    }
    qWarning() << "DownFileInfo::newFileName - no free name for" << fileName;
    return false;
}

bool DownFileInfo::getTempPath(QString& out, const QString& tmpDir) const
{
    QString dir = tmpDir.isEmpty() ? getTmpPath() : tmpDir;
    while (dir.size() > 1 && dir.endsWith('/'))
        dir.chop(1);
    if (!QFileInfo::exists(dir) && !QDir().mkpath(dir)) {
        qWarning() << "DownFileInfo::getTempPath - cannot create" << dir;
        return false;
    }
    // The table kind keeps a top entry and a sub-entry with the same row id
    // and name apart; separators keep (1, "2x") and (12, "x") apart.
    const QString key = QString("%1:%2:%3").arg(isSubItem ? "s" : "d").arg(fId).arg(fileName);
    out = dir + "/" + md5String(key);
    qDebug() << "------getTempPath:" << out;
    return true;
}
