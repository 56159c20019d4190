#include "core/dbhelp.h"

#include "core/dbhelpprivate.h"

using namespace dbhelp_internal;

// ----------------------------------------------------------------- finished

bool DBHelp::getFinishFileList(int pageIndex, int pageSize, const QString& accessId,
                               const QString& deviceId, QList<FinishFileInfo>& list)
{
    return selectRows(db(), "getFinishFileList",
                      "select * from lv_finish_file where accessId = ? and deviceId = ?"
                      " order by createTime desc, fId desc limit ?, ?",
                      {txt(accessId), txt(deviceId), pageOffset(pageIndex, pageSize), pageSize},
                      false, list);
}

bool DBHelp::getFinishFileTotalNum(const QString& accessId, const QString& deviceId, int& num)
{
    return entryCount(db(), "getFinishFileTotalNum", "lv_finish_file", accessId, deviceId, num);
}

bool DBHelp::deleteFinishFiles(const QList<FinishFileInfo>& list)
{
    QList<Stmt> stmts;
    for (const FinishFileInfo& f : list)
        stmts.append({"DELETE FROM lv_finish_file WHERE fId = ?", {f.fId}});
    if (stmts.isEmpty())
        return true;
    return execBatch(db(), "deleteFinishFiles", stmts);
}

bool DBHelp::deleteAllFinishFile(const QString& accessId, const QString& deviceId)
{
    return execBatch(db(), "deleteAllFinishFile",
                     {{"DELETE FROM lv_finish_file WHERE accessId = ? AND deviceId = ?",
                       {txt(accessId), txt(deviceId)}}});
}
