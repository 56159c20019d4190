#include "transfer/lvuploadmanager.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QThread>
#include <QTimer>

#include "core/dbhelp.h"
#include "core/tidewell.h"
#include "core/transferfields.h"
#include "core/utils.h"
#include "sdk/tidewell_network_sdk.h"
#include "transfer/lvuploadtask.h"
#include "transfer/uploadstamp.h"

namespace {

QString localPathOf(const QUrl& url)
{
    QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    if (path.isEmpty() && url.scheme().isEmpty())
        path = url.path();
    if (path.length() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

} // namespace

LVUploadManager::LVUploadManager(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<UploadFileInfo>("UploadFileInfo");
    qRegisterMetaType<QList<UploadFileInfo>>("QList<UploadFileInfo>");
    qRegisterMetaType<TwFolderInfo>("TwFolderInfo");
    qRegisterMetaType<QList<QUrl>>("QList<QUrl>");
    m_thread = new QThread;
    moveToThread(m_thread);
    m_thread->start();
    m_taskThread = new QThread;
    m_taskThread->setObjectName("LVUploadTask");
    m_taskThread->start();
}

LVUploadManager::~LVUploadManager()
{
    // Each task stops its hash and library upload; the entries keep their
    // state, task id and digest, so a new manager continues them. The tasks
    // on this manager's thread go there (their timers belong to it), as its
    // last event; if it was ended already, they go below with the others.
    // Reports queued before it are still stored; nothing new starts.
    m_running = false;
    QMetaObject::invokeMethod(this, [this] {
        QList<LVUploadTask*> here;
        {
            QMutexLocker l(&m_lock);
            for (auto it = m_tasks.begin(); it != m_tasks.end();) {
                if (it.value()->thread() == m_thread) {
                    here << it.value();
                    it = m_tasks.erase(it);
                } else {
                    ++it;
                }
            }
        }
        qDeleteAll(here);
        m_thread->quit();
    }, Qt::QueuedConnection);
    m_thread->wait();
    QMap<qint64, LVUploadTask*> tasks;
    {
        QMutexLocker l(&m_lock);
        tasks.swap(m_tasks);
    }
    qDeleteAll(tasks);
    delete m_thread;
    m_thread = nullptr;
    m_taskThread->quit();
    m_taskThread->wait();
    delete m_taskThread;
    delete m_db;
}

bool LVUploadManager::init(Tidewell* owner)
{
    if (!owner)
        return false;
    const bool first = !m_owner;
    m_owner = owner;
    if (!m_db)
        m_db = new DBHelp(DBHelp::Upload);
    if (!first)
        return true;
    connect(this, &LVUploadManager::sStart, this, &LVUploadManager::oStart);
    connect(this, &LVUploadManager::sStop, this, &LVUploadManager::oStop);
    connect(this, &LVUploadManager::sAllStart, this, &LVUploadManager::oAllStart);
    connect(this, &LVUploadManager::sAllPause, this, &LVUploadManager::oAllPause);
    connect(this, &LVUploadManager::sAllDelete, this, &LVUploadManager::oAllDelete);
    connect(this, &LVUploadManager::sStartUpFiles, this, &LVUploadManager::oStartUpFiles);
    connect(this, &LVUploadManager::sPauseUpFiles, this, &LVUploadManager::oPauseUpFiles);
    connect(this, &LVUploadManager::sDeleteUpFiles, this, &LVUploadManager::oDeleteUpFiles);
    connect(this, &LVUploadManager::sStartUpFile, this, &LVUploadManager::oStartUpFile);
    connect(this, &LVUploadManager::sPauseUpFile, this, &LVUploadManager::oPauseUpFile);
    connect(this, &LVUploadManager::sDeleteFile, this, &LVUploadManager::oDeleteFile);
    connect(this, &LVUploadManager::sGetTotalNum, this, &LVUploadManager::oGetTotalNum);
    connect(this, &LVUploadManager::sUpFileList, this, &LVUploadManager::oUpFileList);
    connect(this, &LVUploadManager::sAddUpFiles, this, &LVUploadManager::oAddUpFiles);
    // Queued even from our own slots: a long run of skipped or failed entries
    // must not nest one call per entry.
    connect(this, &LVUploadManager::sNextFile, this, &LVUploadManager::oNextFile,
            Qt::QueuedConnection);
    return true;
}

QString LVUploadManager::accessId() const
{
    return m_owner ? m_owner->currentDevice().accessId : QString();
}

QString LVUploadManager::deviceId() const
{
    return m_owner ? m_owner->currentDevice().deviceId : QString();
}

// ---- public operations (GUI thread) ----

bool LVUploadManager::addUpFiles(TwFolderInfo folder, QList<QUrl> paths, bool isForce)
{
    qDebug() << "LVUploadManager::addUpFiles - " << paths.size() << isForce;
    emit sAddUpFiles(folder, paths, isForce);
    return true;
}

void LVUploadManager::start()
{
    if (!m_running)
        emit sStart();
}

void LVUploadManager::stopAll()
{
    setRunning(false);
    {
        QMutexLocker l(&m_lock);
        for (LVUploadTask* t : qAsConst(m_tasks))
            t->stopTask();
    }
    // The queues belong to the manager's thread.
    QMetaObject::invokeMethod(this, [this] { clearQueues(); }, Qt::QueuedConnection);
}

void LVUploadManager::allStart() { emit sAllStart(); }
void LVUploadManager::allPause() { emit sAllPause(); }
void LVUploadManager::allDelete() { emit sAllDelete(); }
void LVUploadManager::startUpFile(UploadFileInfo fInfo) { emit sStartUpFile(fInfo); }
void LVUploadManager::pauseUpFile(UploadFileInfo fInfo) { emit sPauseUpFile(fInfo); }
void LVUploadManager::deleteFile(UploadFileInfo fInfo) { emit sDeleteFile(fInfo); }
void LVUploadManager::startUpFiles(QList<UploadFileInfo> list) { emit sStartUpFiles(list); }
void LVUploadManager::pauseUpFiles(QList<UploadFileInfo> list) { emit sPauseUpFiles(list); }
void LVUploadManager::deleteUpFiles(QList<UploadFileInfo> list) { emit sDeleteUpFiles(list); }
void LVUploadManager::getTotalNum() { emit sGetTotalNum(); }

// ---- helpers ----

void LVUploadManager::setRunning(bool run)
{
    m_running = run;
    if (m_owner)
        m_owner->notifyUpRun();
}

void LVUploadManager::clearQueues()
{
    m_queue.clear();
    m_subQueue.clear();
    m_numLeft = -1;
    forgetKept();
}

void LVUploadManager::forgetKept()
{
    m_countKnown = false;
    m_keptRow = KeptRow();
}

// The entry count changes only with what this manager adds, finishes or
// deletes, each of which forgets it; the files of a folder do not.
void LVUploadManager::countEntries(bool fresh)
{
    if (!m_db)
        return;
    if (fresh || !m_countKnown) {
        int num = 0;
        m_countRs = m_db->getUploadFileTotalNum(accessId(), deviceId(), num);
        qDebug() << "LVUploadManager::getTaskNum - " << accessId() << " " << deviceId()
                 << ", rs " << m_countRs << ", " << num;
        m_total = num;
        m_countKnown = m_countRs;
    }
    if (m_owner)
        m_owner->notifyUpTaskNum();
    emit rGetTotalNum(m_countRs, m_total);
}

// A folder's row as stored when its next file starts; the same values are
// not written again (the files of a folder mostly leave them as they are).
void LVUploadManager::storeFolderRow(const UploadFileInfo& folder)
{
    const KeptRow row{folder.fId, folder.fileState, folder.fileWriteLen, folder.fileSize,
                      folder.progress, folder.msg};
    if (row.fId != 0 && row == m_keptRow)
        return;
    if (m_db->updateUploadFileStatus(folder, true))
        m_keptRow = row;
    else
        m_keptRow = KeptRow();
}

int LVUploadManager::subFileNum(int folderFId)
{
    if (m_numLeft < 0 || m_numFolder != folderFId) {
        m_numFolder = folderFId;
        m_numLeft = m_db->getUploadSubFileNum(folderFId);
    }
    return m_numLeft;
}

bool LVUploadManager::hasTask(qint64 key)
{
    QMutexLocker l(&m_lock);
    return m_tasks.contains(key);
}

bool LVUploadManager::isLiveTask(QObject* task)
{
    if (!task)
        return true;   // a result made by the manager itself
    QMutexLocker l(&m_lock);
    for (LVUploadTask* t : qAsConst(m_tasks))
        if (static_cast<QObject*>(t) == task)
            return true;
    return false;
}

UploadFileInfo LVUploadManager::folderOf(const UploadFileInfo& file)
{
    if (m_curFolder.fId == file.pId && m_curFolder.fId != 0)
        return m_curFolder;
    UploadFileInfo row;
    if (!m_db->getUploadFileWidthFId(file.pId, row))
        row.fId = file.pId;
    return row;
}

// ---- adding ----

void LVUploadManager::oAddUpFiles(TwFolderInfo fInfo, QList<QUrl> paths, bool isForce)
{
    if (!m_db)
        return;
    if (!isForce) {
        QStringList locals;
        for (const QUrl& u : qAsConst(paths)) {
            const QString p = localPathOf(u);
            if (!p.isEmpty())
                locals << p;
        }
        if (!locals.isEmpty()) {
            if (m_db->hasUploadFileWithFilePath(locals, accessId(), deviceId())) {
                emit rAddUpFiles2(fInfo, paths, true);
                return;
            }
            if (m_db->hasFinishFileWithFilePath(locals, accessId(), deviceId())) {
                emit rAddUpFiles2(fInfo, paths, false);
                return;
            }
        }
    }
    onAddUpFiles(fInfo, paths);
}

void LVUploadManager::onAddUpFiles(TwFolderInfo fInfo, QList<QUrl> paths)
{
    QString external = fInfo.filePath;
    if (!external.isEmpty() && !(m_owner && m_owner->isPCDevice())
        && !external.startsWith("/storage/")) {
        external = "/storage/" + (external.startsWith('/') ? external.mid(1) : external);
        qDebug() << "externalPath:" << external;
    }

    QList<UploadFileInfo> list;
    for (const QUrl& u : qAsConst(paths)) {
        const QString path = localPathOf(u);
        if (path.isEmpty()) {
            qWarning() << "LVUploadManager::onAddUpFiles - not a local file:" << u;
            continue;
        }
        const QFileInfo fi(path);
        UploadFileInfo r;
        r.accessId = accessId();
        r.deviceId = deviceId();
        r.upPath = fInfo.upPath;
        r.groupId = fInfo.groupId;
        r.isSafeBox = fInfo.isSafeBox;
        r.uploadType = fInfo.type == 5 ? 1 : 0;
        if (!fInfo.filePath.isEmpty()) {
            r.isExternal = true;
            r.externalPath = external;
        } else {
            r.dirId = fInfo.fid;
            r.diskSerial = fInfo.serialNo;
        }
        if (!fi.isSymLink()) {
            r.isFolder = !fi.isFile();
            r.fileType = r.isFolder ? 5 : getMediaType(fi.suffix());
        }
        r.fileName = fi.fileName();
        r.filePath = path;
        r.fileMd5.clear();
        // QFileInfo follows a link to what it opens; a folder has no size.
        r.fileSize = r.isFolder ? 0 : fi.size();
        r.fileState = 2;
        list << r;
    }
    const bool rs = m_db->addUploadFile(list);
    releaseWalkMemory(list);
    m_numLeft = -1;
    if (!rs)
        qWarning() << "LVUploadManager::onAddUpFiles - storing the entries failed";
    emit rAddUpFiles(rs);
    resume();
}

// Listing a large folder leaves megabytes freed but kept by the allocator;
// they are handed back to the system instead of staying for the whole run.
void LVUploadManager::releaseWalkMemory(const QList<UploadFileInfo>& added)
{
#ifdef __GLIBC__
    for (const UploadFileInfo& r : added) {
        if (r.isFolder) {
            malloc_trim(0);
            return;
        }
    }
#else
    Q_UNUSED(added)
#endif
}

// ---- running ----

void LVUploadManager::resume()
{
    countEntries(true);
    if (m_running) {
        emit rStart();
        emit sNextFile();
        return;
    }
    m_finished = false;
    setRunning(true);
    clearQueues();
    checkQueue();
    emit rStart();
}

void LVUploadManager::checkQueue()
{
    if (!m_running || !m_db)
        return;
    if (m_queue.isEmpty()) {
        QList<UploadFileInfo> top;
        m_db->getTopUploadFileList(accessId(), deviceId(), top);
        for (const UploadFileInfo& r : qAsConst(top))
            if (!hasTask(taskKey(r)))
                m_queue << r;
    }
    if (!m_queue.isEmpty()) {
        emit sNextFile();
        return;
    }
    {
        QMutexLocker l(&m_lock);
        if (!m_tasks.isEmpty())
            return;
    }
    if (m_total < 1 && m_finished && m_owner)
        m_owner->notifyStatus(1, tr("File upload success"), 1);
    // Nothing queued: stamps left are of entries deleted meanwhile.
    if (m_total < 1)
        UploadStamp::removeAll(accessId(), deviceId());
    setRunning(false);
    emit rStop();
}

void LVUploadManager::oStart()
{
    resume();
}

void LVUploadManager::oNextFile()
{
    countEntries(false);
    if (m_queue.isEmpty()) {
        checkQueue();
        return;
    }
    if (!m_running)
        return;
    QMutexLocker l(&m_lock);
    qDebug() << "nextFile:-------------num:" << m_tasks.size();
    const int limit = (m_owner && m_owner->netType() == 1) ? kMaxLanTasks : 1;
    if (m_tasks.size() >= limit)
        return;

    UploadFileInfo head = m_queue.first();
    if (m_tasks.contains(taskKey(head))) {
        m_queue.removeFirst();
        l.unlock();
        emit sNextFile();
        return;
    }
    qDebug() << "nextFile:--------------" << head.fileName;
    if (head.fileName.length() > kMaxNameLength) {
        refuseHead(l, head, "-------Start end upload error fileName to long:",
                   tr("File name too long"));
        return;
    }
    if (!head.isFolder) {
        m_queue.removeFirst();
        l.unlock();
        head.fileState = 1;
        m_db->updateUploadFileItemStatus(head);
        emit rUploadStart(head);
        uploadData(head);
        return;
    }
    if (!QFileInfo(head.filePath).isDir()) {
        refuseHead(l, head, "-------Start end upload error File does not exist:",
                   tr("File does not exist"));
        return;
    }

    // A folder entry: its files one after another (up to the limit).
    if (m_curFolder.fId != head.fId)
        m_subQueue.clear();
    m_curFolder = head;
    bool pending = !m_subQueue.isEmpty();
    if (m_subQueue.isEmpty()) {
        QList<UploadFileInfo> subs;
        m_db->getTopUploadSubFileList(m_curFolder, subs);
        pending = !subs.isEmpty();
        for (const UploadFileInfo& s : qAsConst(subs))
            if (!m_tasks.contains(taskKey(s)))
                m_subQueue << s;
        qDebug() << "----1-totalNum:" << m_subQueue.size();
    }
    qDebug() << "----2-totalNum:" << m_subQueue.size();

    if (!pending) {
        m_queue.clear();
        l.unlock();
        qDebug() << "no upload sub file.------------";
        QList<UploadFileInfo> rest;
        forgetKept();
        m_db->hasUploadSubFileList(m_curFolder, rest);
        if (rest.isEmpty()) {
            // An empty folder still has to exist on the device.
            int dirId = 0, code = 0;
            QString path;
            if (!makeUploadedFolder(m_curFolder, dirId, path, code)) {
                if (OutagePacing::isDeviceAway(code)) {
                    waitForDevice(OutagePacing::kMaxDelayMs);
                    return;
                }
                m_curFolder.msg = tr("create Folder fail");
                m_curFolder.fileState = 4;
                entryFailed(m_curFolder);
                return;
            }
            m_curFolder.fileState = 5;
            m_db->updateUploadFileItemStatus(m_curFolder);
            m_numLeft = -1;
            m_foldersMade.remove(m_curFolder.fId);
            m_folderTargets.remove(m_curFolder.fId);
            m_finished = true;
            emit rUploadFinish(m_curFolder);
            qDebug() << "no upload sub file.------finish------";
        } else {
            showFailedFile(m_curFolder, rest.first());
            // Only the folder's row: each failed file keeps its own message.
            m_db->updateUploadFileStatus(m_curFolder, true);
            emit rUploadError(m_curFolder);
            qDebug() << "no upload sub file.------error------";
        }
        emit sNextFile();
        return;
    }

    qDebug() << "has upload file.------begin------";
    if (m_subQueue.isEmpty()) {
        // Every pending file is running already.
        l.unlock();
        m_curFolder.fileState = 1;
        m_curFolder.num = subFileNum(m_curFolder.fId);
        emit rUploadStart(m_curFolder);
        return;
    }
    m_curSubFile = m_subQueue.takeFirst();
    if (m_tasks.contains(taskKey(m_curSubFile))) {
        l.unlock();
        emit sNextFile();
        return;
    }
    l.unlock();
    UploadFileInfo file = m_curSubFile;
    if (file.fileName.length() > kMaxNameLength) {
        qWarning() << "-------Start end upload error folder fileName to long:" << file.fileName;
        file.msg = tr("File name too long");
        file.fileState = 4;
        entryFailed(file);
        return;
    }
    showStartingFile(m_curFolder, file);
    m_curFolder.num = subFileNum(m_curFolder.fId);
    file.isDirMade = false;
    storeFolderRow(m_curFolder);
    emit rUploadStart(m_curFolder);
    uploadData(file);
}

// The queue's head fails before anything of it started.
void LVUploadManager::refuseHead(QMutexLocker& lock, UploadFileInfo head, const char* logLine,
                                 const QString& msg)
{
    m_queue.removeFirst();
    lock.unlock();
    qWarning() << logLine << head.fileName;
    head.msg = msg;
    head.fileState = 4;
    entryFailed(head);
}

void LVUploadManager::uploadData(UploadFileInfo record)
{
    if (!m_running)
        return;
    qDebug() << "nextFile:--------------" << record.fileName << record.isSubItem;
    int parentDirId = 0;
    QString parentPath;
    if (record.isSubItem && !record.isExternal) {
        UploadFileInfo folder = folderOf(record);
        int dirId = 0, code = 0;
        QString path;
        // The uploaded folder itself, once; no device call under m_lock.
        if (!makeUploadedFolder(folder, dirId, path, code)) {
            qWarning() << "LVUploadManager: creating folder" << folder.fileName << "failed," << code;
            if (OutagePacing::isDeviceAway(code)) {
                // The file stays queued; its folder is made once the device
                // answers.
                record.fileState = 2;
                m_db->updateUploadFileStatus(record, true);
                clearQueues();
                waitForDevice(OutagePacing::kMaxDelayMs);
                return;
            }
            record.msg = tr("create Folder fail");
            record.fileState = 4;
            entryFailed(record);
            return;
        }
        record.dirId = dirId;
        record.externalPath = path;
        parentDirId = dirId;
        parentPath = path;
    } else if (record.isExternal) {
        parentDirId = record.dirId;
        parentPath = record.externalPath;
    }

    auto* task = new LVUploadTask(nullptr, onOwnThread(record) ? m_thread : m_taskThread);
    task->init(
        m_owner,
        [this](const UploadFileInfo& entry, const QString& taskId) {
            return keepTaskId(entry, taskId);
        },
        [this](const UploadFileInfo& entry, int& dirId, QString& path, int& code) {
            return createRemoteFolder(entry, dirId, path, code);
        });
    connect(task, &LVUploadTask::rUploadTaskId, this, &LVUploadManager::onUploadTaskId);
    connect(task, &LVUploadTask::rUploadProgress, this, &LVUploadManager::onUploadProgress);
    connect(task, &LVUploadTask::rUploadMD5, this, &LVUploadManager::onUploadMD5);
    connect(task, &LVUploadTask::rUploadFinish, this, &LVUploadManager::onUploadFinish);
    connect(task, &LVUploadTask::rUploadPause, this, &LVUploadManager::onUploadPause);
    connect(task, &LVUploadTask::rUploadError, this, &LVUploadManager::onUploadError);
    connect(task, &LVUploadTask::rUploadWait, this, &LVUploadManager::onUploadWait);
    task->setParentDirId(parentDirId);
    task->setParentPath(parentPath);
    LVUploadTask* old = nullptr;
    {
        QMutexLocker l(&m_lock);
        old = m_tasks.value(taskKey(record), nullptr);
        m_tasks.insert(taskKey(record), task);
        task->startTask(record);
    }
    if (old) {
        qWarning() << "LVUploadManager: replacing a running task of" << record.fileName;
        delete old;
    }
    emit sNextFile();
}

// A small file whose folder needs no device call runs its task here: the
// task thread would cost two more thread hops per file. Large files (hashed
// in the pool, long uploads) and files whose folder chain is made on the
// device (blocking calls) keep the task thread.
bool LVUploadManager::onOwnThread(const UploadFileInfo& record)
{
    if (record.isFolder || record.fileSize > LVUploadTask::kInlineHashSize)
        return false;
    if (!record.isSubItem)
        return true;
    QStringList names;
    return !record.isExternal && relativeFolderNames(record, record.pFilePath, names)
           && names.isEmpty();
}

// ---- task results ----

// The id is stored by keepTaskId before the data goes out.
void LVUploadManager::onUploadTaskId(UploadFileInfo fInfo, QString taskId)
{
    qDebug() << "uploadTaskCreate:--------------" << taskId << "  " << fInfo.fileName;
}

bool LVUploadManager::keepTaskId(const UploadFileInfo& record, const QString& taskId)
{
    if (!m_db)
        return false;
    return record.isSubItem ? m_db->updateUploadSubFileTaskId(record.fId, taskId)
                            : m_db->updateUploadFileTaskId(record.fId, taskId);
}

void LVUploadManager::onUploadMD5(UploadFileInfo fInfo)
{
    qDebug() << "LVUploadManager::onUploadMD5 start-----------" << fInfo.fileName << "   "
             << fInfo.taskId;
    if (!isLiveTask(sender()))
        return;
    m_db->updateUploadFileMd5(fInfo.fId, fInfo.fileMd5, fInfo.isSubItem);
}

void LVUploadManager::onUploadProgress(UploadFileInfo fInfo)
{
    if (!isLiveTask(sender()))
        return;
    if (fInfo.isSubItem) {
        if (m_curFolder.fId != fInfo.pId)
            return;
        showRunningFile(m_curFolder, fInfo);
        emit rUploadProgress(m_curFolder);
    } else {
        emit rUploadProgress(fInfo);
    }
}

void LVUploadManager::onUploadFinish(UploadFileInfo fInfo)
{
    qDebug() << "LVUploadManager::uploadFinish start-----------" << fInfo.fileName << "   "
             << fInfo.taskId;
    QObject* from = sender();
    if (!isLiveTask(from))
        return;
    fInfo.fileState = 5;
    if (!m_db->updateUploadFileItemStatus(fInfo))
        m_numLeft = -1;
    else if (fInfo.isSubItem && m_numFolder == fInfo.pId && m_numLeft > 0)
        --m_numLeft;
    if (fInfo.isSubItem) {
        m_foldersMade.insert(fInfo.pId);
        UploadFileInfo row;
        const bool paused = m_db->getUploadFileWidthFId(fInfo.pId, row) && row.fileState == 3;
        UploadFileInfo folder = folderOf(fInfo);
        if (!paused) {
            folder.fileState = 1;
            folder.num = subFileNum(folder.fId);
            emit rUploadStart(folder);
        } else {
            folder.fileState = 3;
            emit rUploadPause(folder);
        }
        if (m_curFolder.fId == folder.fId)
            m_curFolder = folder;
    } else {
        forgetKept();
        emit rUploadFinish(fInfo);
    }
    m_finished = true;
    onRemoveTask(fInfo.fId, fInfo.isSubItem, from);
    qDebug() << "LVUploadManager::uploadFinish end-----------" << fInfo.fileName << "   "
             << fInfo.taskId;
    emit sNextFile();
}

void LVUploadManager::onUploadPause(UploadFileInfo fInfo)
{
    qDebug() << "LVUploadManager::uploadPause-----------" << fInfo.fileName << "   "
             << fInfo.taskId;
    QObject* from = sender();
    if (!isLiveTask(from))
        return;
    fInfo.fileState = 3;
    if (!fInfo.isSubItem)
        forgetKept();
    m_db->updateUploadFileItemStatus(fInfo);
    if (fInfo.isSubItem) {
        UploadFileInfo row;
        if (m_db->getUploadFileWidthFId(fInfo.pId, row) && row.fileState == 3) {
            UploadFileInfo folder = folderOf(fInfo);
            folder.fileState = 3;
            if (m_curFolder.fId == folder.fId)
                m_curFolder = folder;
            emit rUploadPause(folder);
        }
    } else {
        emit rUploadPause(fInfo);
    }
    onRemoveTask(fInfo.fId, fInfo.isSubItem, from);
    emit sNextFile();
}

void LVUploadManager::entryFailed(UploadFileInfo fInfo)
{
    qDebug() << "LVUploadManager::uploadError start-----------" << fInfo.fileName << "   "
             << fInfo.taskId;
    fInfo.fileState = 4;
    if (!fInfo.isSubItem)
        forgetKept();
    m_db->updateUploadFileItemStatus(fInfo);
    if (!fInfo.isSubItem)
        emit rUploadError(fInfo);
    else
        m_subQueue.clear();   // refilled from the store without the failed file
    qDebug() << "LVUploadManager::uploadError end-----------";
    emit sNextFile();
}

void LVUploadManager::onUploadError(UploadFileInfo fInfo)
{
    QObject* from = sender();
    if (!isLiveTask(from))
        return;
    onRemoveTask(fInfo.fId, fInfo.isSubItem, from);
    entryFailed(fInfo);
}

// The device could not be reached while the owner was not connected: the
// entry waits, and the queue starts nothing new until the owner's next start.
void LVUploadManager::onUploadWait(UploadFileInfo fInfo)
{
    QObject* from = sender();
    if (!isLiveTask(from))
        return;
    qDebug() << "LVUploadManager::onUploadWait - device away, queue waits:" << fInfo.fileName;
    fInfo.fileState = 2;
    m_db->updateUploadFileStatus(fInfo, true);
    if (!fInfo.isSubItem)
        emit rUploadStart(fInfo);
    onRemoveTask(fInfo.fId, fInfo.isSubItem, from);
    clearQueues();
    if (m_running)
        setRunning(false);
    idleUntilStart();
}

void LVUploadManager::waitForDevice(int delayMs)
{
    if (!m_running)
        return;
    if (OutagePacing::ownerConnected(m_owner)) {
        // Connected, but the device did not answer.
        QTimer::singleShot(delayMs, this, [this] {
            if (m_running)
                emit sNextFile();
        });
        return;
    }
    qDebug() << "LVUploadManager - not connected, idle until the next start";
    setRunning(false);
    idleUntilStart();
}

// Stopped for want of a connection: says so once no task is left, and looks
// again a moment later in case the connection came back meanwhile.
void LVUploadManager::idleUntilStart()
{
    bool idle = false;
    {
        QMutexLocker l(&m_lock);
        idle = m_tasks.isEmpty();
    }
    if (idle)
        emit rStop();
    lookAgainLater();
}

void LVUploadManager::lookAgainLater()
{
    QTimer::singleShot(OutagePacing::kRecheckMs, this, [this] {
        if (!m_running && OutagePacing::ownerConnected(m_owner)) {
            qDebug() << "LVUploadManager - connected again, resuming";
            resume();
        }
    });
}

void LVUploadManager::onRemoveTask(int fId, bool isSubItem, QObject* task)
{
    LVUploadTask* t = nullptr;
    {
        QMutexLocker l(&m_lock);
        const qint64 key = taskKey(fId, isSubItem);
        auto it = m_tasks.find(key);
        if (it == m_tasks.end() || (task && static_cast<QObject*>(it.value()) != task))
            return;
        t = it.value();
        m_tasks.erase(it);
    }
    // Its attempt has ended; the rest goes on the task thread, without
    // waiting here for it (it may be waiting for a folder lock).
    t->disconnect(this);
    t->deleteLater();
}

// ---- commands ----

// Stops the task of a top-level entry and, for a folder, those of its files.
void LVUploadManager::stopTasksOf(const UploadFileInfo& entry)
{
    QMutexLocker l(&m_lock);
    for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it) {
        const bool sub = (it.key() >> 32) != 0;
        if ((!sub && it.key() == taskKey(entry.fId, false))
            || (sub && entry.isFolder && it.value()->entryPId() == entry.fId))
            it.value()->stopTask();
    }
}

void LVUploadManager::oStartUpFile(UploadFileInfo fInfo)
{
    forgetKept();
    fInfo.fileState = 2;
    m_db->updateUploadFileItemStatus(fInfo);
    if (fInfo.isFolder)
        fInfo.num = m_db->getUploadSubFileNum(fInfo.fId);
    emit rUploadStart(fInfo);
    oStart();
}

void LVUploadManager::oStartUpFiles(QList<UploadFileInfo> list)
{
    forgetKept();
    for (UploadFileInfo r : qAsConst(list)) {
        r.fileState = 2;
        m_db->updateUploadFileItemStatus(r);
    }
    resume();
}

void LVUploadManager::oPauseUpFile(UploadFileInfo fInfo)
{
    fInfo.fileState = 3;
    m_db->updateUploadFileItemStatus(fInfo);
    clearQueues();
    if (fInfo.isFolder) {
        fInfo.num = m_db->getUploadSubFileNum(fInfo.fId);
        QMutexLocker l(&m_lock);
        for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it)
            if (it.value()->entryIsSubItem() && it.value()->entryPId() == fInfo.fId)
                it.value()->stopTask();
        qDebug() << "--------stopFolder----";
    }
    emit rUploadPause(fInfo);
    QMutexLocker l(&m_lock);
    if (LVUploadTask* t = m_tasks.value(taskKey(fInfo.fId, false), nullptr))
        if (!fInfo.isSubItem)
            t->stopTask();
}

