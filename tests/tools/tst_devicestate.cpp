// The test device as a device in use: what its users did survives a restart,
// and the links they create are links the client reads, listed on the
// device, resolved by the cloud and opened only as far as they reach.
#include <memory>

#include <QtTest>

#include "core/sharelinkinfo.h"
#include "tests/testenv.h"
#include "tests/tools/devicecall.h"
#include "tools/testdeviceserver.h"

namespace {

const char* kToken = "device-token";
const char* kGetToken = "/api/v2/tomcat/Saltmere/deviceShare/getToken";

Json::Value obj() { return Json::Value(Json::objectValue); }

// A request with the device's token, another token or a link's token.
httplib::Result send(TestDeviceServer& s, const std::string& header, const std::string& token,
                     const std::string& command, const Json::Value& data)
{
    using sdk::cores::protocol::proto;
    Json::Value body = obj();
    body["command"] = command;
    body["data"] = data;
    httplib::Client cli("127.0.0.1", s.port());
    return cli.Post("/device/directTransfer.json", httplib::Headers{{header, token}, {"X-Access-Id", "owner"}},
                    proto::json_to_string(body), "application/json");
}

Json::Value parsed(const httplib::Result& r)
{
    Json::Value out;
    if (r && r->status == 200)
        sdk::cores::protocol::proto::json_from_string(r->body, out);
    return out;
}

std::vector<std::string> names(const Json::Value& answer)
{
    std::vector<std::string> out;
    for (const Json::Value& v : answer["data"]["listPath"])
        out.push_back(v["name"].asString());
    return out;
}

} // namespace

class TestDeviceState : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    // The device on the test's storage; restored: a state file was found.
    std::unique_ptr<TestDeviceServer> device(bool& restored)
    {
        auto s = std::make_unique<TestDeviceServer>(m_dir.path().toStdString());
        s->setToken(kToken);
        s->setLinkSecret(kToken);
        restored = s->setPersistent(true);
        return s->start() ? std::move(s) : nullptr;
    }
    Json::Value call(TestDeviceServer& s, const std::string& command, const Json::Value& data)
    {
        return parsed(send(s, "X-Token", kToken, command, data));
    }

