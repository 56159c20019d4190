#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/downfileinfo.h"
#include "core/extlink.h"
#include "core/finishfileinfo.h"
#include "core/safepath.h"
#include "core/uploadfileinfo.h"
#include "core/utils.h"
#include "tests/hostilenames.h"
#include "tests/testenv.h"

namespace {
void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}
}

class TestTransferRecords : public QObject
{
    Q_OBJECT
private slots:
    void downMapKeeps64BitValues()
    {
        DownFileInfo d;
        d.fId = 7;
        d.fileId = 42;
        d.isFolder = true;
        d.fileName = "Photos";
        d.fileWriteLen = (qint64(3) << 31) + 5;
        d.fileSize = (qint64(1) << 40) + 1;
        d.createTime = 1700000000123;
        d.fileState = 4;
        d.msg = "disk full";
        d.progress = 0.25f;
        d.isSubItem = true;
        d.pId = 3;
        d.pNamePath = "/A/B";
        d.shareId = "S";
        d.extractedCode = "C";
        const QVariantMap m = d.toVariantMap();
        QCOMPARE(m.value("fileSize").type(), QVariant::String);
        QCOMPARE(m.value("fileSize").toString(), QString::number(d.fileSize));
        QCOMPARE(m.value("filePath").type(), QVariant::String);

        DownFileInfo back;
        back.fromVariantMap(m);
        QCOMPARE(back.fileWriteLen, d.fileWriteLen);
        QCOMPARE(back.fileSize, d.fileSize);
        QCOMPARE(back.createTime, d.createTime);
        QCOMPARE(back.fId, 7);
        QCOMPARE(back.fileId, 42);
        QVERIFY(back.isFolder && back.isSubItem);
        QCOMPARE(back.pNamePath, QString("/A/B"));
        QCOMPARE(back.progress, 0.25f);
        QCOMPARE(back.extractedCode, QString("C"));

        UploadFileInfo u;
        u.fileSize = (qint64(9) << 33);
        u.fileWriteLen = (qint64(1) << 32);
        u.createTime = 1700000000999;
        u.dirId = 11;
        u.upPath = "/home/x";
        u.isCover = true;
        UploadFileInfo ub;
        ub.fromVariantMap(u.toVariantMap());
        QCOMPARE(ub.fileSize, u.fileSize);
        QCOMPARE(ub.fileWriteLen, u.fileWriteLen);
        QCOMPARE(ub.createTime, u.createTime);
        QCOMPARE(ub.dirId, 11);
        QCOMPARE(ub.upPath, QString("/home/x"));
        QVERIFY(ub.isCover);
    }

    void emptyMapKeepsRecordMissingKeyResets()
    {
        DownFileInfo d;
        d.fileName = "a.txt";
        d.msg = "old";
        d.fileSize = 99;
        d.fromVariantMap(QVariantMap());
        QCOMPARE(d.msg, QString("old"));
        QCOMPARE(d.fileSize, qint64(99));

        QVariantMap m = d.toVariantMap();
        m.remove("msg");
        m.remove("fileSize");
        d.fromVariantMap(m);
        QVERIFY(d.msg.isEmpty());
        QCOMPARE(d.fileSize, qint64(0));
        QCOMPARE(d.fileName, QString("a.txt"));

        UploadFileInfo u;
        u.msg = "x";
        u.fromVariantMap(QVariantMap());
        QCOMPARE(u.msg, QString("x"));
        u.fromVariantMap({{"fileName", "n"}});
        QVERIFY(u.msg.isEmpty());

        Extlink e;
        e.url = "https://h/share?shareId=1";
        e.code = "abcd";
        e.fromVariantMap(QVariantMap());
        QCOMPARE(e.code, QString("abcd"));
        QCOMPARE(e.linkWithCode(), QString("https://h/share?shareId=1&code=abcd"));
        e.fromVariantMap({{"title", "T"}});
        QCOMPARE(e.title, QString("T"));
        QVERIFY(e.url.isEmpty() && e.code.isEmpty());
        QVERIFY(!e.extractedCode);
        QCOMPARE(e.linkWithCode(), e.url);
        QVERIFY(!e.toVariantMap().contains("deviceToken"));
        QCOMPARE(e.toVariantMap().size(), 16);
    }

