#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "app/schemeregistration.h"
#include "tests/testenv.h"

// The link scheme reaches the desktop through the user's XDG folders (a
// temporary HOME here), as the desktop's own tool reads them back.
class TstSchemeRegistration : public QObject
{
    Q_OBJECT

    QString apps() const { return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation); }
    QString mimeapps() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/mimeapps.list";
    }
    QString entry() const { return apps() + "/" + SchemeRegistration::kEntryName; }

    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // What the desktop would start for a link; "" without xdg-mime.
    static QString desktopDefault()
    {
        const QString tool = QStandardPaths::findExecutable("xdg-mime");
        if (tool.isEmpty())
            return QString();
        QProcess p;
        p.start(tool, {"query", "default", SchemeRegistration::kScheme});
        p.waitForFinished(10000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

private slots:
    void init()
    {
        QFile::remove(entry());
        QFile::remove(mimeapps());
    }

    void registersOnceAndTheDesktopFindsIt()
    {
        const QString program = "/opt/tide well/bin/tide\"well";
        QVERIFY(SchemeRegistration::registerScheme(program));
        const QByteArray text = read(entry());
        QVERIFY(text.contains("MimeType=x-scheme-handler/larkvault;"));
        QVERIFY2(text.contains("Exec=\"/opt/tide well/bin/tide\\\"well\" -a %u"), text.constData());

        // A second start changes nothing and adds no second association.
        const QDateTime before = QFileInfo(entry()).lastModified();
        QVERIFY(SchemeRegistration::registerScheme(program));
        QCOMPARE(QFileInfo(entry()).lastModified(), before);
        QCOMPARE(read(mimeapps()).count("x-scheme-handler/larkvault="), 1);

        if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
            QSKIP("xdg-mime is not installed");
        QCOMPARE(desktopDefault(), QString(SchemeRegistration::kEntryName));
    }

    void anotherProgramKeepsItsAssociationAndEntry()
    {
        write(mimeapps(), "[Added Associations]\ntext/plain=editor.desktop;\n\n"
                          "[Default Applications]\nx-scheme-handler/larkvault=other.desktop\n");
        const QByteArray other = "[Desktop Entry]\nType=Application\nName=Other\nExec=other %u\n"
                                 "MimeType=x-scheme-handler/larkvault;\n";
        write(apps() + "/other.desktop", other);
        QVERIFY(SchemeRegistration::registerScheme("/usr/bin/tidewell"));
        QVERIFY(read(mimeapps()).contains("x-scheme-handler/larkvault=other.desktop"));
        QVERIFY(!read(mimeapps()).contains(SchemeRegistration::kEntryName));
        QCOMPARE(read(apps() + "/other.desktop"), other);

        // A file of another program under our entry's name is left alone.
        write(entry(), other);
        QVERIFY(!SchemeRegistration::registerScheme("/usr/bin/tidewell"));
        QCOMPARE(read(entry()), other);
        if (!QStandardPaths::findExecutable("xdg-mime").isEmpty())
            QCOMPARE(desktopDefault(), QString("other.desktop"));
    }

    // The plain desktop handler (no desktop environment) runs the entry's
    // Exec as it reads it: split at blanks, the first word the program.
    void plainXdgOpenStartsTheProgramWithTheLink()
    {
        QVERIFY(SchemeRegistration::entryText("/usr/bin/tidewell").contains("\nExec=/usr/bin/tidewell -a %u\n"));
        QVERIFY(SchemeRegistration::entryText("/opt/50%/tidewell").contains("\nExec=/opt/50%%/tidewell -a %u\n"));

        const QString xdgOpen = QStandardPaths::findExecutable("xdg-open");
        if (xdgOpen.isEmpty())
            QSKIP("xdg-open is not installed");
        const QString dir = QFileInfo(entry()).absolutePath() + "/../standin";
        QDir().mkpath(dir);
        const QString out = dir + "/args.txt";
        const QString program = dir + "/tidewell";
        write(program, QString("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\n").arg(out).toUtf8());
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(SchemeRegistration::registerScheme(QFileInfo(program).canonicalFilePath()));

        const QString link = "larkvault://a.share.tidewell.net/share?shareId=S1&code=C1";
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                              "GNOME_DESKTOP_SESSION_ID", "KDE_SESSION_VERSION", "BROWSER"})
            env.remove(v);
        if (!env.contains("DISPLAY"))
            env.insert("DISPLAY", ":99");
        p.setProcessEnvironment(env);
        p.start(xdgOpen, {link});
        QVERIFY(p.waitForFinished(20000));
        QTRY_COMPARE_WITH_TIMEOUT(read(out), ("-a\n" + link + "\n").toUtf8(), 10000);
    }

    void keepsTheRestOfTheAssociationsFile()
    {
        const QByteArray before = "[Default Applications]\ntext/html=browser.desktop\n\n"
                                  "[Added Associations]\nimage/png=viewer.desktop;\n";
        write(mimeapps(), before);
        QVERIFY(SchemeRegistration::registerScheme("/usr/bin/tidewell"));
        const QByteArray after = read(mimeapps());
        QVERIFY(after.contains("text/html=browser.desktop\nx-scheme-handler/larkvault=tidewell-larkvault.desktop\n"));
        QVERIFY(after.contains("[Added Associations]\nimage/png=viewer.desktop;\n"));
    }
};

TW_TEST_MAIN(TstSchemeRegistration)
#include "tst_schemeregistration.moc"