private slots:
    void keepsWhatItsUsersDidAcrossRestarts()
    {
        std::int64_t photo = 0, note = 0;
        std::string downId, shareId;
        std::vector<std::int64_t> failures;
        bool restored = true;
        {
            auto s = device(restored);
            QVERIFY(s && !restored);
            photo = s->addFile("Photos/a.jpg", "jpeg");
            note = s->addFile("Docs/note.txt", "note");
            Json::Value g = obj();
            g["name"] = "Trips";
            QCOMPARE(call(*s, "createPubGroup", g)["result"].asInt(), 1);
            Json::Value share = obj();
            share["fileIds"] = jsonArray<Json::Int64>({note});
            QCOMPARE(call(*s, "shareFileToAll", share)["result"].asInt(), 1);
            Json::Value love = obj();
            love["fileIds"] = jsonArray<Json::Int64>({photo});
            love["isLove"] = true;
            QCOMPARE(call(*s, "myLove", love)["result"].asInt(), 1);
            Json::Value link = obj();
            link["fileIds"] = jsonArray<Json::Int64>({note});
            link["title"] = "Note";
            link["extractedCode"] = "c0de";
            const Json::Value made = call(*s, "createExternalLink", link);
            shareId = made["data"]["shareId"].asString();
            QVERIFY(!shareId.empty());
            Json::Value task = obj();
            task["resource"] = "http://example.invalid/big.iso";
            task["saveDirId"] = 0;
            QCOMPARE(call(*s, "bt_AddTask", task)["result"].asInt(), 1);
            s->addCopyFailure("copy of x", "/x", 1, 5);
            s->saveState();
            downId = s->btTaskStates().begin()->first;
            failures = s->copyFailureIds();
        }

        // A restart: the same storage, the same state.
        auto s = device(restored);
        QVERIFY(s && restored);
        QCOMPARE(s->pubGroupCount(), 1);
        QVERIFY(s->isShared(note));
        QVERIFY(!s->isShared(photo));
        Json::Value loved = obj();
        loved["className"] = "love";
        loved["pageSize"] = 60;
        QCOMPARE(names(call(*s, "getFileFromClassForDate3", loved)), std::vector<std::string>{"a.jpg"});
        QVERIFY(s->hasShareLink(shareId));
        QCOMPARE(names(call(*s, "getExterLinkResList", [&] {
                     Json::Value d = obj();
                     d["shareId"] = shareId;
                     return d;
                 }())),
                 std::vector<std::string>{"note.txt"});
        QCOMPARE(int(s->btTaskStates().count(downId)), 1);
        QCOMPARE(s->copyFailureIds(), failures);

        // Changes after the restart are kept too, and ids go on from where
        // they were.
        Json::Value g = obj();
        g["name"] = "Later";
        const Json::Value second = call(*s, "createPubGroup", g);
        s.reset();
        s = device(restored);
        QVERIFY(s && restored);
        QCOMPARE(s->pubGroupCount(), 2);
        QCOMPARE(s->pubGroupName(second["data"]["groupId"].asInt()), std::string("Later"));
    }

    void createdLinksAreReadableAndReachOnlyTheirFiles()
    {
        bool restored = false;
        auto s = device(restored);
        QVERIFY(s);
        const std::int64_t shared = s->addFile("Docs/shared.txt", "shared bytes");
        const std::int64_t secret = s->addFile("Docs/secret.txt", "secret bytes");
        Json::Value link = obj();
        link["fileIds"] = jsonArray<Json::Int64>({shared});
        link["title"] = "For you";
        link["extractedCode"] = "k3y";
        const Json::Value made = call(*s, "createExternalLink", link)["data"];
        const std::string shareId = made["shareId"].asString();

        // The URL is one the client takes, and the device lists the link.
        QString url = QString::fromStdString(made["url"].asString());
        QVERIFY(url.startsWith("https://"));
        const ShareLinkInfo parsedLink = ShareLinkInfo::parse("larkvault" + url.mid(5));
        QVERIFY2(parsedLink.isValid(), qPrintable(url));
        QCOMPARE(parsedLink.shareId.toStdString(), shareId);
        Json::Value page = obj();
        page["offset"] = 0;
        page["pageSize"] = 60;
        const Json::Value mine = call(*s, "getExternalLinkList", page)["data"]["listPath"];
        bool listed = false;
        for (const Json::Value& l : mine)
            listed = listed || (l["shareId"].asString() == shareId && l["code"].asString() == "k3y"
                                && l["title"].asString() == "For you" && l["url"] == made["url"]);
        QVERIFY(listed);

        // The cloud gives its token for the right code only.
        httplib::Client cloud("127.0.0.1", s->port());
        Json::Value ask = obj();
        ask["shareId"] = shareId;
        ask["extractedCode"] = "wrong";
        Json::Value answer;
        sdk::cores::protocol::proto::json_from_string(
            cloud.Post(kGetToken, sdk::cores::protocol::proto::json_to_string(ask), "application/json")->body,
            answer);
        QCOMPARE(answer["result"].asInt(), 0);
        ask["extractedCode"] = "k3y";
        sdk::cores::protocol::proto::json_from_string(
            cloud.Post(kGetToken, sdk::cores::protocol::proto::json_to_string(ask), "application/json")->body,
            answer);
        const std::string linkToken = answer["data"]["deviceToken"].asString();
        QVERIFY(!linkToken.empty());
        QVERIFY(linkToken != "link-" + shareId);

        // With it: the link's listing and its file, nothing else.
        Json::Value top = obj();
        top["shareId"] = shareId;
        QCOMPARE(names(parsed(send(*s, "X-Link-Token", linkToken, "getExterLinkResList", top))),
                 std::vector<std::string>{"shared.txt"});
        httplib::Client cli("127.0.0.1", s->port());
        const httplib::Headers h{{"X-Link-Token", linkToken}};
        auto got = cli.Get(("/device/download?fileId=" + std::to_string(shared)).c_str(), h);
        QVERIFY(got && got->status == 200);
        QCOMPARE(got->body, std::string("shared bytes"));
        got = cli.Get(("/device/download?fileId=" + std::to_string(secret)).c_str(), h);
        QVERIFY(got && got->status == 401);
        Json::Value dir = obj();
        dir["fileId"] = 0;
        QVERIFY(send(*s, "X-Link-Token", linkToken, "getDirPath", dir)->status == 401);
        QVERIFY(send(*s, "X-Link-Token", "link-" + shareId, "getExterLinkResList", top)->status == 401);
    }
};

TW_TEST_MAIN(TestDeviceState)
#include "tst_devicestate.moc"
