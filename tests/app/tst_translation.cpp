#include <QTranslator>

#include "app/tidewellsdk.h"
#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/uploadrig.h"

// The shipped English translation reaches what the user sees: the failure
// text of a refused upload and the message stored with the entry.
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

    void refusedUploadShowsEnglishText_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("msg");
        QTest::newRow("full") << 2014 << "Insufficient storage space";
        QTest::newRow("permission") << 2001 << "Without copy the permission";
        QTest::newRow("removed space") << 20203 << "The storage space has been removed";
        QTest::newRow("other") << 20205 << "Unknown exception";
    }
    void refusedUploadShowsEnglishText()
    {
        QFETCH(int, code);
        QFETCH(QString, msg);
        UploadRig rig(QString("dev-tr-%1").arg(code));
        QVERIFY(rig.startLan());
        rig.makeManager();
        rig.server->refuseUpload(code, "refused");
        const QString p = rig.writeFile("f.txt", "data");
        QueuedSpy stop(rig.manager.get(), &LVUploadManager::rStop);
        rig.add({p});
        QTRY_COMPARE_WITH_TIMEOUT(stop.count(), 1, 20000);
        QCOMPARE(rig.queued().first().msg, msg);
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
        QueuedSpy toast(rig.owner.get(), &TestOwner::sg_notifyStatus);
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
