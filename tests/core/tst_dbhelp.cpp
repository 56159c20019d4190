#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include "core/dbhelp.h"
#include "core/utils.h"
#include "tests/testenv.h"

namespace {

DeviceInfo dev(const QString& acc, const QString& id)
{
    DeviceInfo d;
    d.accessId = acc;
    d.deviceId = id;
    return d;
}

DownFileInfo down(int fileId, const QString& name, int state, bool folder = false,
                  const QString& acc = "A", const QString& devId = "D1")
{
    DownFileInfo d;
    d.fileId = fileId;
    d.fileName = name;
    d.fileState = state;
    d.isFolder = folder;
    d.accessId = acc;
    d.deviceId = devId;
    d.ower = acc;
    d.filePath = "/remote/" + name;
    d.savePath = "/save";
    return d;
}

// A file below folder, not stored yet.
DownFileInfo downSub(const DownFileInfo& folder, int fileId, const QString& name, int state)
{
    DownFileInfo s = down(fileId, name, state);
    s.isSubItem = true;
    s.pId = folder.fId;
    return s;
}

UploadFileInfo upload(const QString& path, int state, bool folder = false,
                      const QString& acc = "A", const QString& devId = "D1")
{
    UploadFileInfo u;
    u.filePath = path;
    u.fileName = QFileInfo(path).fileName();
    u.fileState = state;
    u.isFolder = folder;
    u.accessId = acc;
    u.deviceId = devId;
    u.dirId = 77;
    u.upPath = "/remote/in";
    return u;
}

void touch(const QString& path, int size = 0)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(size, 'x'));
}

// A second, independent connection for checks and sabotage.
class Raw
{
public:
    explicit Raw(const QString& path) : m_name(QString("raw_%1").arg(++s_n))
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", m_name);
        d.setDatabaseName(path);
        d.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
        d.open();
    }
    ~Raw() { QSqlDatabase::removeDatabase(m_name); }
    int count(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        if (!q.exec(sql) || !q.next())
            return -1;
        return q.value(0).toInt();
    }
    QVariant value(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        if (!q.exec(sql) || !q.next())
            return QVariant();
        return q.value(0);
    }
    bool exec(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        const bool ok = q.exec(sql);
        if (!ok)
            qWarning() << q.lastError().text();
        return ok;
    }

private:
    QString m_name;
    static int s_n;
};
int Raw::s_n = 0;

} // namespace

