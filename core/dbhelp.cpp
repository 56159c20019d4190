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
#include "core/dbhelpprivate.h"

using namespace dbhelp_internal;

namespace {

// Tables are created by whichever connection opens first; the mutex keeps two
// first openers from racing on the schema.
QMutex s_schemaMutex;
std::atomic<quint64> s_instanceSerial{0};

} // namespace

namespace dbhelp_internal {

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

bool run(QSqlQuery& q, const char* name, const QString& sql, const QVariantList& args)
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

} // namespace dbhelp_internal

namespace {

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

} // namespace

namespace dbhelp_internal {

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

const Queue kDownQueue{"lv_down_file", "lv_down_sub_file"};
const Queue kUpQueue{"lv_upload_file", "lv_upload_sub_file"};

QString onTable(const char* sql, const char* table)
{
    return QString::fromLatin1(sql).arg(QLatin1String(table));
}

bool entryCount(QSqlDatabase d, const char* name, const char* table, const QString& accessId,
                const QString& deviceId, int& num)
{
    return countRows(d, name,
                     onTable("select count(1) from %1 where accessId = ? and deviceId = ?", table),
                     {txt(accessId), txt(deviceId)}, num);
}

int subEntryCount(QSqlDatabase d, const char* name, const Queue& t, int fId)
{
    int num = 0;
    if (!countRows(d, name, onTable("select count(1) from %1 where pId = ?", t.sub), {fId}, num))
        return 0;
    return num;
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

} // namespace dbhelp_internal

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

// ----------------------------------------------------------- deferred writes

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
