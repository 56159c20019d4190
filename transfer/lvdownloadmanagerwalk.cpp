// Download manager: storing chosen entries and listing their folders level
// by level (each level replaces the mark that stood for it).
#include "transfer/lvdownloadmanager.h"

#include <QDebug>

#include "core/dbhelp.h"
#include "core/utils.h"
#include "transfer/filesdatataskhelp.h"

namespace {
const char* kWalkMark = "walk:";
// Deeper folder trees than this are taken for a device answering in circles.
const int kMaxDepth = 128;
// One expansion holds the manager's thread for about this long; folders not
// listed by then are listed when the queue reaches them.
const int kWalkSliceMs = 1000;
}

bool LVDownloadManager::isWalkMark(const DownFileInfo& f)
{
    return f.isSubItem && f.isFolder && f.taskId.startsWith(kWalkMark);
}

// ---------------------------------------------------------------- storing

void LVDownloadManager::oAddDownFiles(TW_HANDLE handle, QString savePath, QList<DownFileInfo> files,
                                      int fileType)
{
    if (!m_db)
        return;
    m_abortWalk = false;
    m_numLeft = -1;
    QList<DownFileInfo> keep;
    for (DownFileInfo f : files) {
        if (m_db->hasDownFile(f)) {
            qDebug() << "==================" << f.fileState;
            f.fileWriteLen = 0;
            f.progress = 0;
            f.msg.clear();
            m_db->updateDownFileItemStatus(f);
            continue;
        }
        f.savePath = savePath;
        keep.append(f);
    }
    const bool stored = saveDownFiles(keep, fileType);
    if (stored && keep.isEmpty() && !files.isEmpty())
        emit rAddDownAgain(handle);
    if (fileType == 2 || fileType == 3 || fileType == 4)
        emit rAddDownUsbFiles(handle, stored);
    else
        emit rAddDownFiles(handle, stored);
    qDebug() << "LVDownloadManager::oAddDownFiles------";
    continueRunning();
}

// Each folder is stored together with the mark of its listing, and a
// listing's rows replace its mark in one step: a folder is finished only
// once all its levels were listed, whenever the program ends.
bool LVDownloadManager::saveDownFiles(QList<DownFileInfo> level, int fileType)
{
    QList<DownFileInfo> marks;
    for (DownFileInfo& e : level) {
        QList<DownFileInfo> subs;
        if (e.isFolder && !e.isEmptyFolder)
            subs.append(walkMark(e, fileType));
        if (!m_db->addDownFile(e, subs)) {
            qWarning() << "add files fail-------" << false;
            return false;
        }
        marks.append(subs);
    }
    WalkScope scope;
    expandMarks(marks, scope);
    return true;
}

bool LVDownloadManager::stopWalk() const
{
    return m_abortWalk.load();
}

DownFileInfo LVDownloadManager::walkMark(const DownFileInfo& folder, int fileType, const QString& trail)
{
    DownFileInfo m = folder;
    m.fId = 0;
    m.isSubItem = true;
    m.isFolder = true;
    m.isEmptyFolder = false;
    m.fileState = 2;
    m.fileWriteLen = 0;
    m.progress = 0;
    m.msg.clear();
    m.taskId = QString("%1%2:%3:%4").arg(kWalkMark).arg(fileType).arg(folder.groupId).arg(trail);
    return m;
}

LVDownloadManager::Listing LVDownloadManager::listMark(DownFileInfo mark, WalkScope& scope,
                                                       QList<DownFileInfo>& newMarks)
{
    m_numLeft = -1;
    const QStringList parts = mark.taskId.mid(int(strlen(kWalkMark))).split(':');
    const int fileType = parts.value(0).toInt();
    mark.groupId = parts.value(1).toInt();
    QStringList above = parts.value(2).split(',', Qt::SkipEmptyParts);
    above << trailKey(mark);
    const DeviceInfo dev = device();
    mark.accessId = dev.accessId;
    mark.deviceId = dev.deviceId;
    auto fail = [&](const QString& msg) {
        mark.fileState = 4;
        mark.msg = msg;
        qWarning() << "LVDownloadManager - listing of" << mark.fileName << "failed:" << msg;
        if (!m_db->updateDownFileStatus(mark, true))
            qWarning() << "LVDownloadManager - cannot record the listing of" << mark.fileName;
        return Listing::Failed;
    };
    // The depth shows in the folder's local path, so it holds across
    // expansions left for later.
    if (mark.pNamePath.count('/') >= kMaxDepth)
        return fail(tr("Folder nested too deeply: %1").arg(mark.pNamePath));
    if (stopWalk())
        return Listing::Later;

    scope.walked.insert(walkKey(mark));
    QList<DownFileInfo> found;
    if (!m_walker->getSubFileTask(mark, fileType, found)) {
        if (m_walker->interrupted() || m_walker->deviceAway())
            return Listing::Later;   // stays waiting for a later start
        return fail(tr("Folder listing failed: %1").arg(m_walker->lastError()));
    }
    QList<DownFileInfo> rows;
    for (const DownFileInfo& e : qAsConst(found)) {
        if (!e.isFolder || e.isEmptyFolder) {
            rows.append(e);
        } else if (scope.walked.contains(walkKey(e)) || above.contains(trailKey(e))) {
            // A device that lists a folder inside itself must not keep us walking.
            qWarning() << "LVDownloadManager - folder" << e.fileName << "listed again, not walked";
        } else {
            scope.walked.insert(walkKey(e));
            rows.append(walkMark(e, fileType, above.join(',')));
        }
    }
    if (!m_db->replaceDownSubFile(mark, rows)) {
        qWarning() << "add files fail-------" << false;
        return Listing::Later;
    }
    for (const DownFileInfo& r : qAsConst(rows))
        if (isWalkMark(r))
            newMarks.append(r);
    return Listing::Listed;
}

QString LVDownloadManager::walkKey(const DownFileInfo& folder)
{
    return QString("%1|%2|%3").arg(folder.fileId).arg(folder.groupId).arg(folder.usbFilePath);
}

QString LVDownloadManager::trailKey(const DownFileInfo& folder)
{
    return md5String(walkKey(folder)).left(12);
}

// Lists stored marks breadth first for one slice of the manager's time; the
// marks not reached stay waiting and are listed when the queue gets to them.
void LVDownloadManager::expandMarks(QList<DownFileInfo> marks, WalkScope& scope)
{
    while (!marks.isEmpty()) {
        if (stopWalk() || scope.clock.elapsed() > kWalkSliceMs)
            return;
        const DownFileInfo mark = marks.takeFirst();
        listMark(mark, scope, marks);
    }
}

bool LVDownloadManager::expandWalkMark(const DownFileInfo& mark)
{
    WalkScope scope;
    QList<DownFileInfo> next;
    if (listMark(mark, scope, next) == Listing::Later)
        return false;
    expandMarks(next, scope);
    return true;
}
