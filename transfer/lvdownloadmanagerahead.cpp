// Download manager: running a folder's small files back to back (the next
// file fetched ahead, the store written in batches).
#include "transfer/lvdownloadmanager.h"

#include <QDebug>
#include <QTimer>

#include "core/dbhelp.h"
#include "transfer/lvdowntask.h"

namespace {
// Entries up to this size run on the manager's thread.
const qint64 kShortEntryBytes = 1024 * 1024;
// The starts and finishes of a folder's files are written together, at
// the latest after this many files or this long.
const int kDeferFiles = 64;
const int kDeferMs = 50;
}

LVDownTask* LVDownloadManager::newTask(const DownFileInfo& entry)
{
    // A small file is done in about the time two hand-overs between threads
    // take, so it runs on this thread; a large one may be copied whole
    // across file systems at the end, which would hold up this thread.
    LVDownTask* task = new LVDownTask(entry.fileSize <= kShortEntryBytes ? m_thread : m_taskThread);
    task->init(m_owner);
    task->setTmpDir(tmpDir());
    return task;
}

// The running file of the current folder has all its bytes: the transfers
// of the next small files start while this one is moved into place and
// recorded. Each is admitted (and its start recorded) only in its turn, so
// what is stored and its order stay as when one file ran after the other.
void LVDownloadManager::prefetchNext()
{
    // Only after a file of the folder being worked off.
    const LVDownTask* done = qobject_cast<const LVDownTask*>(sender());
    if (m_prefetch.size() >= kFilesAhead || !m_run || !done || !done->fileInfo().isSubItem
        || done->fileInfo().pId != m_curFolder.fId || m_curFolder.isSubItem || !m_curFolder.isFolder
        || m_curFolder.fileState == 3)
        return;
    if (m_subQueue.isEmpty() && getDownloadSubData(m_curFolder) == 0)
        return;
    // The files ahead are the first ones waiting, in order; if those changed,
    // the ones fetched ahead go when their turn does not come.
    for (int i = 0; i < m_prefetch.size(); ++i)
        if (i >= m_subQueue.size() || taskKey(m_prefetch.at(i)->fileInfo()) != taskKey(m_subQueue.at(i)))
            return;
    // One that cannot be fetched ahead ends the run of them.
    for (int i = m_prefetch.size(); i < kFilesAhead && i < m_subQueue.size(); ++i) {
        const DownFileInfo& next = m_subQueue.at(i);
        if (next.pId != m_curFolder.fId || isWalkMark(next) || next.isFolder || next.fileSize <= 0
            || next.fileSize > kShortEntryBytes || m_tasks.contains(taskKey(next))
            || m_deleting.contains(taskKey(next)))
            return;
        LVDownTask* task = m_spareTasks.isEmpty() ? newTask(next) : m_spareTasks.takeLast();
        m_prefetch.append(task);
        task->prefetch(next);
    }
}

// The starts and finishes of a run of a folder's files go to the store in
// batches of one transaction each, in their order. The mark of a file moved
// into place stays until its finish is written, so a kill before that loses
// nothing: the next start finds the file in place.
void LVDownloadManager::deferredStep(bool fileDone)
{
    if (!m_deferring) {
        m_deferring = true;
        m_deferClock.start();
        if (!m_deferTimer) {
            m_deferTimer = new QTimer;
            m_deferTimer->setSingleShot(true);
            connect(m_deferTimer, &QTimer::timeout, this, [this] { writeDeferred(); });
        }
        m_deferTimer->start(kDeferMs);
    }
    if (fileDone)
        ++m_deferredFiles;
    if (m_deferredFiles >= kDeferFiles || m_deferClock.elapsed() >= kDeferMs)
        writeDeferred();
}

bool LVDownloadManager::writeDeferred()
{
    if (m_deferTimer)
        m_deferTimer->stop();
    m_deferring = false;
    m_deferredFiles = 0;
    const QStringList marks = m_marksToRetire;
    m_marksToRetire.clear();
    if (!m_db)
        return false;
    if (!m_db->writeDeferred()) {
        // The files stay in place with their marks; their rows are read
        // again and finish without another transfer.
        qWarning() << "LVDownloadManager - the files just finished could not be recorded;"
                   << marks.size() << "are taken up again";
        m_numLeft = -1;
        m_subQueue.clear();
        cancelPrefetch();
        return false;
    }
    LVDownTask::retireDestMarks(marks);
    return true;
}

void LVDownloadManager::cancelPrefetch()
{
    const QList<LVDownTask*> ahead = m_prefetch;
    m_prefetch.clear();
    for (LVDownTask* t : ahead) {
        t->disconnect(this);
        // Stopped here and now, so nothing more lands in its temporary file.
        delete t;
    }
}
