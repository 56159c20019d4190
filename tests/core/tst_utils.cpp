#include <QDir>
#include <QFile>
#include <QImage>

#include "core/common.h"
#include "core/safepath.h"
#include "core/twfileinfo.h"
#include "core/utils.h"
#include "tests/hostilenames.h"
#include "tests/testenv.h"

class TestUtils : public QObject
{
    Q_OBJECT
private slots:
    void appPathsLiveInTheTestFolder()
    {
        const QString app = getAppDataPath();
        QVERIFY(app.endsWith('/'));
        QVERIFY(app.startsWith(TestEnv::instance()->root()));
        QVERIFY(QDir(app).exists());
        QVERIFY(!getTmpPath().endsWith('/'));
        QVERIFY(QDir(getTmpPath()).exists());
        QVERIFY(getCachePath().endsWith("/cache"));
    }

    void formatFileSize_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative") << qint64(-5) << "0 B";
        QTest::newRow("zero") << qint64(0) << "0 B";
        QTest::newRow("one") << qint64(1) << "1 B";
        QTest::newRow("below KB") << qint64(1023) << "1023 B";
        QTest::newRow("KB") << qint64(1024) << "1.00 KB";
        QTest::newRow("1.5 MB") << qint64(1536 * 1024) << "1.50 MB";
        QTest::newRow("TB") << (qint64(1) << 40) << "1.00 TB";
        QTest::newRow("max") << std::numeric_limits<qint64>::max() << "8.00 EB";
    }
    void formatFileSize()
    {
        QFETCH(qint64, size);
        QFETCH(QString, text);
        QCOMPARE(::formatFileSize(size), text);
    }

    void hashesAndIds()
    {
        QCOMPARE(md5String("abc"), QString("900150983cd24fb0d6963f7d28e17f72"));
        QCOMPARE(md5String(QString::fromUtf8("\xc3\xa9")), md5Hex(QString::fromUtf8("\xc3\xa9").toUtf8()));
        QCOMPARE(md5Hex(QByteArray()), QString());
        const QString u = createUuidString();
        QCOMPARE(u.size(), 32);
        QVERIFY(!u.contains('-') && !u.contains('{'));
        QVERIFY(u != createUuidString());
    }

    void mediaTypes()
    {
        QCOMPARE(getMediaType(""), int(Common::MT_Unknown));
        QCOMPARE(getMediaType("JPG"), int(Common::MT_Image));
        QCOMPARE(getMediaType("mkv"), int(Common::MT_Video));
        QCOMPARE(getMediaType("Flac"), int(Common::MT_Music));
        QCOMPARE(getMediaType("qqq"), int(Common::MT_Other));
        QCOMPARE(getFileTypeIcon(Common::MT_Folder),
                 QUrl("qrc:/compoments/base/Image/fileType/type_folder@2x.png"));
        QCOMPARE(getFileTypeName(Common::FT_Image), QString("image"));
        QCOMPARE(getFileTypeName(999), QString());
    }

    void shareIdFromUrl()
    {
        QCOMPARE(getShareIdFromUrl("larkvault://x/share?shareId=ab%20c&code=1"), QString("ab c"));
        QCOMPARE(getShareIdFromUrl("no url at all"), QString());
    }

    void qrCode()
    {
        QImage img;
        QVERIFY(!createQRCode("", img, 4));
        QVERIFY(img.isNull());
        QVERIFY(createQRCode("hello", img, 4));
        // Version 2 is 25 modules square.
        QCOMPARE(img.width(), 25 * 4);
        QCOMPARE(img.height(), 25 * 4);
        QCOMPARE(img.format(), QImage::Format_ARGB32_Premultiplied);
        // Finder pattern: dark corner module, light separator after 7 modules.
        QCOMPARE(img.pixel(1, 1), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(7 * 4 + 1, 1), qRgb(255, 255, 255));
    }

    void clearDirFilesKeepsFolders()
    {
        QDir d(TestEnv::instance()->root() + "/clear");
        d.mkpath("sub");
        for (const char* n : {"a", "b", ".hidden"}) {
            QFile f(d.filePath(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(clearDirFiles(d.path()), 3);
        QVERIFY(d.exists("sub"));
        QCOMPARE(clearDirFiles(d.path() + "/missing"), 0);
    }

    void hostileNamesNeverEscape_data()
    {
        addHostileNames();
    }
    void hostileNamesNeverEscape()
    {
        QFETCH(QString, name);
        const QString base = TestEnv::instance()->root() + "/base";
        const QString safe = SafePath::safeName(name);
        QVERIFY(!safe.contains('/') && !safe.contains('\\') && !safe.contains(':'));
        QVERIFY(safe != "." && safe != "..");
        QString out;
        if (SafePath::join(base, name, out))
            QVERIFY2(SafePath::isInside(base, out) && out != base, qPrintable(out));
        const QString rel = SafePath::safeRelPath("/" + name + "/y");
        if (!rel.isNull())
            QVERIFY(SafePath::isInside(base, base + rel));
    }

    // Every character that turns the direction of what follows is written
    // out, wherever it stands; its neighbours in the tables stay as they are.
    void shownNameWritesOutEveryDirectionControl()
    {
        const QVector<ushort> controls = {0x202A, 0x202B, 0x202C, 0x202D, 0x202E, 0x2066,
                                          0x2067, 0x2068, 0x2069, 0x200E, 0x200F, 0x061C};
        for (ushort c : controls) {
            const QString code = QString("[U+%1]").arg(c, 4, 16, QChar('0')).toUpper();
            const QString ch(QChar{c});
            QCOMPARE(shownName("abc" + ch + "txt.exe"), "abc" + code + "txt.exe");
            QCOMPARE(shownName(ch + "a" + ch), code + "a" + code);
        }
        QString all;
        for (ushort c : controls)
            all += QChar{c};
        QCOMPARE(shownName(all).count("[U+"), controls.size());
        for (ushort c : {0x061B, 0x200D, 0x2010, 0x2029, 0x202F, 0x2065, 0x206A}) {
            const QString plain = "a" + QString(QChar{c}) + "b";
            QCOMPARE(shownName(plain), plain);
        }
        QCOMPARE(shownName(""), QString(""));
    }

    void safeNameRules()
    {
        QCOMPARE(SafePath::safeName("CON"), QString("_CON"));
        QCOMPARE(SafePath::safeName("lpt1.txt"), QString("_lpt1.txt"));
        QCOMPARE(SafePath::safeName("C:\\x"), QString("C__x"));
        QCOMPARE(SafePath::safeName(".."), QString());
        QCOMPARE(SafePath::safeName(".hidden"), QString(".hidden"));
        QCOMPARE(SafePath::safeRelPath("/A/B"), QString("/A/B"));
        QCOMPARE(SafePath::safeRelPath(""), QString(""));
        QVERIFY(SafePath::safeRelPath("/A/../B").isNull());
        QVERIFY(!SafePath::isInside("/tmp/base", "/tmp/base2/x"));
        QVERIFY(!SafePath::isInside("/tmp/base", "/tmp/base/../x"));
    }

    void prepareCacheFileStaysInside()
    {
        const QString folder = TestEnv::instance()->root() + "/cachefiles";
        QDir().mkpath(folder);
        TwFileInfo item;
        item.name = "movie.mkv";
        item.fileMd5 = "abc";
        item.fileLen = 4096;
        QString path;
        QVERIFY(TwFileInfo::prepareCacheFile(item, folder, path));
        QCOMPARE(path, folder + "/abc_movie.mkv");
        QCOMPARE(QFileInfo(path).size(), qint64(4096));

        // A file of another size is replaced by one of the right size.
        item.fileLen = 10;
        QVERIFY(TwFileInfo::prepareCacheFile(item, folder, path));
        QCOMPARE(QFileInfo(path).size(), qint64(10));

        // Hostile names and md5s never leave the folder.
        const QString outside = TestEnv::instance()->root() + "/victim";
        QFile v(outside);
        QVERIFY(v.open(QIODevice::WriteOnly));
        v.write("keep");
        v.close();
        item.name = "../victim";
        item.fileMd5 = "..";
        if (TwFileInfo::prepareCacheFile(item, folder, path))
            QVERIFY(SafePath::isInside(folder, path));
        item.name = "..";
        QVERIFY(!TwFileInfo::prepareCacheFile(item, folder, path));
        QCOMPARE(QFileInfo(outside).size(), qint64(4));
    }
};

TW_TEST_MAIN(TestUtils)
#include "tst_utils.moc"
