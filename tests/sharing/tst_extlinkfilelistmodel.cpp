// The files behind a link: paged by offset over the link's own session,
// one level per model, saved into the application's download queue.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <memory>

#include "app/tidewellsdk.h"
#include "core/twfolderinfo.h"
#include "device/tidewelldevice.h"
#include "device/tidewellextlink.h"
#include "sharing/extlinkfilelistmodel.h"
#include "tests/serverrig.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"
#include "transfer/lvdownloadmanager.h"

using M = ExtlinkFileListModel;

struct Probe
{
    std::unique_ptr<M> model{new M};
    QSignalSpy toasts{model.get(), &M::sg_notifyStatus};
    QSignalSpy states{model.get(), &M::sg_DefaultStateChange};
    std::unique_ptr<QAbstractItemModelTester> tester;

    // The tester asks for the first page as a view would.
    Probe(QObject* tw, const Extlink& link, bool deviceMode, const QVariantMap& my = {},
          bool withTester = true)
    {
        model->setDeviceMode(deviceMode);
        model->setExtlinkInfo(link.toVariantMap());
        if (!my.isEmpty())
            model->setMy(my);
        model->setTw(tw);
        if (withTester)
            attach();
    }
    void attach()
    {
        tester.reset(new QAbstractItemModelTester(
            model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest));
    }
    bool hasToast(int code, const QString& text, int level) const
    {
        for (const auto& t : toasts)
            if (t.at(0).toInt() == code && t.at(1).toString() == text && t.at(2).toInt() == level)
                return true;
        return false;
    }
    bool lastToast(int code, const QString& text, int level) const
    {
        return !toasts.isEmpty() && toasts.last().at(0).toInt() == code
               && toasts.last().at(1).toString() == text && toasts.last().at(2).toInt() == level;
    }
};

class TestExtlinkFileListModel : public QObject
{
    Q_OBJECT
    ServerRig m_rig;
    std::unique_ptr<TidewellSdk> m_root;

    TestDeviceServer& server() { return *m_rig.server; }
    TidewellExtlink* ext() { return m_root->twExtlink(); }

    static Extlink link(const QString& shareId, const QString& code, const QString& title)
    {
        Extlink l;
        l.shareId = shareId;
        l.code = code;
        l.title = title;
        l.userId = "owner1";
        l.fileId = 77;
        return l;
    }

    QString saveDir(const QString& name)
    {
        const QString d = TestEnv::instance()->root() + "/save_" + name;
        QDir().mkpath(d);
        return d;
    }

private slots:
    void init()
    {
        const QString root = TestEnv::instance()->root() + "/dev_" + QTest::currentTestFunction();
        m_rig.server.reset(new TestDeviceServer(root.toStdString()));
        QVERIFY(server().start());
        m_root.reset(new TidewellSdk);
        m_root->setTestEnvironment(true);
        sdk::cores::model::channel_option opt;
        opt.cloud_url = "http://127.0.0.1:" + std::to_string(server().port());
        opt.probe_timeout_ms = 1000;
        m_root->setChannelOption(opt);
        m_root->setExtlinkWaitMs(15000);
        UserInfo u;
        u.accessId = QString("acc_") + QTest::currentTestFunction();
        m_root->setUserInfo(u);
    }

    void cleanup()
    {
        m_root.reset();
        m_rig.server.reset();
    }

