// External links: the root's one session per link, and the link facade.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <memory>

#include "app/tidewellsdk.h"
#include "core/twhandle.h"
#include "device/tidewellextlink.h"
#include "sdk/tidewell_network_sdk.h"
#include "tools/testdeviceserver.h"

static const char* kToken = "/api/v2/tomcat/Saltmere/deviceShare/getToken";

class TestTidewellExtlink : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TidewellSdk> m_root;

    void answerToken(const QString& token)
    {
        const QString json = QString(R"({"result":1,"data":{"deviceId":"devL","deviceToken":"%1",)"
                                     R"("userId":"u1","lanHost":"127.0.0.1","lanPort":%2}})")
                                     .arg(token)
                                     .arg(m_server->port());
        m_server->setCloudAnswer(kToken, json.toStdString());
    }

    int tokenRequests() const { return int(m_server->requestsFor(kToken).size()); }

private slots:
    void init()
    {
        m_server.reset(new TestDeviceServer((TestEnv::instance()->root() + "/dev").toStdString()));
        QVERIFY(m_server->start());
        m_root.reset(new TidewellSdk);
        sdk::cores::model::channel_option opt;
        opt.cloud_url = "http://127.0.0.1:" + std::to_string(m_server->port());
        opt.probe_timeout_ms = 1000;
        m_root->setChannelOption(opt);
        m_root->setExtlinkWaitMs(5000);
        UserInfo u;
        u.accessId = "acc9";
        m_root->setUserInfo(u);
    }

    void cleanup()
    {
        m_root.reset();
        m_server.reset();
    }

    void linkDeviceRecord()
    {
        QCOMPARE(m_root->deviceInfo()->deviceId, QString("extlink_virtual_deviceId"));
        QCOMPARE(m_root->deviceInfo()->accessId, QString("acc9"));
        QCOMPARE(m_root->deviceId(), QString("extlink_virtual_deviceId"));
        m_root->setTestEnvironment(true);
        QCOMPARE(m_root->deviceId(), QString("extlink_virtual_deviceId_test"));
        QCOMPARE(m_root->netType(), 0);
        QVERIFY(!m_root->isPCDevice());
    }

    void emptyShareRunsNothing()
    {
        int runs = 0;
        QVERIFY(!m_root->device_online(NetworkShare(), [&](auto*, bool) { ++runs; return true; }));
        QCOMPARE(runs, 0);
        QCOMPARE(m_root->extlinkSessionCount(), 0);
        QVERIFY(m_server->requests().empty());
    }

    void oneSessionPerLinkReused()
    {
        answerToken("tokA");
        m_server->setToken("tokA");   // the device accepts only the link's token
        int runs = 0;
        sdk::plugins::tidewell_network_sdk* first = nullptr;
        auto fn = [&](sdk::plugins::tidewell_network_sdk* net, bool lan) {
            ++runs;
            if (!first)
                first = net;
            sdk::cores::model::resp_info info;
            return lan && net == first
                   && net->api_req("", "ping", "/device/directTransfer.json", 5, &info);
        };
        QVERIFY(m_root->device_online(NetworkShare(1, "s1", "c1"), fn));
        QVERIFY(m_root->device_online(NetworkShare(1, "s1", "c1"), fn));
        QCOMPARE(runs, 2);
        QCOMPARE(tokenRequests(), 1);
        QCOMPARE(m_root->extlinkSessionCount(), 1);
        const auto body = QString::fromStdString(m_server->requestsFor(kToken).at(0).body);
        QVERIFY(body.contains("s1") && body.contains("c1"));
        for (const auto& r : m_server->requestsFor("ping"))
            QCOMPARE(QString::fromStdString(r.token), QString("tokA"));

        QVERIFY(m_root->device_online(NetworkShare(1, "s2", "c2"), [](auto*, bool) { return true; }));
        QCOMPARE(m_root->extlinkSessionCount(), 2);
        QCOMPARE(tokenRequests(), 2);
    }

    void unresolvableLinkRunsNothing()
    {
        m_server->setCloudAnswer(kToken, R"({"result":0,"message":"bad code","errCode":7})");
        int runs = 0;
        QVERIFY(!m_root->device_online(NetworkShare(1, "s3", "x"), [&](auto*, bool) { ++runs; return true; }));
        // A token without any address is refused too.
        m_server->setCloudAnswer(kToken, R"({"result":1,"data":{"deviceId":"d","deviceToken":"t"}})");
        QVERIFY(!m_root->device_online(NetworkShare(1, "s3", "x"), [&](auto*, bool) { ++runs; return true; }));
        QCOMPARE(runs, 0);
        QCOMPARE(m_root->extlinkSessionCount(), 0);
    }

    void resolverHook()
    {
        int asked = 0;
        m_root->setExtlinkResolver([&](const NetworkShare& s, sdk::cores::model::device_addr& a) {
            ++asked;
            a.lan_host = "127.0.0.1";
            a.lan_port = m_server->port();
            a.device_id = s.shareId.toStdString();
            return true;
        });
        QVERIFY(m_root->device_online(NetworkShare(1, "h1", ""), [](auto*, bool) { return true; }));
        QCOMPARE(asked, 1);
        QCOMPARE(tokenRequests(), 0);
    }

    void listingOverTheLinkSession()
    {
        answerToken("");
        const qint64 folder = m_server->addFolder("shared");
        m_server->addFile("shared/x.txt", "x");
        TidewellExtlink ext(m_root.get());
        QueuedSpy spy(&ext, &TidewellExtlink::rGetExterLinkResList);
        const TW_HANDLE h = twNewHandle();
        QVERIFY(ext.getLinkDirPath(h, NetworkShare(1, "s1", "c"), 0, 60, false, 0, int(folder)));
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 10000);
        QCOMPARE(spy[0][0].value<TW_HANDLE>(), h);
        auto r = spy[0][1].value<GetExterLinkResListResp>();
        QCOMPARE(r.result, 1);
        QCOMPARE(r.fileList.size(), 1);
        QCOMPARE(r.fileList[0].name, QString("x.txt"));

        // No session for this link.
        m_server->setCloudAnswer(kToken, R"({"result":0,"message":"gone"})");
        QVERIFY(ext.getExterLinkResList(h, NetworkShare(1, "dead", "c"), 0, 60, false, 0, "dead"));
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 10000);
        r = spy[1][1].value<GetExterLinkResListResp>();
        QVERIFY(!r.ok());
        QCOMPARE(r.message, QString("extlink not existed or invalid"));
    }

    void cloudRequests()
    {
        m_server->setCloudAnswer(TidewellExtlink::kGetInfoPath,
                                 R"({"result":1,"data":{"shareId":"s5","title":"Holiday","extractedCode":false,"fileId":12}})");
        TidewellExtlink ext(m_root.get());
        QueuedSpy info(&ext, &TidewellExtlink::rDeviceShareGetInfo);
        QVERIFY(ext.deviceShareGetInfo(twNewHandle(), "s5", "larkvault://x/share?shareId=s5"));
        QTRY_COMPARE(info.count(), 1);
        const auto r = info[0][1].value<DeviceShareGetInfoResp>();
        QCOMPARE(r.title, QString("Holiday"));
        QVERIFY(!r.extractedCode);
        QCOMPARE(info[0][2].toString(), QString("larkvault://x/share?shareId=s5"));

        answerToken("tt");
        QueuedSpy token(&ext, &TidewellExtlink::rDeviceShareGetToken);
        QVERIFY(ext.deviceShareGetToken(twNewHandle(), "s5", "abcd"));
        QTRY_COMPARE(token.count(), 1);
        const auto t = token[0][1].value<DeviceShareGetTokenResp>();
        QCOMPARE(t.deviceToken, QString("tt"));
        QCOMPARE(t.shareId, QString("s5"));
        QCOMPARE(token[0][2].toString(), QString("abcd"));

        m_server->failWithStatus(500, -1, TidewellExtlink::kReportPath);
        QueuedSpy report(&ext, &TidewellExtlink::rDeviceShareReport);
        QVERIFY(ext.deviceShareReport(twNewHandle(), "s5", "123", 1, "spam"));
        QTRY_COMPARE(report.count(), 1);
        QCOMPARE(report[0][1].value<DeviceShareReportResp>().code(), int(APIBase::NetworkError));
    }

    void linkDownloadsGoToTheApplicationManager()
    {
        answerToken("");
        const qint64 id = m_server->addFile("shared/y.txt", "yy");
        TidewellExtlink* ext = m_root->twExtlink();
        QVERIFY(ext && m_root->downloadManager());
        QueuedSpy spy(ext, &TidewellExtlink::rAddDownFiles);
        TwFileInfo f;
        f.id = id;
        f.name = "y.txt";
        f.isFile = true;
        f.fileLen = 2;
        const QString dir = TestEnv::instance()->root() + "/linkdown";
        QDir().mkpath(dir);
        const TW_HANDLE h = twNewHandle();
        QVERIFY(ext->addDownFiles(h, NetworkShare(1, "s1", "c"), dir, {f}, 7));
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 10000);
        QCOMPARE(spy[0][0].value<TW_HANDLE>(), h);
        QCOMPARE(spy[0][1].toBool(), true);
    }

    void localLinkTable()
    {
        TidewellExtlink ext(m_root.get(), TestEnv::instance()->root() + "/links.db");
        QueuedSpy added(&ext, &TidewellExtlink::rAddExtlink);
        Extlink a;
        a.shareId = "s1";
        a.url = "larkvault://h/share?shareId=s1";
        a.title = "one";
        Extlink b = a;
        b.shareId = "s2";
        b.url = "larkvault://h/share?shareId=s2";
        QVERIFY(ext.addExtlink(twNewHandle(), a));
        QVERIFY(ext.addExtlink(twNewHandle(), b));
        QTRY_COMPARE(added.count(), 2);
        QVERIFY(added[0][1].value<APIBase>().ok());
        QVERIFY(ext.localExtlink(a.url));
        QVERIFY(!ext.localExtlink("larkvault://h/share?shareId=zz"));

        QueuedSpy page(&ext, &TidewellExtlink::rGetExtlinkList);
        QVERIFY(ext.getExtlinkList(twNewHandle(), 0, 10, false, 0, 0));
        QTRY_COMPARE(page.count(), 1);
        Extlinks links = page[0][1].value<Extlinks>();
        QCOMPARE(links.links.size(), 2);
        QCOMPARE(links.pageSize, 10);

        // Another account sees none of them.
        UserInfo other;
        other.accessId = "someone";
        m_root->setUserInfo(other);
        QVERIFY(!ext.localExtlink(a.url));
        m_root->setUserInfo(UserInfo{"", "", "", "", "acc9", "", "", "", ""});

        QueuedSpy removed(&ext, &TidewellExtlink::rRemoveExtlink);
        QVERIFY(ext.removeExtlink(twNewHandle(), links.links[0]));
        Extlink never;
        QVERIFY(ext.removeExtlink(twNewHandle(), never));   // never stored
        QTRY_COMPARE(removed.count(), 2);
        QVERIFY(removed[0][1].value<APIBase>().ok());
        QCOMPARE(removed[1][1].value<APIBase>().message, QString("removeExtlink error"));
        QVERIFY(ext.getExtlinkList(twNewHandle(), 0, 10, false, 0, 0));
        QTRY_COMPARE(page.count(), 2);
        QCOMPARE(page[1][1].value<Extlinks>().links.size(), 1);
    }
};

TW_TEST_MAIN(TestTidewellExtlink)
#include "tst_tidewellextlink.moc"
