// Shares between users of the test device: who sees which shares, paging by
// page number, shared folders, cancelling, and copies into the own space.
#include <memory>

#include <QFile>
#include <QtTest>

#include "tests/testenv.h"
#include "tests/tools/devicecall.h"
#include "tools/testdeviceserver.h"

class TestDeviceShares : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestDeviceServer> m_server;

    Json::Value call(const std::string& who, const std::string& command, const Json::Value& data)
    {
        return deviceCall(*m_server, who, command, data);
    }
    static Json::Value obj() { return Json::Value(Json::objectValue); }
    static Json::Value ids(std::initializer_list<Json::Int64> v) { return jsonArray<Json::Int64>(v); }
    static std::vector<std::string> names(const Json::Value& data)
    {
        std::vector<std::string> out;
        for (const Json::Value& v : data["listPath"])
            out.push_back(v["name"].asString());
        return out;
    }
    Json::Value page(const std::string& who, const std::string& command, int pageNo,
                     const char* key = nullptr, const std::string& value = std::string())
    {
        Json::Value req = obj();
        req["pageNo"] = pageNo;
        req["condition"] = 5;
        req["isSort"] = false;
        if (key)
            req[key] = value;
        return call(who, command, req);
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        m_server.reset(new TestDeviceServer(m_dir->path().toStdString()));
        QVERIFY(m_server->start());
        m_server->addDeviceUser("ann", "Ann", "a.png");
        m_server->addDeviceUser("bob", "Bob", "b.png");
        m_server->addDeviceUser("cat", "Cat");
    }

    void cleanup() { m_server.reset(); }

    void whoSeesWhichShares()
    {
        const std::int64_t a = m_server->addFile("ann/a.txt", "a");
        const std::int64_t b = m_server->addFile("ann/b.txt", "b");
        const std::int64_t d = m_server->addFolder("ann/photos");
        m_server->addFile("ann/photos/p.jpg", "p");
        const std::int64_t c = m_server->addFile("cat/c.txt", "c");

        Json::Value req = obj();
        req["fileIds"] = ids({a, d});
        QCOMPARE(call("ann", "shareFileToAll", req)["result"].asInt(), 1);
        req["fileIds"] = ids({b});
        req["accessIds"] = jsonArray<std::string>({"cat"});
        QCOMPARE(call("ann", "shareFileToUsers", req)["result"].asInt(), 1);
        req["fileIds"] = ids({c});
        req["accessIds"] = jsonArray<std::string>({"bob"});
        QCOMPARE(call("cat", "shareFileToUsers", req)["result"].asInt(), 1);
        // Someone else's share is not mine to change; nothing of the list is shared.
        req["fileIds"] = ids({m_server->addFile("x.txt", "x"), a});
        QCOMPARE(call("bob", "shareFileToAll", req)["errCode"].asInt(), 403);
        QVERIFY(!m_server->isShared(m_server->idForPath("x.txt")));
        req["fileIds"] = ids({999999});
        QCOMPARE(call("bob", "shareFileToAll", req)["errCode"].asInt(), 404);

        // Newest share first; the sharers come along.
        Json::Value bobs = page("bob", "getShareFile", 1)["data"];
        QCOMPARE(names(bobs), (std::vector<std::string>{"c.txt", "photos", "a.txt"}));
        QCOMPARE(bobs["listPath"][1]["ower"].asString(), std::string("ann"));
        QCOMPARE(bobs["listPath"][2]["publicType"].asInt(), 0);
        QCOMPARE(bobs["listPath"][0]["publicType"].asInt(), 2);
        QVERIFY(bobs["listPath"][0]["shareTime"].asInt64() > bobs["listPath"][1]["shareTime"].asInt64());
        QCOMPARE(bobs["userList"].size(), 2u);
        QCOMPARE(names(page("cat", "getShareFile", 1)["data"]),
                 (std::vector<std::string>{"b.txt", "photos", "a.txt"}));
        QCOMPARE(page("ann", "getShareFile", 1)["data"]["totalNum"].asInt(), 0);

        // One user's shares: all of my own, of another's those I may see.
        QCOMPARE(page("ann", "getUserShareFile", 1, "accessId", "ann")["data"]["totalNum"].asInt(), 3);
        QCOMPARE(page("bob", "getUserShareFile", 1, "accessId", "ann")["data"]["totalNum"].asInt(), 2);
        QCOMPARE(page("bob", "getUserShareFile", 1, "accessId", "cat")["data"]["totalNum"].asInt(), 1);

        // Search and the users who share with me.
        Json::Value find = obj();
        find["keyValue"] = "TXT";
        find["pageNo"] = 1;
        QCOMPARE(call("bob", "findShareFile", find)["data"]["totalNum"].asInt(), 2);
        find["keyValue"] = "";
        QCOMPARE(call("bob", "findShareFile", find)["result"].asInt(), 0);
        const Json::Value users = page("bob", "getShareUserList", 1)["data"];
        QCOMPARE(users["totalNum"].asInt(), 2);
        QCOMPARE(users["list"][0]["accessId"].asString(), std::string("ann"));
        QCOMPARE(users["list"][0]["shareNum"].asInt(), 2);
        QCOMPARE(users["list"][0]["markName"].asString(), std::string("Ann"));

        // A shared folder and the folders in it; an unshared one is refused.
        Json::Value dir = obj();
        dir["fileId"] = Json::Int64(d);
        dir["pageNo"] = 1;
        dir["pageSize"] = 60;
        const Json::Value inside = call("bob", "getUserShareFilesForDir", dir);
        QCOMPARE(names(inside["data"]), (std::vector<std::string>{"p.jpg"}));
        QCOMPARE(inside["data"]["listPath"][0]["ower"].asString(), std::string("ann"));
        dir["fileId"] = Json::Int64(m_server->idForPath("cat"));
        QCOMPARE(call("bob", "getUserShareFilesForDir", dir)["errCode"].asInt(), 404);

        // Cancelling is the sharer's and all or nothing.
        Json::Value cancel = obj();
        cancel["fileIds"] = ids({a, c});
        QCOMPARE(call("ann", "shareFileToCancel", cancel)["errCode"].asInt(), 403);
        QVERIFY(m_server->isShared(a));
        cancel["fileIds"] = ids({a, d});
        QCOMPARE(call("ann", "shareFileToCancel", cancel)["result"].asInt(), 1);
        QCOMPARE(names(page("bob", "getShareFile", 1)["data"]), (std::vector<std::string>{"c.txt"}));
    }

    void pagesByNumber()
    {
        m_server->setSharePageSize(4);
        for (int i = 0; i < 10; ++i)
            QVERIFY(m_server->shareFile(m_server->addFile("ann/f" + std::to_string(i), "x"), "ann"));
        const Json::Value p1 = page("bob", "getShareFile", 1)["data"];
        QCOMPARE(p1["totalPages"].asInt(), 3);
        QCOMPARE(p1["totalNum"].asInt(), 10);
        QCOMPARE(p1["pageNo"].asInt(), 1);
        QCOMPARE(names(p1), (std::vector<std::string>{"f9", "f8", "f7", "f6"}));
        QCOMPARE(names(page("bob", "getShareFile", 3)["data"]), (std::vector<std::string>{"f1", "f0"}));
        QCOMPARE(page("bob", "getShareFile", 4)["data"]["listPath"].size(), 0u);
        // A shared file that went away leaves the lists.
        QFile::remove(QString::fromStdString(m_server->absolutePath("ann/f9")));
        QCOMPARE(page("bob", "getShareFile", 1)["data"]["totalNum"].asInt(), 9);
    }

    void copiesIntoOwnSpace()
    {
        const std::int64_t a = m_server->addFile("ann/a.txt", "aaa");
        const std::int64_t secret = m_server->addFile("ann/secret.txt", "s");
        const std::int64_t home = m_server->addFolder("bob");
        m_server->shareFile(a, "ann", {"bob"});
        m_server->shareFile(secret, "ann", {"cat"});

        Json::Value cp = obj();
        cp["fileIds"] = ids({a});
        cp["targetId"] = Json::Int64(home);
        QCOMPARE(call("bob", "copyDirOrFile", cp)["result"].asInt(), 1);
        QCOMPARE(QFile::exists(QString::fromStdString(m_server->absolutePath("bob/a.txt"))), true);
        QCOMPARE(call("bob", "copyDirOrFile", cp)["result"].asInt(), 1);
        QCOMPARE(QFile::exists(QString::fromStdString(m_server->absolutePath("bob/a(1).txt"))), true);
        cp["fileIds"] = ids({secret});
        QCOMPARE(call("bob", "copyDirOrFile", cp)["errCode"].asInt(), 403);
        QCOMPARE(call("ann", "copyDirOrFile", cp)["result"].asInt(), 1);   // the sharer's own
        cp["targetId"] = 424242;
        QCOMPARE(call("ann", "copyDirOrFile", cp)["errCode"].asInt(), 404);
    }

    void pickerListsUsersAndGroups()
    {
        m_server->addUserGroup(3, "Family", {"ann", "cat"});
        const Json::Value d = call("ann", "getShareUserAndGroupList", obj())["data"];
        QCOMPARE(d["userList"].size(), 2u);   // not ann herself
        QCOMPARE(d["userList"][0]["accessId"].asString(), std::string("bob"));
        QCOMPARE(d["groupList"][0]["gName"].asString(), std::string("Family"));
        QCOMPARE(d["groupList"][0]["members"][1]["markName"].asString(), std::string("Cat"));
    }
};

TW_TEST_MAIN(TestDeviceShares)
#include "tst_deviceshares.moc"
