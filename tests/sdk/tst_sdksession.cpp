#include <atomic>
#include <thread>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include "sdk/proto.h"
#include "sdk/req_proto.h"
#include "sdk/tidewell_network_sdk.h"
#include "tests/sdk/statelog.h"
#include "tests/testenv.h"
#include "tools/loopback.h"
#include "tools/testdeviceserver.h"

using namespace sdk::cores;
using sdk::plugins::tidewell_network_sdk;

namespace {

// A listing answer as the protocol layer would read it.
class ListResp : public protocol::req_proto
{
public:
    bool from_json(const Json::Value& root) override
    {
        result = root["result"].asInt();
        for (const Json::Value& item : root["data"]["listPath"])
            names.push_back(item["name"].asString());
        totalPages = root["data"]["totalPages"].asInt();
        return true;
    }
    int result = 0;
    int totalPages = 0;
    std::vector<std::string> names;
};

model::device_addr addr(int lanPort, int mapPort = 0, int remotePort = 0)
{
    model::device_addr a = loopbackAddr("dev-1", lanPort, mapPort, remotePort);
    a.token = "tok";
    return a;
}

// Nothing listens on port 1 of the loopback: connections are refused at once.
constexpr int kDeadPort = 1;

} // namespace

class TestSdkSession : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        m_server.reset(new TestDeviceServer(m_dir->path().toStdString()));
        QVERIFY(m_server->start());
        m_sdk.reset(new tidewell_network_sdk);
        model::channel_option opt;
        opt.probe_timeout_ms = 2000;
        opt.cloud_url = "http://127.0.0.1:" + std::to_string(m_server->port());
        QVERIFY(m_sdk->init(opt));
        m_sdk->set_observer(&m_states);
        model::user_info user;
        user.access_id = "acc-1";
        m_sdk->set_user_info(user);
    }

    void cleanup()
    {
        m_sdk->set_observer(nullptr);
        m_sdk.reset();
        m_server.reset();
        m_states.clear();
    }

    // The first route answering the ping decides the link state.
    void linkStates_data()
    {
        QTest::addColumn<int>("lan");
        QTest::addColumn<int>("map");
        QTest::addColumn<int>("remote");
        QTest::addColumn<int>("state");
        QTest::newRow("lan") << 0 << kDeadPort << kDeadPort << 2;
        QTest::newRow("mapped") << kDeadPort << 0 << kDeadPort << 3;
        QTest::newRow("remote") << kDeadPort << kDeadPort << -1 << 4;
        QTest::newRow("none") << kDeadPort << kDeadPort << kDeadPort << 0;
    }
    void linkStates()
    {
        QFETCH(int, lan);
        QFETCH(int, map);
        QFETCH(int, remote);
        QFETCH(int, state);
        QVERIFY(m_server->startRemote());
        auto pick = [this](int v) { return v == 0 ? m_server->port() : v == -1 ? m_server->remotePort() : v; };
        QVERIFY(m_sdk->switch_device(addr(pick(lan), pick(map), pick(remote))));
        QTRY_VERIFY(m_states.states().size() >= 2 || (state == 0 && m_states.states().size() >= 1
                                                       && m_sdk->link_state() == 0));
        QTRY_COMPARE(m_sdk->link_state(), state);
        QCOMPARE(m_states.states().front(), 1);
        QTRY_COMPARE(m_states.last(), state);
        if (state == 4) {
            // Requests now go to the remote listener.
            m_server->clearRequests();
            QVERIFY(m_sdk->api_req("{}", "ping", "/device/directTransfer.json", 5, nullptr));
            const auto reqs = m_server->requestsFor("ping");
            QCOMPARE(reqs.size(), size_t(1));
            QCOMPARE(reqs[0].listener, 1);
        }
    }

    void noRouteIsRefused()
    {
        QVERIFY(!m_sdk->switch_device(model::device_addr()));
        QVERIFY(!m_sdk->reconnect_device());
        QCOMPARE(m_sdk->link_state(), 0);
        model::resp_info resp;
        QVERIFY(!m_sdk->api_req("{}", "getDirPath", "/device/directTransfer.json", 2, &resp));
        QCOMPARE(resp.code, -1);
    }

    // Reconnect requests made while a probe runs are merged into it.
    void reconnectCoalesces()
    {
        m_server->delayAnswer(400, -1, "ping");
        QVERIFY(m_sdk->switch_device(addr(m_server->port())));
        for (int i = 0; i < 5; ++i)
            QVERIFY(m_sdk->reconnect_device());
        QTRY_COMPARE(m_sdk->link_state(), 2);
        QCOMPARE(m_server->requestsFor("ping").size(), size_t(1));
        // Once settled, a reconnect probes again.
        QVERIFY(m_sdk->reconnect_device());
        QTRY_COMPARE(m_server->requestsFor("ping").size(), size_t(2));
        QTRY_COMPARE(m_sdk->link_state(), 2);
    }

    void commandRoundTrip()
    {
        m_server->addFile("docs/a.txt", "alpha");
        m_server->addFile("docs/b.txt", "beta");
        const std::int64_t docs = m_server->idForPath("docs");
        QVERIFY(m_sdk->switch_device(addr(m_server->port())));
        QTRY_COMPARE(m_sdk->link_state(), 2);

        Json::Value body(Json::objectValue);
        body["fileId"] = Json::Int64(docs);
        body["pageNo"] = 1;
        body["pageSize"] = 60;
        model::resp_info resp;
        QVERIFY(m_sdk->api_req(protocol::proto::json_to_string(body), "getDirPath",
                               "/device/directTransfer.json", 15, &resp));
        QCOMPARE(resp.code, 1);
        QCOMPARE(resp.http_status, 200L);
        ListResp list;
        QVERIFY(list.from(resp.body));
        QCOMPARE(list.result, 1);
        QCOMPARE(list.totalPages, 1);
        QCOMPARE(list.names, (std::vector<std::string>{"a.txt", "b.txt"}));

        const auto reqs = m_server->requestsFor("getDirPath");
        QCOMPARE(reqs.size(), size_t(1));
        QCOMPARE(reqs[0].token, std::string("tok"));
        Json::Value sent;
        QVERIFY(protocol::proto::json_from_string(reqs[0].body, sent));
        QCOMPARE(sent["command"].asString(), std::string("getDirPath"));
        QCOMPARE(sent["data"]["fileId"].asInt64(), static_cast<Json::Int64>(docs));

        // A canned answer for any other command comes back unchanged.
        m_server->setCommandAnswer("bt_GetTaskList", R"({"result":1,"message":"ok","data":{"totalPages":3}})");
        QVERIFY(m_sdk->api_req("", "bt_GetTaskList", "/device/directTransfer.json", 5, &resp));
        Json::Value v;
        QVERIFY(protocol::proto::json_from_string(resp.body, v));
        QCOMPARE(v["data"]["totalPages"].asInt(), 3);
        // A device refusal is a completed call with its code.
        QVERIFY(m_sdk->api_req("{}", "noSuchCommand", "/device/directTransfer.json", 5, &resp));
        QCOMPARE(resp.code, 0);
        QCOMPARE(resp.err_code, 404);
        // A body that is not a JSON object is refused before sending.
        QVERIFY(!m_sdk->api_req("[1,2", "getDirPath", "/device/directTransfer.json", 5, &resp));
    }

    void failedCalls()
    {
        QVERIFY(m_sdk->switch_device(addr(m_server->port())));
        QTRY_COMPARE(m_sdk->link_state(), 2);
        model::resp_info resp;

        m_server->answerMalformed(1, "getDirPath");
        QVERIFY(!m_sdk->api_req("{}", "getDirPath", "/device/directTransfer.json", 5, &resp));
        QCOMPARE(resp.code, -1);

        m_server->failWithStatus(500, 1, "getDirPath");
        QVERIFY(!m_sdk->api_req("{}", "getDirPath", "/device/directTransfer.json", 5, &resp));
        QCOMPARE(resp.http_status, 500L);
        QVERIFY(m_sdk->api_req("{}", "getDirPath", "/device/directTransfer.json", 5, &resp));

        // The time-out is kept however long the device takes.
        m_server->delayAnswer(6000, 1, "slowCommand");
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!m_sdk->api_req("{}", "slowCommand", "/device/directTransfer.json", 1, &resp));
        QVERIFY(timer.elapsed() < 5000);

        // Refused connection.
        m_server->stop();
        QVERIFY(!m_sdk->api_req("{}", "getDirPath", "/device/directTransfer.json", 2, &resp));
    }

    void concurrentCalls()
    {
        for (int i = 0; i < 20; ++i)
            m_server->addFile("f" + std::to_string(i) + "/x.txt", "x");
        QVERIFY(m_sdk->switch_device(addr(m_server->port())));
        QTRY_COMPARE(m_sdk->link_state(), 2);
        std::atomic<int> good{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < 20; ++i) {
                    Json::Value body(Json::objectValue);
                    body["fileId"] = Json::Int64(m_server->idForPath("f" + std::to_string((t + i) % 20)));
                    model::resp_info resp;
                    if (m_sdk->api_req(protocol::proto::json_to_string(body), "getDirPath",
                                       "/device/directTransfer.json", 15, &resp)
                        && resp.code == 1 && resp.body.find("x.txt") != std::string::npos)
                        ++good;
                }
            });
        }
        for (auto& t : threads)
            t.join();
        QCOMPARE(good.load(), 160);
    }

    void cloudCalls()
    {
        m_server->setCloudAnswer("/api/v2/tomcat/Saltmere/deviceShare/getInfo",
                                 R"({"result":1,"message":"ok","data":{"shareId":"s1"}})");
        model::resp_info resp;
        QVERIFY(m_sdk->http_req(R"({"shareId":"s1"})", "/api/v2/tomcat/Saltmere/deviceShare/getInfo", 5, &resp));
        QCOMPARE(resp.code, 1);
        QVERIFY(resp.body.find("\"s1\"") != std::string::npos);
        const auto reqs = m_server->requestsFor("/api/v2/");
        QCOMPARE(reqs.size(), size_t(1));
        QCOMPARE(reqs[0].method, std::string("POST"));
        QCOMPARE(reqs[0].body, std::string(R"({"shareId":"s1"})"));

        QVERIFY(m_sdk->http_get("/api/v2/tomcat/Saltmere/deviceShare/getInfo?shareId=s1", 5, &resp));
        QCOMPARE(resp.code, 1);
        QVERIFY(!m_sdk->http_get("/api/v2/oauth/unknown", 5, &resp));
        QCOMPARE(resp.http_status, 404L);
    }

    // A link session speaks with the link's token.
    void extlinkSession()
    {
        m_server->setToken("link-token");
        model::device_addr a = addr(m_server->port());
        a.token = "wrong";
        QVERIFY(m_sdk->switch_device(a));
        QTRY_COMPARE(m_states.last(), 0);
        a.token = "link-token";
        QVERIFY(m_sdk->extlink_device(a));
        QTRY_COMPARE(m_sdk->link_state(), 2);
        m_server->clearRequests();
        QVERIFY(m_sdk->api_req("{}", "getLinkDirPath", "/device/directTransfer.json", 5, nullptr));
        QCOMPARE(m_server->requestsFor("getLinkDirPath").at(0).token, std::string("link-token"));
        QCOMPARE(m_sdk->device_id(), std::string("dev-1"));
        QVERIFY(!tidewell_network_sdk::version().empty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<tidewell_network_sdk> m_sdk;
    StateLog m_states;
};

TW_TEST_MAIN(TestSdkSession)
#include "tst_sdksession.moc"
