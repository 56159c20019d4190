// A new user's first link, with nothing set up: the program's launcher
// starts the bundled sample device (the real program next to this build),
// a link is created on it, shows under "My links", is added as a received
// link with its code, browsed, and a file saved from it arrives byte-exact.
#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>

#include "app/devicelauncher.h"
#include "app/tidewellsdk.h"
#include "core/extlink.h"
#include "core/sharelinkinfo.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"
#include "device/tidewellextlink.h"
#include "device/tidewelltab.h"
#include "protocol/createexternallinkresp.h"
#include "sharing/extlinkfilelistmodel.h"
#include "sharing/extlinklistmodel.h"
#include "tests/testenv.h"

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The id the sample device gave a stored path (its id file: "<id> <length> <path>").
qint64 sampleId(const QString& rel)
{
    QFile f(getAppDataPath() + "sample-device/.tw_ids");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 3 && line.endsWith(" " + rel.toUtf8()))
            return parts.at(0).toLongLong();
    }
    return 0;
}

} // namespace

class TstSampleLink : public QObject
{
    Q_OBJECT
private slots:
    void createAddBrowseAndSaveALinkOfTheSampleDevice()
    {
        TidewellSdk root;
        const QString save = TestEnv::instance()->root() + "/saved";
        QDir().mkpath(save);
        DeviceLauncher launcher(&root);
        launcher.setServerProgram(QCoreApplication::applicationDirPath() + "/../tools/tw_testdevice");
        QVERIFY(launcher.prepare());
        const QVariantMap sample = launcher.devices().value(0).toMap();
        QCOMPARE(sample.value("deviceId").toString(), QString("sample-device"));
        // Links are resolved by the sample device unless the settings say otherwise.
        QCOMPARE(QString::fromStdString(root.channelOption().cloud_url),
                 QString("http://127.0.0.1:%1").arg(sample.value("lanPort").toInt()));

        TidewellTab tab(&root);
        tab.initObjects();
        QVERIFY(tab.connect_to(sample));
        // Connected, not only connecting: a command sent before has no session.
        QTRY_VERIFY_WITH_TIMEOUT(tab.isLan(), 20000);

        // "Create link" on the readme, with a code.
        const qint64 readme = sampleId("Documents/readme.txt");
        QVERIFY(readme > 0);
        QSignalSpy made(tab.device(), &TidewellDevice::rCreateExternalLink);
        tab.device()->createExternalLink(twNewHandle(), {readme}, "Readme", "ab12");
        QTRY_COMPARE_WITH_TIMEOUT(made.count(), 1, 20000);
        const auto resp = qvariant_cast<CreateExternalLinkResp>(made.at(0).at(1));
        QVERIFY2(resp.ok(), qPrintable(resp.message));
        const QString url = resp.url;
        QVERIFY(ShareLinkInfo::parse("larkvault" + url.mid(url.indexOf(':'))).isValid());

        // It is among "My links" of the device.
        ExtlinkListModel mine;
        mine.setDeviceMode(true);
        mine.setTw(tab.device());
        QAbstractItemModelTester mineTester(&mine, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QTRY_VERIFY_WITH_TIMEOUT(mine.rowCount() >= 2, 20000);
        QStringList titles;
        for (int i = 0; i < mine.rowCount(); ++i)
            titles << mine.data(mine.index(i), ExtlinkListModel::NameRole).toString();
        QVERIFY2(titles.contains("Readme"), qPrintable(titles.join(", ")));

        // Someone who got it adds it with its code.
        ExtlinkListModel received;
        received.setDeviceMode(false);
        received.setTw(root.twExtlink());
        QAbstractItemModelTester receivedTester(&received, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy needsCode(&received, &ExtlinkListModel::extractedCodeExtlink);
        QSignalSpy toasts(&received, &BaseModel::sg_notifyStatus);
        received.addExtlink(url);
        QTRY_COMPARE_WITH_TIMEOUT(needsCode.count(), 1, 20000);
        received.checkExtlink(url, "ab12");
        QTRY_COMPARE_WITH_TIMEOUT(received.rowCount(), 1, 20000);
        received.singleSelect(0);
        const QVariantMap link = received.get();
        QCOMPARE(link.value("title").toString(), QString("Readme"));

        // Browsed through the link's own session, and the file saved.
        ExtlinkFileListModel files;
        files.setDeviceMode(false);
        files.setExtlinkInfo(link);
        files.setTw(root.twExtlink());
        QAbstractItemModelTester filesTester(&files, QAbstractItemModelTester::FailureReportingMode::QtTest);
        files.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(files.rowCount(), 1, 20000);
        QCOMPARE(files.data(files.index(0), ExtlinkFileListModel::FileNameRole).toString(), QString("readme.txt"));
        files.singleSelect(0);
        files.fileDownload(save);
        QTRY_COMPARE_WITH_TIMEOUT(bytesOf(save + "/readme.txt"),
                                  bytesOf(getAppDataPath() + "sample-device/Documents/readme.txt"), 30000);
        QVERIFY(bytesOf(save + "/readme.txt").startsWith("Welcome to the sample device."));
        Q_UNUSED(toasts);
    }
};

TW_TEST_MAIN(TstSampleLink)
#include "tst_samplelink.moc"
