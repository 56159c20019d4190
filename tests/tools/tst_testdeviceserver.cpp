#include <memory>

#include <QTemporaryDir>
#include <QtTest>

#include "sdk/proto.h"
#include "sdk/tidewell_network_sdk.h"
#include "tests/testenv.h"
#include "tools/testdeviceserver.h"

using namespace sdk::cores;
using sdk::plugins::tidewell_network_sdk;

// The device stand-in's own commands, spoken to through the network library.
class TestTestDeviceServer : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        startServer();
    }

    void cleanup()
    {
        m_sdk.reset();
        m_server.reset();
    }

    void listingsPage()
    {
        for (int i = 0; i < 7; ++i)
            m_server->addFile("docs/f" + std::to_string(i) + ".txt", std::string(static_cast<size_t>(i), 'x'));
        m_server->addFolder("docs/sub");
        Json::Value req(Json::objectValue);
        req["fileId"] = Json::Int64(m_server->idForPath("docs"));
        req["pageNo"] = 2;
        req["pageSize"] = 3;
        const Json::Value d = call("getDirPath", req);
        QCOMPARE(d["result"].asInt(), 1);
        QCOMPARE(d["data"]["totalPages"].asInt(), 3);
        QCOMPARE(d["data"]["totalNum"].asInt(), 8);
        const Json::Value& list = d["data"]["listPath"];
        QCOMPARE(list.size(), 3u);
        // Folders first, then by name: sub, f0, f1 | f2, f3, f4 | ...
        QCOMPARE(list[0]["name"].asString(), std::string("f2.txt"));
        QCOMPARE(list[0]["fileLen"].asInt(), 2);
        QCOMPARE(list[0]["filePath"].asString(), std::string("/docs/f2.txt"));
        QCOMPARE(list[0]["ower"].asString(), std::string("acc-9"));
        QCOMPARE(list[0]["isFile"].asBool(), true);
        QCOMPARE(list[0]["fileMd5"].asString(), std::string("9336ebf25087d91c818ee6e9ec29f8c1"));   // md5("xx")
        QCOMPARE(list[0]["id"].asInt64(), static_cast<Json::Int64>(m_server->idForPath("docs/f2.txt")));

        // The root and the public space.
        req = Json::Value(Json::objectValue);
        req["fileId"] = 0;
        QCOMPARE(call("getDirPath", req)["data"]["listPath"][0]["name"].asString(), std::string("docs"));
        m_server->addFile("groups/5/g.txt", "g");
        req = Json::Value(Json::objectValue);
        req["groupId"] = 5;
        req["fileId"] = 0;
        req["offset"] = 0;
        req["pageSize"] = 10;
        const Json::Value pub = call("getPubFileList", req);
        QCOMPARE(pub["data"]["listPath"][0]["name"].asString(), std::string("g.txt"));
        QCOMPARE(pub["data"]["totalNum"].asInt(), 1);
    }

    // Pages of a big folder are served from the names read for the first
    // page; a change right after that read must still show.
    void pagedFolderShowsChangesMadeRightAfterAPage()
    {
        for (int i = 0; i < 250; ++i)
            m_server->addFile("big/f" + std::to_string(1000 + i) + ".txt", "x");
        QTest::qWait(300);   // settled: this listing is kept
        Json::Value req(Json::objectValue);
        req["fileId"] = Json::Int64(m_server->idForPath("big"));
        req["pageNo"] = 1;
        req["pageSize"] = 100;
        QCOMPARE(call("getDirPath", req)["data"]["listPath"][0]["name"].asString(), std::string("f1000.txt"));

        const std::string dir = m_server->absolutePath("big");
        QVERIFY(QFile::remove(QString::fromStdString(dir + "/f1000.txt")));
        m_server->addFile("big/a.txt", "new");
        Json::Value d = call("getDirPath", req);
        QCOMPARE(d["data"]["totalNum"].asInt(), 250);
        QCOMPARE(d["data"]["listPath"][0]["name"].asString(), std::string("a.txt"));
        QCOMPARE(d["data"]["listPath"][1]["name"].asString(), std::string("f1001.txt"));
        // A folder in place of a file of the same name.
        QVERIFY(QFile::remove(QString::fromStdString(dir + "/a.txt")));
        QVERIFY(QDir().mkdir(QString::fromStdString(dir + "/a.txt")));
        d = call("getDirPath", req);
        QCOMPARE(d["data"]["listPath"][0]["isFile"].asBool(), false);
        req["pageNo"] = 3;
        d = call("getDirPath", req);
        QCOMPARE(d["data"]["listPath"].size(), 50u);
        QCOMPARE(d["data"]["listPath"][49]["name"].asString(), std::string("f1249.txt"));
    }

    void attachedDisk()
    {
        m_server->addFile("usb/music/a.mp3", "abc");
        Json::Value req(Json::objectValue);
        req["path"] = "/music";
        req["pageNo"] = 1;
        req["pageSize"] = 10;
        const Json::Value d = call("getUDiskPath", req);
        const Json::Value& item = d["data"]["listPath"][0];
        QCOMPARE(item["filePath"].asString(), std::string("/music/a.mp3"));
        QCOMPARE(item["url"].asString(), std::string("/usb/music/a.mp3"));
        // Paths leaving the storage are refused.
        req["path"] = "/../..";
        QCOMPARE(call("getUDiskPath", req)["result"].asInt(), 0);
    }

    void createFolders()
    {
        const std::int64_t parent = m_server->addFolder("target");
        Json::Value req(Json::objectValue);
        req["dirName"] = "New";
        req["parentId"] = Json::Int64(parent);
        req["backNewName"] = false;
        Json::Value d = call("createDir", req);
        QCOMPARE(d["result"].asInt(), 1);
        const std::int64_t id = d["data"]["dirId"].asInt64();
        QCOMPARE(m_server->pathForId(id), std::string("target/New"));
        // Existing name without backNewName: the existing folder.
        QCOMPARE(call("createDir", req)["data"]["dirId"].asInt64(), static_cast<Json::Int64>(id));
        // With backNewName: refused with a free name to use.
        req["backNewName"] = true;
        d = call("createDir", req);
        QCOMPARE(d["result"].asInt(), 0);
        QCOMPARE(d["data"]["backNewName"].asString(), std::string("New(1)"));
        req["dirName"] = "../escape";
        QCOMPARE(call("createDir", req)["result"].asInt(), 0);
        QVERIFY(!QFile::exists(m_dir->path() + "/escape"));

        req = Json::Value(Json::objectValue);
        req["parentId"] = Json::Int64(id);
        req["folderNames"].append("a");
        req["folderNames"].append("b");
        d = call("createDirs", req);
        QCOMPARE(m_server->pathForId(d["data"]["dirId"].asInt64()), std::string("target/New/a/b"));

        m_server->addFolder("usb");
        req = Json::Value(Json::objectValue);
        req["externalPath"] = "/usb";
        req["folderNames"].append("up");
        req["folderNames"].append("deep");
        d = call("createExternalDirs", req);
        QCOMPARE(d["data"]["path"].asString(), std::string("/usb/up/deep"));
        QVERIFY(QFileInfo(QString::fromStdString(m_server->absolutePath("usb/up/deep"))).isDir());

        req = Json::Value(Json::objectValue);
        req["groupId"] = 3;
        req["parentId"] = 0;
        req["dirName"] = "shared";
        req["backNewName"] = true;
        d = call("createPubDir", req);
        QCOMPARE(m_server->pathForId(d["data"]["dirId"].asInt64()), std::string("groups/3/shared"));
        QCOMPARE(call("createPubDir", req)["data"]["backNewName"].asString(), std::string("shared(1)"));
    }

    // Ids survive a restart of the server on the same folder.
    void idsAreStable()
    {
        const std::int64_t a = m_server->addFile("x/y.txt", "y");
        m_sdk.reset();
        m_server.reset();
        startServer();
        QCOMPARE(m_server->idForPath("x/y.txt"), a);
        QCOMPARE(m_server->pathForId(a), std::string("x/y.txt"));
    }

private:
    void startServer()
    {
        m_server.reset(new TestDeviceServer(m_dir->path().toStdString()));
        QVERIFY(m_server->start());
        m_sdk.reset(new tidewell_network_sdk);
        model::channel_option opt;
        opt.log = [](int, const std::string&) {};
        m_sdk->init(opt);
        model::user_info user;
        user.access_id = "acc-9";
        m_sdk->set_user_info(user);
        model::device_addr a;
        a.lan_host = "127.0.0.1";
        a.lan_port = m_server->port();
        QVERIFY(m_sdk->switch_device(a));
        QTRY_COMPARE(m_sdk->link_state(), 2);
    }

    Json::Value call(const std::string& command, const Json::Value& data)
    {
        model::resp_info resp;
        Json::Value out;
        if (!m_sdk->api_req(protocol::proto::json_to_string(data), command, "/device/directTransfer.json", 15, &resp)
            || !protocol::proto::json_from_string(resp.body, out))
            return Json::Value();
        return out;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<tidewell_network_sdk> m_sdk;
};

TW_TEST_MAIN(TestTestDeviceServer)
#include "tst_testdeviceserver.moc"
