#pragma once

#include <QString>
#include <QStringList>

// Files moved from their temporary file into place whose finish may not be
// recorded yet, one journal per folder of temporary files: a restart finds
// such a file in place instead of fetching it again. One line is appended
// per move, and the lines go once the finishes are recorded, so a run of
// small files costs no file made and removed per file. Thread-safe; the
// journal is read once per process and kept in memory.
class MoveJournal
{
public:
    // Notes that tempPath is being moved to dest.
    static bool note(const QString& tempPath, const QString& dest);
    // Where tempPath was moved to, or empty.
    static QString movedTo(const QString& tempPath);
    // The moves of these temporary files are recorded (or void).
    static void retire(const QStringList& tempPaths);
    static QString journalOf(const QString& tempPath);
};
