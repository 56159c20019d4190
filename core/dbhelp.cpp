#include "core/dbhelp.h"

#include <atomic>

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include "core/utils.h"

namespace {

// Tables are created by whichever connection opens first; the mutex keeps two
// first openers from racing on the schema.
QMutex s_schemaMutex;
std::atomic<quint64> s_instanceSerial{0};

// SQLite can bind at most 999 parameters in older builds.
const int kMaxInParams = 400;

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// A null QString binds as SQL NULL, which never equals ''; every text column
// holds '' instead.
QVariant txt(const QString& v)
{
    return v.isNull() ? QVariant(QString("")) : QVariant(v);
}

int pageOffset(int pageIndex, int pageSize)
{
    return qMax(0, (pageIndex - 1) * pageSize);
}

void logFail(const char* name, const QString& sql, const QSqlError& err)
{
    qWarning().noquote() << QString("DBHelp::%1 SQL: %2").arg(name, sql);
    qWarning().noquote() << QString("DBHelp::%1 Err: %2").arg(name, err.text());
}

bool run(QSqlQuery& q, const char* name, const QString& sql, const QVariantList& args = {})
{
    if (!q.prepare(sql)) {
        logFail(name, sql, q.lastError());
        return false;
    }
    for (const QVariant& a : args)
        q.addBindValue(a);
    if (!q.exec()) {
        logFail(name, sql, q.lastError());
        return false;
    }
    return true;
}

// Writers of one file in this process queue here instead of in SQLite's
// busy handler, which sleeps a millisecond or more per try: engines write
// from several threads at once, a few times per small file.
QRecursiveMutex* writeGate(const QString& file)
{
    static QMutex mutex;
    static QHash<QString, QRecursiveMutex*> gates;   // never freed: few files
    QMutexLocker lock(&mutex);
    QRecursiveMutex*& gate = gates[file];
    if (!gate)
        gate = new QRecursiveMutex;
    return gate;
}

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

// One reader per record type, so the row helpers below serve every table.
// `sub`: the row comes from a sub-file table, which keeps less per row.
void readRecord(const Row& r, bool sub, DownFileInfo& d)
{
    d.fId = r("fId").toInt();
    d.fileId = r("fileId").toInt();
    d.isFolder = r("isFolder").toInt() != 0;
    d.fileName = r("fileName").toString();
    d.ower = r("ower").toString();
    d.filePath = r("downUrl").toString();
    d.fileMd5 = r("fileMd5").toString();
    d.usbFilePath = r("usbFilePath").toString();
    d.savePath = r("savePath").toString();
    d.fileState = r("fileState").toInt();
    d.fileWriteLen = r("fileWriteLen").toLongLong();
    d.fileSize = r("fileSize").toLongLong();
    d.createTime = r("createTime").toLongLong();
    d.msg = r("msg").toString();
    d.progress = r("progress").toFloat();
    d.taskId = r("taskId").toString();
    d.shareId = r("shareId").toString();
    d.extractedCode = r("extractedCode").toString();
    if (sub) {
        d.isSubItem = true;
        d.pId = r("pId").toInt();
        d.pNamePath = r("pNamePath").toString();
        // A folder row below a top folder only stands for an empty folder.
        d.isEmptyFolder = d.isFolder;
    } else {
        d.accessId = r("accessId").toString();
        d.deviceId = r("deviceId").toString();
        d.fileCatetory = r("fileCatetory").toInt();
        d.saveName = r("saveName").toString();
        d.pId = d.fId;
    }
}

void readRecord(const Row& r, bool sub, UploadFileInfo& u)
{
    u.fId = r("fId").toInt();
    u.fileName = r("name").toString();
    u.filePath = r("filePath").toString();
    u.fileState = r("fileState").toInt();
    u.fileMd5 = r("fileMd5").toString();
    u.fileWriteLen = r("fileWriteLen").toLongLong();
    u.fileSize = r("fileSize").toLongLong();
    u.createTime = r("createTime").toLongLong();
    u.msg = r("msg").toString();
    u.progress = r("progress").toFloat();
    u.taskId = r("taskId").toString();
    u.isFolder = r("isFolder").toInt() != 0;
    if (sub) {
        u.isSubItem = true;
        u.pId = r("pId").toInt();
    } else {
        u.uId = r("uId").toString();
        u.accessId = r("accessId").toString();
        u.deviceId = r("deviceId").toString();
        u.dirId = r("dirId").toInt();
        u.diskSerial = r("diskSerial").toString();
        u.isCover = r("isCover").toInt() != 0;
        u.isExternal = r("isExternal").toInt() != 0;
        u.isSafeBox = r("isSafeBox").toInt() != 0;
        u.externalPath = r("externalPath").toString();
        u.upPath = r("upPath").toString();
        u.groupId = r("groupId").toInt();
        u.uploadType = r("uploadType").toInt();
        u.pDirId = r("pDirId").toInt();
        u.pExternalPath = r("pExternalPath").toString();
    }
}

void readRecord(const Row& r, bool, FinishFileInfo& f)
{
    f.fId = r("fId").toInt();
    f.fileId = r("fileId").toInt();
    f.isFolder = r("isFolder").toInt() != 0;
    f.fileName = r("fileName").toString();
    f.accessId = r("accessId").toString();
    f.deviceId = r("deviceId").toString();
    f.fileMd5 = r("fileMd5").toString();
    f.filePath = r("filePath").toString();
    f.usbFilePath = r("usbFilePath").toString();
    f.savePath = r("savePath").toString();
    f.fileSize = r("fileSize").toLongLong();
    f.isUp = r("isUp").toInt() != 0;
    f.createTime = r("createTime").toLongLong();
}

void readRecord(const Row& r, bool, Extlink& e)
{
    e.id = r("oid").toLongLong();
    e.modify_date = r("modify_date").toString();
    e.create_date = r("create_date").toString();
    e.createdDate = r("createdDate").toLongLong();
    e.reportCount = r("reportCount").toInt();
    e.shareId = r("shareId").toString();
    e.deviceId = r("deviceId").toString();
    e.deviceName = r("deviceName").toString();
    e.deviceToken = r("deviceToken").toString();
    e.dcsCookie = r("dcsCookie").toString();
    e.title = r("title").toString();
    e.userId = r("userId").toString();
    e.userNickname = r("userNickname").toString();
    e.extractedCode = r("extractedCode").toInt() != 0;
    e.url = r("url").toString();
    e.code = r("code").toString();
    e.fileId = r("fileId").toLongLong();
}

// A sub-row keeps only what differs per file; the rest comes from its folder.
void completeFromFolder(DownFileInfo& d, const DownFileInfo& folder)
{
    d.accessId = folder.accessId;
    d.deviceId = folder.deviceId;
}

void completeFromFolder(UploadFileInfo& u, const UploadFileInfo& folder)
{
    u.accessId = folder.accessId;
    u.deviceId = folder.deviceId;
    u.dirId = folder.dirId;
    u.diskSerial = folder.diskSerial;
    u.isCover = folder.isCover;
    u.isExternal = folder.isExternal;
    u.isSafeBox = folder.isSafeBox;
    u.externalPath = folder.externalPath;
    u.upPath = folder.upPath;
    u.groupId = folder.groupId;
    u.uploadType = folder.uploadType;
    u.pFilePath = folder.filePath;
    u.isSubItem = true;
}

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS lv_app (key TEXT PRIMARY KEY, value TEXT)",
    "CREATE TABLE IF NOT EXISTS lv_down_file ("
    " fId INTEGER PRIMARY KEY AUTOINCREMENT, fileId INTEGER DEFAULT 0,"
    " isFolder INTEGER DEFAULT 0, fileName TEXT DEFAULT '', ower TEXT DEFAULT '',"
    " accessId TEXT DEFAULT '', deviceId TEXT DEFAULT '', fileMd5 TEXT DEFAULT '',"
    " downUrl TEXT DEFAULT '', usbFilePath TEXT DEFAULT '', savePath TEXT DEFAULT '',"
    " fileState INTEGER DEFAULT 0, fileWriteLen INTEGER DEFAULT 0, fileSize INTEGER DEFAULT 0,"
    " createTime INTEGER DEFAULT 0, msg TEXT DEFAULT '', progress REAL DEFAULT 0,"
    " taskId TEXT DEFAULT '', fileCatetory INTEGER DEFAULT 0, saveName TEXT DEFAULT '',"
    " shareId TEXT DEFAULT '', extractedCode TEXT DEFAULT '')",
    "CREATE TABLE IF NOT EXISTS lv_down_sub_file ("
    " fId INTEGER PRIMARY KEY AUTOINCREMENT, pId INTEGER DEFAULT 0, pNamePath TEXT DEFAULT '',"
    " fileId INTEGER DEFAULT 0, fileName TEXT DEFAULT '', ower TEXT DEFAULT '',"
    " fileMd5 TEXT DEFAULT '', downUrl TEXT DEFAULT '', usbFilePath TEXT DEFAULT '',"
    " savePath TEXT DEFAULT '', fileState INTEGER DEFAULT 0, fileWriteLen INTEGER DEFAULT 0,"
    " fileSize INTEGER DEFAULT 0, createTime INTEGER DEFAULT 0, msg TEXT DEFAULT '',"
    " progress REAL DEFAULT 0, taskId TEXT DEFAULT '', isFolder INTEGER DEFAULT 0,"
    " shareId TEXT DEFAULT '', extractedCode TEXT DEFAULT '')",
    "CREATE TABLE IF NOT EXISTS lv_upload_file ("
    " fId INTEGER PRIMARY KEY AUTOINCREMENT, uId TEXT DEFAULT '', name TEXT DEFAULT '',"
    " filePath TEXT DEFAULT '', accessId TEXT DEFAULT '', deviceId TEXT DEFAULT '',"
    " fileState INTEGER DEFAULT 0, fileMd5 TEXT DEFAULT '', fileWriteLen INTEGER DEFAULT 0,"
    " fileSize INTEGER DEFAULT 0, createTime INTEGER DEFAULT 0, msg TEXT DEFAULT '',"
    " progress REAL DEFAULT 0, taskId TEXT DEFAULT '', isFolder INTEGER DEFAULT 0,"
    " dirId INTEGER DEFAULT 0, diskSerial TEXT DEFAULT '', isCover INTEGER DEFAULT 0,"
    " isExternal INTEGER DEFAULT 0, isSafeBox INTEGER DEFAULT 0, externalPath TEXT DEFAULT '',"
    " upPath TEXT DEFAULT '', groupId INTEGER DEFAULT 0, uploadType INTEGER DEFAULT 0,"
    " pDirId INTEGER DEFAULT 0, pExternalPath TEXT DEFAULT '')",
    "CREATE TABLE IF NOT EXISTS lv_upload_sub_file ("
    " fId INTEGER PRIMARY KEY AUTOINCREMENT, pId INTEGER DEFAULT 0, name TEXT DEFAULT '',"
    " filePath TEXT DEFAULT '', fileState INTEGER DEFAULT 0, fileMd5 TEXT DEFAULT '',"
    " fileWriteLen INTEGER DEFAULT 0, fileSize INTEGER DEFAULT 0, createTime INTEGER DEFAULT 0,"
    " msg TEXT DEFAULT '', progress REAL DEFAULT 0, taskId TEXT DEFAULT '',"
    " isFolder INTEGER DEFAULT 0)",
    "CREATE TABLE IF NOT EXISTS lv_finish_file ("
    " fId INTEGER PRIMARY KEY AUTOINCREMENT, fileId INTEGER DEFAULT 0,"
    " isFolder INTEGER DEFAULT 0, fileName TEXT DEFAULT '', accessId TEXT DEFAULT '',"
    " deviceId TEXT DEFAULT '', fileMd5 TEXT DEFAULT '', filePath TEXT DEFAULT '',"
    " usbFilePath TEXT DEFAULT '', savePath TEXT DEFAULT '', fileSize INTEGER DEFAULT 0,"
    " isUp INTEGER DEFAULT 0, createTime INTEGER DEFAULT 0)",
    "CREATE TABLE IF NOT EXISTS lv_extlink_list ("
    " oid INTEGER PRIMARY KEY AUTOINCREMENT, shareId TEXT DEFAULT '', accessId TEXT DEFAULT '',"
    " deviceId TEXT DEFAULT '', deviceName TEXT DEFAULT '', deviceToken TEXT DEFAULT '',"
    " dcsCookie TEXT DEFAULT '', userId TEXT DEFAULT '', userNickname TEXT DEFAULT '',"
    " title TEXT DEFAULT '', fileId INTEGER DEFAULT 0, reportCount INTEGER DEFAULT 0,"
    " createdDate INTEGER DEFAULT 0, create_date TEXT DEFAULT '', modify_date TEXT DEFAULT '',"
    " extractedCode INTEGER DEFAULT 0, code TEXT DEFAULT '', url TEXT DEFAULT '',"
    " status INTEGER DEFAULT 0, oper_ctime INTEGER DEFAULT 0)",
    "CREATE INDEX IF NOT EXISTS idx_down_queue"
    " ON lv_down_file (accessId, deviceId, fileState, createTime)",
    "CREATE INDEX IF NOT EXISTS idx_down_file_id ON lv_down_file (fileId, accessId, deviceId)",
    "CREATE INDEX IF NOT EXISTS idx_down_sub ON lv_down_sub_file (pId, fileState, createTime)",
    "CREATE INDEX IF NOT EXISTS idx_up_queue"
    " ON lv_upload_file (accessId, deviceId, fileState, createTime)",
    "CREATE INDEX IF NOT EXISTS idx_up_path ON lv_upload_file (filePath, accessId, deviceId)",
    "CREATE INDEX IF NOT EXISTS idx_up_sub ON lv_upload_sub_file (pId, fileState, createTime)",
    "CREATE INDEX IF NOT EXISTS idx_finish ON lv_finish_file (accessId, deviceId, createTime)",
    "CREATE INDEX IF NOT EXISTS idx_finish_path ON lv_finish_file (filePath, accessId, deviceId)",
    "CREATE INDEX IF NOT EXISTS idx_extlink ON lv_extlink_list (accessId, deviceId, status, oper_ctime)",
    "INSERT OR IGNORE INTO lv_app (key, value) VALUES ('schema', '1')",
};

