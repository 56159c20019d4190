// Download manager: the commands start, pause and delete, and the counts
// and pages asked for by the lists.
#include "transfer/lvdownloadmanager.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include "core/dbhelp.h"
#include "core/tidewell.h"
#include "core/utils.h"
#include "transfer/lvdowntask.h"
#include "transfer/sourcestamp.h"

// ---------------------------------------------------------------- control

void LVDownloadManager::oStart()
{
    continueRunning();
}

void LVDownloadManager::oStop(bool isDelete)
{
    // Stopped by the user: nothing starts again by itself.
    m_stalled.clear();
    setIsRun(false);
    cancelPrefetch();
    writeDeferred();
    qDebug() << "------count---taskStop:" << m_tasks.size();
    for (LVDownTask* t : qAsConst(m_tasks))
        t->stopTask(isDelete);
    emit rStop();
}

void LVDownloadManager::doStopAll()
{
    setIsRun(false);
    cancelPrefetch();
    writeDeferred();
    for (LVDownTask* t : qAsConst(m_tasks))
        t->stopTask(false);
    clearQueues();
}

void LVDownloadManager::oAllStart()
{
    m_stallRetried.clear();
    m_db->startAllDownFile(device());
    emit sGetTotalNum();
    oStart();
}

void LVDownloadManager::oAllPause()
{
    m_db->pauseAllDownFile(device());
    clearQueues();
    oStop(false);
}

void LVDownloadManager::oAllDelete()
{
    m_db->deleteAllDownFile(device());
    clearQueues();
    for (auto it = m_tasks.cbegin(); it != m_tasks.cend(); ++it)
        m_deleting.insert(it.key());
    clearDirFiles(tmpDir());
    oStop(true);
    emit sGetTotalNum();
}

void LVDownloadManager::oStartFile(DownFileInfo fInfo)
{
    m_stallRetried.remove(taskKey(fInfo));
    fInfo.fileState = 2;
    fInfo.msg.clear();
    m_db->updateDownFileItemStatus(fInfo);
    if (fInfo.isFolder && !fInfo.isSubItem)
        fInfo.num = m_db->getDownSubFileNum(fInfo.fId);
    emit rDownloadStart(fInfo);
    continueRunning();
}

void LVDownloadManager::oStartFiles(QList<DownFileInfo> list)
{
    for (DownFileInfo f : list) {
        m_stallRetried.remove(taskKey(f));
        f.fileState = 2;
        f.msg.clear();
        m_db->updateDownFileItemStatus(f);
    }
    continueRunning();
}

void LVDownloadManager::stopTaskOf(const DownFileInfo& f, bool isDelete)
{
    const qint64 key = taskKey(f);
    LVDownTask* t = m_tasks.value(key);
    if (!t)
        return;
    if (isDelete)
        m_deleting.insert(key);
    t->stopTask(isDelete);
}

void LVDownloadManager::stopTasksOfFolder(int folderFId, bool isDelete)
{
    for (auto it = m_tasks.cbegin(); it != m_tasks.cend(); ++it) {
        const DownFileInfo f = it.value()->fileInfo();
        if (f.isSubItem && f.pId == folderFId) {
            if (isDelete)
                m_deleting.insert(it.key());
            it.value()->stopTask(isDelete);
        }
    }
}

void LVDownloadManager::oPauseFile(DownFileInfo fInfo)
{
    fInfo.fileState = 3;
    fInfo.speed = 0;
    m_db->updateDownFileItemStatus(fInfo);
    clearQueues();
    if (fInfo.isFolder && !fInfo.isSubItem) {
        fInfo.num = m_db->getDownSubFileNum(fInfo.fId);
        stopTasksOfFolder(fInfo.fId, false);
        if (m_curFolder.fId == fInfo.fId)
            m_curFolder.fileState = 3;
    }
    emit rDownloadPause(fInfo);
    stopTaskOf(fInfo, false);
}

void LVDownloadManager::oPauseFiles(QList<DownFileInfo> list)
{
    for (DownFileInfo f : list) {
        f.fileState = 3;
        m_db->updateDownFileItemStatus(f);
        if (f.isFolder && !f.isSubItem)
            stopTasksOfFolder(f.fId, false);
        stopTaskOf(f, false);
    }
    clearQueues();
    continueRunning();
}

void LVDownloadManager::removeTempFiles(const DownFileInfo& entry)
{
    const QString dir = tmpDir();
    auto removeFor = [&dir](const DownFileInfo& f) {
        QString tmp;
        if (!f.isFolder && f.getTempPath(tmp, dir)) {
            if (QFileInfo::exists(tmp))
                QFile::remove(tmp);
            SourceStamp::remove(tmp);
            LVDownTask::retireDestMark(tmp);
        }
    };
    if (!entry.isFolder || entry.isSubItem) {
        removeFor(entry);
        return;
    }
    // Partial files of a folder belong to the sub-entries under way (the
    // oldest waiting or paused ones) and to failed ones.
    QList<DownFileInfo> subs;
    m_db->getTopDwonSubFileList(entry, subs);
    for (const DownFileInfo& s : qAsConst(subs))
        removeFor(s);
    for (int page = 1;; ++page) {
        QList<DownFileInfo> failed;
        if (!m_db->getDownFailFileList(page, 200, entry, failed) || failed.isEmpty())
            break;
        for (DownFileInfo s : qAsConst(failed)) {
            s.isSubItem = true;
            removeFor(s);
        }
        if (failed.size() < 200)
            break;
    }
}

void LVDownloadManager::oDeleteFile(DownFileInfo fInfo)
{
    if (!m_tasks.contains(taskKey(fInfo)))
        removeTempFiles(fInfo);
    else if (fInfo.isFolder && !fInfo.isSubItem)
        removeTempFiles(fInfo);
    if (fInfo.isFolder && !fInfo.isSubItem)
        stopTasksOfFolder(fInfo.fId, true);
    m_db->deleteDownFile(fInfo);
    clearQueues();
    emit rDownloadFinish(fInfo);
    stopTaskOf(fInfo, true);
}

void LVDownloadManager::oDeleteFiles(QList<DownFileInfo> list)
{
    for (const DownFileInfo& f : list) {
        removeTempFiles(f);
        if (f.isFolder && !f.isSubItem)
            stopTasksOfFolder(f.fId, true);
        m_db->deleteDownFile(f);
        stopTaskOf(f, true);
    }
    clearQueues();
    continueRunning();
}

void LVDownloadManager::oGetTotalNum()
{
    int num = 0;
    const bool ok = m_db && m_db->getDownFileTotalNum(device(), num);
    if (ok)
        m_total = num;
    if (m_owner)
        m_owner->notifyDownTaskNum();
    emit rGetTotalNum(ok, num);
}

void LVDownloadManager::oDownFileList(int pageIndex, int pageSize)
{
    QList<DownFileInfo> list;
    const bool ok = m_db && m_db->getDownFileList(pageIndex, pageSize, device(), list);
    for (DownFileInfo& f : list)
        if (f.isFolder)
            f.num = m_db->getDownSubFileNum(f.fId);
    emit rDownFileList(ok ? 1 : 0, list);
}
