// One running program per user: a later start hands its command line to the
// first and ends; the first takes a link out of it.
#include "tests/testenv.h"

#include <QProcess>

#include "app/singleinstance.h"
#include "app/tidewellsdk.h"
#include "core/sharelinkinfo.h"

static QString linkText(const QString& shareId, const QString& code)
{
    return QString("larkvault://a.%1/share?shareId=%2&code=%3")
        .arg(ShareLinkInfo::shareDomain(), shareId, code);
}

class TestSingleInstance : public QObject
{
    Q_OBJECT

    static QString key(const char* name)
    {
        return QString("tw-test-%1-%2").arg(name).arg(QCoreApplication::applicationPid());
    }

private slots:
    void secondStartHandsItsLinkOver()
    {
        const QString program = QCoreApplication::applicationDirPath() + "/../app/tidewell";
        if (!QFile::exists(program))
            QSKIP("the program is not built");
        SingleInstance guard(SingleInstance::userKey());
        QVERIFY(guard.isPrimary());
        TidewellSdk root;
        connect(&guard, &SingleInstance::receivedMessage, &root, &TidewellSdk::handleMessage);
        QSignalSpy changed(&root, &TidewellSdk::extraExtlinkChanged);

        auto start = [&](const QStringList& args) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(program, args);
            if (!p.waitForStarted(20000))
                return -100;
            // The test's event loop runs meanwhile, so the guard can answer.
            QElapsedTimer t;
            t.start();
            while (p.state() != QProcess::NotRunning && t.elapsed() < 30000)
                QTest::qWait(20);
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -200;
        };

        QCOMPARE(start({"-a", linkText("S7", "C7")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 20000);
        const QVariantMap link = root.extraExtlink();
        QCOMPARE(link.value("shareId").toString(), QString("S7"));
        QCOMPARE(link.value("code").toString(), QString("C7"));
        QCOMPARE(link.value("url").toString(),
                 QString("https://a.%1/share?shareId=S7&code=C7").arg(ShareLinkInfo::shareDomain()));

        // The same link again changes nothing; words that are no link neither.
        QCOMPARE(start({"--argument=" + linkText("S7", "C7")}), 0);
        QCOMPARE(start({"-a", "hello"}), 0);
        QTest::qWait(300);
        QCOMPARE(changed.count(), 1);

        QCOMPARE(start({"-a", linkText("S8", "")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 20000);
        QCOMPARE(root.extraExtlink().value("shareId").toString(), QString("S8"));
    }

    void ownCommandLine()
    {
        TidewellSdk root;
        QSignalSpy changed(&root, &TidewellSdk::extraExtlinkChanged);
        root.handleArguments({"tidewell"});
        root.handleArguments({"tidewell", "-a", "larkvault://evil.com/share?shareId=x"});
        root.handleArguments({"tidewell", "--unknown", "-a", "/share"});
        QCOMPARE(changed.count(), 0);
        root.handleArguments({"tidewell", "--argument", linkText("S1", "")});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(root.extraExtlink().value("shareId").toString(), QString("S1"));
        // The page clears it once it has offered the link.
        root.setExtraExtlink(QVariantMap());
        QCOMPARE(changed.count(), 2);
    }

    void laterStartInTheSameSession()
    {
        const QString k = key("same");
        auto first = std::make_unique<SingleInstance>(k);
        QVERIFY(first->isPrimary());
        QSignalSpy got(first.get(), &SingleInstance::receivedMessage);
        {
            SingleInstance second(k);
            QVERIFY(!second.isPrimary());
            QVERIFY(second.handOver({"prog", "-a", linkText("S2", "c")}));
            QTRY_COMPARE_WITH_TIMEOUT(got.count(), 1, 10000);
            QCOMPARE(QString::fromUtf8(got[0][0].toByteArray()),
                     "prog -a " + linkText("S2", "c"));
            // Too long for a command line: not sent.
            QVERIFY(!second.handOver({QString(SingleInstance::kMaxMessage + 1, 'x')}));
            QTest::qWait(100);
            QCOMPARE(got.count(), 1);
        }
        // Once the first is gone the next start is the first.
        first.reset();
        SingleInstance next(k);
        QVERIFY(next.isPrimary());
    }

    void nobodyToHandOverTo()
    {
        const QString k = key("none");
        auto first = std::make_unique<SingleInstance>(k);
        SingleInstance second(k);
        QVERIFY(!second.isPrimary());
        first.reset();
        QVERIFY(!second.handOver({"prog"}));
    }
};

TW_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