    void freeNames()
    {
        QCOMPARE(DownFileInfo::numberedName("a.b.c", 1), QString("a(1).c"));
        QCOMPARE(DownFileInfo::numberedName("notes", 1), QString("notes(1)"));
        QCOMPARE(DownFileInfo::numberedName("notes", 0), QString("notes"));

        // A number and a suffix of 255 bytes together: the suffix stays
        // whole and the stem gives way, to one byte or to nothing; a byte
        // more and the suffix no longer fits.
        const QString wide = "." + QString(83, QChar(0x4e2d));   // 250 bytes
        QCOMPARE(DownFileInfo::numberedName("stem" + wide + "s", 12), "(12)" + wide + "s");
        QCOMPARE(DownFileInfo::numberedName("stem" + wide, 12), "s(12)" + wide);
        const QString over = DownFileInfo::numberedName("stem" + wide + "ss", 12);
        QCOMPARE(over.toUtf8().size(), 255);
        QVERIFY(over.startsWith("stem.") && over.endsWith(QChar(0x4e2d) + QString("(12)")));
        // Unnumbered, a stem of at least one byte stays before the suffix.
        const QString bare = DownFileInfo::numberedName("s." + QString(254, 'x'), 0);
        QCOMPARE(bare.toUtf8().size(), 255);
        QVERIFY(bare.startsWith("s.x"));

        QTemporaryDir tmp;
        const QString dir = tmp.path();
        DownFileInfo d;
        d.fileName = "report.pdf";
        QString out;
        QVERIFY(d.newFileName(dir, out));
        QCOMPARE(out, dir + "/report.pdf");
        touch(out);
        QVERIFY(d.newFileName(dir, out));
        QCOMPARE(out, dir + "/report(1).pdf");
        touch(out);
        QVERIFY(d.newFileName(dir, out));
        QCOMPARE(out, dir + "/report(2).pdf");

        d.fileName = "notes";
        touch(dir + "/notes");
        QVERIFY(d.newFileName(dir, out));
        QCOMPARE(out, dir + "/notes(1)");

        DownFileInfo folder;
        folder.isFolder = true;
        folder.fileName = "Photos";
        folder.savePath = dir;
        QVERIFY(QDir().mkpath(dir + "/Photos"));
        QString name;
        QVERIFY(folder.newFolderName(name));
        QCOMPARE(name, QString("Photos(1)"));
        QVERIFY(QFileInfo(dir + "/Photos(1)").isDir());
        QVERIFY(folder.newFolderName(name));
        QCOMPARE(name, QString("Photos(2)"));
    }

    void savePathOfSubEntries()
    {
        QTemporaryDir tmp;
        DownFileInfo d;
        d.savePath = tmp.path();
        d.fileName = "x.jpg";
        QString out;
        QVERIFY(d.getSavePath("ignored", out));
        QCOMPARE(out, tmp.path());

        d.isSubItem = true;
        QVERIFY(d.getSavePath("Photos(1)", out));
        QCOMPARE(out, tmp.path() + "/Photos(1)/");
        d.pNamePath = "/A";
        QVERIFY(d.getSavePath("Photos(1)", out));
        QCOMPARE(out, tmp.path() + "/Photos(1)//A");
        QVERIFY(QFileInfo(tmp.path() + "/Photos(1)/A").isDir());
        d.pNamePath = "/A/B";
        QVERIFY(d.getSavePath("Photos(1)", out));
        QVERIFY(QFileInfo(tmp.path() + "/Photos(1)/A/B").isDir());
    }

    void hostileNamesStayInside_data()
    {
        addHostileNames();
    }

