#include "core/dbhelp.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "core/dbhelpprivate.h"

using namespace dbhelp_internal;

// ---------------------------------------------------------------- downloads

namespace {
const char* const kInsertDown =
    "insert into lv_down_file (fileId, isFolder, fileName, ower, accessId, deviceId, fileMd5,"
    " downUrl, usbFilePath, savePath, fileState, fileWriteLen, fileSize, createTime, msg,"
    " progress, taskId, fileCatetory, shareId, extractedCode)"
    " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

const char* const kInsertDownSub =
    "insert into lv_down_sub_file (pId, pNamePath, fileId, fileName, ower, fileMd5, downUrl,"
    " usbFilePath, savePath, fileState, fileWriteLen, fileSize, createTime, msg, progress,"
    " taskId, isFolder, shareId, extractedCode)"
    " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// q holds kInsertDownSub, prepared.
bool insertDownSub(QSqlQuery& q, DownFileInfo& rec, const char* name)
{
    const QVariantList args{rec.pId, txt(rec.pNamePath), rec.fileId, txt(rec.fileName),
                            txt(rec.ower), txt(rec.fileMd5), txt(rec.filePath),
                            txt(rec.usbFilePath), txt(rec.savePath), rec.fileState,
                            rec.fileWriteLen, rec.fileSize, rec.createTime, txt(rec.msg),
                            rec.progress, txt(rec.taskId), rec.isFolder ? 1 : 0,
                            txt(rec.shareId), txt(rec.extractedCode)};
    for (int i = 0; i < args.size(); ++i)
        q.bindValue(i, args.at(i));
    if (!q.exec()) {
        logFail(name, kInsertDownSub, q.lastError());
        return false;
    }
    rec.fId = q.lastInsertId().toInt();
    return true;
}

bool prepareDownSub(QSqlQuery& q, const char* name)
{
    if (!q.prepare(kInsertDownSub)) {
        logFail(name, kInsertDownSub, q.lastError());
        return false;
    }
    return true;
}

bool insertDown(QSqlQuery& q, DownFileInfo& rec, const char* name)
{
    if (!run(q, name, kInsertDown,
             {rec.fileId, rec.isFolder ? 1 : 0, txt(rec.fileName), txt(rec.ower),
              txt(rec.accessId), txt(rec.deviceId), txt(rec.fileMd5), txt(rec.filePath),
              txt(rec.usbFilePath), txt(rec.savePath), rec.fileState, rec.fileWriteLen,
              rec.fileSize, rec.createTime, txt(rec.msg), rec.progress, txt(rec.taskId),
              rec.fileCatetory, txt(rec.shareId), txt(rec.extractedCode)}))
        return false;
    rec.fId = q.lastInsertId().toInt();
    rec.pId = rec.fId;
    return true;
}

bool insertDownSubs(QSqlDatabase& d, QList<DownFileInfo>& recs, qint64 now, const char* name)
{
    if (recs.isEmpty())
        return true;
    QSqlQuery q(d);
    if (!prepareDownSub(q, name))
        return false;
    for (DownFileInfo& rec : recs) {
        rec.createTime = now;
        if (!insertDownSub(q, rec, name))
            return false;
    }
    return true;
}
}

bool DBHelp::addDownFile(DownFileInfo& rec)
{
    rec.createTime = nowMs();
    QSqlDatabase d = db();
    QSqlQuery q(d);
    return insertDown(q, rec, "addDownFile");
}

bool DBHelp::addDownFile(DownFileInfo& rec, QList<DownFileInfo>& subs)
{
    if (subs.isEmpty())
        return addDownFile(rec);
    QSqlDatabase d = db();
    Tx tx(d, "addDownFile");
    if (!tx.ok())
        return false;
    rec.createTime = nowMs();
    {
        QSqlQuery q(d);
        if (!insertDown(q, rec, "addDownFile"))
            return false;
    }
    for (DownFileInfo& s : subs)
        s.pId = rec.fId;
    return insertDownSubs(d, subs, rec.createTime, "addDownFile") && tx.commit();
}

bool DBHelp::addDownSubFile(DownFileInfo& rec)
{
    rec.createTime = nowMs();
    QSqlDatabase d = db();
    QSqlQuery q(d);
    return prepareDownSub(q, "addDownSubFile") && insertDownSub(q, rec, "addDownSubFile");
}

bool DBHelp::addDownSubFiles(QList<DownFileInfo>& recs)
{
    if (recs.isEmpty())
        return true;
    QSqlDatabase d = db();
    Tx tx(d, "addDownSubFiles");
    return tx.ok() && insertDownSubs(d, recs, nowMs(), "addDownSubFiles") && tx.commit();
}

bool DBHelp::replaceDownSubFile(const DownFileInfo& done, QList<DownFileInfo>& recs)
{
    QSqlDatabase d = db();
    Tx tx(d, "replaceDownSubFile");
    if (!tx.ok() || !insertDownSubs(d, recs, nowMs(), "replaceDownSubFile"))
        return false;
    {
        QSqlQuery q(d);
        if (!run(q, "replaceDownSubFile", "DELETE FROM lv_down_sub_file WHERE fId = ?", {done.fId}))
            return false;
    }
    return tx.commit();
}

