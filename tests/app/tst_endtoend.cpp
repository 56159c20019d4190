// The transfer roads from end to end: the objects QML drives (root, device
// tab, facades, list models) against a device served over loopback, checked
// by what the user sees and by what lands on disk and in the store.
#include "tests/app/endtoendrig.h"

#include <QAbstractItemModelTester>
#include <QDirIterator>
#include <QUrl>

#include "core/networkshare.h"
#include "core/twfolderinfo.h"
#include "core/twhandle.h"
#include "device/tidewelldevice.h"
#include "device/tidewellextlink.h"
#include "transfer/downloadfilemodel.h"
#include "transfer/lvfinishmanager.h"
#include "transfer/lvuploadmanager.h"
#include "transfer/tsfinishfilemodel.h"
#include "transfer/uploadfilemodel.h"

namespace {
const int kLong = 30000;
using DownRole = TransferListModel::Role;
using FinishRole = TSFinishFileModel::Role;

QStringList column(const QAbstractItemModel& m, int role)
{
    QStringList out;
    for (int i = 0; i < m.rowCount(); ++i)
        out << m.index(i, 0).data(role).toString();
    return out;
}

QString writeLocal(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(data);
    return path;
}

QByteArray pattern(int n, int seed)
{
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 31 + seed * 7 + (i >> 8)) & 0xff);
    return b;
}
} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void downloadsThroughTheDeviceFacade()
    {
        EndToEndRig rig;
        QVERIFY(rig.server->start());
        rig.server->addGeneratedFile("movie.bin", 300 * 1024, true, 3);
        rig.server->addFile("Album/a.txt", "alpha");
        rig.server->addGeneratedFile("Album/Sub/b.bin", 70000, true, 4);
        rig.server->addFolder("Album/Sub/Empty");
        rig.server->addFolder("Album/Void");
        rig.newTab();

        DownloadFileModel queue;
        QAbstractItemModelTester queueTester(&queue);
        queue.setDown(rig.tab->twDown());
        queue.setTwfs(rig.tab->twFinish());
        TSFinishFileModel done;
        QAbstractItemModelTester doneTester(&done);
        done.setTw(rig.tab->twFinish());

        QVERIFY(rig.connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 2, kLong);

        // The first transfer holds still so the queue can be looked at.
        rig.server->stallAfter(100 * 1024, 1);
        QueuedSpy added(rig.tab->device(), &TidewellDevice::rAddDownFiles);
        const TW_HANDLE h = twNewHandle();
        QVERIFY(rig.tab->device()->addDownFiles(
                h, rig.tab->downloadPath(), {rig.item("movie.bin"), rig.item("Album", false)}, 0));
        QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, kLong);
        QCOMPARE(added[0][0].value<TW_HANDLE>(), h);
        QVERIFY(added[0][1].toBool());

        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 2, kLong);
        const QStringList names = column(queue, DownRole::FileNameRole);
        QVERIFY2(names.contains("movie.bin"), qPrintable(names.join(',')));
        const int movie = names.indexOf("movie.bin");
        const int album = 1 - movie;
        QVERIFY2(names.at(album).startsWith("Album ("), qPrintable(names.at(album)));
        QCOMPARE(queue.index(album).data(DownRole::FileTypeRole).toInt(), int(Common::MT_Folder));
        QTRY_COMPARE_WITH_TIMEOUT(queue.index(movie).data(DownRole::StatusRole).toInt(), 1, kLong);
        QCOMPARE(queue.index(album).data(DownRole::StatusRole).toInt(), 2);
        QVERIFY(rig.tab->isDwonRun());
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->downTaskNum(), 2, kLong);

        rig.server->clearFaults();
        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 0, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.tab->isDwonRun(), kLong);
        QTRY_COMPARE_WITH_TIMEOUT(rig.toastTexts(), QStringList{"File download success"}, kLong);
        QCOMPARE(rig.tab->downTaskNum(), 0);

        // On disk: byte for byte, the folder tree with its empty folders.
        const QString dl = rig.downDir;
        QCOMPARE(EndToEndRig::bytesOf(dl + "/movie.bin"), rig.serverBytes("movie.bin"));
        QCOMPARE(EndToEndRig::bytesOf(dl + "/Album/a.txt"), QByteArray("alpha"));
        QCOMPARE(EndToEndRig::bytesOf(dl + "/Album/Sub/b.bin"), rig.serverBytes("Album/Sub/b.bin"));
        QVERIFY(QDir(dl + "/Album/Sub/Empty").exists());
        QVERIFY(QDir(dl + "/Album/Void").exists());
        QCOMPARE(QDir(rig.tab->downloadManager()->tmpDir()).entryList(QDir::Files).size(), 0);

        // In the store: queue empty, both entries finished.
        QCOMPARE(rig.queuedDownloads(), 0);
        const QList<FinishFileInfo> records = rig.finished();
        QCOMPARE(records.size(), 2);

        // The finished page lists them with their local places.
        done.refershData();
        QTRY_COMPARE_WITH_TIMEOUT(done.rowCount(), 2, kLong);
        QStringList finishedNames = column(done, FinishRole::FileNameRole);
        finishedNames.sort();
        QCOMPARE(finishedNames, (QStringList{"Album", "movie.bin"}));
        for (int i = 0; i < done.rowCount(); ++i) {
            const QModelIndex idx = done.index(i);
            QCOMPARE(idx.data(FinishRole::StatusRole).toBool(), false);   // downloads
            QCOMPARE(idx.data(FinishRole::SavePathRole).toString(),
                     dl + "/" + idx.data(FinishRole::FileNameRole).toString());
        }
        // The queue page, reloaded, stays empty.
        queue.refershData();
        QTRY_VERIFY_WITH_TIMEOUT(!queue.isLoading(), kLong);
        QCOMPARE(queue.rowCount(), 0);
    }

    void uploadsThroughTheTabAndAsksBeforeRepeating()
    {
        EndToEndRig rig;
        QVERIFY(rig.server->start());
        const QByteArray report = pattern(150 * 1024, 1);
        const QByteArray note = pattern(3000, 2);
        const QByteArray deep = pattern(40000, 3);
        const QString local = rig.base + "/local";
        const QString reportPath = writeLocal(local + "/report.bin", report);
        writeLocal(local + "/Docs/note.txt", note);
        writeLocal(local + "/Docs/Inner/deep.bin", deep);
        rig.newTab();

        UploadFileModel queue;
        QAbstractItemModelTester queueTester(&queue);
        queue.setTw(rig.tab->twUpload());
        queue.setTwfs(rig.tab->twFinish());
        TSFinishFileModel done;
        QAbstractItemModelTester doneTester(&done);
        done.setTw(rig.tab->twFinish());
        QueuedSpy ask(rig.tab.get(), &TidewellTab::rUploadAskTip);

        QVERIFY(rig.connectTab());
        QTRY_COMPARE_WITH_TIMEOUT(rig.tab->linkState(), 2, kLong);

        TwFolderInfo target;
        target.fid = int(rig.server->rootId());
        target.name = "root";
        // Every upload holds still (the small ones too: they would be done
        // before the page is read), so the queue can be looked at.
        rig.server->stallAfter(1024, 3);
        rig.tab->addUploadFiles(target.toVariantMap(),
                                {QUrl::fromLocalFile(reportPath), QUrl::fromLocalFile(local + "/Docs")});
        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 2, kLong);
        QStringList names = column(queue, DownRole::FileNameRole);
        QVERIFY2(names.contains("report.bin"), qPrintable(names.join(',')));
        QVERIFY2(names.filter(QRegularExpression("^Docs \\(")).size() == 1, qPrintable(names.join(',')));
        QTRY_VERIFY_WITH_TIMEOUT(rig.toastTexts().contains("2 file Add upload file completed"), kLong);
        QVERIFY(ask.isEmpty());

        rig.server->clearFaults();
        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 0, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.tab->isUpRun(), kLong);
        QTRY_VERIFY_WITH_TIMEOUT(rig.toastTexts().contains("File upload success"), kLong);
        const QString storage = QString::fromStdString(rig.server->root());
        QCOMPARE(EndToEndRig::bytesOf(storage + "/report.bin"), report);
        QCOMPARE(EndToEndRig::bytesOf(storage + "/Docs/note.txt"), note);
        QCOMPARE(EndToEndRig::bytesOf(storage + "/Docs/Inner/deep.bin"), deep);
        QCOMPARE(rig.tab->upTaskNum(), 0);

        done.refershData();
        QTRY_COMPARE_WITH_TIMEOUT(done.rowCount(), 2, kLong);
        for (int i = 0; i < done.rowCount(); ++i)
            QCOMPARE(done.index(i).data(FinishRole::StatusRole).toBool(), true);   // uploads

        // The same file again: the user is asked first (it was uploaded
        // already, it is not waiting), and nothing is queued meanwhile.
        const int creates = int(rig.server->requestsFor("/device/upload/create").size());
        rig.tab->addUploadFiles(target.toVariantMap(), {QUrl::fromLocalFile(reportPath)});
        QTRY_COMPARE_WITH_TIMEOUT(ask.count(), 1, kLong);
        QCOMPARE(ask[0][0].toBool(), false);
        QTest::qWait(100);
        QCOMPARE(queue.rowCount(), 0);
        QCOMPARE(int(rig.server->requestsFor("/device/upload/create").size()), creates);

        // The user goes on: it is uploaded once more.
        rig.tab->goUploadFiles();
        QTRY_COMPARE_WITH_TIMEOUT(int(rig.server->requestsFor("/device/upload/create").size()),
                                  creates + 1, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.tab->isUpRun() && queue.rowCount() == 0, kLong);
        QTRY_COMPARE_WITH_TIMEOUT(rig.finished().size(), 3, kLong);
        QCOMPARE(ask.count(), 1);
        int copies = 0;
        for (const QFileInfo& fi : QDir(storage).entryInfoList(QDir::Files))
            copies += EndToEndRig::bytesOf(fi.absoluteFilePath()) == report ? 1 : 0;
        QCOMPARE(copies, 2);
        done.refershData();
        QTRY_COMPARE_WITH_TIMEOUT(done.rowCount(), 3, kLong);
    }

    void linkDownloadsThroughTheRoot()
    {
        EndToEndRig rig;
        QVERIFY(rig.server->start());
        rig.server->setToken("link-token");   // the device takes only the link's token
        sdk::cores::model::channel_option opt;
        opt.cloud_url = "http://127.0.0.1:" + std::to_string(rig.server->port());
        opt.probe_timeout_ms = 1000;
        rig.root->setChannelOption(opt);
        rig.root->setExtlinkWaitMs(10000);
        rig.server->setCloudAnswer(
                TidewellExtlink::kGetTokenPath,
                QString(R"({"result":1,"data":{"deviceId":"%1","deviceToken":"link-token",)"
                        R"("userId":"u1","lanHost":"127.0.0.1","lanPort":%2}})")
                        .arg(rig.deviceId)
                        .arg(rig.server->port())
                        .toStdString());
        rig.server->addGeneratedFile("shared/clip.bin", 200 * 1024, true, 8);
        rig.server->addFile("shared/Set/one.txt", "one");
        rig.server->addFile("shared/Set/Two/two.txt", "two");

        // The link pages work on the root's manager and finish manager.
        LVDownloadManager* down = rig.root->downloadManager();
        DownloadFileModel queue;
        QAbstractItemModelTester queueTester(&queue);
        queue.setDown(down);
        queue.setTwfs(rig.root->finishManager());
        QueuedSpy toasts(rig.root.get(), &TidewellSdk::sg_notifyStatus);
        QueuedSpy finishes(down, &LVDownloadManager::rDownloadFinish);

        TidewellExtlink* ext = rig.root->twExtlink();
        QueuedSpy added(ext, &TidewellExtlink::rAddDownFiles);
        const NetworkShare share(1, "share-e2e", "code9");
        TwFileInfo clip = rig.item("shared/clip.bin");
        TwFileInfo set = rig.item("shared/Set", false);
        clip.shareId = set.shareId = share.shareId;
        const QString saveTo = rig.downDir + "/links";
        QDir().mkpath(saveTo);
        QVERIFY(ext->addDownFiles(twNewHandle(), share, saveTo, {clip, set}, 7));
        QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, kLong);
        QVERIFY(added[0][1].toBool());

        QTRY_COMPARE_WITH_TIMEOUT(finishes.count(), 2, kLong);
        QTRY_VERIFY_WITH_TIMEOUT(!down->isRun(), kLong);
        QCOMPARE(EndToEndRig::bytesOf(saveTo + "/clip.bin"), rig.serverBytes("shared/clip.bin"));
        QCOMPARE(EndToEndRig::bytesOf(saveTo + "/Set/one.txt"), QByteArray("one"));
        QCOMPARE(EndToEndRig::bytesOf(saveTo + "/Set/Two/two.txt"), QByteArray("two"));
        QTRY_COMPARE_WITH_TIMEOUT(toasts.count(), 1, kLong);
        QCOMPARE(toasts[0][1].toString(), QString("File download success"));
        QTRY_COMPARE_WITH_TIMEOUT(queue.rowCount(), 0, kLong);

        // One session for the link, asked for once, and every device call
        // carried the link's token.
        QCOMPARE(rig.root->extlinkSessionCount(), 1);
        QCOMPARE(int(rig.server->requestsFor(TidewellExtlink::kGetTokenPath).size()), 1);
        const auto transfers = rig.server->requestsFor("/device/download");
        QVERIFY(!transfers.empty());
        for (const auto& r : rig.server->requests())
            if (r.path != TidewellExtlink::kGetTokenPath)
                QCOMPARE(QString::fromStdString(r.token), QString("link-token"));
        // The link folder was walked with the link's listing.
        bool walkedByLink = false;
        for (const auto& r : rig.server->requests())
            walkedByLink = walkedByLink || r.command == "getLinkDirPath";
        QVERIFY(walkedByLink);

        // Stored under the root's link device, not under the device's id.
        int n = -1;
        QVERIFY(rig.db.getDownFileTotalNum(*rig.root->deviceInfo(), n));
        QCOMPARE(n, 0);
        QList<FinishFileInfo> linkDone;
        rig.db.getFinishFileList(1, 100, rig.root->deviceInfo()->accessId,
                                 rig.root->deviceInfo()->deviceId, linkDone);
        QCOMPARE(linkDone.size(), 2);
    }
};

TW_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
