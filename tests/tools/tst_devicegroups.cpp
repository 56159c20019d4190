// Public groups of the test device: who sees and changes what, paging and
// sorting of the group list, and the group's files with their ids.
#include <memory>

#include <QFile>
#include <QtTest>

#include "tests/testenv.h"
#include "tests/tools/devicecall.h"
#include "tools/testdeviceserver.h"

class TestDeviceGroups : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestDeviceServer> m_server;

    Json::Value call(const std::string& who, const std::string& command, const Json::Value& data)
    {
        return deviceCall(*m_server, who, command, data);
    }
    static Json::Value obj() { return Json::Value(Json::objectValue); }
    int result(const Json::Value& answer) { return answer["result"].asInt(); }
    int errCode(const Json::Value& answer) { return answer["errCode"].asInt(); }
    bool exists(const std::string& rel) { return QFile::exists(QString::fromStdString(m_server->absolutePath(rel))); }

    Json::Value groupsOf(const std::string& who, int condition = 0, bool isSort = false)
    {
        Json::Value req = obj();
        req["offset"] = 0;
        req["pageSize"] = 100;
        req["condition"] = condition;
        req["isSort"] = isSort;
        return call(who, "getPubGroupList", req)["data"];
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        m_server.reset(new TestDeviceServer(m_dir->path().toStdString()));
        QVERIFY(m_server->start());
        m_server->addDeviceUser("ann", "Ann", "a.png");
        m_server->addDeviceUser("bob", "Bob");
        m_server->addDeviceUser("cat", "Cat");
        m_server->addDeviceUser("dan", "Dan");
    }

    void cleanup() { m_server.reset(); }

    void rightsOfMembersAndOwner()
    {
        Json::Value req = obj();
        req["name"] = "Trip";
        req["diskSerial"] = "sn-1";
        const Json::Value made = call("ann", "createPubGroup", req);
        QCOMPARE(result(made), 1);
        const int gId = made["data"]["groupId"].asInt();
        QVERIFY(exists("groups/" + std::to_string(gId)));
        req["name"] = "";
        QCOMPARE(errCode(call("ann", "createPubGroup", req)), 2005);

        Json::Value list = groupsOf("ann");
        QCOMPARE(list["totalNum"].asInt(), 1);
        QCOMPARE(list["listPath"][0]["memberAuthority"].asInt(), 0);
        QCOMPARE(list["listPath"][0]["userName"].asString(), std::string("Ann"));
        QCOMPARE(list["listPath"][0]["diskSerial"].asString(), std::string("sn-1"));
        QCOMPARE(groupsOf("bob")["totalNum"].asInt(), 0);   // not a member yet

        // Only a manager adds members, never as managers.
        Json::Value edit = obj();
        edit["gId"] = gId;
        edit["memberAuth"] = 1;
        edit["accessIds"] = jsonArray<std::string>({"bob"});
        QCOMPARE(errCode(call("cat", "editPubGroupMember", edit)), 404);
        QCOMPARE(result(call("ann", "editPubGroupMember", edit)), 1);
        edit["memberAuth"] = 2;
        edit["accessIds"] = jsonArray<std::string>({"cat"});
        QCOMPARE(errCode(call("bob", "editPubGroupMember", edit)), 403);   // an editor
        QCOMPARE(result(call("ann", "editPubGroupMember", edit)), 1);
        edit["memberAuth"] = 0;
        QCOMPARE(result(call("ann", "editPubGroupMember", edit)), 0);
        edit["memberAuth"] = 2;
        edit["accessIds"] = jsonArray<std::string>({"ann"});
        QCOMPARE(errCode(call("ann", "editPubGroupMember", edit)), 2010);
        QCOMPARE(groupsOf("bob")["listPath"][0]["memberAuthority"].asInt(), 1);

        // Members: the manager first; addable users are the others.
        Json::Value mem = obj();
        mem["groupId"] = gId;
        mem["type"] = 1;
        mem["pageSize"] = 200;
        Json::Value members = call("cat", "getPubGroupMemList", mem)["data"];
        QCOMPARE(members["totalNum"].asInt(), 3);
        QCOMPARE(members["listPath"][0]["accId"].asString(), std::string("ann"));
        QCOMPARE(members["listPath"][0]["markName"].asString(), std::string("Ann"));
        QCOMPARE(members["listPath"][2]["memberAuthority"].asInt(), 2);
        mem["type"] = 2;
        members = call("ann", "getPubGroupMemList", mem)["data"];
        QCOMPARE(members["totalNum"].asInt(), 1);
        QCOMPARE(members["listPath"][0]["accId"].asString(), std::string("dan"));

        // Renaming is the owner's.
        Json::Value name = obj();
        name["gId"] = gId;
        name["gName"] = "Holiday";
        QCOMPARE(errCode(call("bob", "modifyPubGroupName", name)), 403);
        QCOMPARE(result(call("ann", "modifyPubGroupName", name)), 1);
        QCOMPARE(m_server->pubGroupName(gId), std::string("Holiday"));

        // The owner stays; members leave by themselves.
        Json::Value exit = obj();
        exit["gId"] = gId;
        exit["accessId"] = "ann";
        QCOMPARE(errCode(call("ann", "exitPubGroup", exit)), 2010);
        exit["accessId"] = "bob";
        QCOMPARE(errCode(call("cat", "exitPubGroup", exit)), 403);
        exit["accessId"] = "cat";
        QCOMPARE(result(call("cat", "exitPubGroup", exit)), 1);
        QCOMPARE(m_server->pubGroupAuthority(gId, "cat"), -1);

        // Handing over: the new owner manages, the old one edits.
        Json::Value owner = obj();
        owner["gId"] = gId;
        owner["fromUser"] = "ann";
        owner["toUser"] = "dan";
        QCOMPARE(errCode(call("ann", "changePubGroupOwner", owner)), 404);   // not a member
        owner["toUser"] = "bob";
        QCOMPARE(errCode(call("bob", "changePubGroupOwner", owner)), 403);
        QCOMPARE(result(call("ann", "changePubGroupOwner", owner)), 1);
        QCOMPARE(m_server->pubGroupAuthority(gId, "bob"), 0);
        QCOMPARE(m_server->pubGroupAuthority(gId, "ann"), 1);

        // Deleting is all or nothing, and the owner's.
        const int other = m_server->addPubGroup("Other", "ann");
        m_server->addFile("groups/" + std::to_string(gId) + "/x.txt", "x");
        Json::Value del = obj();
        del["gIds"] = jsonArray<int>({gId, other});
        QCOMPARE(errCode(call("bob", "delPubGroup", del)), 403);
        QCOMPARE(m_server->pubGroupCount(), 2);
        del["gIds"] = jsonArray<int>({gId});
        QCOMPARE(result(call("bob", "delPubGroup", del)), 1);
        QCOMPARE(m_server->pubGroupCount(), 1);
        QVERIFY(!exists("groups/" + std::to_string(gId)));
        Json::Value detail = obj();
        detail["groupId"] = gId;
        QCOMPARE(errCode(call("bob", "getPubGroupDetail", detail)), 404);
        detail["groupId"] = other;
        QCOMPARE(call("ann", "getPubGroupDetail", detail)["data"]["name"].asString(), std::string("Other"));
    }

    void listPagesAndSorts()
    {
        for (int i = 0; i < 75; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "g%02d", (i * 7) % 75);   // shuffled names
            m_server->addPubGroup(name, i % 2 ? "ann" : "bob");
        }
        Json::Value req = obj();
        req["offset"] = 0;
        req["pageSize"] = 60;
        req["condition"] = 2;
        req["isSort"] = true;
        QCOMPARE(call("ann", "getPubGroupList", req)["data"]["totalNum"].asInt(), 37);
        Json::Value page = call("bob", "getPubGroupList", req)["data"];
        QCOMPARE(page["totalNum"].asInt(), 38);
        QCOMPARE(page["listPath"].size(), 38u);
        for (Json::ArrayIndex i = 1; i < page["listPath"].size(); ++i)
            QVERIFY(page["listPath"][i - 1]["name"].asString() < page["listPath"][i]["name"].asString());

        // Every group of the device for a member of all.
        for (int gId = 100; gId < 175; ++gId)
            m_server->setPubGroupMember(gId, "cat", 2);
        Json::Value first = call("cat", "getPubGroupList", req)["data"];
        QCOMPARE(first["listPath"].size(), 60u);
        QCOMPARE(first["totalNum"].asInt(), 75);
        req["offset"] = 60;
        Json::Value second = call("cat", "getPubGroupList", req)["data"];
        QCOMPARE(second["listPath"].size(), 15u);
        QCOMPARE(second["offset"].asInt(), 60);
        QCOMPARE(second["listPath"][14]["name"].asString(), std::string("g74"));
        QCOMPARE(second["listPath"][0]["memberAuthority"].asInt(), 2);
        // Newest change first by default.
        req["offset"] = 0;
        req["condition"] = 0;
        req["isSort"] = false;
        const Json::Value newest = call("cat", "getPubGroupList", req)["data"]["listPath"];
        QVERIFY(newest[0]["lastModified"].asInt64() >= newest[59]["lastModified"].asInt64());
        QCOMPARE(newest[0]["id"].asInt(), 174);
    }

    void groupFilesKeepTheirIds()
    {
        const int gId = m_server->addPubGroup("G", "ann");
        const int other = m_server->addPubGroup("H", "ann");
        m_server->setPubGroupMember(gId, "bob", 1);
        m_server->setPubGroupMember(gId, "cat", 2);
        const std::string top = "groups/" + std::to_string(gId);
        const std::int64_t a = m_server->addFile(top + "/a.txt", "aaa");
        const std::int64_t b = m_server->addFile(top + "/b.txt", "b");
        const std::int64_t dir = m_server->addFolder(top + "/dir");
        const std::int64_t inner = m_server->addFile(top + "/dir/in.txt", "in");
        const std::int64_t foreign = m_server->addFile("groups/" + std::to_string(other) + "/f.txt", "f");

        Json::Value ren = obj();
        ren["groupId"] = gId;
        ren["fileId"] = Json::Int64(a);
        ren["newFileName"] = "c.txt";
        QCOMPARE(errCode(call("cat", "modifyPubDirOrFile", ren)), 403);   // browse only
        QCOMPARE(result(call("bob", "modifyPubDirOrFile", ren)), 1);
        QCOMPARE(m_server->pathForId(a), top + "/c.txt");
        ren["newFileName"] = "b.txt";
        QCOMPARE(errCode(call("bob", "modifyPubDirOrFile", ren)), 2006);
        ren["newFileName"] = "../../escape.txt";
        QCOMPARE(errCode(call("bob", "modifyPubDirOrFile", ren)), 2005);
        ren["fileId"] = Json::Int64(foreign);
        ren["newFileName"] = "mine.txt";
        QCOMPARE(errCode(call("bob", "modifyPubDirOrFile", ren)), 404);
        QVERIFY(exists("groups/" + std::to_string(other) + "/f.txt"));

        // Moves: one item per request; the items inside keep their ids.
        const std::int64_t sub = m_server->addFolder(top + "/sub");
        Json::Value mv = obj();
        mv["groupId"] = gId;
        mv["movieFileId"] = Json::Int64(dir);
        mv["targetId"] = Json::Int64(sub);
        QCOMPARE(result(call("bob", "moviePubDirOrFile", mv)), 1);
        QCOMPARE(m_server->pathForId(inner), top + "/sub/dir/in.txt");
        mv["movieFileId"] = Json::Int64(sub);
        mv["targetId"] = Json::Int64(dir);
        QCOMPARE(errCode(call("bob", "moviePubDirOrFile", mv)), 2009);
        m_server->addFile(top + "/sub/b.txt", "other b");
        mv["movieFileId"] = Json::Int64(b);
        mv["targetId"] = Json::Int64(sub);
        QCOMPARE(errCode(call("bob", "moviePubDirOrFile", mv)), 2006);
        mv["targetId"] = 0;   // the group's top: already there
        QCOMPARE(result(call("bob", "moviePubDirOrFile", mv)), 1);

        // Deleting is all or nothing.
        Json::Value del = obj();
        del["groupId"] = gId;
        del["fileIds"] = jsonArray<Json::Int64>({a, foreign});
        QCOMPARE(errCode(call("bob", "deletePubDirOrFile", del)), 404);
        QVERIFY(exists(top + "/c.txt"));
        del["fileIds"] = jsonArray<Json::Int64>({a, sub});
        QCOMPARE(result(call("ann", "deletePubDirOrFile", del)), 1);
        QVERIFY(!exists(top + "/c.txt"));
        QVERIFY(!exists(top + "/sub"));
        QCOMPARE(m_server->pathForId(inner), std::string());

        // A search looks through the whole group.
        m_server->addFile(top + "/deep/er/Report.TXT", "r");
        Json::Value find = obj();
        find["groupId"] = gId;
        find["fileId"] = 0;
        find["keyValue"] = "report";
        find["offset"] = 0;
        find["pageSize"] = 60;
        const Json::Value found = call("cat", "getPubFileList", find)["data"];
        QCOMPARE(found["totalNum"].asInt(), 1);
        QCOMPARE(found["listPath"][0]["name"].asString(), std::string("Report.TXT"));
        QCOMPARE(errCode(call("dan", "getPubFileList", find)), 404);
    }

    void copiesOutOfAndIntoGroups()
    {
        const int gId = m_server->addPubGroup("G", "ann");
        const int to = m_server->addPubGroup("H", "bob");
        m_server->setPubGroupMember(gId, "bob", 2);
        const std::string top = "groups/" + std::to_string(gId);
        const std::int64_t a = m_server->addFile(top + "/a.txt", "aaa");
        const std::int64_t dir = m_server->addFolder(top + "/d");
        m_server->addFile(top + "/d/x.txt", "x");
        m_server->addFolder("samba/share");
        const std::int64_t home = m_server->addFolder("home");
        m_server->addFile("home/a.txt", "old");

        Json::Value cp = obj();
        cp["groupId"] = gId;
        cp["diskSerial"] = "sn";
        cp["path"] = "/share";
        cp["isSamba"] = true;
        cp["ids"] = jsonArray<Json::Int64>({a, dir});
        QCOMPARE(result(call("bob", "copyPubToPeripheral", cp)), 1);   // browsing is enough
        QVERIFY(exists("samba/share/a.txt"));
        QVERIFY(exists("samba/share/d/x.txt"));
        cp["path"] = "/../../etc";
        QCOMPARE(result(call("bob", "copyPubToPeripheral", cp)), 0);

        Json::Value person = obj();
        person["groupId"] = gId;
        person["targetId"] = Json::Int64(home);
        person["movieFileIds"] = jsonArray<Json::Int64>({a});
        QCOMPARE(result(call("bob", "movieFileToPerson", person)), 1);
        QCOMPARE(serverBytes(m_server->absolutePath("home/a(1).txt")), QByteArray("aaa"));
        QCOMPARE(serverBytes(m_server->absolutePath("home/a.txt")), QByteArray("old"));
        QVERIFY(exists(top + "/a.txt"));   // a copy, not a move

        Json::Value pub = obj();
        pub["groupId"] = gId;
        pub["targetId"] = 0;
        pub["targetGroupId"] = to;
        pub["movieFileIds"] = jsonArray<Json::Int64>({dir});
        QCOMPARE(errCode(call("ann", "pubCopyFileToPub", pub)), 404);   // not in the target group
        QCOMPARE(result(call("bob", "pubCopyFileToPub", pub)), 1);
        QVERIFY(exists("groups/" + std::to_string(to) + "/d/x.txt"));

        Json::Value in = obj();
        in["targetGroupId"] = to;
        in["targetId"] = 0;
        in["fileIds"] = jsonArray<Json::Int64>({m_server->idForPath("home/a.txt")});
        QCOMPARE(result(call("bob", "copyFileToPub", in)), 1);
        QVERIFY(exists("groups/" + std::to_string(to) + "/a.txt"));
        QCOMPARE(errCode(call("dan", "copyFileToPub", in)), 404);
    }

private:
    static QByteArray serverBytes(const std::string& path)
    {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TW_TEST_MAIN(TestDeviceGroups)
#include "tst_devicegroups.moc"
