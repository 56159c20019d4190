#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtTest>

#include "core/dbhelp.h"

// Fills the transfer tables of a real store file with rows of chosen state
// and age, through a connection of its own (the tables are made by DBHelp).
class TransferStore
{
public:
    explicit TransferStore(DBHelp& db) : m_name(QStringLiteral("tst_transfer_store"))
    {
        int n = 0;
        db.getFinishFileTotalNum("x", "y", n);  // opens the store: tables exist
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", m_name);
        d.setDatabaseName(db.filePath());
        d.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
        if (!d.open())
            qFatal("cannot open the test store");
    }
    ~TransferStore()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    int exec(const QString& sql, const QVariantList& args = {})
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        if (!q.prepare(sql))
            qFatal("prepare: %s", qPrintable(q.lastError().text()));
        for (const QVariant& a : args)
            q.addBindValue(a);
        if (!q.exec())
            qFatal("exec: %s", qPrintable(q.lastError().text()));
        return q.lastInsertId().toInt();
    }

    int addDown(const QString& acc, const QString& dev, const QString& name, int state,
                qint64 createTime, bool folder = false, const QString& msg = QString())
    {
        return exec("insert into lv_down_file (fileId, isFolder, fileName, accessId, deviceId,"
                    " fileState, fileSize, createTime, msg, savePath) values (?,?,?,?,?,?,?,?,?,?)",
                    {int(createTime % 100000), folder ? 1 : 0, name, acc, dev, state, 1000,
                     createTime, msg.isNull() ? QString("") : msg, "/save"});
    }
    int addDownSub(int pId, const QString& name, int state, qint64 createTime,
                   const QString& msg = QString())
    {
        return exec("insert into lv_down_sub_file (pId, fileName, fileState, fileSize,"
                    " createTime, msg) values (?,?,?,?,?,?)",
                    {pId, name, state, 2048, createTime, msg.isNull() ? QString("") : msg});
    }
    int addUp(const QString& acc, const QString& dev, const QString& name, int state,
              qint64 createTime, bool folder = false)
    {
        return exec("insert into lv_upload_file (uId, name, filePath, accessId, deviceId,"
                    " fileState, fileSize, createTime, isFolder) values (?,?,?,?,?,?,?,?,?)",
                    {name, name, "/local/" + name, acc, dev, state, 500, createTime,
                     folder ? 1 : 0});
    }
    int addUpSub(int pId, const QString& name, int state, qint64 createTime,
                 const QString& msg = QString())
    {
        return exec("insert into lv_upload_sub_file (pId, name, filePath, fileState, fileSize,"
                    " createTime, msg) values (?,?,?,?,?,?,?)",
                    {pId, name, "/local/sub/" + name, state, 4096, createTime,
                     msg.isNull() ? QString("") : msg});
    }
    int addFinish(const QString& acc, const QString& dev, const QString& name, bool isUp,
                  qint64 createTime, bool folder = false, const QString& savePath = "/save/x",
                  const QString& filePath = "/remote/x")
    {
        return exec("insert into lv_finish_file (fileId, isFolder, fileName, accessId, deviceId,"
                    " filePath, savePath, fileSize, isUp, createTime) values (?,?,?,?,?,?,?,?,?,?)",
                    {1, folder ? 1 : 0, name, acc, dev, filePath, savePath, 3072, isUp ? 1 : 0,
                     createTime});
    }
    int count(const QString& sql, const QVariantList& args = {})
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        q.prepare(sql);
        for (const QVariant& a : args)
            q.addBindValue(a);
        if (!q.exec() || !q.next())
            qFatal("count: %s", qPrintable(q.lastError().text()));
        return q.value(0).toInt();
    }

private:
    QString m_name;
};
