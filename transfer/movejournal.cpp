#include "transfer/movejournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QUrl>

namespace {

struct Journals
{
    QMutex mutex;
    // Journal path -> temporary file -> destination.
    QHash<QString, QHash<QString, QString>> moves;
    QSet<QString> loaded;
};

// Never destroyed: tasks may still finish while the process ends.
Journals& journals()
{
    static Journals* j = new Journals;
    return *j;
}

// Both paths percent-encoded, so any name fits on one line.
QByteArray lineOf(const QString& tempPath, const QString& dest)
{
    return QUrl::toPercentEncoding(tempPath) + '\t' + QUrl::toPercentEncoding(dest) + '\n';
}

QHash<QString, QString>& loadedMoves(Journals& j, const QString& path)
{
    QHash<QString, QString>& moves = j.moves[path];
    if (j.loaded.contains(path))
        return moves;
    j.loaded.insert(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return moves;
    QList<QByteArray> lines = f.readAll().split('\n');
    // The piece after the last line end is empty, or a line cut short.
    lines.removeLast();
    for (const QByteArray& line : qAsConst(lines)) {
        const int tab = line.indexOf('\t');
        if (tab <= 0)
            continue;
        moves.insert(QUrl::fromPercentEncoding(line.left(tab)),
                     QUrl::fromPercentEncoding(line.mid(tab + 1)));
    }
    return moves;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

QString MoveJournal::journalOf(const QString& tempPath)
{
    // Temporary files are named by a digest, so this never clashes with one.
    return QFileInfo(tempPath).path() + "/.moves.dest";
}

bool MoveJournal::note(const QString& tempPath, const QString& dest)
{
    const QString path = journalOf(tempPath);
    Journals& j = journals();
    QMutexLocker lock(&j.mutex);
    QHash<QString, QString>& moves = loadedMoves(j, path);
    moves.insert(tempPath, dest);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = writeAll(fd, lineOf(tempPath, dest));
    ::close(fd);
    return ok;
}

QString MoveJournal::movedTo(const QString& tempPath)
{
    Journals& j = journals();
    QMutexLocker lock(&j.mutex);
    return loadedMoves(j, journalOf(tempPath)).value(tempPath);
}

void MoveJournal::retire(const QStringList& tempPaths)
{
    Journals& j = journals();
    QMutexLocker lock(&j.mutex);
    QSet<QString> touched;
    for (const QString& t : tempPaths) {
        const QString path = journalOf(t);
        if (loadedMoves(j, path).remove(t) > 0)
            touched.insert(path);
    }
    for (const QString& path : qAsConst(touched)) {
        const QHash<QString, QString>& moves = j.moves[path];
        const QByteArray name = QFile::encodeName(path);
        if (moves.isEmpty()) {
            if (::truncate(name.constData(), 0) != 0 && errno != ENOENT)
                qWarning() << "MoveJournal - cannot empty" << path;
            continue;
        }
        // Moves still unrecorded stay: the journal is replaced whole.
        QByteArray text;
        for (auto it = moves.cbegin(); it != moves.cend(); ++it)
            text += lineOf(it.key(), it.value());
        const QByteArray next = name + ".next";
        const int fd = ::open(next.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool ok = fd >= 0 && writeAll(fd, text);
        if (fd >= 0)
            ::close(fd);
        if (!ok || ::rename(next.constData(), name.constData()) != 0) {
            ::unlink(next.constData());
            qWarning() << "MoveJournal - cannot rewrite" << path;
        }
    }
}
