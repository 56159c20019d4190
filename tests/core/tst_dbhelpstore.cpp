#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/dbhelp.h"
#include "tests/testenv.h"

namespace {

DownFileInfo entry(const QString& name)
{
    DownFileInfo d;
    d.fileId = 7;
    d.fileName = name;
    d.fileState = 2;
    d.accessId = "A";
    d.deviceId = "D1";
    d.savePath = "/save";
    return d;
}

DeviceInfo device()
{
    DeviceInfo d;
    d.accessId = "A";
    d.deviceId = "D1";
    return d;
}

// The store works: an entry goes in and is listed again.
bool usable(DBHelp& db, const QString& name)
{
    DownFileInfo d = entry(name);
    QList<DownFileInfo> list;
    return db.addDownFile(d) && db.getDownFileList(1, 10, device(), list) && !list.isEmpty()
           && list.last().fileName == name;
}

QStringList asideOf(const QString& dir, const QString& file)
{
    return QDir(dir).entryList({file + ".*.unusable"}, QDir::AllEntries | QDir::NoDotAndDotDot);
}

}

// A store file that SQLite cannot use is set aside and replaced; a store
// removed while the program runs is made again.
class TestDBHelpStore : public QObject
{
    Q_OBJECT
private slots:
    void fileThatIsNoDatabaseIsSetAside()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("garbage.db");
        const QByteArray junk = QByteArray("this is not a database, only text\n").repeated(200);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(junk);
        }
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("garbage\\.db is not usable .*moved to .*garbage\\.db\\.\\d{8}-\\d{6}\\.unusable"));
        DBHelp db(DBHelp::Download, path);
        QVERIFY(usable(db, "first"));
        const QStringList aside = asideOf(dir.path(), "garbage.db");
        QCOMPARE(aside.size(), 1);
        QFile kept(dir.filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), junk);   // kept as it was
        // A second start finds the fresh store and keeps it.
        DBHelp again(DBHelp::Upload, path);
        QList<DownFileInfo> list;
        QVERIFY(again.getDownFileList(1, 10, device(), list));
        QCOMPARE(list.size(), 1);
    }

    void folderInThePlaceOfTheStoreIsSetAside()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("folder.db");
        QVERIFY(QDir().mkpath(path));
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("folder\\.db is not usable"));
        DBHelp db(DBHelp::Download, path);
        QVERIFY(usable(db, "x"));
        QCOMPARE(asideOf(dir.path(), "folder.db").size(), 1);
    }

    void storeRemovedWhileRunningGetsItsTablesAgain()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("removed.db");
        {
            DBHelp db(DBHelp::Download, path);
            QVERIFY(usable(db, "before"));
        }
        for (const QString& f : {path, path + "-wal", path + "-shm"})
            QFile::remove(f);
        DBHelp db(DBHelp::Download, path);
        QVERIFY(usable(db, "after"));
        QCOMPARE(asideOf(dir.path(), "removed.db").size(), 0);
    }

    void sharedStoreIsLeftAlone()
    {
        // A sound store in use by another instance is never taken for broken.
        QTemporaryDir dir;
        const QString path = dir.filePath("shared.db");
        DBHelp first(DBHelp::Download, path);
        QVERIFY(usable(first, "one"));
        DBHelp second(DBHelp::Upload, path);
        QVERIFY(usable(second, "two"));
        QCOMPARE(asideOf(dir.path(), "shared.db").size(), 0);
    }
};

TW_TEST_MAIN(TestDBHelpStore)
#include "tst_dbhelpstore.moc"
