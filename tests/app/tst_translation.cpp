#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>

#include "app/tidewellsdk.h"
#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/uploadrig.h"

namespace {

struct TsMessage
{
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString type;   // "unfinished" until someone translates it
    QStringList forms;   // the plural forms of a count's text
};

// Reads the messages of a translation source as lupdate writes it.
QList<TsMessage> readTs(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + ": " + file.errorString();
        return {};
    }
    QList<TsMessage> out;
    QString context;
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("TS"))
            continue;
        if (xml.name() != QLatin1String("context")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
                continue;
            }
            if (xml.name() != QLatin1String("message")) {
                xml.skipCurrentElement();
                continue;
            }
            TsMessage m;
            m.context = context;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    m.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("comment")) {
                    m.comment = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    m.type = xml.attributes().value("type").toString();
                    // A count's text holds one form per plural of the language.
                    while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() != QLatin1String("translation")) {
                        if (xml.isCharacters())
                            m.translation += xml.text();
                        else if (xml.isStartElement() && xml.name() == QLatin1String("numerusform"))
                            m.forms << xml.readElementText();
                        if (xml.atEnd())
                            break;
                    }
                    if (!m.forms.isEmpty())
                        m.translation = m.forms.first();
                } else {
                    xml.skipCurrentElement();
                }
            }
            out << m;
        }
    }
    if (xml.hasError())
        *error = QString("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
    return out;
}

// %1, %L2, %n: what arg() fills in, whatever order a language needs.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression re("%(L?\\d+|n)");
    QStringList found;
    for (auto it = re.globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    found.sort();
    return found;
}

bool hasAccelerator(const QString& text)
{
    static const QRegularExpression re("&[^&\\s]");
    return QString(text).remove("&&").contains(re);
}

}   // namespace

// The shipped translations: every text of both languages is translated with
// its placeholders kept, the system language picks the file, and the English
// one reaches what the user sees (the manager's failure texts and its success
// toast; refusal codes are covered with the upload engine's fatal codes).
class TestTranslation : public QObject
{
    Q_OBJECT
private:
    QTranslator m_translator;
    QLocale m_locale;

private slots:
    void initTestCase()
    {
        QVERIFY(m_translator.load("tidewell_ui_en", ":/i18n") || TidewellSdk::loadTranslation(m_translator));
        QCoreApplication::installTranslator(&m_translator);
    }

    void cleanup()
    {
        QLocale::setDefault(m_locale);
    }

