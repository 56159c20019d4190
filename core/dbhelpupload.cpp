#include "core/dbhelp.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "core/dbhelpprivate.h"
#include "core/utils.h"

using namespace dbhelp_internal;

// ------------------------------------------------------------------ uploads

namespace {

// SQLite can bind at most 999 parameters in older builds.
const int kMaxInParams = 400;

bool insertUploadSubs(QSqlDatabase& d, int pId, const QFileInfoList& entries)
{
    static const QString sql =
        "insert into lv_upload_sub_file (pId, name, filePath, fileState, fileMd5, fileWriteLen,"
        " fileSize, createTime, msg, progress, taskId, isFolder)"
        " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    QSqlQuery q(d);
    if (!q.prepare(sql)) {
        logFail("addUploadSubFile", sql, q.lastError());
        return false;
    }
    const qint64 now = nowMs();
    for (const QFileInfo& fi : entries) {
        const bool dir = fi.isDir();
        q.bindValue(0, pId);
        q.bindValue(1, txt(fi.fileName()));
        q.bindValue(2, txt(fi.absoluteFilePath()));
        q.bindValue(3, 2);
        q.bindValue(4, QString(""));
        q.bindValue(5, 0);
        q.bindValue(6, dir ? qint64(0) : fi.size());
        q.bindValue(7, now);
        q.bindValue(8, QString(""));
        q.bindValue(9, 0.0);
        q.bindValue(10, QString(""));
        q.bindValue(11, dir ? 1 : 0);
        if (!q.exec()) {
            logFail("addUploadSubFile", sql, q.lastError());
            return false;
        }
    }
    return true;
}

bool hasPathIn(QSqlDatabase d, const char* name, const char* table, const QString& extra,
               const QStringList& paths, const QString& accessId, const QString& deviceId)
{
    if (paths.isEmpty())
        return false;
    QSqlQuery q(d);
    for (int start = 0; start < paths.size(); start += kMaxInParams) {
        const QStringList chunk = paths.mid(start, kMaxInParams);
        QStringList marks;
        QVariantList args;
        for (const QString& p : chunk) {
            marks.append("?");
            args.append(txt(p));
        }
        args << txt(accessId) << txt(deviceId);
        const QString sql = QString("select count(1) from %1 where filePath in (%2)%3"
                                    " and accessId = ? and deviceId = ?")
                                .arg(QLatin1String(table), marks.join(", "), extra);
        if (!run(q, name, sql, args))
            return false;
        if (q.next() && q.value(0).toInt() > 0)
            return true;
    }
    return false;
}

} // namespace

void DBHelp::getFolderSubFiles(const QString& dir, QFileInfoList& out)
{
    const QFileInfoList entries = QDir(dir).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QFileInfo& fi : entries) {
        out.append(fi);
        // A linked folder may point back up the tree; list it, never enter it.
        if (fi.isDir() && !fi.isSymLink() && !fi.isJunction())
            getFolderSubFiles(fi.absoluteFilePath(), out);
    }
}

bool DBHelp::addUploadFile(QList<UploadFileInfo>& list)
{
    // Walk the folders before taking the write lock.
    QList<QFileInfoList> contents;
    for (const UploadFileInfo& u : list) {
        QFileInfoList entries;
        if (u.isFolder)
            getFolderSubFiles(u.filePath, entries);
        contents.append(entries);
    }

    static const QString sql =
        "insert into lv_upload_file (uId, name, filePath, accessId, deviceId, fileState, fileMd5,"
        " fileWriteLen, fileSize, createTime, msg, progress, taskId, isFolder, dirId, diskSerial,"
        " isCover, isExternal, isSafeBox, externalPath, upPath, groupId, uploadType)"
        " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    QSqlDatabase d = db();
    Tx tx(d, "addUploadFile");
    if (!tx.ok())
        return false;
    QList<UploadFileInfo> stored = list;
    {
        QSqlQuery q(d);
        for (int i = 0; i < stored.size(); ++i) {
            UploadFileInfo& u = stored[i];
            u.createTime = nowMs();
            u.uId = createUuidString();
            if (!run(q, "addUploadFile", sql,
                     {txt(u.uId), txt(u.fileName), txt(u.filePath), txt(u.accessId),
                      txt(u.deviceId), u.fileState, txt(u.fileMd5), u.fileWriteLen, u.fileSize,
                      u.createTime, txt(u.msg), u.progress, txt(u.taskId), u.isFolder ? 1 : 0,
                      u.dirId, txt(u.diskSerial), u.isCover ? 1 : 0, u.isExternal ? 1 : 0,
                      u.isSafeBox ? 1 : 0, txt(u.externalPath), txt(u.upPath), u.groupId,
                      u.uploadType}))
                return false;
            u.fId = q.lastInsertId().toInt();
            if (u.isFolder && !insertUploadSubs(d, u.fId, contents.at(i)))
                return false;
        }
    }
    if (!tx.commit())
        return false;
    list = stored;
    return true;
}

bool DBHelp::addUploadSubFile(const UploadFileInfo& folder)
{
    QFileInfoList entries;
    getFolderSubFiles(folder.filePath, entries);
    QSqlDatabase d = db();
    Tx tx(d, "addUploadSubFile");
    if (!tx.ok() || !insertUploadSubs(d, folder.fId, entries))
        return false;
    return tx.commit();
}

bool DBHelp::hasUploadFileWithFilePath(const QStringList& paths, const QString& accessId,
                                       const QString& deviceId)
{
    return hasPathIn(db(), "hasUploadFileWithFilePath", "lv_upload_file", QString(), paths,
                     accessId, deviceId);
}

