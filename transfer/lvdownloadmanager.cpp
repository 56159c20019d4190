#include "transfer/lvdownloadmanager.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include "core/dbhelp.h"
#include "core/safepath.h"
#include "core/tidewell.h"
#include "core/transferfields.h"
#include "core/utils.h"
#include "transfer/filesdatataskhelp.h"
#include "transfer/lvdowntask.h"
#include "transfer/outagepacing.h"

namespace {
const int kMaxWalkRetryMs = 5000;
// Sub-rows read ahead at a time: one query per file costs as much as a
// small file's own store writes.
const int kSubRowsAhead = 64;
// While the files of one folder run, the entry count is kept this long:
// only this manager's finishes of sub-rows change the queue then, and they
// do not change the count of entries.
const int kKeepTotalMs = 1000;

// Waiting top-level entries for the chosen items of one source kind.
template <class Item>
QList<DownFileInfo> newEntries(const QList<Item>& items, const DeviceInfo& dev,
                               const NetworkShare& share, const QString& savePath, int fileType)
{
    QList<DownFileInfo> list;
    for (const Item& item : items) {
        DownFileInfo f = DownFileInfo::fromItem(item);
        if (f.ower.isEmpty())
            f.ower = dev.accessId;
        f.accessId = dev.accessId;
        f.deviceId = dev.deviceId;
        f.savePath = savePath;
        f.shareId = share.shareId;
        f.extractedCode = share.extractedCode;
        f.fileType = fileType;
        f.fileState = 2;
        list.append(f);
    }
    return list;
}
}

LVDownloadManager::LVDownloadManager()
{
    qRegisterMetaType<DownFileInfo>("DownFileInfo");
    qRegisterMetaType<QList<DownFileInfo>>("QList<DownFileInfo>");
    qRegisterMetaType<TW_HANDLE>("TW_HANDLE");
    qRegisterMetaType<NetworkShare>("NetworkShare");
    m_thread = new QThread;
    m_thread->setObjectName("LVDownloadManager");
    moveToThread(m_thread);
    m_thread->start();
}

