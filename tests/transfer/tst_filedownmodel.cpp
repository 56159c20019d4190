// The document preview as QML drives it: a model starts a download through
// the shared preview downloader, follows only its own download and opens the
// file it got (the desktop's URL handler is captured here).
#include <QDesktopServices>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>

#include "app/tidewellsdk.h"
#include "device/tidewelltab.h"
#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"
#include "transfer/filedownmodel.h"
#include "transfer/singlefiledownmanager.h"

static const int kWait = 20000;

// Stands in for the system's default application.
class Opener : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
    Opener() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~Opener() override { QDesktopServices::unsetUrlHandler("file"); }
public slots:
    void open(const QUrl& url) { opened << url; }
};

struct ModelRig : DownloadRig
{
    SingleFileDownManager single;
    ModelRig() { single.init(owner.get()); }

    std::unique_ptr<FileDownModel> model()
    {
        std::unique_ptr<FileDownModel> m(new FileDownModel);
        m->setTw(owner.get());
        m->setDown(&single);
        return m;
    }
    // The file item map a list view hands to the popup.
    QVariantMap itemMap(const std::string& rel)
    {
        TwFileInfo it = item(rel);
        it.filePath.clear();   // on the device's own storage
        return it.toVariantMap();
    }
};

class TestFileDownModel : public QObject
{
    Q_OBJECT
private slots:
    void opensTheFileItDownloaded()
    {
        ModelRig rig;
        Opener opener;
        rig.server->addGeneratedFile("docs/manual.pdf", 512 * 1024, true, 11);
        // A file of that name is there already: the download gets a new name.
        QFile old(rig.downDir + "/manual.pdf");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older");
        old.close();
        auto m = rig.model();
        QSignalSpy finished(m.get(), &FileDownModel::sDownFinish);
        QSignalSpy progress(m.get(), &FileDownModel::sDownProgress);
        QSignalSpy failed(m.get(), &FileDownModel::sDownFail);
        m->start(rig.itemMap("docs/manual.pdf"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWait);
        QCOMPARE(opener.opened.size(), 1);
        const QString path = opener.opened.first().toLocalFile();
        QCOMPARE(path, rig.downDir + "/manual(1).pdf");
        QCOMPARE(DownloadRig::bytesOf(path), rig.serverBytes("docs/manual.pdf"));
        for (const auto& args : progress) {
            const double p = args.at(0).toDouble();
            QVERIFY(p >= 0 && p <= 1);
        }
        QVERIFY(failed.isEmpty());
    }

    void eachModelFollowsOnlyItsOwnDownload()
    {
        ModelRig rig;
        Opener opener;
        rig.server->addGeneratedFile("slow.pdf", 8 * 1024 * 1024, true, 12);
        rig.server->addFile("b.txt", "bee");
        rig.server->throttle(512 * 1024);
        auto a = rig.model();
        auto b = rig.model();
        auto idle = rig.model();
        QSignalSpy aPause(a.get(), &FileDownModel::sDownPause);
        QSignalSpy aFinish(a.get(), &FileDownModel::sDownFinish);
        QSignalSpy aProgress(a.get(), &FileDownModel::sDownProgress);
        QSignalSpy bFinish(b.get(), &FileDownModel::sDownFinish);
        QSignalSpy bProgress(b.get(), &FileDownModel::sDownProgress);
        QSignalSpy idleAny(idle.get(), &FileDownModel::sDownFinish);
        QSignalSpy idlePause(idle.get(), &FileDownModel::sDownPause);
        a->start(rig.itemMap("slow.pdf"));
        QTRY_VERIFY_WITH_TIMEOUT(!aProgress.isEmpty(), kWait);
        QVERIFY(bProgress.isEmpty());
        rig.server->throttle(0);
        // A second popup takes the downloader over: the first is told it
        // stopped; a pause from it no longer reaches the new download.
        b->start(rig.itemMap("b.txt"));
        QTRY_COMPARE_WITH_TIMEOUT(aPause.count(), 1, kWait);
        a->pause();
        idle->pause();
        QTRY_COMPARE_WITH_TIMEOUT(bFinish.count(), 1, kWait);
        QTest::qWait(300);
        QCOMPARE(opener.opened, QList<QUrl>{QUrl::fromLocalFile(rig.downDir + "/b.txt")});
        QCOMPARE(aFinish.count(), 0);
        QCOMPARE(idleAny.count(), 0);
        QCOMPARE(idlePause.count(), 0);
    }

    void closingThePopupCancels()
    {
        ModelRig rig;
        Opener opener;
        rig.server->addGeneratedFile("long.pdf", 8 * 1024 * 1024, true, 13);
        rig.server->throttle(512 * 1024);
        auto m = rig.model();
        QSignalSpy progress(m.get(), &FileDownModel::sDownProgress);
        QSignalSpy paused(m.get(), &FileDownModel::sDownPause);
        m->start(rig.itemMap("long.pdf"));
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), kWait);
        m->pause();
        QTRY_COMPARE_WITH_TIMEOUT(paused.count(), 1, kWait);
        rig.server->throttle(0);
        QTest::qWait(300);
        QVERIFY(opener.opened.isEmpty());
        QVERIFY(QDir(rig.downDir).entryList(QDir::Files).isEmpty());
    }

    void failuresReachThePopup()
    {
        ModelRig rig;
        Opener opener;
        FileDownModel unset;
        QSignalSpy unsetFail(&unset, &FileDownModel::sDownFail);
        unset.start(rig.itemMap("none.txt"));
        QCOMPARE(unsetFail.count(), 1);

        auto m = rig.model();
        QSignalSpy failed(m.get(), &FileDownModel::sDownFail);
        QVariantMap gone = rig.itemMap("none.txt");
        gone["id"] = "424242";
        gone["fileLen"] = "9";
        m->start(gone);
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, kWait);
        QCOMPARE(failed.first().at(0).toString(), QString("File does not write"));
        QVERIFY(opener.opened.isEmpty());
    }

    void rootAndTabOfferADownloader()
    {
        TidewellSdk sdk;
        QQmlEngine engine;
        sdk.exposeTo(engine.rootContext());
        QVERIFY(sdk.singleDownManager());
        QCOMPARE(engine.rootContext()->contextProperty("twSingleDown").value<QObject*>(),
                 static_cast<QObject*>(sdk.singleDownManager()));
        TidewellTab tab(&sdk);
        tab.initObjects();
        QVERIFY(qobject_cast<SingleFileDownManager*>(tab.twSingleDown()));
        QVERIFY(tab.twSingleDown() != sdk.singleDownManager());

        TidewellSdk::registerTypes();
        QQmlComponent c(&engine);
        c.setData("import Tidewell.Model 1.0\nFileDownModel { down: twSingleDown; tw: twSdk }", QUrl());
        std::unique_ptr<QObject> obj(c.create());
        QVERIFY2(obj, qPrintable(c.errorString()));
        auto* m = qobject_cast<FileDownModel*>(obj.get());
        QVERIFY(m);
        QCOMPARE(m->down(), static_cast<QObject*>(sdk.singleDownManager()));
    }
};

TW_TEST_MAIN(TestFileDownModel)
#include "tst_filedownmodel.moc"