void LVUploadManager::oPauseUpFiles(QList<UploadFileInfo> list)
{
    for (const UploadFileInfo& r : qAsConst(list)) {
        UploadFileInfo p = r;
        p.fileState = 3;
        m_db->updateUploadFileItemStatus(p);
        stopTasksOf(r);
    }
    clearQueues();
    resume();
}

void LVUploadManager::oDeleteFile(UploadFileInfo fInfo)
{
    m_db->deleteUploadFile(fInfo);
    clearQueues();
    emit rUploadFinish(fInfo);
    stopTasksOf(fInfo);
}

void LVUploadManager::oDeleteUpFiles(QList<UploadFileInfo> list)
{
    for (const UploadFileInfo& r : qAsConst(list)) {
        m_db->deleteUploadFile(r);
        stopTasksOf(r);
    }
    clearQueues();
    resume();
}

void LVUploadManager::oAllStart()
{
    forgetKept();
    m_db->updateAllUploadFileStatus(true, accessId(), deviceId());
    oStart();
}

void LVUploadManager::oAllPause()
{
    clearQueues();
    m_db->updateAllUploadFileStatus(false, accessId(), deviceId());
    oStop();
}

void LVUploadManager::oAllDelete()
{
    m_db->deleteAllUploadFile(accessId(), deviceId());
    clearQueues();
    oStop();
}

void LVUploadManager::oStop()
{
    setRunning(false);
    QMutexLocker l(&m_lock);
    qDebug() << "------count---taskStop:" << m_tasks.size();
    int i = 0;
    for (LVUploadTask* t : qAsConst(m_tasks)) {
        qDebug() << "---------taskStop:" << i;
        t->stopTask();
        qDebug() << "------2---taskStop:" << i;
        ++i;
    }
    l.unlock();
    emit rStop();
}

void LVUploadManager::oGetTotalNum()
{
    countEntries(true);
}

void LVUploadManager::oUpFileList(int pageIndex, int pageSize)
{
    QList<UploadFileInfo> list;
    const bool rs = m_db && m_db->getUploadFileList(pageIndex, pageSize, accessId(), deviceId(), list);
    for (UploadFileInfo& r : list)
        if (r.isFolder)
            r.num = m_db->getUploadSubFileNum(r.fId);
    emit rUpFileList(rs ? 1 : 0, list);
}
