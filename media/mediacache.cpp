#include "media/mediacache.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QRegularExpression>

namespace {
QMutex s_lock;
// Open segment files by clean absolute path, with how many hold each.
QHash<QString, int> s_held;
std::atomic<int> s_failed{0};

QString key(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
}

void MediaCache::hold(const QString& path)
{
    QMutexLocker l(&s_lock);
    ++s_held[key(path)];
}

void MediaCache::release(const QString& path)
{
    QMutexLocker l(&s_lock);
    const QString k = key(path);
    auto it = s_held.find(k);
    if (it != s_held.end() && --it.value() <= 0)
        s_held.erase(it);
}

bool MediaCache::isHeld(const QString& path)
{
    QMutexLocker l(&s_lock);
    return s_held.contains(key(path));
}

int MediaCache::failedRemovals()
{
    return s_failed.load();
}

qint64 MediaCache::freeBytes(const QString& folder)
{
    struct statvfs st;
    if (::statvfs(QFile::encodeName(folder).constData(), &st) != 0)
        return -1;
    return qint64(st.f_bavail) * qint64(st.f_frsize);
}

MediaCache::Trim MediaCache::trim(const QString& folder, qint64 limit)
{
    return shrink(folder, limit, [limit](const Trim& t) { return t.total <= limit; });
}

MediaCache::Trim MediaCache::makeRoom(const QString& folder, qint64 bytes)
{
    return shrink(folder, bytes, [&folder, bytes](const Trim&) {
        const qint64 free = freeBytes(folder);
        return free < 0 || free >= bytes;
    });
}

MediaCache::Trim MediaCache::shrink(const QString& folder, qint64 limit,
                                    const std::function<bool(const Trim&)>& enough)
{
    Trim out;
    if (folder.isEmpty())
        return out;
    // Held for the whole trim: a segment opening a file waits, so it never
    // opens one that is about to go.
    QMutexLocker l(&s_lock);
    static const QRegularExpression segment("^(.+)_\\d+$");
    struct File
    {
        QString path;
        qint64 bytes;
        bool held;
    };
    struct Item
    {
        QList<File> files;
        QDateTime newest;
        bool open = false;
    };
    QHash<QString, Item> items;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QFileInfo& fi : files) {
        const QRegularExpressionMatch m = segment.match(fi.fileName());
        if (!m.hasMatch())
            continue;
        Item& it = items[m.captured(1)];
        const bool held = s_held.contains(key(fi.filePath()));
        it.files.append(File{fi.filePath(), fi.size(), held});
        it.open = it.open || held;
        if (!it.newest.isValid() || fi.lastModified() > it.newest)
            it.newest = fi.lastModified();
        out.total += fi.size();
    }
    if (enough(out))
        return out;
    QList<Item> order = items.values();
    std::sort(order.begin(), order.end(), [](const Item& a, const Item& b) {
        if (a.open != b.open)
            return !a.open;
        return a.newest < b.newest;
    });
    for (const Item& it : qAsConst(order)) {
        if (enough(out))
            break;
        // An item goes as a whole, but for what is open.
        for (const File& f : it.files) {
            if (f.held)
                continue;
            if (::unlink(QFile::encodeName(f.path).constData()) != 0 && errno != ENOENT) {
                ++out.failed;
                ++s_failed;
                qWarning() << "MediaCache::trim - cannot remove" << f.path << ":"
                           << QString::fromLocal8Bit(std::strerror(errno));
                continue;
            }
            ++out.removed;
            out.total -= f.bytes;
        }
    }
    if (out.removed > 0 || out.failed > 0)
        qDebug() << "MediaCache::trim - removed" << out.removed << "files, failed" << out.failed << ", cache"
                 << out.total << "of" << limit;
    return out;
}
