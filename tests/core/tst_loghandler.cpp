#include <QDateTime>
#include <QDir>
#include <QFile>

#include "core/cconfig.h"
#include "core/loghandler.h"
#include "core/utils.h"
#include "tests/testenv.h"

class TestLogHandler : public QObject
{
    Q_OBJECT
private:
    static void touch(const QString& path, const QDateTime& when)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    }

private slots:
    void namesAndWritesRecords()
    {
        const QString dir = TestEnv::instance()->root() + "/logs1";
        LogHandler log(dir);
        log.install();
        qDebug() << "TestLogHandler::namesAndWritesRecords - call.";
        log.uninstall();
        const QString name = QFileInfo(log.currentFile()).fileName();
        QVERIFY2(QRegularExpression("^tw_\\d{4}-\\d{2}-\\d{2}_\\d{2}_\\d{2}_\\d{2}_log.txt$")
                     .match(name).hasMatch(), qPrintable(name));
        QFile f(log.currentFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("TestLogHandler::namesAndWritesRecords - call."));
    }

    void startsNewFileAtLimit()
    {
        const QString dir = TestEnv::instance()->root() + "/logs2";
        LogHandler log(dir, 1000);
        const QString first = log.currentFile();
        for (int i = 0; i < 50; ++i)
            log.write(QtDebugMsg, QString(60, 'a'));
        QVERIFY(log.currentFile() != first);
        const QStringList files = QDir(dir).entryList(QDir::Files);
        QVERIFY(files.size() >= 2);
        for (const QString& f : files)
            QVERIFY2(QFileInfo(dir + "/" + f).size() <= 1000, qPrintable(f));
    }

    void cleansOldAndForeignFilesAtStart()
    {
        const QString dir = TestEnv::instance()->root() + "/logs3";
        QDir().mkpath(dir);
        const QDateTime now = QDateTime::currentDateTime();
        touch(dir + "/tw_old_log.txt", now.addDays(-4));
        touch(dir + "/tw_recent_log.txt", now.addDays(-1));
        touch(dir + "/notes.txt", now);
        LogHandler log(dir);
        QVERIFY(!QFile::exists(dir + "/tw_old_log.txt"));
        QVERIFY(!QFile::exists(dir + "/notes.txt"));
        QVERIFY(QFile::exists(dir + "/tw_recent_log.txt"));
        QVERIFY(QFile::exists(log.currentFile()));
    }

    void configPersistsInAppData()
    {
        {
            CConfig c;
            QCOMPARE(c.fileName(), getAppDataPath() + "config.ini");
            QVERIFY(c.downPath().isEmpty());
            c.setDownPath("/data/down");
            c.setValue("Environment", "env", 2);
        }
        CConfig again;
        QCOMPARE(again.downPath(), QString("/data/down"));
        QCOMPARE(again.value("Environment", "env").toInt(), 2);
        QSettings raw(getAppDataPath() + "config.ini", QSettings::IniFormat);
        QCOMPARE(raw.value("LarkVault/DownPath").toString(), QString("/data/down"));
    }
};

TW_TEST_MAIN(TestLogHandler)
#include "tst_loghandler.moc"
