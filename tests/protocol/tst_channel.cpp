// The message channel against the test device on loopback.
#include "tests/testenv.h"

#include <memory>

#include "core/common.h"
#include "protocol/createpubdirreq.h"
#include "protocol/createpubdirresp.h"
#include "protocol/devicesharegettokenresp.h"
#include "protocol/dirpathresp.h"
#include "protocol/getdirpathreq.h"
#include "protocol/tidewellnet.h"
#include "sdk/tidewell_network_sdk.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"

class TestChannel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TestOwner> m_owner;

    sdk::plugins::tidewell_network_sdk* net() { return m_owner->networkSdk(); }

private slots:
    void init()
    {
        m_server.reset(new TestDeviceServer((TestEnv::instance()->root() + "/dev").toStdString()));
        QVERIFY(m_server->start());
        m_owner.reset(new TestOwner);
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_server->clearRequests();
    }

    void cleanup()
    {
        m_owner.reset();
        m_server.reset();
    }

    void listingRoundTrip()
    {
        const qint64 docs = m_server->addFolder("docs");
        m_server->addFile("docs/a.txt", "hello");
        m_server->addFile("docs/b.mp3", "xx");
        GetDirPathReq req("", docs, 1, 0, 100, false, 2, false);
        DirPathResp resp;
        QVERIFY(TidewellNet::request(net(), req, resp, TidewellNet::kEngineTimeout));
        QCOMPARE(resp.result, 1);
        QCOMPARE(resp.fileList.size(), 2);
        QCOMPARE(resp.fileList[0].name, QString("a.txt"));
        QCOMPARE(resp.fileList[0].fileLen, 5LL);
        QCOMPARE(resp.fileList[1].type, int(Common::MT_Music));
        const auto log = m_server->requestsFor("getDirPath");
        QCOMPARE(int(log.size()), 1);
        QCOMPARE(QString::fromStdString(log[0].path), QString(TidewellNet::kDevicePath));
    }

    void deviceFailureKeepsItsCode()
    {
        CreatePubDirReq bad(1, 0, "a/../b", "", false);
        CreatePubDirResp resp;
        QVERIFY(!TidewellNet::request(net(), bad, resp));
        QCOMPARE(resp.result, 0);
        QCOMPARE(resp.errCode, 2005);

        APIBase unknown;
        QVERIFY(!TidewellNet::request(net(), "noSuchCommand", Json::Value(), unknown));
        QCOMPARE(unknown.result, 0);
        QCOMPARE(unknown.errCode, 404);
    }

    void failedCallIsNetworkError()
    {
        DirPathResp a;
        QVERIFY(!TidewellNet::request(nullptr, GetDirPathReq(), a));
        QCOMPARE(a.code(), int(APIBase::NetworkError));
        QCOMPARE(a.message, QString("Network Error"));

        // A session without a device.
        sdk::plugins::tidewell_network_sdk lone;
        lone.init(sdk::cores::model::channel_option());
        DirPathResp b;
        QVERIFY(!TidewellNet::request(&lone, GetDirPathReq(), b));
        QCOMPARE(b.code(), int(APIBase::NetworkError));

        // The device stops answering.
        m_server->stopListener(0);
        DirPathResp c;
        QVERIFY(!TidewellNet::request(net(), GetDirPathReq(), c, 2));
        QCOMPARE(c.code(), int(APIBase::NetworkError));
    }

    void badAnswersGiveCodes()
    {
        m_server->answerMalformed(1, "getDirPath");
        DirPathResp cut;
        QVERIFY(!TidewellNet::request(net(), GetDirPathReq(), cut));
        QVERIFY(cut.code() < 0);
        QVERIFY(cut.fileList.isEmpty());

        m_server->setCommandAnswer("getDirPath",
                                   R"({"result":1,"data":{"listPath":"oops","totalPages":[]}})");
        DirPathResp odd;
        QVERIFY(TidewellNet::request(net(), GetDirPathReq(), odd));
        QVERIFY(odd.fileList.isEmpty());
        QCOMPARE(odd.totalPages, 0);
    }

    void cloudCall()
    {
        m_server->setCloudAnswer("/api/v2/x/getToken",
                                 R"({"result":1,"data":{"deviceId":"d9","deviceToken":"t9","lanPort":"81"}})");
        sdk::plugins::tidewell_network_sdk cloud;
        sdk::cores::model::channel_option opt;
        opt.cloud_url = "http://127.0.0.1:" + std::to_string(m_server->port());
        cloud.init(opt);
        Json::Value body(Json::objectValue);
        body["shareId"] = "s1";
        DeviceShareGetTokenResp resp;
        QVERIFY(TidewellNet::cloud(&cloud, "/api/v2/x/getToken", body, resp));
        QCOMPARE(resp.deviceId, QString("d9"));
        QCOMPARE(resp.deviceToken, QString("t9"));
        QCOMPARE(resp.lanPort, 81);
        const auto log = m_server->requestsFor("/api/v2/x/getToken");
        QCOMPARE(int(log.size()), 1);
        QVERIFY(QString::fromStdString(log[0].body).contains("s1"));
    }
};

TW_TEST_MAIN(TestChannel)
#include "tst_channel.moc"
