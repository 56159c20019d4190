#pragma once

#include <functional>

#include <QString>
#include <QtGlobal>

// The media cache folders, shared by every player of the program (each
// device tab has its own): which segment files are open, and trimming a
// folder to its cap. A file held open by a segment of any player is never
// removed; what goes first are the items played longest ago.
class MediaCache
{
public:
    struct Trim
    {
        int removed = 0;    // files removed
        int failed = 0;     // files whose removal failed; still counted
        qint64 total = 0;   // bytes of segment files left
    };

    // A segment has its file open from hold() to release(); several may
    // hold the same file.
    static void hold(const QString& path);
    static void release(const QString& path);
    static bool isHeld(const QString& path);

    // Removes segment files (named <item>_<start>) of the items played
    // longest ago until the folder holds at most limit bytes. Items with a
    // file held open go last, and only their files not held. A failed
    // removal is logged with the system's reason and counted.
    static Trim trim(const QString& folder, qint64 limit);
    // The cache disk ran full: removes segment files the same way, items
    // played longest ago first, until the folder's file system has bytes
    // free or nothing more can go.
    static Trim makeRoom(const QString& folder, qint64 bytes);
    // Bytes free for this user on the folder's file system; -1 when unknown.
    static qint64 freeBytes(const QString& folder);
    // Removals that failed since the program started.
    static int failedRemovals();

private:
    // Removes files as trim() does until enough(what is left) holds.
    static Trim shrink(const QString& folder, qint64 limit, const std::function<bool(const Trim&)>& enough);
};
