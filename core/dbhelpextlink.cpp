#include "core/dbhelp.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include "core/dbhelpprivate.h"

using namespace dbhelp_internal;

// -------------------------------------------------------------------- links

bool DBHelp::addExtlink(const Extlink& link, const QString& accessId, const QString& deviceId,
                        qint64* oid)
{
    QSqlDatabase d = db();
    QSqlQuery q(d);
    // A record that was never stored gets a fresh row id.
    const QVariant id = link.id > 0 ? QVariant(link.id) : QVariant(QVariant::LongLong);
    if (!run(q, "addExtlink",
             "insert into lv_extlink_list (oid, shareId, accessId, deviceId, deviceName,"
             " deviceToken, dcsCookie, userId, userNickname, title, fileId, reportCount,"
             " createdDate, create_date, modify_date, extractedCode, code, url, status, oper_ctime)"
             " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
             {id, txt(link.shareId), txt(accessId), txt(deviceId), txt(link.deviceName),
              txt(link.deviceToken), txt(link.dcsCookie), txt(link.userId),
              txt(link.userNickname), txt(link.title), link.fileId, link.reportCount,
              link.createdDate, txt(link.create_date), txt(link.modify_date),
              link.extractedCode ? 1 : 0, txt(link.code), txt(link.url), 1, nowMs()}))
        return false;
    if (oid)
        *oid = q.lastInsertId().toLongLong();
    return true;
}

bool DBHelp::existExtlink(const QString& accessId, const QString& deviceId, const QString& url)
{
    QSqlDatabase d = db();
    QSqlQuery q(d);
    if (!run(q, "existExtlink",
             "SELECT shareId FROM lv_extlink_list WHERE accessId = ? and deviceId = ? and url = ?",
             {txt(accessId), txt(deviceId), txt(url)}))
        return false;
    return q.next();
}

bool DBHelp::getExtlinkList(const QString& accessId, const QString& deviceId, int status,
                            int offset, int count, QList<Extlink>& out, bool oldestFirst)
{
    return selectRows(db(), "getExtlinkList",
                      QString("select * from lv_extlink_list where accessId = ? and deviceId = ?"
                              " and status = ? order by createdDate %1, oid %1 limit ?, ?")
                          .arg(oldestFirst ? "asc" : "desc"),
                      {txt(accessId), txt(deviceId), status, qMax(0, offset), count}, false, out);
}

bool DBHelp::removeExtlink(qint64 oid)
{
    return execBatch(db(), "removeExtlink", {{"DELETE FROM lv_extlink_list WHERE oid = ?", {oid}}});
}
