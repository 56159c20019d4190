#include <QTranslator>

#include "app/tidewellsdk.h"
#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/uploadrig.h"

// The shipped English translation reaches what the user sees: the manager's
// failure texts and its success toast (refusal codes are covered with the
// upload engine's fatal codes).
class TestTranslation : public QObject
{
    Q_OBJECT
private:
    QTranslator m_translator;

private slots:
    void initTestCase()
    {
        QVERIFY(m_translator.load("tidewell_ui_en", ":/i18n") || TidewellSdk::loadTranslation(m_translator));
        QCoreApplication::installTranslator(&m_translator);
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
        QVERIFY2(texts.contains("The file has been uploaded successfully"), qPrintable(texts.join("|")));
    }
};

TW_TEST_MAIN(TestTranslation)
#include "tst_translation.moc"
