#include "transfer/uploadstamp.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "core/utils.h"

UploadStamp UploadStamp::ofFile(const QString& path)
{
    UploadStamp s;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return s;
    s.size = qint64(st.st_size);
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    s.inode = qint64(st.st_ino);
    return s;
}

bool UploadStamp::sameFile(const UploadStamp& other) const
{
    return size >= 0 && size == other.size && modifiedNs == other.modifiedNs
           && changedNs == other.changedNs && inode == other.inode;
}

QString UploadStamp::folderOf(const QString& accessId, const QString& deviceId)
{
    const QByteArray key = (accessId + "|" + deviceId).toUtf8();
    return getAppDataPath() + "upload-stamps/"
           + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Md5).toHex());
}

QString UploadStamp::pathOf(const UploadFileInfo& entry)
{
    return folderOf(entry.accessId, entry.deviceId) + (entry.isSubItem ? "/s" : "/u")
           + QString::number(entry.fId);
}

bool UploadStamp::read(const UploadFileInfo& entry, UploadStamp& out)
{
    QFile f(pathOf(entry));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QStringList p = QString::fromLatin1(f.read(512)).trimmed().split(' ');
    if (p.size() != 6)
        return false;
    UploadStamp s;
    bool ok[4] = {};
    s.md5 = p.at(0) == "-" ? QString() : p.at(0);
    s.taskId = p.at(1) == "-" ? QString() : QString::fromUtf8(QByteArray::fromPercentEncoding(p.at(1).toLatin1()));
    s.size = p.at(2).toLongLong(&ok[0]);
    s.modifiedNs = p.at(3).toLongLong(&ok[1]);
    s.changedNs = p.at(4).toLongLong(&ok[2]);
    s.inode = p.at(5).toLongLong(&ok[3]);
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3])
        return false;
    out = s;
    return true;
}

bool UploadStamp::write(const UploadFileInfo& entry) const
{
    const QString path = pathOf(entry);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray line = QString("%1 %2 %3 %4 %5 %6\n")
                                .arg(md5.isEmpty() ? QString("-") : md5)
                                .arg(taskId.isEmpty() ? QString("-")
                                                      : QString::fromLatin1(taskId.toUtf8().toPercentEncoding()))
                                .arg(size)
                                .arg(modifiedNs)
                                .arg(changedNs)
                                .arg(inode)
                                .toLatin1();
    return f.write(line) == line.size();
}

void UploadStamp::noteTask(const UploadFileInfo& entry, const QString& taskId)
{
    UploadStamp s;
    if (read(entry, s)) {
        s.taskId = taskId;
        s.write(entry);
    }
}

void UploadStamp::remove(const UploadFileInfo& entry)
{
    QFile::remove(pathOf(entry));
}

void UploadStamp::removeAll(const QString& accessId, const QString& deviceId)
{
    const QString folder = folderOf(accessId, deviceId);
    if (QFileInfo::exists(folder))
        QDir(folder).removeRecursively();
}
