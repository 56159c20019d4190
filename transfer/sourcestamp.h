#pragma once

#include <QString>

#include "sdk/download_observer.h"

// Which file of the device the bytes of a partial download belong to: the
// device's MD5, size and time of change (ms), each empty or 0 when unknown.
// Kept in a small file beside the partial, so that a resume, also after a
// restart, can tell whether the device still has that file.
class SourceStamp
{
public:
    // Parts of smaller files cost little to fetch again and get no stamp
    // file; the entry's own MD5 and size stand for it.
    static constexpr qint64 kKeptFrom = 1024 * 1024;

    QString md5;
    qint64 size = 0;
    qint64 modifiedMs = 0;

    SourceStamp() = default;
    SourceStamp(const QString& md5, qint64 size, qint64 modifiedMs = 0);
    static SourceStamp of(const sdk::cores::tidewell::source_info& source);

    // The stamp file of a partial download.
    static QString pathOf(const QString& tempPath);
    // False when there is no readable stamp.
    static bool read(const QString& tempPath, SourceStamp& out);
    // Written for larger files only; a smaller one's stale stamp goes.
    bool write(const QString& tempPath) const;
    static void remove(const QString& tempPath);

    // Whether other may be the same file: every value that both know agrees.
    bool matches(const SourceStamp& other) const;
    // This stamp, completed with what other knows and this one does not.
    SourceStamp completedBy(const SourceStamp& other) const;
    QString toString() const;
};