    void topLevelPagesByOffsetOverTheLinkSession()
    {
        server().addShareLink("L1", "pw", "Trip", "pub/L1");
        for (int i = 0; i < 65; ++i)
            server().addFile(QString("pub/L1/f%1.txt").arg(i, 2, 10, QChar('0')).toStdString(), "x");
        // The device behind the link takes only the link's token.
        server().setToken("link-L1");
        Probe p(ext(), link("L1", "pw", "Trip"), false, {}, false);
        p.model->fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 60, 20000);
        QVERIFY(p.model->hasMore());
        QVERIFY(!p.model->isLoading());
        QCOMPARE(p.model->data(p.model->index(0), M::FileNameRole).toString(), QString("f00.txt"));
        QCOMPARE(p.model->data(p.model->index(0), M::FileSizeRole).toString(), QString("1 B"));
        p.attach();   // asks for the next page as a view would
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 65, 20000);
        QVERIFY(!p.model->hasMore());
        QCOMPARE(p.model->loadFileNum(), 65);
        QCOMPARE(p.model->fileNum(), 65);

        const auto sent = server().requestsFor("getExterLinkResList");
        QCOMPARE(int(sent.size()), 2);
        QVERIFY(QString::fromStdString(sent[0].body).contains("\"offset\":0"));
        QVERIFY(QString::fromStdString(sent[1].body).contains("\"offset\":60"));
        for (const auto& r : sent) {
            QVERIFY(QString::fromStdString(r.body).contains("\"shareId\":\"L1\""));
            QCOMPARE(QString::fromStdString(r.token), QString("link-L1"));
        }
        QVERIFY(server().requestsFor("getLinkDirPath").empty());
        const auto token = server().requestsFor(TidewellExtlink::kGetTokenPath);
        QCOMPARE(int(token.size()), 1);
        QVERIFY(QString::fromStdString(token[0].body).contains("\"extractedCode\":\"pw\""));
    }

    void pageAskedBeforeARefreshIsDropped()
    {
        server().addShareLink("R1", "", "Trip", "pub/R1");
        for (int i = 0; i < 65; ++i)
            server().addFile(QString("pub/R1/f%1.txt").arg(i, 2, 10, QChar('0')).toStdString(), "x");
        Probe p(ext(), link("R1", "", "Trip"), false, {}, false);
        p.model->fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 60, 20000);
        server().delayAnswer(1000, 1, "getExterLinkResList");
        p.attach();   // asks for the second page, held back
        QVERIFY(p.model->isLoading());
        p.model->refreshData();   // the view asks for the pages again
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 60, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!p.model->isLoading(), 20000);
        p.model->fetchMore(QModelIndex());   // as a view does once the rows are in
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 65, 20000);
        QTest::qWait(1500);       // the held page has come and gone
        QCOMPARE(p.model->rowCount(), 65);
        QSet<QString> names;
        for (const TwFileInfo& f : p.model->rows())
            names.insert(f.name);
        QCOMPARE(names.size(), 65);
        QCOMPARE(p.model->data(p.model->index(0), M::FileNameRole).toString(), QString("f00.txt"));
    }

    // A device that answers every offset with the same full page: the rows
    // are not added again and paging ends.
    void repeatedFullPageIsNotAddedAgain()
    {
        server().addShareLink("P1", "", "Trip", "pub/P1");
        QStringList items;
        for (int i = 0; i < 60; ++i)
            items << QString(R"({"id":%1,"name":"r%1.txt","isFile":true,"fileLen":1})").arg(500 + i);
        server().setCommandAnswer("getExterLinkResList",
                                  QString(R"({"result":1,"data":{"listPath":[%1]}})").arg(items.join(',')).toStdString());
        Probe p(ext(), link("P1", "", "Trip"), false);
        // A view that keeps asking.
        for (int i = 0; i < 8; ++i) {
            p.model->fetchMore(QModelIndex());
            QTest::qWait(150);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!p.model->isLoading(), 5000);
        QCOMPARE(p.model->rowCount(), 60);
        QVERIFY(!p.model->canFetchMore(QModelIndex()));
        QCOMPARE(int(server().requestsFor("getExterLinkResList").size()), 2);
    }

    // A page that fails stops paging until a refresh: a view that keeps
    // asking does not send the device a request each time.
    void failedPageStopsPaging()
    {
        server().addShareLink("F1", "", "Trip", "pub/F1");
        for (int i = 0; i < 65; ++i)
            server().addFile(QString("pub/F1/f%1.txt").arg(i, 2, 10, QChar('0')).toStdString(), "x");
        Probe p(ext(), link("F1", "", "Trip"), false, {}, false);
        p.model->fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 60, 20000);
        server().queueCommandAnswer("getExterLinkResList", R"({"result":0,"errCode":7,"message":"link busy"})");
        p.attach();   // asks for the second page as a view would
        QTRY_VERIFY_WITH_TIMEOUT(!p.toasts.isEmpty(), 20000);
        QCOMPARE(p.toasts.last().at(1).toString(), QString("link busy"));
        QCOMPARE(p.model->rowCount(), 60);
        QVERIFY(!p.model->canFetchMore(QModelIndex()));
        for (int i = 0; i < 5; ++i)
            p.model->fetchMore(QModelIndex());
        QTest::qWait(300);
        QCOMPARE(int(server().requestsFor("getExterLinkResList").size()), 2);
        // A refresh starts again.
        p.model->refreshData();
        p.model->fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 60, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!p.model->isLoading(), 20000);
        p.model->fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 65, 20000);
    }

    void folderLevelAskedByItsId()
    {
        server().addShareLink("L2", "", "Trip", "pub/L2");
        const qint64 folder = server().addFolder("pub/L2/A");
        server().addFile("pub/L2/A/x.jpg", "xx");
        server().addFolder("pub/L2/A/B");
        TwFileInfo my;
        my.id = folder;
        my.name = "A";
        Probe p(ext(), link("L2", "", "Trip"), false, my.toVariantMap());
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 2, 20000);
        QVERIFY(!p.model->hasMore());
        QVERIFY(server().requestsFor("getExterLinkResList").empty());
        const auto sent = server().requestsFor("getLinkDirPath");
        QCOMPARE(int(sent.size()), 1);
        QVERIFY(QString::fromStdString(sent[0].body).contains(QString("\"fileId\":%1").arg(folder)));

        // Folders first: B, then x.jpg.
        QCOMPARE(p.model->data(p.model->index(0), M::FileSizeRole).toString(), QString("--"));
        QCOMPARE(p.model->data(p.model->index(0), M::FileIconRole).toInt(), 5);
        QCOMPARE(p.model->data(p.model->index(1), M::FileIconRole).toInt(), 6);

        // Opened from the top, A's own upPath is empty.
        const QVariantMap parent = p.model->parentModel();
        QCOMPARE(parent.value("upPath").toString(), QString("/Trip/A"));
        QCOMPARE(parent.value("fid").toInt(), int(folder));
        QCOMPARE(parent.value("diskType").toInt(), 3);
        QCOMPARE(parent.value("serialNo").toString(), QString("owner1"));
        QCOMPARE(parent.value("groupId").toInt(), 77);

        QSignalSpy opened(p.model.get(), &M::openFolder);
        p.model->openFileItem(0);
        p.model->openFileItem(9);
        QCOMPARE(opened.count(), 1);
        const QVariantMap b = opened[0][0].toMap();
        QCOMPARE(b.value("name").toString(), QString("B"));
        QCOMPARE(b.value("upPath").toString(), QString("/A"));
        QCOMPARE(p.model->currentSelected(), 0);
    }

    void topOfALink()
    {
        server().addShareLink("L3", "", "Trip", "pub/L3");
        server().addFolder("pub/L3/A");
        Probe p(ext(), link("L3", "", "Trip"), false);
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 20000);
        const QVariantMap parent = p.model->parentModel();
        QCOMPARE(parent.value("upPath").toString(), QString("/Trip"));
        QCOMPARE(parent.value("name").toString(), QString("Trip"));
        QCOMPARE(parent.value("fid").toInt(), 0);
        QSignalSpy opened(p.model.get(), &M::openFolder);
        p.model->openFileItem(0);
        QCOMPARE(opened[0][0].toMap().value("upPath").toString(), QString());
        QVERIFY(p.model->isExtlinkList());
        QVERIFY(!p.model->deviceMode());
        const NetworkShare s = p.model->share();
        QCOMPARE(s.num, 1);
        QCOMPARE(s.shareId, QString("L3"));
    }

    void failedFirstPageShowsTheMessage()
    {
        Probe p(ext(), link("nosuch", "", "Gone"), false);
        QTRY_COMPARE_WITH_TIMEOUT(p.toasts.count(), 1, 20000);
        QCOMPARE(p.toasts[0].at(1).toString(), QString("extlink not existed or invalid"));
        QCOMPARE(p.toasts[0].at(2).toInt(), 2);
        QVERIFY(!p.states.isEmpty());
        QCOMPARE(p.states.last().at(0).toInt(), 2);
        QCOMPARE(p.model->rowCount(), 0);
        QVERIFY(!p.model->isLoading());
    }

    void savingQueuesDownloadsThroughTheLink()
    {
        server().addShareLink("L4", "pw", "Trip", "pub/L4");
        server().addFile("pub/L4/a.txt", "alpha");
        server().addFile("pub/L4/b.txt", "bravo!");
        server().addFolder("pub/L4/sub");
        server().addFile("pub/L4/sub/c.txt", "charlie");
        Probe p(ext(), link("L4", "pw", "Trip"), false);
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 3, 20000);

        const QString dir = saveDir("L4");
        p.model->fileDownload(dir);
        QVERIFY(p.lastToast(1, "not selected item.", 0));

        p.model->singleSelect(0);      // the folder "sub"
        p.model->multiSelect(1);       // a.txt
        QCOMPARE(p.model->getSelectFolderIds().size(), 1);
        QSignalSpy busy(m_root.get(), &TidewellSdk::sg_showLoading);
        p.model->fileDownload(dir);
        QTRY_VERIFY_WITH_TIMEOUT(p.lastToast(-1, "Already added to download", 1), 20000);
        QCOMPARE(busy.count(), 1);
        QCOMPARE(p.model->selectNum(), 0);

        QTRY_COMPARE_WITH_TIMEOUT(ServerRig::bytesOf(dir + "/a.txt"), QByteArray("alpha"), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(ServerRig::bytesOf(dir + "/sub/c.txt"), QByteArray("charlie"),
                                  20000);
        QVERIFY(!QFile::exists(dir + "/b.txt"));
        for (const auto& r : server().requestsFor("/device/download"))
            QVERIFY(QString::fromStdString(r.query).contains("shareId=L4"));
    }

    // Two devices behind two links number their files alike; the queue
    // keeps one entry per link.
    void downloadsFromTwoLinksDoNotBlockEachOther()
    {
        TestDeviceServer other((TestEnv::instance()->root() + "/dev_other").toStdString());
        QVERIFY(other.start());
        const qint64 idA = server().addFile("pub/LA/same.txt", "from A");
        const qint64 idB = other.addFile("pub/LB/same.txt", "from B");
        QCOMPARE(idA, idB);
        server().addShareLink("LA", "", "A", "pub/LA");
        other.addShareLink("LB", "", "B", "pub/LB");
        const int portA = server().port();
        const int portB = other.port();
        m_root->setExtlinkResolver([=](const NetworkShare& s, sdk::cores::model::device_addr& a) {
            a.lan_host = "127.0.0.1";
            a.lan_port = s.shareId == "LA" ? portA : portB;
            a.device_id = s.shareId.toStdString();
            return true;
        });
        const QString dirA = saveDir("LA");
        const QString dirB = saveDir("LB");
        Probe a(ext(), link("LA", "", "A"), false);
        Probe b(ext(), link("LB", "", "B"), false);
        QTRY_COMPARE_WITH_TIMEOUT(a.model->rowCount(), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(b.model->rowCount(), 1, 20000);
        a.model->singleSelect(0);
        a.model->fileDownload(dirA);
        QTRY_COMPARE_WITH_TIMEOUT(ServerRig::bytesOf(dirA + "/same.txt"), QByteArray("from A"),
                                  20000);
        // A second entry for A's file still queued must not swallow B's.
        server().stallAfter(0, 1);
        a.model->singleSelect(0);
        a.model->fileDownload(saveDir("LA2"));
        QTRY_VERIFY_WITH_TIMEOUT(a.lastToast(-1, "Already added to download", 1), 20000);
        b.model->singleSelect(0);
        b.model->fileDownload(dirB);
        QTRY_VERIFY_WITH_TIMEOUT(b.lastToast(-1, "Already added to download", 1), 20000);
        server().clearFaults();
        QTRY_COMPARE_WITH_TIMEOUT(ServerRig::bytesOf(dirB + "/same.txt"), QByteArray("from B"),
                                  30000);
    }

    void reportingALink()
    {
        server().addShareLink("L5", "", "Spam", "pub/L5");
        Probe p(ext(), link("L5", "", "Spam"), false);
        p.model->reportExtlink("123", 2, "spam");
        QTRY_VERIFY_WITH_TIMEOUT(p.hasToast(1, "Report Extlink Successful.", 1), 20000);
        QCOMPARE(server().shareLinkReports("L5"), 1);
        const auto sent = server().requestsFor(TidewellExtlink::kReportPath);
        QVERIFY(QString::fromStdString(sent.at(0).body).contains("\"reason\":\"spam\""));

        Probe gone(ext(), link("L6", "", "Gone"), false);
        gone.model->reportExtlink("1", 1, "x");
        QTRY_VERIFY_WITH_TIMEOUT(gone.hasToast(0, "share does not exist", 0), 20000);
    }

    void deviceModeListsButDoesNotSave()
    {
        server().addShareLink("D1", "", "Mine", "pub/D1");
        server().addFile("pub/D1/m.txt", "m");
        TestOwner owner;
        QVERIFY(owner.connectTo(server().port()));
        TidewellDevice device(&owner);
        Probe p(&device, link("D1", "", "Mine"), true);
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 20000);
        QVERIFY(p.model->deviceMode());
        p.model->singleSelect(0);
        p.model->fileDownload(saveDir("D1"));
        QTest::qWait(100);
        QVERIFY(p.toasts.isEmpty());
        QCOMPARE(p.model->selectNum(), 1);
        QVERIFY(server().requestsFor(TidewellExtlink::kGetTokenPath).empty());
        p.model->fileOpen();
        QVERIFY(p.lastToast(100201, "No Impliment.", 0));
    }
};

TW_TEST_MAIN(TestExtlinkFileListModel)
#include "tst_extlinkfilelistmodel.moc"