    void everyTextIsTranslated_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << "en";
        QTest::newRow("zh_CN") << "zh_CN";
    }
    void everyTextIsTranslated()
    {
        QFETCH(QString, language);
        const QString name = "tidewell_ui_" + language;
        const QString path = QFINDTESTDATA("../../qml/i18n/" + name + ".ts");
        QVERIFY2(!path.isEmpty(), qPrintable(name));
        QString error;
        const QList<TsMessage> messages = readTs(path, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(!messages.isEmpty());
        // What the program carries, compiled from that file.
        QTranslator shipped;
        QVERIFY(shipped.load(name, ":/i18n"));

        QStringList faults;
        for (const TsMessage& m : messages) {
            const QString where = m.context + ": \"" + m.source + "\": ";
            const QByteArray context = m.context.toUtf8();
            const QByteArray source = m.source.toUtf8();
            const QByteArray comment = m.comment.toUtf8();
            // Counts are read for one: the first plural form.
            const QString text = shipped.translate(context.constData(), source.constData(),
                                                   m.comment.isEmpty() ? nullptr : comment.constData(),
                                                   m.forms.isEmpty() ? -1 : 1);
            if (!m.type.isEmpty())
                faults << where + m.type;
            if (text.trimmed().isEmpty())
                faults << where + "no translation shipped";
            else if (text != m.translation)
                faults << where + "shipped \"" + text + "\", the file holds \"" + m.translation + "\"";
            if (placeholders(text) != placeholders(m.source))
                faults << where + "placeholders differ in \"" + text + "\"";
            if (hasAccelerator(m.source) && !hasAccelerator(text))
                faults << where + "accelerator lost in \"" + text + "\"";
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
    }

    // The program loads one file by the system language; any language without
    // its own file reads English.
    void systemLanguagePicksTheFile_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zh_CN") << "zh_CN" << QString::fromUtf8("已经是第一张了");
        QTest::newRow("en_GB") << "en_GB" << "This is the first photo";
        QTest::newRow("de_DE") << "de_DE" << "This is the first photo";
    }
    void systemLanguagePicksTheFile()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        QTranslator translator;
        QVERIFY(TidewellSdk::loadTranslation(translator));
        QCOMPARE(translator.translate("PreviewListModel", "Is fisrt photo"), expected);
    }

    // Chinese installed over English: pages (qsTr takes the file name as its
    // context) and the code's own texts read Chinese.
    void chineseReachesPagesAndCode()
    {
        QTranslator zh;
        QVERIFY(zh.load("tidewell_ui_zh_CN", ":/i18n"));
        QVERIFY(QCoreApplication::installTranslator(&zh));
        QQmlEngine engine;
        QQmlComponent page(&engine);
        page.setData("import QtQml 2.0\n"
                     "QtObject { property string files: qsTr(\"Files\") }",
                     QUrl("qrc:/compoments/device/SideBar.qml"));
        QScopedPointer<QObject> bar(page.create());
        QVERIFY2(bar, qPrintable(page.errorString()));
        QCOMPARE(bar->property("files").toString(), QString::fromUtf8("文件"));
        QCOMPARE(QCoreApplication::translate("LVUploadManager", "File upload success"),
                 QString::fromUtf8("文件上传成功"));
        QCOMPARE(QCoreApplication::translate("main", "&Quit"), QString::fromUtf8("退出(&Q)"));
        QCOMPARE(QCoreApplication::translate("FilePage", "%1 selected").arg(3), QString::fromUtf8("已选择 3 项"));
        QCoreApplication::removeTranslator(&zh);
        QCOMPARE(QCoreApplication::translate("LVUploadManager", "File upload success"),
                 QString("Upload complete"));
    }

    void managerTextsAreTranslated()
    {
        UploadRig rig("dev-tr-missing");
        QVERIFY(rig.server->start());
        QVERIFY(rig.owner->connectTo(0, 0, rig.server->port()));   // one at a time
        rig.server->throttle(100 * 1024);
        rig.makeManager();
        const QString first = rig.writeFile("first.bin", UploadRig::bytes(150 * 1024));
        const QString gone = rig.writeFile("gone.txt", "bye");
        QueuedSpy error(rig.manager.get(), &LVUploadManager::rUploadError);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({first, gone});
        QTRY_VERIFY_WITH_TIMEOUT(!rig.createsFor("first.bin").isEmpty(), 20000);
        QVERIFY(QFile::remove(gone));
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, 30000);
        QCOMPARE(error.count(), 1);
        QCOMPARE(error.first().at(0).value<UploadFileInfo>().msg, QString("File removed"));
    }

    void successToastIsTranslated()
    {
        UploadRig rig("dev-tr-ok");
        QVERIFY(rig.startLan());
        rig.makeManager();
        QueuedSpy toast(rig.owner.get(), &TestOwner::sg_notifyStatus);
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({rig.writeFile("ok.txt", "fine")});
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, 20000);
        QCOMPARE(rig.stored("ok.txt"), QByteArray("fine"));
        QStringList texts;
        for (const QList<QVariant>& args : toast)
            texts << args.at(1).toString();
        QVERIFY2(texts.contains("Upload complete"), qPrintable(texts.join("|")));
    }

    // Qt's own texts (the standard buttons of dialogs, the file dialog)
    // follow the language too; English needs nothing loaded. Counts read
    // in the plural form the language has.
    void qtTextsAndCountsFollowTheLanguage()
    {
        QCOMPARE(TidewellSdk::installQtTranslations(qApp, QLocale("en_US")), 0);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
        const int loaded = TidewellSdk::installQtTranslations(qApp, QLocale("zh_CN"));
        QVERIFY2(loaded >= 2, qPrintable(QString::number(loaded)));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
        for (QTranslator* t : qApp->findChildren<QTranslator*>())
            QCoreApplication::removeTranslator(t);
        qDeleteAll(qApp->findChildren<QTranslator*>());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));

        QCOMPARE(QCoreApplication::translate("PubGroupPage", "%n groups", "", 1), QString("1 group"));
        QCOMPARE(QCoreApplication::translate("PubGroupPage", "%n groups", "", 3), QString("3 groups"));
        QCOMPARE(QCoreApplication::translate("FilePage", "%n items", "", 1), QString("1 item"));
        QCOMPARE(QCoreApplication::translate("TidewellTab", "%n file Add upload file completed", "", 1),
                 QString("1 file added to the upload list"));
        QCOMPARE(QCoreApplication::translate("FilePage", "Delete the %n selected items?", "", 2),
                 QString("Delete the 2 selected items?"));
    }
};

TW_TEST_MAIN(TestTranslation)
#include "tst_translation.moc"