bool DBHelp::getDownFileFid(const DownFileInfo& rec, int& fId)
{
    QSqlDatabase d = db();
    QSqlQuery q(d);
    // The newest row wins when an id is queued more than once.
    if (!run(q, "getDownFileFid",
             "select fId from lv_down_file where fileId = ? and accessId = ? and deviceId = ?"
             " and ifnull(shareId, '') = ? order by fId desc limit 1",
             {rec.fileId, txt(rec.accessId), txt(rec.deviceId), txt(rec.shareId)}))
        return false;
    if (!q.next())
        return false;
    fId = q.value(0).toInt();
    return true;
}

bool DBHelp::hasDownFile(DownFileInfo& rec)
{
    QSqlDatabase d = db();
    QSqlQuery q(d);
    if (!run(q, "hasDownFile",
             "select count(1), max(fId) from lv_down_file where fileId = ? and usbFilePath = ?"
             " and accessId = ? and deviceId = ? and ifnull(shareId, '') = ?",
             {rec.fileId, txt(rec.usbFilePath), txt(rec.accessId), txt(rec.deviceId),
              txt(rec.shareId)}))
        return false;
    int num = 0;
    if (q.next()) {
        num = q.value(0).toInt();
        if (num > 0)
            rec.fId = q.value(1).toInt();
    }
    qDebug() << "DBHelp::hasDownFile: num: " << num;
    return num > 0;
}

bool DBHelp::getTopDownFileList(const DeviceInfo& device, QList<DownFileInfo>& out)
{
    return topEntries(db(), "getTopDownFileList", kDownQueue, device.accessId, device.deviceId,
                      2, out);
}

bool DBHelp::getTopDwonSubFileList(const DownFileInfo& folder, QList<DownFileInfo>& out, int limit)
{
    return subEntries(db(), "getTopDwonSubFileList", kDownQueue, folder, true, limit, out);
}

bool DBHelp::haspDwonSubFileList(const DownFileInfo& folder, QList<DownFileInfo>& out)
{
    return subEntries(db(), "haspDwonSubFileList", kDownQueue, folder, false, 1, out);
}

bool DBHelp::getDownFileList(int pageIndex, int pageSize, const DeviceInfo& device,
                             QList<DownFileInfo>& out)
{
    return getDownFileList(pageIndex, pageSize, device.accessId, device.deviceId, out);
}

bool DBHelp::getDownFileList(int pageIndex, int pageSize, const QString& accessId,
                             const QString& deviceId, QList<DownFileInfo>& out)
{
    return entryPage(db(), "getDownFileList", kDownQueue, pageIndex, pageSize, accessId,
                     deviceId, out);
}

bool DBHelp::getDownFileTotalNum(const DeviceInfo& device, int& num)
{
    return getDownFileTotalNum(device.accessId, device.deviceId, num);
}

bool DBHelp::getDownFileTotalNum(const QString& accessId, const QString& deviceId, int& num)
{
    return entryCount(db(), "getDownFileTotalNum", kDownQueue.top, accessId, deviceId, num);
}

bool DBHelp::getDownFileWidthFId(int fId, DownFileInfo& out)
{
    return entryById(db(), "getDownFileWidthFId", kDownQueue, fId, out);
}

int DBHelp::getDownSubFileNum(int fId)
{
    return subEntryCount(db(), "getDownSubFileNum", kDownQueue, fId);
}

bool DBHelp::getDownFailFileList(int pageIndex, int pageSize, const DownFileInfo& parent,
                                 QList<DownFileInfo>& list)
{
    return failedSubPage(db(), "getDownFailFileList", kDownQueue, pageIndex, pageSize, parent,
                         list);
}

bool DBHelp::getDownFileState(const QString& accessId, const QString& deviceId, int& state)
{
    return queueState(db(), "getDownFileState", kDownQueue, accessId, deviceId, state);
}

bool DBHelp::updateDownFileStatus(const DownFileInfo& rec, bool onlyItem)
{
    if (rec.fileState == 5) {
        // A finished folder records the name chosen for it on disk.
        return finishEntry(db(), "updateDownFileStatus", kDownQueue, rec, "saveName",
                           [&rec](const QVariant& saveName) {
                               const QString name = saveName.toString();
                               return FinishFileInfo::fromDownload(
                                   rec, name.isEmpty() ? rec.saveName : name);
                           });
    }
    return execBatch(db(), "updateDownFileStatus", statusUpdates(kDownQueue, rec, onlyItem));
}

bool DBHelp::updateDownFileItemStatus(const DownFileInfo& rec)
{
    return updateDownFileStatus(rec, false);
}

bool DBHelp::updateDownFileSaveName(int fId, const QString& name)
{
    return execBatch(db(), "updateDownFileSaveName",
                     {{"update lv_down_file set saveName = ? where fId = ?", {txt(name), fId}}});
}

bool DBHelp::deleteDownFile(const DownFileInfo& rec)
{
    return deleteEntry(db(), "deleteDownFile", kDownQueue, rec.isSubItem, rec.fId);
}

bool DBHelp::deleteAllDownFile(const DeviceInfo& device)
{
    return deleteQueue(db(), "deleteAllDownFile", kDownQueue, device.accessId, device.deviceId);
}

bool DBHelp::pauseAllDownFile(const DeviceInfo& device)
{
    return moveAll(db(), "pauseAllDownFile", kDownQueue, device.accessId, device.deviceId, false);
}

bool DBHelp::startAllDownFile(const DeviceInfo& device)
{
    return moveAll(db(), "startAllDownFile", kDownQueue, device.accessId, device.deviceId, true);
}
