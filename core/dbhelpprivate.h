#pragma once

// Helpers shared by the source files of DBHelp; nothing else includes this.

#include <QDebug>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include "core/dbhelp.h"

namespace dbhelp_internal {

qint64 nowMs();
QVariant txt(const QString& v);
int pageOffset(int pageIndex, int pageSize);
void logFail(const char* name, const QString& sql, const QSqlError& err);
bool run(QSqlQuery& q, const char* name, const QString& sql, const QVariantList& args = {});
QRecursiveMutex* writeGate(const QString& file);

// One write transaction. BEGIN IMMEDIATE takes the write lock up front so
// two connections never deadlock upgrading a read lock (which the busy
// time-out cannot resolve). Rolls back unless committed.
class Tx
{
public:
    Tx(QSqlDatabase& db, const char* name) : m_db(db), m_name(name)
    {
        if (!m_db.isOpen())
            return;
        // As long as the busy time-out; past it SQLite decides as before.
        QRecursiveMutex* gate = writeGate(m_db.databaseName());
        if (gate->tryLock(10000))
            m_gate = gate;
        else
            qWarning() << "DBHelp::" << name << "- waited 10 s for another writer";
        QSqlQuery q(m_db);
        m_active = run(q, m_name, "BEGIN IMMEDIATE");
        if (!m_active)
            unlockGate();
    }
    ~Tx()
    {
        if (m_active) {
            QSqlQuery q(m_db);
            if (!q.exec("ROLLBACK"))
                logFail(m_name, "ROLLBACK", q.lastError());
        }
        unlockGate();
    }
    bool ok() const { return m_active; }
    bool commit()
    {
        if (!m_active)
            return false;
        QSqlQuery q(m_db);
        if (!run(q, m_name, "COMMIT"))
            return false;
        m_active = false;
        unlockGate();
        return true;
    }

private:
    void unlockGate()
    {
        if (m_gate)
            m_gate->unlock();
        m_gate = nullptr;
    }