bool DBHelp::hasFinishFileWithFilePath(const QStringList& paths, const QString& accessId,
                                       const QString& deviceId)
{
    return hasPathIn(db(), "hasFinishFileWithFilePath", "lv_finish_file", " and isUp = 1", paths,
                     accessId, deviceId);
}

bool DBHelp::getTopUploadFileList(const QString& accessId, const QString& deviceId,
                                  QList<UploadFileInfo>& out)
{
    return topEntries(db(), "getTopUploadFileList", kUpQueue, accessId, deviceId, 5, out);
}

bool DBHelp::getTopUploadSubFileList(const UploadFileInfo& folder, QList<UploadFileInfo>& out)
{
    return subEntries(db(), "getTopUploadSubFileList", kUpQueue, folder, true, 5, out);
}

bool DBHelp::hasUploadSubFileList(const UploadFileInfo& folder, QList<UploadFileInfo>& out)
{
    return subEntries(db(), "hasUploadSubFileList", kUpQueue, folder, false, 1, out);
}

bool DBHelp::getUploadFileList(int pageIndex, int pageSize, const QString& accessId,
                               const QString& deviceId, QList<UploadFileInfo>& list)
{
    return entryPage(db(), "getUploadFileList", kUpQueue, pageIndex, pageSize, accessId,
                     deviceId, list);
}

bool DBHelp::getUploadFileTotalNum(const QString& accessId, const QString& deviceId, int& num)
{
    return entryCount(db(), "getUploadFileTotalNum", kUpQueue.top, accessId, deviceId, num);
}

bool DBHelp::getUploadFileWidthFId(int fId, UploadFileInfo& out)
{
    return entryById(db(), "getUploadFileWidthFId", kUpQueue, fId, out);
}

int DBHelp::getUploadSubFileNum(int fId)
{
    return subEntryCount(db(), "getUploadSubFileNum", kUpQueue, fId);
}

bool DBHelp::getUploadFailFileList(int pageIndex, int pageSize, const UploadFileInfo& parent,
                                   QList<UploadFileInfo>& list)
{
    return failedSubPage(db(), "getUploadFailFileList", kUpQueue, pageIndex, pageSize, parent,
                         list);
}

bool DBHelp::getUpFileState(const QString& accessId, const QString& deviceId, int& state)
{
    return queueState(db(), "getUpFileState", kUpQueue, accessId, deviceId, state);
}

bool DBHelp::updateUploadFileStatus(const UploadFileInfo& rec, bool onlyItem)
{
    if (rec.fileState == 5) {
        return finishEntry(db(), "updateUploadFileStatus", kUpQueue, rec, "fId",
                           [&rec](const QVariant&) { return FinishFileInfo::fromUpload(rec); });
    }
    if (!rec.isSubItem && rec.isFolder && !onlyItem)
        qDebug() << "lv_upload_sub_file update states----------------------";
    return execBatch(db(), "updateUploadFileStatus", statusUpdates(kUpQueue, rec, onlyItem));
}

bool DBHelp::updateUploadFileItemStatus(const UploadFileInfo& rec)
{
    return updateUploadFileStatus(rec, false);
}

bool DBHelp::updateUploadFileMd5(int fId, const QString& md5, bool isSubItem)
{
    const QString sql = isSubItem ? "update lv_upload_sub_file set fileMd5 = ? where fId = ?"
                                  : "update lv_upload_file set fileMd5 = ? where fId = ?";
    return execBatch(db(), "updateUploadFileMd5", {{sql, {txt(md5), fId}}});
}

bool DBHelp::updateUploadFilePDirOrPPath(int fId, int pDirId, const QString& pExternalPath)
{
    return execBatch(db(), "updateUploadFilePDirOrPPath",
                     {{"update lv_upload_file set pDirId = ?, pExternalPath = ? where fId = ?",
                       {pDirId, txt(pExternalPath), fId}}});
}

bool DBHelp::updateUploadFileTaskId(int fId, const QString& taskId)
{
    return execBatch(db(), "updateUploadFileTaskId",
                     {{"update lv_upload_file set taskId = ? where fId = ?", {txt(taskId), fId}}});
}

bool DBHelp::updateUploadSubFileTaskId(int fId, const QString& taskId)
{
    return execBatch(db(), "updateUploadSubFileTaskId",
                     {{"update lv_upload_sub_file set taskId = ? where fId = ?",
                       {txt(taskId), fId}}});
}

bool DBHelp::deleteUploadFile(const UploadFileInfo& rec)
{
    return deleteEntry(db(), "deleteUploadFile", kUpQueue, rec.isSubItem, rec.fId);
}

bool DBHelp::deleteAllUploadFile(const QString& accessId, const QString& deviceId)
{
    return deleteQueue(db(), "deleteAllUploadFile", kUpQueue, accessId, deviceId);
}

bool DBHelp::updateAllUploadFileStatus(bool start, const QString& accessId,
                                       const QString& deviceId)
{
    return moveAll(db(), "updateAllUploadFileStatus", kUpQueue, accessId, deviceId, start);
}

bool DBHelp::startAllUploadFile(const QString& accessId, const QString& deviceId)
{
    return updateAllUploadFileStatus(true, accessId, deviceId);
}

bool DBHelp::pauseAllUploadFile(const QString& accessId, const QString& deviceId)
{
    return updateAllUploadFileStatus(false, accessId, deviceId);
}