bool prepareConnection(QSqlDatabase& db)
{
    QSqlQuery q(db);
    QMutexLocker lock(&s_schemaMutex);
    // WAL lets readers run beside the one writer of another engine. Turning
    // it on needs the file to itself, which the busy time-out does not wait
    // for, so another process may make us retry for a while.
    bool wal = false;
    for (int attempt = 0; attempt < 50 && !wal; ++attempt) {
        if (q.exec("PRAGMA journal_mode") && q.next()
            && q.value(0).toString().compare("wal", Qt::CaseInsensitive) == 0) {
            wal = true;
            break;
        }
        q.finish();
        if (q.exec("PRAGMA journal_mode=WAL") && q.next())
            wal = q.value(0).toString().compare("wal", Qt::CaseInsensitive) == 0;
        q.finish();
        if (!wal)
            QThread::msleep(100);
    }
    if (!wal)
        logFail("open", "PRAGMA journal_mode=WAL", q.lastError());
    q.finish();
    run(q, "open", "PRAGMA synchronous=NORMAL");
    q.finish();

    // Tables are made once per file; a file removed meanwhile gets them again.
    static QSet<QString> ready;
    if (ready.contains(db.databaseName())) {
        const bool has = q.exec("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'lv_app'")
                         && q.next();
        q.finish();
        if (has)
            return true;
        qWarning() << "DBHelp::open - tables of" << db.databaseName() << "are gone, making them again";
    }
    Tx tx(db, "createTables");
    if (!tx.ok())
        return false;
    for (const char* stmt : kSchema) {
        if (!run(q, "createTables", QString::fromLatin1(stmt)))
            return false;
    }
    q.finish();
    if (!tx.commit())
        return false;
    ready.insert(db.databaseName());
    return true;
}

