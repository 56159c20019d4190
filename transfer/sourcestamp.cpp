#include "transfer/sourcestamp.h"

#include <QFile>
#include <QStringList>

SourceStamp::SourceStamp(const QString& md5, qint64 size, qint64 modifiedMs)
    : md5(md5.toLower()), size(size), modifiedMs(modifiedMs)
{
}

SourceStamp SourceStamp::of(const sdk::cores::tidewell::source_info& source)
{
    return SourceStamp(QString::fromStdString(source.md5), source.size, source.modified_ms);
}

QString SourceStamp::pathOf(const QString& tempPath)
{
    return tempPath + ".src";
}

bool SourceStamp::read(const QString& tempPath, SourceStamp& out)
{
    QFile f(pathOf(tempPath));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QStringList parts = QString::fromLatin1(f.read(256)).trimmed().split(' ');
    bool sizeOk = false;
    bool timeOk = false;
    if (parts.size() != 3)
        return false;
    const SourceStamp s(parts.at(0) == "-" ? QString() : parts.at(0), parts.at(1).toLongLong(&sizeOk),
                        parts.at(2).toLongLong(&timeOk));
    if (!sizeOk || !timeOk)
        return false;
    out = s;
    return true;
}

bool SourceStamp::write(const QString& tempPath) const
{
    if (size < kKeptFrom) {
        remove(tempPath);
        return true;
    }
    QFile f(pathOf(tempPath));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray line = QString("%1 %2 %3\n")
                                .arg(md5.isEmpty() ? QString("-") : md5)
                                .arg(size)
                                .arg(modifiedMs)
                                .toLatin1();
    return f.write(line) == line.size();
}

void SourceStamp::remove(const QString& tempPath)
{
    QFile::remove(pathOf(tempPath));
}

bool SourceStamp::matches(const SourceStamp& other) const
{
    if (!md5.isEmpty() && !other.md5.isEmpty() && md5 != other.md5)
        return false;
    if (size > 0 && other.size > 0 && size != other.size)
        return false;
    return modifiedMs <= 0 || other.modifiedMs <= 0 || modifiedMs == other.modifiedMs;
}

SourceStamp SourceStamp::completedBy(const SourceStamp& other) const
{
    SourceStamp s = *this;
    if (s.md5.isEmpty())
        s.md5 = other.md5;
    if (s.size <= 0)
        s.size = other.size;
    if (s.modifiedMs <= 0)
        s.modifiedMs = other.modifiedMs;
    return s;
}

QString SourceStamp::toString() const
{
    return QString("md5 %1, %2 bytes, changed at %3")
        .arg(md5.isEmpty() ? QString("unknown") : md5)
        .arg(size)
        .arg(modifiedMs);
}