LVDownloadManager::~LVDownloadManager()
{
    m_abortWalk = true;
    // Tasks, walker and database belong to the manager's thread; they are
    // taken down there, then the thread ends.
    if (QThread::currentThread() == m_thread || !m_thread->isRunning())
        shutdown();
    else
        QMetaObject::invokeMethod(this, [this] { shutdown(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

void LVDownloadManager::shutdown()
{
    m_run = false;
    cancelPrefetch();
    qDeleteAll(m_spareTasks);
    m_spareTasks.clear();
    writeDeferred();
    delete m_deferTimer;
    m_deferTimer = nullptr;
    for (LVDownTask* t : qAsConst(m_tasks)) {
        t->disconnect(this);
        delete t;
    }
    m_tasks.clear();
    if (m_taskThread) {
        m_taskThread->quit();
        m_taskThread->wait();
        delete m_taskThread;
        m_taskThread = nullptr;
    }
    delete m_walker;
    m_walker = nullptr;
    delete m_db;
    m_db = nullptr;
}

bool LVDownloadManager::init(Tidewell* owner)
{
    if (!owner)
        return false;
    m_owner = owner;
    if (!m_db) {
        m_db = new DBHelp(DBHelp::Download);
        m_taskThread = new QThread;
        m_taskThread->setObjectName("LVDownTask");
        m_taskThread->start();
        m_walker = new FilesDataTaskHelp;
        m_walker->init(owner);
        m_walker->setInterruptFlag(&m_abortWalk);
        m_walker->moveToThread(m_thread);

        connect(this, &LVDownloadManager::sStart, this, &LVDownloadManager::oStart);
        connect(this, &LVDownloadManager::sStop, this, &LVDownloadManager::oStop);
        connect(this, &LVDownloadManager::sAllStart, this, &LVDownloadManager::oAllStart);
        connect(this, &LVDownloadManager::sAllPause, this, &LVDownloadManager::oAllPause);
        connect(this, &LVDownloadManager::sAllDelete, this, &LVDownloadManager::oAllDelete);
        connect(this, &LVDownloadManager::sStartFiles, this, &LVDownloadManager::oStartFiles);
        connect(this, &LVDownloadManager::sPauseFiles, this, &LVDownloadManager::oPauseFiles);
        connect(this, &LVDownloadManager::sDeleteFiles, this, &LVDownloadManager::oDeleteFiles);
        connect(this, &LVDownloadManager::sStartFile, this, &LVDownloadManager::oStartFile);
        connect(this, &LVDownloadManager::sPauseFile, this, &LVDownloadManager::oPauseFile);
        connect(this, &LVDownloadManager::sDeleteFile, this, &LVDownloadManager::oDeleteFile);
        connect(this, &LVDownloadManager::sGetTotalNum, this, &LVDownloadManager::oGetTotalNum);
        connect(this, &LVDownloadManager::sDownFileList, this, &LVDownloadManager::oDownFileList);
        connect(this, &LVDownloadManager::sAddDownFiles, this, &LVDownloadManager::oAddDownFiles);
        // Always through the event loop: scheduling never recurses into itself.
        connect(this, &LVDownloadManager::sNextFile, this, &LVDownloadManager::oNextFile,
                Qt::QueuedConnection);
        // Stopping, pausing and deleting cut a folder expansion short at
        // once, also when the request signal is emitted directly (the list
        // models do): the flag is set on the sender's thread.
        const auto abortWalk = [this] { m_abortWalk = true; };
        connect(this, &LVDownloadManager::sStop, this, abortWalk, Qt::DirectConnection);
        connect(this, &LVDownloadManager::sAllPause, this, abortWalk, Qt::DirectConnection);
        connect(this, &LVDownloadManager::sAllDelete, this, abortWalk, Qt::DirectConnection);
        connect(this, &LVDownloadManager::sPauseFiles, this, abortWalk, Qt::DirectConnection);
        connect(this, &LVDownloadManager::sDeleteFiles, this, abortWalk, Qt::DirectConnection);
        connect(this, &LVDownloadManager::sPauseFile, this, abortWalk, Qt::DirectConnection);
        connect(this, &LVDownloadManager::sDeleteFile, this, abortWalk, Qt::DirectConnection);
    }
    return true;
}

// ---------------------------------------------------------------- caller side

bool LVDownloadManager::addDownFiles(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items,
                                     int fileType)
{
    return addShareDownFiles(handle, NetworkShare(), savePath, items, fileType);
}

bool LVDownloadManager::addDownFilesPlain(TW_HANDLE handle, QString savePath, QList<TwFileInfo> items)
{
    return addDownFiles(handle, savePath, items, 0);
}

bool LVDownloadManager::addShareDownFiles(TW_HANDLE handle, NetworkShare share, QString savePath,
                                          QList<TwFileInfo> items, int fileType)
{
    if (items.isEmpty() || !m_owner)
        return false;
    const QList<DownFileInfo> list = newEntries(items, device(), share, savePath, fileType);
    emit sAddDownFiles(handle, savePath, list, fileType);
    return true;
}

bool LVDownloadManager::addDownUsbFiles(TW_HANDLE handle, QString savePath,
                                        QList<LocalFileInfo> items, int diskKind)
{
    if (items.isEmpty() || !m_owner)
        return false;
    qDebug() << "-------addDownUsbFiles:" << items.size();
    const int kind = diskKind == 2 ? 3 : diskKind == 3 ? 4 : 2;
    const QList<DownFileInfo> list = newEntries(items, device(), NetworkShare(), savePath, kind);
    emit sAddDownFiles(handle, savePath, list, kind);
    return true;
}

void LVDownloadManager::start()
{
    if (!m_run)
        emit sStart();
}

void LVDownloadManager::stopAll()
{
    // Seen at once by isRun(); the queues and tasks are handled on the
    // manager's own thread.
    m_run = false;
    m_abortWalk = true;
    QMetaObject::invokeMethod(this, [this] { doStopAll(); }, Qt::AutoConnection);
}

bool LVDownloadManager::isRun() const
{
    return m_run;
}

int LVDownloadManager::totalNum() const
{
    return m_total;
}

// Pausing and deleting cut a running folder expansion short, so they take
// effect at once.
void LVDownloadManager::allStart() { emit sAllStart(); }
void LVDownloadManager::allPause() { m_abortWalk = true; emit sAllPause(); }
void LVDownloadManager::allDelete() { m_abortWalk = true; emit sAllDelete(); }
void LVDownloadManager::startFile(DownFileInfo fInfo) { emit sStartFile(fInfo); }
void LVDownloadManager::startFiles(QList<DownFileInfo> list) { emit sStartFiles(list); }
void LVDownloadManager::pauseFile(DownFileInfo fInfo) { m_abortWalk = true; emit sPauseFile(fInfo); }
void LVDownloadManager::pauseFiles(QList<DownFileInfo> list) { m_abortWalk = true; emit sPauseFiles(list); }
void LVDownloadManager::deleteFile(DownFileInfo fInfo) { m_abortWalk = true; emit sDeleteFile(fInfo); }
void LVDownloadManager::deleteFiles(QList<DownFileInfo> list) { m_abortWalk = true; emit sDeleteFiles(list); }
void LVDownloadManager::getTotalNum() { emit sGetTotalNum(); }

QString LVDownloadManager::tmpDir() const
{
    const DeviceInfo dev = device();
    const QString key = dev.accessId + "|" + dev.deviceId;
    QMutexLocker lock(&m_tmpMutex);
    if (m_tmpDir.isEmpty() || key != m_tmpKey) {
        m_tmpKey = key;
        m_tmpDir = getTmpPath() + "/" + md5String(key);
    }
    return m_tmpDir;
}

DeviceInfo LVDownloadManager::device() const
{
    return m_owner ? m_owner->currentDevice() : DeviceInfo();
}

qint64 LVDownloadManager::taskKey(const DownFileInfo& f)
{
    return (f.isSubItem ? (qint64(1) << 32) : 0) | quint32(f.fId);
}

// ---------------------------------------------------------------- scheduling

void LVDownloadManager::setIsRun(bool flag)
{
    m_run = flag;
    if (m_owner)
        m_owner->notifyDownRun(flag);
    qDebug() << "setIsRun:" << flag;
}

void LVDownloadManager::clearQueues()
{
    m_pending.clear();
    m_subQueue.clear();
    m_numLeft = -1;
    m_totalKeptFor = 0;
    cancelPrefetch();
}

// Counting a folder's sub-rows walks all of them; between two files of a
// folder only the finish of the first changes the count.
int LVDownloadManager::subFileNum(int folderFId)
{
    if (m_numLeft < 0 || m_numFolder != folderFId) {
        m_numFolder = folderFId;
        m_numLeft = m_db->getDownSubFileNum(folderFId);
    }
    return m_numLeft;
}

void LVDownloadManager::startRunning()
{
    m_finishedAny = false;
    setIsRun(true);
    clearQueues();
    checkFinish();
}

// Shared tail of the requests that (re)start the queue.
void LVDownloadManager::continueRunning()
{
    emit sGetTotalNum();
    if (m_run) {
        emit rStart();
        emit sNextFile();
    } else {
        startRunning();
        emit rStart();
    }
}

void LVDownloadManager::checkFinish()
{
    if (!m_run)
        return;
    if (m_pending.isEmpty())
        loadTopDownFiles();
    if (!m_pending.isEmpty()) {
        emit sNextFile();
        return;
    }
    if (!m_tasks.isEmpty())
        return;
    writeDeferred();
    int total = 0;
    if (m_db && m_db->getDownFileTotalNum(device(), total))
        m_total = total;
    if (m_total < 1 && m_finishedAny) {
        // Only this manager's folder: other tabs and the preview downloads
        // keep their running files.
        clearDirFiles(tmpDir());
        if (m_owner)
            m_owner->notifyStatus(1, tr("File download success"), 1);
    }
    m_finishedAny = false;
    setIsRun(false);
    emit rStop();
    if (!m_stalled.isEmpty())
        probeStalledLater();
}

void LVDownloadManager::loadTopDownFiles()
{
    QList<DownFileInfo> rows;
    if (!m_db || !m_db->getTopDownFileList(device(), rows))
        return;
    for (const DownFileInfo& r : qAsConst(rows))
        if (!m_tasks.contains(taskKey(r)))
            m_pending.append(r);
}

int LVDownloadManager::getDownloadSubData(const DownFileInfo& folder)
{
    if (!m_subQueue.isEmpty())
        return m_subQueue.size();
    QList<DownFileInfo> rows;
    m_db->getTopDwonSubFileList(folder, rows, kSubRowsAhead);
    for (DownFileInfo r : qAsConst(rows)) {
        if (m_tasks.contains(taskKey(r)))
            continue;
        r.accessId = folder.accessId;
        r.deviceId = folder.deviceId;
        r.fileCatetory = 0;
        m_subQueue.append(r);
    }
    qDebug() << "getDownloadSubData:" << rows.size() << m_subQueue.size();
    return rows.size();
}

void LVDownloadManager::oNextFile()
{
    const bool totalKept = m_totalKeptFor != 0 && !m_pending.isEmpty()
                           && m_pending.first().fId == m_totalKeptFor
                           && m_totalClock.isValid() && m_totalClock.elapsed() < kKeepTotalMs;
    if (!totalKept) {
        m_totalKeptFor = 0;
        emit sGetTotalNum();
    }
    if (m_pending.isEmpty()) {
        checkFinish();
        return;
    }
    if (!m_run)
        return;
    if (!m_tasks.isEmpty())
        return;   // one entry at a time

    DownFileInfo head = m_pending.first();
    if (m_tasks.contains(taskKey(head))) {
        m_pending.removeFirst();
        emit sNextFile();
        return;
    }
    qDebug() << "nextFile:--------------" << head.fileName;

    if (!head.isFolder) {
        m_pending.removeFirst();
        head.fileState = 1;
        m_db->updateDownFileStatus(head, false);
        emit rDownloadStart(head);
        downloadData(head);
        return;
    }

    m_curFolder = head;
    const int count = getDownloadSubData(head);
    qDebug() << "getDownloadSubData:" << count;
    if (count > 0) {
        qDebug() << "has download file.------begin------";
        if (m_subQueue.isEmpty()) {
            m_curFolder.fileState = 1;
            m_curFolder.num = m_db->getDownSubFileNum(m_curFolder.fId);
            emit rDownloadStart(m_curFolder);
            return;
        }
        const DownFileInfo sub = m_subQueue.takeFirst();
        m_curSub = sub;
        if (m_tasks.contains(taskKey(sub))) {
            emit sNextFile();
            return;
        }
        if (isWalkMark(sub)) {
            m_abortWalk = false;
            const bool listed = expandWalkMark(sub);
            m_subQueue.clear();
            if (!listed && !m_abortWalk && m_run) {
                // The device is away: try the folder again a little later,
                // or at the owner's next start when it is not connected.
                if (m_owner
                    && !m_owner->linkOnline(NetworkShare(1, sub.shareId, sub.extractedCode))) {
                    setIsRun(false);
                    emit rStop();
                    return;
                }
                m_walkRetryMs = qMin(kMaxWalkRetryMs, qMax(1000, m_walkRetryMs * 2));
                QTimer::singleShot(m_walkRetryMs, this, [this] {
                    if (m_run)
                        emit sNextFile();
                });
                return;
            }
            m_walkRetryMs = 0;
            emit sNextFile();
            return;
        }
        if (m_totalKeptFor != m_curFolder.fId) {
            m_totalKeptFor = m_curFolder.fId;
            m_totalClock.start();
        }
        showStartingFile(m_curFolder, sub);
        m_curFolder.msg.clear();
        m_curFolder.num = subFileNum(m_curFolder.fId);
        m_db->deferDownFileStatus(m_curFolder, true);
        deferredStep(false);
        emit rDownloadStart(m_curFolder);
        downloadData(sub);
        return;
    }

    m_pending.clear();
    writeDeferred();
    qDebug() << "no download sub file.------------";
    QList<DownFileInfo> left;
    m_db->haspDwonSubFileList(m_curFolder, left);
    if (left.isEmpty()) {
        DownFileInfo row;
        if (m_db->getDownFileWidthFId(m_curFolder.fId, row))
            m_curFolder.saveName = row.saveName;
        m_curFolder.fileState = 5;
        m_curFolder.num = 0;
        m_db->updateDownFileItemStatus(m_curFolder);
        emit rDownloadFinish(m_curFolder);
        // Also when its last file was recorded by an earlier run.
        m_finishedAny = true;
        qDebug() << "no download sub file.------finish------";
    } else {
        showFailedFile(m_curFolder, left.first());
        m_curFolder.num = m_db->getDownSubFileNum(m_curFolder.fId);
        // Each failed file keeps its own message.
        m_db->updateDownFileStatus(m_curFolder, true);
        emit rDownloadError(m_curFolder);
        qDebug() << "no download sub file.------error------";
    }
    emit sNextFile();
}

void LVDownloadManager::downloadData(const DownFileInfo& entry)
{
    if (!m_run)
        return;
    qDebug() << "LVDownloadManager::downloadData---------" << entry.fileName;

    QString topName;
    if (entry.isSubItem) {
        DownFileInfo folder;
        // The folder's local name, once chosen, is known without reading its
        // row again for every file.
        const bool known = m_curFolder.fId == entry.pId && !m_curFolder.isSubItem
                           && !m_curFolder.saveName.isEmpty();
        if (known)
            folder = m_curFolder;
        if (known || m_db->getDownFileWidthFId(entry.pId, folder)) {
            if (!known)
                keepFolderName(folder.fId, folder.saveName);
            if (!folder.saveName.isEmpty()) {
                const QString safe = SafePath::safeName(folder.saveName);
                const QString path = folder.savePath + "/" + safe;
                if (!safe.isEmpty() && SafePath::isInside(folder.savePath, path)) {
                    // Made once for the run of its files; a file's own task
                    // makes it again if it went missing meanwhile.
                    if (path != m_madeFolder && QDir().mkpath(path))
                        m_madeFolder = path;
                    topName = safe;
                }
            } else if (folder.newFolderName(topName, 0)) {
                if (m_db->updateDownFileSaveName(folder.fId, topName))
                    keepFolderName(folder.fId, topName);
            } else {
                qWarning() << "LVDownloadManager::downloadData - no local folder for"
                           << folder.fileName;
            }
        }
    }

    LVDownTask* task = nullptr;
    if (!m_prefetch.isEmpty() && taskKey(m_prefetch.first()->fileInfo()) == taskKey(entry)) {
        task = m_prefetch.takeFirst();
    } else {
        cancelPrefetch();
        task = newTask(entry);
    }
    task->setParentName(topName);
    // Queued also on this thread: a report never re-enters the scheduling.
    const auto queued = Qt::QueuedConnection;
    connect(task, &LVDownTask::rDownProgress, this, &LVDownloadManager::onDownProgress, queued);
    connect(task, &LVDownTask::rDownFinish, this, &LVDownloadManager::onDownFinish, queued);
    connect(task, &LVDownTask::rDownPause, this, &LVDownloadManager::onDownPause, queued);
    connect(task, &LVDownTask::rDownError, this, &LVDownloadManager::onDownError, queued);
    connect(task, &LVDownTask::rDownWait, this, &LVDownloadManager::onDownWait, queued);
    if (task->thread() == m_thread)
        connect(task, &LVDownTask::rTransferDone, this, &LVDownloadManager::prefetchNext,
                Qt::DirectConnection);
    m_tasks.insert(taskKey(entry), task);
    if (task->thread() == m_thread)
        task->admit(entry);
    else
        task->startTask(entry);
    // The task for the next small file is made while this one's bytes come,
    // not when they are all there.
    if (entry.isSubItem && task->thread() == m_thread && m_spareTasks.isEmpty() && m_run)
        m_spareTasks.append(newTask(entry));
    emit sNextFile();
}

// The queued copies of the folder's row take its local name, so the next
// file of the folder finds it without reading the row again.
void LVDownloadManager::keepFolderName(int folderFId, const QString& name)
{
    if (name.isEmpty())
        return;
    if (m_curFolder.fId == folderFId && !m_curFolder.isSubItem)
        m_curFolder.saveName = name;
    for (DownFileInfo& f : m_pending)
        if (f.fId == folderFId)
            f.saveName = name;
}

// ---------------------------------------------------------------- task reports

// Reports of a task that was already replaced or removed are dropped.
bool LVDownloadManager::isCurrentTask(const DownFileInfo& f)
{
    LVDownTask* t = m_tasks.value(taskKey(f));
    return t && (!sender() || sender() == t);
}

// The entry was deleted while its task ran: the task only has to go.
bool LVDownloadManager::takeDeleted(const DownFileInfo& f)
{
    const qint64 key = taskKey(f);
    if (!m_deleting.contains(key))
        return false;
    m_deleting.remove(key);
    onRemoveTask(key);
    emit sNextFile();
    return true;
}

DownFileInfo LVDownloadManager::folderOf(const DownFileInfo& sub)
{
    if (m_curFolder.fId == sub.pId && !m_curFolder.isSubItem)
        return m_curFolder;
    DownFileInfo row;
    m_db->getDownFileWidthFId(sub.pId, row);
    return row;
}

void LVDownloadManager::removeDestMark(const DownFileInfo& f)
{
    QString tmp;
    if (!f.isFolder && f.getTempPath(tmp, tmpDir()))
        LVDownTask::retireDestMark(tmp);
}

void LVDownloadManager::onDownProgress(DownFileInfo fInfo)
{
    if (!isCurrentTask(fInfo) || m_deleting.contains(taskKey(fInfo)))
        return;
    if (fInfo.isSubItem) {
        if (m_curFolder.fId != fInfo.pId)
            return;
        showRunningFile(m_curFolder, fInfo);
        emit rDownloadProgress(m_curFolder);
    } else {
        emit rDownloadProgress(fInfo);
    }
}

void LVDownloadManager::onDownFinish(DownFileInfo fInfo)
{
    if (!isCurrentTask(fInfo))
        return;
    if (m_deleting.contains(taskKey(fInfo))) {
        // Finished before the stop arrived: the entry is gone, so is its file.
        if (!fInfo.isFolder && QFileInfo(fInfo.savePath).isFile())
            QFile::remove(fInfo.savePath);
        removeDestMark(fInfo);
        takeDeleted(fInfo);
        return;
    }
    qDebug() << "downloadFinish----------" << fInfo.fileName << "   " << fInfo.taskId;
    fInfo.fileState = 5;
    if (fInfo.isSubItem) {
        m_db->deferDownFileStatus(fInfo, false);
        if (m_numFolder == fInfo.pId && m_numLeft > 0)
            --m_numLeft;
        // The mark of the move into place goes only once the finish is written.
        QString tmp;
        if (!fInfo.isFolder && fInfo.getTempPath(tmp, tmpDir()))
            m_marksToRetire.append(tmp);
        deferredStep(true);
    } else {
        writeDeferred();
        if (!m_db->updateDownFileItemStatus(fInfo))
            m_numLeft = -1;
        else
            removeDestMark(fInfo);
    }
    if (fInfo.isSubItem) {
        DownFileInfo folder = folderOf(fInfo);
        folder.fileState = 1;
        folder.num = subFileNum(folder.fId);
        if (m_curFolder.fId == folder.fId)
            m_curFolder = folder;
        emit rDownloadStart(folder);
    } else {
        emit rDownloadFinish(fInfo);
    }
    m_finishedAny = true;
    onRemoveTask(taskKey(fInfo));
    qDebug() << "LVDownloadManager::downloadFinish end-----------";
    // Bytes moved again: what failed for want of them is tried again.
    if (!fInfo.isFolder && fInfo.fileSize > 0)
        retryStalled();
    emit sNextFile();
}

void LVDownloadManager::onDownPause(DownFileInfo fInfo)
{
    if (!isCurrentTask(fInfo) || takeDeleted(fInfo))
        return;
    writeDeferred();
    qDebug() << "LVDownloadManager::onDownPause-----------";
    fInfo.fileState = 3;
    m_db->updateDownFileItemStatus(fInfo);
    bool folderPaused = false;
    if (fInfo.isSubItem) {
        DownFileInfo row;
        if (m_db->getDownFileWidthFId(fInfo.pId, row) && row.fileState == 3) {
            folderPaused = true;
            if (m_curFolder.fId == row.fId) {
                m_curFolder.fileState = 3;
                m_curFolder.speed = 0;
                row = m_curFolder;
            }
            emit rDownloadPause(row);
        }
    }
    if (!folderPaused)
        emit rDownloadPause(fInfo);
    onRemoveTask(taskKey(fInfo));
    emit sNextFile();
}

void LVDownloadManager::onDownError(DownFileInfo fInfo)
{
    if (!isCurrentTask(fInfo) || takeDeleted(fInfo))
        return;
    writeDeferred();
    qDebug() << "LVDownloadManager::onDownError start-----------";
    fInfo.fileState = 4;
    m_db->updateDownFileItemStatus(fInfo);
    if (const LVDownTask* t = m_tasks.value(taskKey(fInfo)); t && t->failedByStall())
        noteStallFailure(fInfo);
    if (!fInfo.isSubItem)
        emit rDownloadError(fInfo);
    else
        m_subQueue.clear();
    onRemoveTask(taskKey(fInfo));
    qDebug() << "LVDownloadManager::onDownError end-----------";
    emit sNextFile();
}

// The device could not be reached while the owner was not connected: the
// entry waits, and so does the queue until the owner's next start.
void LVDownloadManager::onDownWait(DownFileInfo fInfo)
{
    if (!isCurrentTask(fInfo) || takeDeleted(fInfo))
        return;
    writeDeferred();
    qDebug() << "LVDownloadManager::onDownWait - device away, queue waits:" << fInfo.fileName;
    fInfo.fileState = 2;
    m_db->updateDownFileItemStatus(fInfo);
    if (!fInfo.isSubItem)
        emit rDownloadStart(fInfo);
    onRemoveTask(taskKey(fInfo));
    clearQueues();
    if (m_tasks.isEmpty() && m_run) {
        setIsRun(false);
        emit rStop();
        // The owner's start may have come while the queue was going idle.
        const NetworkShare share(1, fInfo.shareId, fInfo.extractedCode);
        QTimer::singleShot(OutagePacing::kRecheckMs, this, [this, share] {
            if (!m_run && OutagePacing::ownerConnected(m_owner, share)) {
                qDebug() << "LVDownloadManager - connected again, resuming";
                continueRunning();
            }
        });
    }
}

void LVDownloadManager::noteStallFailure(const DownFileInfo& f)
{
    const qint64 key = taskKey(f);
    if (m_stallRetried.contains(key))
        return;
    qDebug() << "LVDownloadManager - " << f.fileName << "failed for a stall; tried again once bytes move";
    m_stalled.insert(key, f);
}

void LVDownloadManager::retryStalled()
{
    if (m_stalled.isEmpty())
        return;
    const QMap<qint64, DownFileInfo> stalled = m_stalled;
    m_stalled.clear();
    bool any = false;
    for (auto it = stalled.cbegin(); it != stalled.cend(); ++it) {
        DownFileInfo f = it.value();
        // Only while it is still there and still failed.
        DownFileInfo top;
        if (!m_db->getDownFileWidthFId(f.isSubItem ? f.pId : f.fId, top)
            || (!f.isSubItem && top.fileState != 4))
            continue;
        m_stallRetried.insert(it.key());
        qDebug() << "LVDownloadManager - the device sends again, trying" << f.fileName << "again";
        f.fileState = 2;
        f.msg.clear();
        f.speed = 0;
        if (!f.isSubItem) {
            m_db->updateDownFileItemStatus(f);
            emit rDownloadStart(f);
        } else {
            m_db->updateDownFileStatus(f, true);
            if (top.fileState == 4) {
                // The folder had ended with this file failed: it runs again.
                top.fileState = 2;
                top.msg.clear();
                m_db->updateDownFileStatus(top, true);
                top.num = m_db->getDownSubFileNum(top.fId);
                emit rDownloadStart(top);
            }
        }
        any = true;
    }
    if (any) {
        m_subQueue.clear();
        m_numLeft = -1;
    }
}

void LVDownloadManager::probeStalledLater()
{
    if (m_stallProbePending)
        return;
    m_stallProbePending = true;
    QTimer::singleShot(OutagePacing::capped(kStallProbeMs), this, [this] { probeStalled(); });
}

void LVDownloadManager::probeStalled()
{
    m_stallProbePending = false;
    if (m_run || m_stalled.isEmpty())
        return;
    const DownFileInfo any = m_stalled.first();
    const NetworkShare share(1, any.shareId, any.extractedCode);
    if (!OutagePacing::ownerConnected(m_owner, share) || !OutagePacing::deviceAnswers(m_owner, share)) {
        probeStalledLater();
        return;
    }
    qDebug() << "LVDownloadManager - the device answers; trying the" << m_stalled.size()
             << "stalled files again";
    retryStalled();
    continueRunning();
}

void LVDownloadManager::onRemoveTask(qint64 key)
{
    LVDownTask* t = m_tasks.take(key);
    if (t) {
        t->disconnect(this);
        // A small file's task whose run is over serves a next small file.
        if (m_spareTasks.size() < kFilesAhead && m_run && t->thread() == m_thread && t->isIdle()) {
            m_spareTasks.append(t);
            return;
        }
        // Its run has ended and its library task is given back; the rest
        // goes on the task thread without holding up the next entry.
        t->deleteLater();
    }
}