// SQLite's answer for a file that is not (or no longer) a database.
bool notADatabase(const QSqlError& err)
{
    const QString code = err.nativeErrorCode();
    return code == "26" || code == "11" || err.text().contains("not a database", Qt::CaseInsensitive)
           || err.text().contains("malformed", Qt::CaseInsensitive);
}

// Once per file and process, before the first connection: a file SQLite
// cannot use as a database is moved aside (kept for inspection) so that a
// fresh store is made in its place instead of every call failing for ever.
void checkStore(const QString& path)
{
    static QMutex mutex;
    static QSet<QString> checked;
    QMutexLocker lock(&mutex);
    if (checked.contains(path))
        return;
    checked.insert(path);
    const QFileInfo info(path);
    if (!info.exists())
        return;
    QString why;
    if (!info.isFile()) {
        why = "not a file";
    } else {
        const QString name = QString("larkvault_check_%1").arg(quintptr(QThread::currentThread()));
        {
            QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", name);
            d.setDatabaseName(path);
            d.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
            if (!d.open()) {
                if (notADatabase(d.lastError()))
                    why = d.lastError().text();
            } else {
                QSqlQuery q(d);
                if (!q.exec("SELECT count(*) FROM sqlite_master") && notADatabase(q.lastError()))
                    why = q.lastError().text();
            }
            d.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    if (why.isEmpty())
        return;
    const QString aside = path + "." + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss")
                          + ".unusable";
    if (!QFile::rename(path, aside) && !QDir().rename(path, aside)) {
        qCritical().noquote() << QString("DBHelp - the store %1 is not usable (%2) and cannot be moved to %3")
                                     .arg(path, why, aside);
        return;
    }
    for (const char* extra : {"-wal", "-shm"})
        if (QFileInfo::exists(path + extra))
            QFile::rename(path + extra, aside + extra);
    qCritical().noquote() << QString("DBHelp - the store %1 is not usable (%2); it was moved to %3 and a fresh store is made")
                                 .arg(path, why, aside);
}

using Stmt = QPair<QString, QVariantList>;

// Statements of the busy paths (queue reads, state changes) stay prepared per
// connection instead of being compiled again on every call. A kept query is
// shared: its user reads it at once and finishes it, so no read snapshot
// outlives the call.
QMutex s_keptMutex;
QHash<QString, QHash<QString, QSqlQuery>> s_kept;

// Before a connection closes.
void dropKept(const QString& connection)
{
    QHash<QString, QSqlQuery> gone;
    QMutexLocker lock(&s_keptMutex);
    gone = s_kept.take(connection);
    lock.unlock();
}

bool runKept(QSqlDatabase& d, const char* name, const QString& sql, const QVariantList& args,
             QSqlQuery& q)
{
    const QString conn = d.connectionName();
    bool kept = false;
    {
        QMutexLocker lock(&s_keptMutex);
        auto it = s_kept.find(conn);
        if (it != s_kept.end()) {
            auto found = it->find(sql);
            if (found != it->end()) {
                q = *found;
                kept = true;
            }
        }
    }
    if (!kept) {
        q = QSqlQuery(d);
        q.setForwardOnly(true);
        if (!q.prepare(sql)) {
            logFail(name, sql, q.lastError());
            q = QSqlQuery();
            return false;
        }
        QMutexLocker lock(&s_keptMutex);
        s_kept[conn].insert(sql, q);
    }
    for (int i = 0; i < args.size(); ++i)
        q.bindValue(i, args.at(i));
    if (!q.exec()) {
        logFail(name, sql, q.lastError());
        q.finish();
        return false;
    }
    return true;
}

bool countRows(QSqlDatabase d, const char* name, const QString& sql, const QVariantList& args,
               int& num)
{
    QSqlQuery q;
    if (!runKept(d, name, sql, args, q))
        return false;
    num = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return true;
}

// All statements in one transaction.
bool execBatch(QSqlDatabase d, const char* name, const QList<Stmt>& stmts)
{
    Tx tx(d, name);
    if (!tx.ok())
        return false;
    for (const Stmt& s : stmts) {
        QSqlQuery q;
        const bool ok = runKept(d, name, s.first, s.second, q);
        q.finish();
        if (!ok)
            return false;
    }
    return tx.commit();
}

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
const Queue kDownQueue{"lv_down_file", "lv_down_sub_file"};
const Queue kUpQueue{"lv_upload_file", "lv_upload_sub_file"};

QString onTable(const char* sql, const char* table)
{
    return QString::fromLatin1(sql).arg(QLatin1String(table));
}

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
                const QString& deviceId, int& num)
{
    return countRows(d, name,
                     onTable("select count(1) from %1 where accessId = ? and deviceId = ?", table),
                     {txt(accessId), txt(deviceId)}, num);
}

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

int subEntryCount(QSqlDatabase d, const char* name, const Queue& t, int fId)
{
    int num = 0;
    if (!countRows(d, name, onTable("select count(1) from %1 where pId = ?", t.sub), {fId}, num))
        return 0;
    return num;
}

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

// 1: only paused/failed entries; 2: paused/failed and running/waiting ones
// (also when a statement fails); 0 otherwise.
bool queueState(QSqlDatabase d, const char* name, const Queue& t, const QString& accessId,
                const QString& deviceId, int& state)
{
    const QString sql = onTable("select count(1) from %1 where accessId = ? and deviceId = ?"
                                " and fileState in (?, ?)",
                                t.top);
    int paused = 0;
    int running = 0;
    if (!countRows(d, name, sql, {txt(accessId), txt(deviceId), 3, 4}, paused)
        || !countRows(d, name, sql, {txt(accessId), txt(deviceId), 1, 2}, running)) {
        state = 2;
        return false;
    }
    if (paused > 0 && running == 0)
        state = 1;
    else if (paused > 0 && running > 0)
        state = 2;
    else
        state = 0;
    return true;
}

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

// A top entry goes with its sub-rows.
bool deleteEntry(QSqlDatabase d, const char* name, const Queue& t, bool isSubItem, int fId)
{
    if (isSubItem)
        return execBatch(d, name, {{onTable("DELETE FROM %1 WHERE fId = ?", t.sub), {fId}}});
    return execBatch(d, name,
                     {{onTable("DELETE FROM %1 WHERE pId = ?", t.sub), {fId}},
                      {onTable("DELETE FROM %1 WHERE fId = ?", t.top), {fId}}});
}

bool deleteQueue(QSqlDatabase d, const char* name, const Queue& t, const QString& accessId,
                 const QString& deviceId)
{
    const QVariantList key{txt(accessId), txt(deviceId)};
    return execBatch(d, name,
                     {{QString("DELETE FROM %1 WHERE pId IN (SELECT fId FROM %2"
                               " WHERE accessId = ? AND deviceId = ? AND isFolder = 1)")
                           .arg(QLatin1String(t.sub), QLatin1String(t.top)),
                       key},
                      {onTable("DELETE FROM %1 WHERE accessId = ? AND deviceId = ?", t.top),
                       key}});
}

// start: paused/failed entries wait again; otherwise running/waiting ones
// pause.
bool moveAll(QSqlDatabase d, const char* name, const Queue& t, const QString& accessId,
             const QString& deviceId, bool start)
{
    const int from1 = start ? 3 : 1;
    const int from2 = start ? 4 : 2;
    const int to = start ? 2 : 3;
    const QVariantList args{to, txt(accessId), txt(deviceId), from1, from2};
    // Sub-rows first: once the folder rows change state they no longer
    // select their sub-rows.
    return execBatch(d, name,
                     {{QString("update %1 set fileState = ? where pId in (select fId from %2"
                               " where accessId = ? and deviceId = ? and fileState in (?, ?))")
                           .arg(QLatin1String(t.sub), QLatin1String(t.top)),
                       args},
                      {onTable("update %1 set fileState = ? where accessId = ? and deviceId = ?"
                               " and fileState in (?, ?)",
                               t.top),
                       args}});
}

bool insertFinish(QSqlQuery& q, const FinishFileInfo& f)
{
    return run(q, "insertFinish",
               "insert into lv_finish_file (fileId, isFolder, fileName, accessId, deviceId, fileMd5,"
               " filePath, usbFilePath, savePath, fileSize, isUp, createTime)"
               " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
               {f.fileId, f.isFolder ? 1 : 0, txt(f.fileName), txt(f.accessId), txt(f.deviceId),
                txt(f.fileMd5), txt(f.filePath), txt(f.usbFilePath), txt(f.savePath), f.fileSize,
                f.isUp ? 1 : 0, f.createTime});
}

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

struct DBHelp::State
{
    QMutex mutex;
    QString path;
    QString prefix;
    int next = 0;
    QHash<QThread*, QString> conns;
    // Deferred writes per thread, and whether writing some of them failed
    // since the owner last asked.
    QHash<QThread*, QList<Stmt>> deferred;
    QSet<QThread*> deferredFailed;

    // Writes what t deferred, on t's connection d.
    void writeDeferred(QThread* t, QSqlDatabase d)
    {
        QList<Stmt> stmts;
        {
            QMutexLocker lock(&mutex);
            stmts = deferred.take(t);
        }
        if (stmts.isEmpty())
            return;
        if (!execBatch(d, "writeDeferred", stmts)) {
            QMutexLocker lock(&mutex);
            deferredFailed.insert(t);
        }
    }

    // Runs on the finishing thread itself, the only one allowed to close it.
    void release(QThread* t)
    {
        QString name;
        {
            QMutexLocker lock(&mutex);
            name = conns.take(t);
        }
        if (!name.isEmpty()) {
            writeDeferred(t, QSqlDatabase::database(name, false));
            dropKept(name);
            QSqlDatabase::removeDatabase(name);
        }
        QMutexLocker lock(&mutex);
        deferred.remove(t);
        deferredFailed.remove(t);
    }
};

DBHelp::DBHelp(int kind, const QString& path)
    : m_kind(kind), m_state(std::make_shared<State>())
{
    m_state->path = path;
    m_state->prefix = QString("larkvault_%1_%2_").arg(kind).arg(++s_instanceSerial);
}

DBHelp::~DBHelp()
{
    QStringList names;
    {
        QMutexLocker lock(&m_state->mutex);
        names = m_state->conns.values();
        m_state->conns.clear();
    }
    for (const QString& n : names) {
        dropKept(n);
        QSqlDatabase::removeDatabase(n);
    }
}

QString DBHelp::filePath() const
{
    return m_state->path.isEmpty() ? getAppDataPath() + "larkvault.db" : m_state->path;
}

QSqlDatabase DBHelp::db()
{
    QThread* t = QThread::currentThread();
    QString name;
    bool deferred = false;
    {
        QMutexLocker lock(&m_state->mutex);
        name = m_state->conns.value(t);
        deferred = m_state->deferred.contains(t);
    }
    if (!name.isEmpty()) {
        {
            QSqlDatabase d = QSqlDatabase::database(name, false);
            if (d.isOpen()) {
                // Whatever comes next sees the deferred writes.
                if (deferred)
                    m_state->writeDeferred(t, d);
                return d;
            }
        }
        // Left behind by an earlier thread object at the same address.
        m_state->release(t);
    }
    {
        QMutexLocker lock(&m_state->mutex);
        name = m_state->prefix + QString::number(m_state->next++);
    }

    checkStore(filePath());
    bool ok = false;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", name);
        d.setDatabaseName(filePath());
        // Engines write from their own threads; wait for the other writer
        // instead of failing with "database is locked".
        d.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
        if (!d.open())
            logFail("open", filePath(), d.lastError());
        else
            ok = prepareConnection(d);
        if (!ok)
            d.close();
    }
    if (!ok) {
        QSqlDatabase::removeDatabase(name);
        return QSqlDatabase();
    }

    {
        QMutexLocker lock(&m_state->mutex);
        m_state->conns.insert(t, name);
    }
    std::weak_ptr<State> weak = m_state;
    QObject::connect(t, &QThread::finished, [weak, t]() {
        if (auto st = weak.lock())
            st->release(t);
    });
    qDebug() << "DBHelp::open - connection" << name << "on" << filePath();
    QSqlDatabase d = QSqlDatabase::database(name, false);
    m_state->writeDeferred(t, d);
    return d;
}