class TestDBHelp : public QObject
{
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QString m_path;

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_path = m_dir->path() + "/larkvault.db";
    }
    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    void schemaOnDefaultFile()
    {
        DBHelp db;
        QCOMPARE(db.filePath(), getAppDataPath() + "larkvault.db");
        int n = -1;
        QVERIFY(db.getDownFileTotalNum("A", "D1", n));
        QCOMPARE(n, 0);
        Raw raw(db.filePath());
        QCOMPARE(raw.count("select count(1) from sqlite_master where type = 'table' and name in"
                           " ('lv_app', 'lv_down_file', 'lv_down_sub_file', 'lv_upload_file',"
                           " 'lv_upload_sub_file', 'lv_finish_file', 'lv_extlink_list')"), 7);
        QCOMPARE(raw.value("PRAGMA journal_mode").toString(), QString("wal"));
        QVERIFY(raw.count("select count(1) from sqlite_master where type = 'index'") >= 6);
    }

    void queuePagingKeepsOrderWithTies()
    {
        DBHelp db(DBHelp::Download, m_path);
        const int states[] = {2, 1, 3, 2, 4, 2, 1, 3};
        QList<int> ids;
        for (int i = 0; i < 40; ++i) {
            DownFileInfo d = down(i + 1, QString("f%1").arg(i), states[i % 8]);
            QVERIFY(db.addDownFile(d));
            QVERIFY(d.fId > 0);
            QCOMPARE(d.pId, d.fId);
            QVERIFY(d.createTime > 0);
            ids.append(d.fId);
        }
        DownFileInfo other = down(500, "other", 2, false, "A", "D2");
        QVERIFY(db.addDownFile(other));

        QList<DownFileInfo> all;
        for (int page = 1; page <= 5; ++page) {
            QList<DownFileInfo> part;
            QVERIFY(db.getDownFileList(page, 9, dev("A", "D1"), part));
            QVERIFY(part.size() <= 9);
            all += part;
        }
        QCOMPARE(all.size(), 40);
        QSet<int> seen;
        for (int i = 0; i < all.size(); ++i) {
            seen.insert(all[i].fId);
            QCOMPARE(all[i].deviceId, QString("D1"));
            if (i > 0) {
                const DownFileInfo& a = all[i - 1];
                const DownFileInfo& b = all[i];
                const bool ordered = a.fileState < b.fileState
                    || (a.fileState == b.fileState
                        && (a.createTime < b.createTime
                            || (a.createTime == b.createTime && a.fId < b.fId)));
                QVERIFY(ordered);
            }
        }
        QCOMPARE(seen.size(), 40);
        int n = 0;
        QVERIFY(db.getDownFileTotalNum(dev("A", "D1"), n));
        QCOMPARE(n, 40);
        QList<DownFileInfo> beyond;
        QVERIFY(db.getDownFileList(10, 9, "A", "D1", beyond));
        QVERIFY(beyond.isEmpty());

        DownFileInfo byId;
        QVERIFY(db.getDownFileWidthFId(ids[3], byId));
        QCOMPARE(byId.fileName, QString("f3"));
        QVERIFY(!db.getDownFileWidthFId(99999, byId));
    }

    void topOfQueuePerAccountAndDevice()
    {
        DBHelp db(DBHelp::Download, m_path);
        DownFileInfo p = down(1, "paused", 3);
        DownFileInfo w1 = down(2, "w1", 2);
        DownFileInfo r = down(3, "running", 1);
        DownFileInfo w2 = down(4, "w2", 2);
        DownFileInfo foreignAcc = down(5, "x", 2, false, "B", "D1");
        DownFileInfo foreignDev = down(6, "y", 2, false, "A", "D2");
        for (DownFileInfo* d : {&p, &w1, &r, &w2, &foreignAcc, &foreignDev})
            QVERIFY(db.addDownFile(*d));
        QList<DownFileInfo> top;
        QVERIFY(db.getTopDownFileList(dev("A", "D1"), top));
        QCOMPARE(top.size(), 2);
        QCOMPARE(top[0].fId, w1.fId);
        QCOMPARE(top[1].fId, r.fId);

        // Found by file id, with an empty (not NULL) disk path.
        DownFileInfo probe = down(4, "w2", 2);
        QVERIFY(db.hasDownFile(probe));
        QCOMPARE(probe.fId, w2.fId);
        DownFileInfo missing = down(4, "w2", 2, false, "A", "D9");
        QVERIFY(!db.hasDownFile(missing));
        int fId = 0;
        QVERIFY(db.getDownFileFid(w1, fId));
        QCOMPARE(fId, w1.fId);

        // Files of two links may carry the same id: each link's entry is its own.
        DownFileInfo linkA = down(7, "a", 2);
        linkA.shareId = "shareA";
        QVERIFY(db.addDownFile(linkA));
        QVERIFY(db.getDownFileFid(linkA, fId));
        QCOMPARE(fId, linkA.fId);
        DownFileInfo linkB = down(7, "b", 2);
        linkB.shareId = "shareB";
        QVERIFY(!db.hasDownFile(linkB));
        QVERIFY(db.addDownFile(linkB));
        QVERIFY(db.getDownFileFid(linkA, fId));
        QCOMPARE(fId, linkA.fId);
        DownFileInfo againA = down(7, "a", 2);
        againA.shareId = "shareA";
        QVERIFY(db.hasDownFile(againA));
        QCOMPARE(againA.fId, linkA.fId);
        DownFileInfo plain = down(7, "p", 2);
        QVERIFY(!db.hasDownFile(plain));

        DBHelp up(DBHelp::Upload, m_path);
        QList<UploadFileInfo> ups;
        for (int i = 0; i < 7; ++i)
            ups.append(upload(QString("/l/u%1").arg(i), i == 2 ? 3 : 2));
        ups.append(upload("/l/other", 2, false, "A", "D2"));
        QVERIFY(up.addUploadFile(ups));
        for (const UploadFileInfo& u : ups) {
            QVERIFY(u.fId > 0);
            QVERIFY(!u.uId.isEmpty());
        }
        QList<UploadFileInfo> topUp;
        QVERIFY(up.getTopUploadFileList("A", "D1", topUp));
        QCOMPARE(topUp.size(), 5);
        QCOMPARE(topUp[0].fId, ups[0].fId);
        QCOMPARE(topUp[2].fId, ups[3].fId);
        QCOMPARE(topUp[0].dirId, 77);
        int un = 0;
        QVERIFY(up.getUploadFileTotalNum("A", "D1", un));
        QCOMPARE(un, 7);
        QList<UploadFileInfo> page;
        QVERIFY(up.getUploadFileList(1, 3, "A", "D1", page));
        QCOMPARE(page.size(), 3);
        QCOMPARE(page[0].fileState, 2);
    }

    void stateAggregation_data()
    {
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << QList<int>{} << 0;
        QTest::newRow("running only") << QList<int>{1, 2} << 0;
        QTest::newRow("paused only") << QList<int>{3} << 1;
        QTest::newRow("failed only") << QList<int>{4, 4} << 1;
        QTest::newRow("paused and waiting") << QList<int>{3, 2} << 2;
        QTest::newRow("failed and running") << QList<int>{4, 1} << 2;
        QTest::newRow("all kinds") << QList<int>{1, 2, 3, 4} << 2;
    }

    void stateAggregation()
    {
        QFETCH(QList<int>, states);
        QFETCH(int, expected);
        DBHelp db(DBHelp::App, m_path);
        int i = 0;
        QList<UploadFileInfo> ups;
        for (int s : states) {
            DownFileInfo d = down(++i, "f", s);
            QVERIFY(db.addDownFile(d));
            ups.append(upload(QString("/l/%1").arg(i), s));
        }
        QVERIFY(db.addUploadFile(ups));
        // Rows of another device never count.
        DownFileInfo foreign = down(100, "x", 3, false, "A", "D2");
        QVERIFY(db.addDownFile(foreign));

        int state = -1;
        QVERIFY(db.getDownFileState("A", "D1", state));
        QCOMPARE(state, expected);
        state = -1;
        QVERIFY(db.getUpFileState("A", "D1", state));
        QCOMPARE(state, expected);
    }

    void stateQueryFailureReportsBoth()
    {
        DBHelp db(DBHelp::App, m_path);
        int state = 0;
        QVERIFY(db.getDownFileState("A", "D1", state));
        Raw raw(m_path);
        QVERIFY(raw.exec("DROP TABLE lv_down_file"));
        QVERIFY(!db.getDownFileState("A", "D1", state));
        QCOMPARE(state, 2);
        QCOMPARE(db.getDownSubFileNum(1), 0);
    }

    void finishingMovesExactlyOnce()
    {
        DBHelp db(DBHelp::Download, m_path);
        DownFileInfo f = down(1, "a.txt", 1);
        f.fileSize = qint64(5) << 32;
        QVERIFY(db.addDownFile(f));
        f.fileState = 5;
        f.savePath = "/save/a(1).txt";
        QVERIFY(db.updateDownFileStatus(f, false));
        QVERIFY(db.updateDownFileStatus(f, false));
        int n = -1;
        QVERIFY(db.getFinishFileTotalNum("A", "D1", n));
        QCOMPARE(n, 1);
        QVERIFY(db.getDownFileTotalNum("A", "D1", n));
        QCOMPARE(n, 0);
        QList<FinishFileInfo> fin;
        QVERIFY(db.getFinishFileList(1, 10, "A", "D1", fin));
        QCOMPARE(fin.size(), 1);
        QCOMPARE(fin[0].savePath, QString("/save/a(1).txt"));
        QCOMPARE(fin[0].fileSize, qint64(5) << 32);
        QVERIFY(!fin[0].isUp);

        // A folder saved under a chosen name records that folder.
        DownFileInfo folder = down(2, "Photos", 1, true);
        QVERIFY(db.addDownFile(folder));
        QList<DownFileInfo> subs;
        for (int i = 0; i < 3; ++i)
            subs.append(downSub(folder, 10 + i, QString("p%1.jpg").arg(i), 2));
        QVERIFY(db.addDownSubFiles(subs));
        QVERIFY(db.updateDownFileSaveName(folder.fId, "Photos(1)"));
        // A finished sub-entry only leaves the queue.
        subs[0].fileState = 5;
        QVERIFY(db.updateDownFileStatus(subs[0], false));
        QCOMPARE(db.getDownSubFileNum(folder.fId), 2);
        QVERIFY(db.getFinishFileTotalNum("A", "D1", n));
        QCOMPARE(n, 1);

        folder.fileState = 5;
        QVERIFY(db.updateDownFileItemStatus(folder));
        QCOMPARE(db.getDownSubFileNum(folder.fId), 0);
        fin.clear();
        QVERIFY(db.getFinishFileList(1, 10, "A", "D1", fin));
        QCOMPARE(fin.size(), 2);
        QCOMPARE(fin[0].fileName, QString("Photos"));
        QCOMPARE(fin[0].savePath, QString("/save/Photos(1)"));
        QVERIFY(fin[0].isFolder);

        // Uploads finish the same way and are then known by local path.
        DBHelp up(DBHelp::Upload, m_path);
        QList<UploadFileInfo> ups{upload("/l/it's.txt", 1)};
        QVERIFY(up.addUploadFile(ups));
        QVERIFY(!up.hasFinishFileWithFilePath({"/l/it's.txt"}, "A", "D1"));
        ups[0].fileState = 5;
        QVERIFY(up.updateUploadFileItemStatus(ups[0]));
        QVERIFY(up.updateUploadFileItemStatus(ups[0]));
        QVERIFY(up.hasFinishFileWithFilePath({"/x", "/l/it's.txt"}, "A", "D1"));
        QVERIFY(!up.hasUploadFileWithFilePath({"/l/it's.txt"}, "A", "D1"));
        QVERIFY(up.getFinishFileTotalNum("A", "D1", n));
        QCOMPARE(n, 3);

        fin.clear();
        QVERIFY(db.getFinishFileList(1, 10, "A", "D1", fin));
        QVERIFY(db.deleteFinishFiles({fin[0], fin[1]}));
        QVERIFY(db.getFinishFileTotalNum("A", "D1", n));
        QCOMPARE(n, 1);
        QVERIFY(db.deleteAllFinishFile("A", "D1"));
        QVERIFY(db.getFinishFileTotalNum("A", "D1", n));
        QCOMPARE(n, 0);
    }

    void pauseAndStartAll()
    {
        DBHelp db(DBHelp::Download, m_path);
        QList<DownFileInfo> tops;
        for (int s = 1; s <= 4; ++s) {
            DownFileInfo f = down(s, QString("folder%1").arg(s), s, true);
            QVERIFY(db.addDownFile(f));
            DownFileInfo sub = downSub(f, 100 + s, "s", 2);
            QVERIFY(db.addDownSubFile(sub));
            QVERIFY(sub.fId > 0);
            tops.append(f);
        }
        DownFileInfo foreign = down(9, "x", 2, false, "B", "D1");
        QVERIFY(db.addDownFile(foreign));

        Raw raw(m_path);
        auto topState = [&](int fId) {
            return raw.count(QString("select fileState from lv_down_file where fId = %1").arg(fId));
        };
        auto subState = [&](int fId) {
            return raw.count(QString("select fileState from lv_down_sub_file where pId = %1").arg(fId));
        };

        QVERIFY(db.pauseAllDownFile(dev("A", "D1")));
        QCOMPARE(topState(tops[0].fId), 3);
        QCOMPARE(topState(tops[1].fId), 3);
        QCOMPARE(topState(tops[3].fId), 4);
        QCOMPARE(subState(tops[0].fId), 3);
        QCOMPARE(subState(tops[3].fId), 2);
        QCOMPARE(topState(foreign.fId), 2);

        QVERIFY(db.startAllDownFile(dev("A", "D1")));
        for (const DownFileInfo& t : tops) {
            QCOMPARE(topState(t.fId), 2);
            QCOMPARE(subState(t.fId), 2);
        }

        DBHelp up(DBHelp::Upload, m_path);
        QList<UploadFileInfo> ups{upload("/l/a", 1), upload("/l/b", 4), upload("/l/c", 2)};
        QVERIFY(up.addUploadFile(ups));
        QVERIFY(up.pauseAllUploadFile("A", "D1"));
        int state = 0;
        QVERIFY(up.getUpFileState("A", "D1", state));
        QCOMPARE(state, 1);
        QVERIFY(up.startAllUploadFile("A", "D1"));
        QVERIFY(up.getUpFileState("A", "D1", state));
        QCOMPARE(state, 0);

        QVERIFY(db.deleteAllDownFile(dev("A", "D1")));
        QCOMPARE(raw.count("select count(1) from lv_down_file"), 1);
        QCOMPARE(raw.count("select count(1) from lv_down_sub_file"), 0);
        QVERIFY(up.deleteAllUploadFile("A", "D1"));
        QCOMPARE(raw.count("select count(1) from lv_upload_file"), 0);
    }

    void folderSubRowsFollowFolderState()
    {
        DBHelp db(DBHelp::Download, m_path);
        DownFileInfo folder = down(1, "F", 2, true);
        QVERIFY(db.addDownFile(folder));
        QList<DownFileInfo> subs;
        for (int i = 0; i < 5; ++i) {
            DownFileInfo s = downSub(folder, 10 + i, QString("s%1").arg(i), 2);
            s.pNamePath = i % 2 ? "/A" : "";
            subs.append(s);
        }
        QVERIFY(db.addDownSubFiles(subs));
        for (int i = 1; i < subs.size(); ++i)
            QVERIFY(subs[i].fId > subs[i - 1].fId);

        QList<DownFileInfo> next;
        QVERIFY(db.getTopDwonSubFileList(folder, next));
        QCOMPARE(next.size(), 2);
        QCOMPARE(next[0].fId, subs[0].fId);
        QVERIFY(next[0].isSubItem);
        QCOMPARE(next[1].pNamePath, QString("/A"));
        QCOMPARE(next[1].pId, folder.fId);

        // Only the folder row.
        folder.fileState = 1;
        folder.fileSize = 1234;
        QVERIFY(db.updateDownFileStatus(folder, true));
        next.clear();
        QVERIFY(db.getTopDwonSubFileList(folder, next));
        QCOMPARE(next[0].fileState, 2);
        DownFileInfo back;
        QVERIFY(db.getDownFileWidthFId(folder.fId, back));
        QCOMPARE(back.fileState, 1);
        QCOMPARE(back.fileSize, qint64(1234));

        // The folder with all its rows.
        folder.fileState = 4;
        folder.msg = "gone";
        QVERIFY(db.updateDownFileStatus(folder, false));
        next.clear();
        QVERIFY(db.getTopDwonSubFileList(folder, next));
        QVERIFY(next.isEmpty());
        QList<DownFileInfo> failed;
        QVERIFY(db.getDownFailFileList(1, 3, folder, failed));
        QCOMPARE(failed.size(), 3);
        QCOMPARE(failed[0].msg, QString("gone"));
        failed.clear();
        QVERIFY(db.getDownFailFileList(2, 3, folder, failed));
        QCOMPARE(failed.size(), 2);
        QCOMPARE(failed[1].fId, subs[4].fId);

        // One sub-entry by itself.
        subs[2].fileState = 3;
        QVERIFY(db.updateDownFileStatus(subs[2], false));
        QList<DownFileInfo> oldest;
        QVERIFY(db.haspDwonSubFileList(folder, oldest));
        QCOMPARE(oldest.size(), 1);
        QCOMPARE(oldest[0].fId, subs[0].fId);
        next.clear();
        QVERIFY(db.getTopDwonSubFileList(folder, next));
        QCOMPARE(next.size(), 1);
        QCOMPARE(next[0].fId, subs[2].fId);

        QVERIFY(db.deleteDownFile(subs[2]));
        QCOMPARE(db.getDownSubFileNum(folder.fId), 4);
        QVERIFY(db.deleteDownFile(folder));
        QCOMPARE(db.getDownSubFileNum(folder.fId), 0);
    }

    void uploadFolderWalk()
    {
        const QString root = m_dir->path() + "/up/Album";
        QVERIFY(QDir().mkpath(root + "/a/deep"));
        touch(root + "/b.txt", 10);
        touch(root + "/.hidden", 3);
        touch(root + "/a/c.txt", 5);
        touch(root + "/a/deep/d.txt");
        QVERIFY(QFile::link(root + "/a", root + "/z-link"));

        QFileInfoList walk;
        DBHelp::getFolderSubFiles(root, walk);
        QStringList rel;
        for (const QFileInfo& fi : walk)
            rel.append(fi.absoluteFilePath().mid(root.size() + 1));
        QCOMPARE(rel, QStringList({"z-link", "b.txt", "a", "a/deep", "a/deep/d.txt", "a/c.txt",
                                   ".hidden"}));

        DBHelp db(DBHelp::Upload, m_path);
        UploadFileInfo folder = upload(root, 2, true);
        folder.isExternal = true;
        folder.externalPath = "/usb/x";
        QList<UploadFileInfo> list{folder};
        QVERIFY(db.addUploadFile(list));
        folder = list[0];
        QVERIFY(folder.fId > 0);
        QCOMPARE(db.getUploadSubFileNum(folder.fId), 7);

        QList<UploadFileInfo> subs;
        QVERIFY(db.getTopUploadSubFileList(folder, subs));
        QCOMPARE(subs.size(), 5);
        QCOMPARE(subs[0].fileName, QString("z-link"));
        QVERIFY(subs[0].isFolder);
        QCOMPARE(subs[1].fileName, QString("b.txt"));
        QCOMPARE(subs[1].fileSize, qint64(10));
        QCOMPARE(subs[1].fileState, 2);
        QVERIFY(subs[1].isSubItem);
        QCOMPARE(subs[1].pId, folder.fId);
        QCOMPARE(subs[1].pFilePath, root);
        QCOMPARE(subs[1].dirId, 77);
        QVERIFY(subs[1].isExternal);
        QCOMPARE(subs[1].externalPath, QString("/usb/x"));

        QVERIFY(db.updateUploadSubFileTaskId(subs[1].fId, "T1"));
        QVERIFY(db.updateUploadFileMd5(subs[1].fId, "m5", true));
        QVERIFY(db.updateUploadFilePDirOrPPath(folder.fId, 55, "/usb/x/Album"));
        QVERIFY(db.updateUploadFileTaskId(folder.fId, "TF"));
        UploadFileInfo row;
        QVERIFY(db.getUploadFileWidthFId(folder.fId, row));
        QCOMPARE(row.pDirId, 55);
        QCOMPARE(row.pExternalPath, QString("/usb/x/Album"));
        QCOMPARE(row.taskId, QString("TF"));
        QVERIFY(!row.uId.isEmpty());

        // Folder state spreads to its files unless only the item is asked for.
        folder.fileState = 3;
        QVERIFY(db.updateUploadFileStatus(folder, true));
        subs.clear();
        QVERIFY(db.getTopUploadSubFileList(folder, subs));
        QCOMPARE(subs[0].fileState, 2);
        folder.fileState = 4;
        folder.msg = "no space";
        QVERIFY(db.updateUploadFileItemStatus(folder));
        QList<UploadFileInfo> failed;
        QVERIFY(db.getUploadFailFileList(1, 10, folder, failed));
        QCOMPARE(failed.size(), 7);
        QCOMPARE(failed[1].taskId, QString("T1"));
        QCOMPARE(failed[1].fileMd5, QString("m5"));
        QCOMPARE(failed[1].msg, QString("no space"));
        QList<UploadFileInfo> oldest;
        QVERIFY(db.hasUploadSubFileList(folder, oldest));
        QCOMPARE(oldest.size(), 1);
        QCOMPARE(oldest[0].fileName, QString("z-link"));

        failed[0].fileState = 5;
        QVERIFY(db.updateUploadFileStatus(failed[0], false));
        QCOMPARE(db.getUploadSubFileNum(folder.fId), 6);
        QVERIFY(db.deleteUploadFile(failed[1]));
        QCOMPARE(db.getUploadSubFileNum(folder.fId), 5);
        QVERIFY(db.deleteUploadFile(folder));
        QCOMPARE(db.getUploadSubFileNum(folder.fId), 0);
    }

    void pathsWithQuotesAreData()
    {
        DBHelp db(DBHelp::Upload, m_path);
        const QString odd = "/l/it's \"quoted\"/a');DROP TABLE lv_upload_file;--";
        QList<UploadFileInfo> list{upload(odd, 2)};
        QVERIFY(db.addUploadFile(list));
        QVERIFY(db.hasUploadFileWithFilePath({odd}, "A", "D1"));
        QVERIFY(!db.hasUploadFileWithFilePath({"x') or ('1'='1"}, "A", "D1"));
        QVERIFY(!db.hasUploadFileWithFilePath({}, "A", "D1"));
        QVERIFY(!db.hasFinishFileWithFilePath({}, "A", "D1"));
        QVERIFY(!db.hasUploadFileWithFilePath({odd}, "B", "D1"));

        // More paths than one statement may bind.
        QStringList many;
        for (int i = 0; i < 2500; ++i)
            many.append(QString("/nope/%1").arg(i));
        QVERIFY(!db.hasUploadFileWithFilePath(many, "A", "D1"));
        many.append(odd);
        QVERIFY(db.hasUploadFileWithFilePath(many, "A", "D1"));
        int n = 0;
        QVERIFY(db.getUploadFileTotalNum("A", "D1", n));
        QCOMPARE(n, 1);
    }

    void twoInstancesOnTwoThreads()
    {
        const int perThread = 150;
        auto work = [this, perThread](const QString& acc, bool* ok) {
            DBHelp db(DBHelp::Download, m_path);
            *ok = true;
            for (int i = 0; i < perThread; ++i) {
                DownFileInfo f = down(i, QString("f%1").arg(i), 2, true, acc);
                if (!db.addDownFile(f)) {
                    *ok = false;
                    return;
                }
                QList<DownFileInfo> subs;
                for (int k = 0; k < 3; ++k)
                    subs.append(downSub(f, 1000 + k, "s", 2));
                f.fileState = 1;
                QList<DownFileInfo> top;
                if (!db.addDownSubFiles(subs) || !db.updateDownFileStatus(f, false)
                    || !db.getTopDownFileList(dev(acc, "D1"), top)) {
                    *ok = false;
                    return;
                }
                if (i % 3 == 0) {
                    f.fileState = 5;
                    if (!db.updateDownFileStatus(f, false)) {
                        *ok = false;
                        return;
                    }
                }
            }
        };
        bool ok1 = false;
        bool ok2 = false;
        QThread* t1 = QThread::create(work, QString("A"), &ok1);
        QThread* t2 = QThread::create(work, QString("B"), &ok2);
        t1->start();
        t2->start();
        QVERIFY(t1->wait(120000));
        QVERIFY(t2->wait(120000));
        delete t1;
        delete t2;
        QVERIFY(ok1);
        QVERIFY(ok2);

        DBHelp db(DBHelp::App, m_path);
        for (const QString acc : {"A", "B"}) {
            int queued = 0;
            int finished = 0;
            QVERIFY(db.getDownFileTotalNum(acc, "D1", queued));
            QVERIFY(db.getFinishFileTotalNum(acc, "D1", finished));
            QCOMPARE(finished, perThread / 3);
            QCOMPARE(queued, perThread - perThread / 3);
        }
        Raw raw(m_path);
        QCOMPARE(raw.count("select count(1) from lv_down_sub_file"),
                 3 * 2 * (perThread - perThread / 3));
    }

    // Reads through statements kept prepared see what another connection
    // wrote since (no read snapshot is left open), and a closed connection
    // takes its statements along.
    void keptStatementsSeeOtherWriters()
    {
        const QStringList before = QSqlDatabase::connectionNames();
        {
            DBHelp reader(DBHelp::Download, m_path);
            DBHelp writer(DBHelp::Upload, m_path);
            DownFileInfo folder = down(1, "F", 2, true);
            QVERIFY(writer.addDownFile(folder));
            for (int round = 1; round <= 3; ++round) {
                int n = -1;
                QVERIFY(reader.getDownFileTotalNum("A", "D1", n));
                QCOMPARE(n, round);
                QList<DownFileInfo> subs;
                QVERIFY(reader.getTopDwonSubFileList(folder, subs));
                QCOMPARE(subs.size(), qMin(2, round - 1));
                QCOMPARE(reader.getDownSubFileNum(folder.fId), round - 1);

                DownFileInfo next = down(100 + round, QString("n%1").arg(round), 2);
                QVERIFY(writer.addDownFile(next));
                QList<DownFileInfo> one{downSub(folder, 200 + round, "s", 2)};
                QVERIFY(writer.addDownSubFiles(one));
            }
            // A write through a kept statement and a read through another.
            folder.fileState = 3;
            QVERIFY(reader.updateDownFileStatus(folder, false));
            DownFileInfo row;
            QVERIFY(writer.getDownFileWidthFId(folder.fId, row));
            QCOMPARE(row.fileState, 3);
        }
        QCOMPARE(QSqlDatabase::connectionNames(), before);
    }

    void oneInstanceManyThreads()
    {
        DBHelp db(DBHelp::Download, m_path);
        const QStringList before = QSqlDatabase::connectionNames();
        DownFileInfo f = down(1, "a", 2);
        QVERIFY(db.addDownFile(f));
        bool ok = false;
        QThread* t = QThread::create([&db, &ok]() {
            DownFileInfo g = down(2, "b", 2);
            ok = db.addDownFile(g) && g.fId > 0;
        });
        t->start();
        QVERIFY(t->wait(30000));
        delete t;
        QVERIFY(ok);
        int n = 0;
        QVERIFY(db.getDownFileTotalNum("A", "D1", n));
        QCOMPARE(n, 2);
        // The worker's connection went away with its thread.
        QCOMPARE(QSqlDatabase::connectionNames().size(), before.size() + 1);
    }

    void interruptedTransactionLeavesStoreAsBefore()
    {
        DBHelp db(DBHelp::Download, m_path);
        DownFileInfo folder = down(1, "F", 1, true);
        QVERIFY(db.addDownFile(folder));
        QList<DownFileInfo> subs;
        for (int i = 0; i < 4; ++i)
            subs.append(downSub(folder, 10 + i, "s", 2));
        QVERIFY(db.addDownSubFiles(subs));

        Raw raw(m_path);
        QVERIFY(raw.exec("CREATE TRIGGER no_del BEFORE DELETE ON lv_down_file"
                         " BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        folder.fileState = 5;
        QVERIFY(!db.updateDownFileStatus(folder, false));
        QCOMPARE(raw.count("select count(1) from lv_finish_file"), 0);
        QCOMPARE(raw.count("select count(1) from lv_down_file"), 1);
        QCOMPARE(db.getDownSubFileNum(folder.fId), 4);

        QVERIFY(!db.deleteDownFile(folder));
        QCOMPARE(db.getDownSubFileNum(folder.fId), 4);
        QVERIFY(!db.deleteAllDownFile(dev("A", "D1")));
        QCOMPARE(db.getDownSubFileNum(folder.fId), 4);

        QVERIFY(raw.exec("CREATE TRIGGER no_upd BEFORE UPDATE ON lv_down_file"
                         " BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        QVERIFY(!db.pauseAllDownFile(dev("A", "D1")));
        QCOMPARE(raw.count("select count(1) from lv_down_sub_file where fileState = 2"), 4);
        folder.fileState = 3;
        QVERIFY(!db.updateDownFileStatus(folder, false));
        QCOMPARE(raw.count("select count(1) from lv_down_sub_file where fileState = 2"), 4);

        // A batch fails as a whole.
        QVERIFY(raw.exec("CREATE TRIGGER no_big BEFORE INSERT ON lv_down_sub_file"
                         " WHEN NEW.fileName = 'bad' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        QList<DownFileInfo> batch{subs[0], subs[1]};
        batch[1].fileName = "bad";
        QVERIFY(!db.addDownSubFiles(batch));
        QCOMPARE(db.getDownSubFileNum(folder.fId), 4);

        // An upload folder is stored with all its files or not at all.
        const QString root = m_dir->path() + "/up2";
        QVERIFY(QDir().mkpath(root));
        touch(root + "/ok.txt");
        touch(root + "/bad.txt");
        QVERIFY(raw.exec("CREATE TRIGGER no_up BEFORE INSERT ON lv_upload_sub_file"
                         " WHEN NEW.name = 'bad.txt' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        QList<UploadFileInfo> ups{upload("/l/first", 2), upload(root, 2, true)};
        QVERIFY(!db.addUploadFile(ups));
        QCOMPARE(raw.count("select count(1) from lv_upload_file"), 0);
        QCOMPARE(raw.count("select count(1) from lv_upload_sub_file"), 0);

        // Finished records go as a whole too.
        FinishFileInfo a, b;
        QVERIFY(raw.exec("insert into lv_finish_file (fileName, accessId, deviceId) values"
                         " ('a', 'A', 'D1'), ('b', 'A', 'D1')"));
        a.fId = raw.count("select min(fId) from lv_finish_file");
        b.fId = raw.count("select max(fId) from lv_finish_file");
        QVERIFY(raw.exec("CREATE TRIGGER no_fin BEFORE DELETE ON lv_finish_file"
                         " WHEN OLD.fileName = 'b' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        QVERIFY(!db.deleteFinishFiles({a, b}));
        QCOMPARE(raw.count("select count(1) from lv_finish_file"), 2);
    }

    void storedLinks()
    {
        DBHelp db(DBHelp::App, m_path);
        Extlink e;
        e.shareId = "S1";
        e.url = "https://h/share?shareId=S1";
        e.title = "it's mine";
        e.deviceToken = "tok";
        e.fileId = qint64(1) << 35;
        e.extractedCode = false;
        qint64 oid1 = 0;
        QVERIFY(db.addExtlink(e, "A", "D1", &oid1));
        QVERIFY(oid1 > 0);
        e.shareId = "S2";
        e.url = "https://h/share?shareId=S2";
        qint64 oid2 = 0;
        QVERIFY(db.addExtlink(e, "A", "D1", &oid2));
        QVERIFY(db.existExtlink("A", "D1", "https://h/share?shareId=S1"));
        QVERIFY(!db.existExtlink("B", "D1", "https://h/share?shareId=S1"));

        QList<Extlink> links;
        QVERIFY(db.getExtlinkList("A", "D1", 1, 0, 10, links));
        QCOMPARE(links.size(), 2);
        QCOMPARE(links[0].shareId, QString("S2"));
        QCOMPARE(links[0].id, oid2);
        QCOMPARE(links[1].fileId, qint64(1) << 35);
        QCOMPARE(links[1].deviceToken, QString("tok"));
        QCOMPARE(links[1].title, QString("it's mine"));
        QVERIFY(!links[1].extractedCode);
        links.clear();
        QVERIFY(db.getExtlinkList("A", "D1", 1, 1, 10, links));
        QCOMPARE(links.size(), 1);
        QVERIFY(db.removeExtlink(oid1));
        QVERIFY(!db.existExtlink("A", "D1", "https://h/share?shareId=S1"));
    }
};

TW_TEST_MAIN(TestDBHelp)
#include "tst_dbhelp.moc"