    void hostileNamesStayInside()
    {
        QFETCH(QString, name);
        QTemporaryDir tmp;
        const QString base = tmp.path() + "/save";
        QVERIFY(QDir().mkpath(base));
        const QStringList before = QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        DownFileInfo d;
        d.savePath = base;
        d.fileName = name;

        QString out;
        if (d.newFileName(base, out)) {
            QVERIFY2(SafePath::isInside(base, out), qPrintable(out));
            QVERIFY(QFileInfo(out).absolutePath() == QFileInfo(base).absoluteFilePath());
        } else {
            QVERIFY(SafePath::safeName(name).isEmpty());
        }

        QString folderName;
        if (d.newFolderName(folderName)) {
            QVERIFY(!folderName.contains('/') && !folderName.contains('\\'));
            QVERIFY(SafePath::isInside(base, base + "/" + folderName));
            QVERIFY(QFileInfo(base + "/" + folderName).isDir());
        } else {
            QVERIFY(SafePath::safeName(name).isEmpty());
        }

        // As top folder name and as a level of the sub-folder path.
        d.isSubItem = true;
        if (d.getSavePath(name, out))
            QVERIFY2(SafePath::isInside(base, out) && out != base, qPrintable(out));
        d.pNamePath = "/" + name + "/" + name;
        if (d.getSavePath("Top", out))
            QVERIFY2(SafePath::isInside(base + "/Top", out), qPrintable(out));

        // Nothing was created beside the save folder.
        QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }

    void emptyOrDotNamesAreRefused()
    {
        QTemporaryDir tmp;
        DownFileInfo d;
        d.savePath = tmp.path();
        d.isSubItem = true;
        QString out;
        QVERIFY(!d.getSavePath("..", out));
        QVERIFY(!d.getSavePath("", out));
        d.pNamePath = "/A/../..";
        QVERIFY(!d.getSavePath("Top", out));
        d.pNamePath.clear();
        d.savePath.clear();
        QVERIFY(!d.getSavePath("Top", out));
    }

    void tempPathPerTableKind()
    {
        DownFileInfo top;
        top.fId = 5;
        top.fileName = "a.mkv";
        DownFileInfo sub = top;
        sub.isSubItem = true;

        QString a, b, a2;
        QVERIFY(top.getTempPath(a));
        QVERIFY(sub.getTempPath(b));
        QVERIFY(top.getTempPath(a2));
        QVERIFY(a != b);
        QCOMPARE(a, a2);
        QVERIFY(a.startsWith(getTmpPath() + "/"));

        // Row id and name must not run into each other.
        DownFileInfo x;
        x.fId = 1;
        x.fileName = "2x";
        DownFileInfo y;
        y.fId = 12;
        y.fileName = "x";
        QString px, py;
        QVERIFY(x.getTempPath(px));
        QVERIFY(y.getTempPath(py));
        QVERIFY(px != py);

        QTemporaryDir own;
        const QString dir = own.path() + "/acc_dev";
        QString c;
        QVERIFY(top.getTempPath(c, dir));
        QCOMPARE(QFileInfo(c).absolutePath(), QFileInfo(dir).absoluteFilePath());
        QCOMPARE(QFileInfo(c).fileName(), QFileInfo(a).fileName());
        QVERIFY(QFileInfo(dir).isDir());
    }

    void finishedFolderRecordsChosenName()
    {
        DownFileInfo d;
        d.isFolder = true;
        d.fileName = "Photos";
        d.savePath = "/save";
        QCOMPARE(FinishFileInfo::fromDownload(d, "Photos(1)").savePath, QString("/save/Photos(1)"));
        QCOMPARE(FinishFileInfo::fromDownload(d, QString()).savePath, QString("/save/Photos"));
        d.isFolder = false;
        d.savePath = "/save/a(1).txt";
        QCOMPARE(FinishFileInfo::fromDownload(d, QString()).savePath, QString("/save/a(1).txt"));
        UploadFileInfo u;
        u.filePath = "/home/me/a.txt";
        const FinishFileInfo f = FinishFileInfo::fromUpload(u);
        QVERIFY(f.isUp);
        QCOMPARE(f.filePath, u.filePath);
    }
};

TW_TEST_MAIN(TestTransferRecords)
#include "tst_transferrecords.moc"