// ---------------------------------------------------------------- downloads

namespace {
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

bool DBHelp::deferDownFileStatus(const DownFileInfo& rec, bool onlyItem)
{
    // A finished top entry becomes a finished record, which is decided by
    // reading its row: that one is written at once.
    if (rec.fileState == 5 && !rec.isSubItem)
        return updateDownFileStatus(rec, onlyItem);
    const QList<Stmt> stmts =
        rec.fileState == 5 ? QList<Stmt>{{onTable("DELETE FROM %1 WHERE fId = ?", kDownQueue.sub), {rec.fId}}}
                           : statusUpdates(kDownQueue, rec, onlyItem);
    QMutexLocker lock(&m_state->mutex);
    m_state->deferred[QThread::currentThread()].append(stmts);
    return true;
}

bool DBHelp::writeDeferred()
{
    QThread* t = QThread::currentThread();
    bool any = false;
    {
        QMutexLocker lock(&m_state->mutex);
        any = m_state->deferred.contains(t) || m_state->deferredFailed.contains(t);
    }
    if (!any)
        return true;
    db();
    QMutexLocker lock(&m_state->mutex);
    // Left only when no connection could be opened.
    const bool left = m_state->deferred.remove(t) > 0;
    const bool failed = m_state->deferredFailed.remove(t);
    return !left && !failed;
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

// ------------------------------------------------------------------ uploads

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
                            int offset, int count, QList<Extlink>& out)
{
    return selectRows(db(), "getExtlinkList",
                      "select * from lv_extlink_list where accessId = ? and deviceId = ?"
                      " and status = ? order by oper_ctime desc, oid desc limit ?, ?",
                      {txt(accessId), txt(deviceId), status, qMax(0, offset), count}, false, out);
}

bool DBHelp::removeExtlink(qint64 oid)
{
    return execBatch(db(), "removeExtlink", {{"DELETE FROM lv_extlink_list WHERE oid = ?", {oid}}});
}