    QSqlDatabase& m_db;
    const char* m_name;
    bool m_active = false;
    QRecursiveMutex* m_gate = nullptr;
};

// Column access by name for "select *" rows.
struct Row
{
    const QSqlQuery& q;
    const QSqlRecord& rec;
    QVariant operator()(const char* col) const
    {
        const int i = rec.indexOf(QLatin1String(col));
        return i < 0 ? QVariant() : q.value(i);
    }
};

void readRecord(const Row& r, bool sub, DownFileInfo& d);
void readRecord(const Row& r, bool sub, UploadFileInfo& u);
void readRecord(const Row& r, bool, FinishFileInfo& f);
void readRecord(const Row& r, bool, Extlink& e);
void completeFromFolder(DownFileInfo& d, const DownFileInfo& folder);
void completeFromFolder(UploadFileInfo& u, const UploadFileInfo& folder);

using Stmt = QPair<QString, QVariantList>;

bool runKept(QSqlDatabase& d, const char* name, const QString& sql, const QVariantList& args,
             QSqlQuery& q);
bool countRows(QSqlDatabase d, const char* name, const QString& sql, const QVariantList& args,
               int& num);
bool execBatch(QSqlDatabase d, const char* name, const QList<Stmt>& stmts);

template <class Rec>
bool selectRows(QSqlDatabase d, const char* name, const QString& sql, const QVariantList& args,
                bool sub, QList<Rec>& out)
{
    QSqlQuery q;
    if (!runKept(d, name, sql, args, q))
        return false;
    const QSqlRecord rec = q.record();
    const Row r{q, rec};
    while (q.next()) {
        Rec x;
        readRecord(r, sub, x);
        out.append(x);
    }
    q.finish();
    return true;
}

// Downloads and uploads are kept alike: a table of queued entries and one of
// the files below queued folders. The names are fixed here, never input.
struct Queue
{
    const char* top;
    const char* sub;
};
extern const Queue kDownQueue;
extern const Queue kUpQueue;

QString onTable(const char* sql, const char* table);

// Running and waiting entries, oldest first.
template <class Rec>
bool topEntries(QSqlDatabase d, const char* name, const Queue& t, const QString& accessId,
                const QString& deviceId, int limit, QList<Rec>& out)
{
    return selectRows(d, name,
                      onTable("select * from %1 where accessId = ? and deviceId = ?"
                              " and fileState in (?, ?) order by createTime, fId limit ?, ?",
                              t.top),
                      {txt(accessId), txt(deviceId), 1, 2, 0, limit}, false, out);
}

// Sub-rows of a folder, oldest first, completed from the folder; pending:
// only running, waiting and paused ones.
template <class Rec>
bool subEntries(QSqlDatabase d, const char* name, const Queue& t, const Rec& folder,
                bool pending, int limit, QList<Rec>& out)
{
    const QString sql =
        pending ? onTable("select * from %1 where pId = ? and fileState in (?, ?, ?)"
                          " order by createTime, fId limit ?, ?",
                          t.sub)
                : onTable("select * from %1 where pId = ? order by createTime, fId limit ?, ?",
                          t.sub);
    const QVariantList args = pending ? QVariantList{folder.fId, 1, 2, 3, 0, limit}
                                      : QVariantList{folder.fId, 0, limit};
    QList<Rec> rows;
    if (!selectRows(d, name, sql, args, true, rows))
        return false;
    for (Rec& r : rows) {
        completeFromFolder(r, folder);
        out.append(r);
    }
    return true;
}

template <class Rec>
bool entryPage(QSqlDatabase d, const char* name, const Queue& t, int pageIndex, int pageSize,
               const QString& accessId, const QString& deviceId, QList<Rec>& out)
{
    return selectRows(d, name,
                      onTable("select * from %1 where accessId = ? and deviceId = ?"
                              " order by fileState, createTime, fId limit ?, ?",
                              t.top),
                      {txt(accessId), txt(deviceId), pageOffset(pageIndex, pageSize), pageSize},
                      false, out);
}

bool entryCount(QSqlDatabase d, const char* name, const char* table, const QString& accessId,
                const QString& deviceId, int& num);

template <class Rec>
bool entryById(QSqlDatabase d, const char* name, const Queue& t, int fId, Rec& out)
{
    QList<Rec> rows;
    if (!selectRows(d, name, onTable("select * from %1 where fId = ?", t.top), {fId}, false,
                    rows)
        || rows.isEmpty())
        return false;
    out = rows.first();
    return true;
}

int subEntryCount(QSqlDatabase d, const char* name, const Queue& t, int fId);

template <class Rec>
bool failedSubPage(QSqlDatabase d, const char* name, const Queue& t, int pageIndex,
                   int pageSize, const Rec& parent, QList<Rec>& out)
{
    return selectRows(d, name,
                      onTable("select * from %1 where pId = ? and fileState = ?"
                              " order by createTime, fId limit ?, ?",
                              t.sub),
                      {parent.fId, 4, pageOffset(pageIndex, pageSize), pageSize}, true, out);
}

bool queueState(QSqlDatabase d, const char* name, const Queue& t, const QString& accessId,
                const QString& deviceId, int& state);

// A sub-record updates its own row; a top folder also passes its state to
// its sub-rows unless onlyItem, and records its size.
template <class Rec>
QList<Stmt> statusUpdates(const Queue& t, const Rec& rec, bool onlyItem)
{
    const QVariantList args{rec.fileState, rec.fileWriteLen, rec.progress, txt(rec.msg), rec.fId};
    if (rec.isSubItem) {
        return {{onTable("update %1 set fileState = ?, fileWriteLen = ?, progress = ?, msg = ?"
                         " where fId = ?",
                         t.sub),
                 args}};
    }
    QList<Stmt> stmts;
    if (rec.isFolder && !onlyItem) {
        stmts.append({onTable("update %1 set fileState = ?, fileWriteLen = ?, progress = ?,"
                              " msg = ? where pId = ?",
                              t.sub),
                      args});
    }
    if (rec.isFolder) {
        stmts.append({onTable("update %1 set fileState = ?, fileWriteLen = ?, fileSize = ?,"
                              " progress = ?, msg = ? where fId = ?",
                              t.top),
                      {rec.fileState, rec.fileWriteLen, rec.fileSize, rec.progress, txt(rec.msg),
                       rec.fId}});
    } else {
        stmts.append({onTable("update %1 set fileState = ?, fileWriteLen = ?, progress = ?,"
                              " msg = ? where fId = ?",
                              t.top),
                      args});
    }
    return stmts;
}

bool deleteEntry(QSqlDatabase d, const char* name, const Queue& t, bool isSubItem, int fId);
bool deleteQueue(QSqlDatabase d, const char* name, const Queue& t, const QString& accessId,
                 const QString& deviceId);
bool moveAll(QSqlDatabase d, const char* name, const Queue& t, const QString& accessId,
             const QString& deviceId, bool start);
bool insertFinish(QSqlQuery& q, const FinishFileInfo& f);

// A finished sub-record is dropped. A finished top entry becomes a finished
// record and is dropped with its sub-rows, in one transaction. The row itself
// decides: a finish reported twice must not add a second finished record.
// `probe` is a column of the entry's row handed to `finished`, which makes
// the finished record.
template <class Rec, class MakeFinish>
bool finishEntry(QSqlDatabase d, const char* name, const Queue& t, const Rec& rec,
                 const char* probe, MakeFinish finished)
{
    if (rec.isSubItem)
        return deleteEntry(d, name, t, true, rec.fId);
    Tx tx(d, name);
    if (!tx.ok())
        return false;
    {
        QSqlQuery q(d);
        if (!run(q, name,
                 QString("select %1 from %2 where fId = ?")
                     .arg(QLatin1String(probe), QLatin1String(t.top)),
                 {rec.fId}))
            return false;
        if (!q.next()) {
            qDebug() << qPrintable(QString("DBHelp::%1 - entry already gone:").arg(name))
                     << rec.fId << rec.fileName;
            return true;
        }
        const QVariant probed = q.value(0);
        q.finish();
        if (!insertFinish(q, finished(probed))
            || !run(q, name, onTable("DELETE FROM %1 WHERE pId = ?", t.sub), {rec.fId})
            || !run(q, name, onTable("DELETE FROM %1 WHERE fId = ?", t.top), {rec.fId}))
            return false;
    }
    return tx.commit();
}

} // namespace dbhelp_internal
