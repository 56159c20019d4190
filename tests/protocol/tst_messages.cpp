// Encoding of requests and tolerant decoding of answers.
#include "tests/testenv.h"

#include "core/common.h"
#include "protocol/btaddtaskreq.h"
#include "protocol/copyfilelistsresp.h"
#include "protocol/createdirresp.h"
#include "protocol/createdirsreq.h"
#include "protocol/devicesharegetinforesp.h"
#include "protocol/dirpathresp.h"
#include "protocol/getdirpathreq.h"
#include "protocol/getexterlinkreslistreq.h"
#include "protocol/getexternalfilereq.h"
#include "protocol/getexternalfileresp.h"
#include "protocol/getexternallinklistresp.h"
#include "protocol/getlinkdirpathreq.h"
#include "protocol/getmediafilegroupreq.h"
#include "protocol/getpubfilelistreq.h"
#include "protocol/getpubfilelistresp.h"
#include "protocol/btgettasklistresp.h"
#include "sdk/proto.h"

static Json::Value parse(const std::string& text)
{
    Json::Value v;
    sdk::cores::protocol::proto::json_from_string(text, v);
    return v;
}

class TestMessages : public QObject
{
    Q_OBJECT
private slots:
    void requestsEncodeTheirKeys()
    {
        const qint64 bigId = 9007199254740993LL;   // not exact as a double
        GetDirPathReq dir("", bigId, 3, 0, 100, false, 2, true);
        QCOMPARE(QString::fromStdString(dir.command()), QString("getDirPath"));
        const Json::Value d = parse(dir.to_string());
        QCOMPARE(qint64(d["fileId"].asInt64()), bigId);
        QCOMPARE(d["pageNo"].asInt(), 3);
        QCOMPARE(d["pageSize"].asInt(), 100);
        QCOMPARE(d["condition"].asInt(), 2);
        QVERIFY(d["isSafetyBox"].asBool());
        QVERIFY(d["diskSerial"].isString());

        GetPubFileListReq pub(7, 12, "", 200, 100, false, false, 3);
        const Json::Value p = parse(pub.to_string());
        QVERIFY(!p.isMember("pageNo"));
        for (const char* k : {"groupId", "fileId", "keyValue", "offset", "pageSize", "isSort",
                              "isDir", "condition"})
            QVERIFY2(p.isMember(k), k);
        QCOMPARE(p["offset"].asInt(), 200);

        CreateDirsReq dirs("sn1", 5, true, {"a", "b"});
        const Json::Value c = parse(dirs.to_string());
        QCOMPARE(c["folderNames"].size(), 2u);
        QCOMPARE(QString::fromStdString(c["folderNames"][1].asString()), QString("b"));
        QVERIFY(!c.isMember("isSafeBox"));

        QCOMPARE(GetExternalFileReq(1, 1, 10, "/").command(), std::string("getUDiskPath"));
        QCOMPARE(GetExternalFileReq(2, 1, 10, "/").command(), std::string("getSDPath"));
        QCOMPARE(GetExternalFileReq(3, 1, 10, "/").command(), std::string("getSambPath"));
        QVERIFY(GetExternalFileReq(9, 1, 10, "/").command().empty());
    }

    void conditionalKeys()
    {
        GetMediaFileGroupReq byOffset("pic", 0, 120, 60);
        Json::Value m = byOffset.to_json();
        QVERIFY(m.isMember("offset") && !m.isMember("pageNo"));
        GetMediaFileGroupReq byPage("pic", 2, 120, 60);
        m = byPage.to_json();
        QVERIFY(!m.isMember("offset") && m["pageNo"].asInt() == 2);

        BTAddTaskReq link;
        link.resource = "magnet:?x";
        link.externalPath = "/usb/d";
        Json::Value b = link.to_json();
        QVERIFY(b.isMember("resource") && !b.isMember("fileId"));
        QVERIFY(b["isExternal"].asBool() && !b.isMember("saveDirId"));
        BTAddTaskReq torrent;
        torrent.fileId = 44;
        torrent.saveDirId = 9;
        b = torrent.to_json();
        QVERIFY(!b.isMember("resource") && b["fileId"].asInt() == 44);
        QVERIFY(!b["isExternal"].asBool() && b["saveDirId"].asInt() == 9);

        // Link listings are asked by offset: the page holding it, 60 when no size.
        const GetExterLinkResListReq top = GetExterLinkResListReq::atOffset("s1", 120, 60, true, 2);
        QCOMPARE(top.pageNo, 3);
        QCOMPARE(top.offset, 120);
        QCOMPARE(GetExterLinkResListReq::atOffset("s1", 59, 0, false, 0).pageSize, 60);
        const GetLinkDirPathReq sub = GetLinkDirPathReq::atOffset(8, 30, 30);
        QCOMPARE(sub.pageNo, 2);
        QCOMPARE(GetLinkDirPathReq::atOffset(8, 0, -1).pageNo, 1);
    }

    void listingDecodes()
    {
        DirPathResp r;
        QVERIFY(r.from(R"({"result":1,"message":"success","data":{"totalPages":3,"pageNo":1,"totalNum":250,"listPath":[{"id":9007199254740993,"name":"a.mp4","isFile":true,"fileLen":5000000000,"filePath":"/v/a.mp4","ower":"acc1","lastModified":1700000000000},{"id":"12","name":"docs","isFile":"false","fileLen":"7"},42,{"name":"b.txt","isFile":1}]}})"));
        QVERIFY(r.ok());
        QCOMPARE(r.totalPages, 3);
        QCOMPARE(r.totalNum, 250);
        QCOMPARE(r.fileList.size(), 3);   // the number is not an item
        const TwFileInfo& a = r.fileList[0];
        QCOMPARE(a.id, 9007199254740993LL);
        QCOMPARE(a.fileLen, 5000000000LL);
        QVERIFY(a.isFile);
        QCOMPARE(a.type, int(Common::MT_Video));
        QCOMPARE(a.ower, QString("acc1"));
        QCOMPARE(a.lastModified, 1700000000000LL);
        const TwFileInfo& docs = r.fileList[1];
        QCOMPARE(docs.id, 12LL);
        QVERIFY(!docs.isFile);
        QCOMPARE(docs.type, int(Common::MT_Folder));
        QCOMPARE(docs.fileLen, 7LL);
        QVERIFY(r.fileList[2].isFile);
        QCOMPARE(r.fileList[2].id, 0LL);
    }

    void missingAndWrongKeys_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("result");
        QTest::newRow("no data") << R"({"result":1})" << 1;
        QTest::newRow("data not object") << R"({"result":1,"data":[1,2]})" << 1;
        QTest::newRow("list not array") << R"({"result":1,"data":{"listPath":{"a":1},"totalPages":"x"}})" << 1;
        QTest::newRow("result as text") << R"({"result":"1","data":{}})" << 1;
        QTest::newRow("failure") << R"({"result":0,"message":"no","errCode":2005})" << 0;
        QTest::newRow("no result") << R"({"data":{}})" << int(APIBase::DataError);
        QTest::newRow("huge numbers") << R"({"result":1,"data":{"totalPages":1e300,"pageNo":-99999999999}})" << 1;
    }

    void missingAndWrongKeys()
    {
        QFETCH(QString, text);
        QFETCH(int, result);
        DirPathResp r;
        QVERIFY(r.from(text.toStdString()));
        QCOMPARE(r.result, result);
        QVERIFY(r.fileList.isEmpty());
        QCOMPARE(r.totalPages, 0);
        QCOMPARE(r.pageNo, 0);
    }

    void unreadableText()
    {
        for (const char* text : {"", "not json", "[1,2]", "{\"result\": 1, \"data\": {\"listPath\": ["}) {
            GetPubFileListResp r;
            QVERIFY(!r.from(text));
            QCOMPARE(r.code(), int(APIBase::DataError));
            QVERIFY(!r.message.isEmpty());
        }
    }

    void specialAnswers()
    {
        CreateDirResp clash;
        QVERIFY(clash.from(R"J({"result":0,"errCode":2007,"data":{"dirId":"31","backNewName":"x(1)"}})J"));
        QCOMPARE(clash.errCode, 2007);
        QCOMPARE(clash.dirId, 31LL);
        QCOMPARE(clash.backNewName, QString("x(1)"));
        CreateDirResp noName;
        QVERIFY(noName.from(R"({"result":1,"data":{"dirId":5,"backNewName":false}})"));
        QVERIFY(noName.backNewName.isEmpty());

        GetExternalFileResp usb;
        QVERIFY(usb.from(R"({"result":1,"data":{"totalPages":1,"listPath":[{"id":3,"name":"x","isFile":true,"fileLen":10,"filePath":"/x","url":"/usb/x"}]}})"));
        QCOMPARE(usb.fileList.size(), 1);
        QCOMPARE(usb.fileList[0].url, QString("/usb/x"));
        QCOMPARE(usb.fileList[0].filePath, QString("/x"));

        // The last entry of each kind decides the failure flags.
        CopyFileListsResp copies;
        QVERIFY(copies.from(R"({"result":1,"data":{"fileNum":2,"mvfileNum":1,"listPath":[{"operationType":0,"status":2},{"operationType":1,"status":2},{"operationType":3,"status":1}]}})"));
        QCOMPARE(copies.fileNum, 2);
        QVERIFY(!copies.copyFailed);
        QVERIFY(copies.moveFailed);

        DeviceShareGetInfoResp info;
        QVERIFY(info.from(R"({"result":1,"data":{"shareId":"s1","fileId":8589934593}})"));
        QVERIFY(info.extractedCode);   // true unless the cloud says otherwise
        QCOMPARE(info.fileId, 8589934593LL);
        DeviceShareGetInfoResp noCode;
        QVERIFY(noCode.from(R"({"result":1,"data":{"extractedCode":false}})"));
        QVERIFY(!noCode.extractedCode);

        GetExternalLinkListResp links;
        QVERIFY(links.from(R"({"result":1,"data":{"listPath":[{"id":77,"shareId":"s","title":"t"}]}})"));
        QCOMPARE(links.links.size(), 1);
        QCOMPARE(links.links[0].fileId, 77LL);   // the link's own id

        BTGetTaskListResp bt;
        QVERIFY(bt.from(R"({"result":1,"data":{"totalNum":1,"list":[{"downId":123,"size":"6000000000","isExternal":"true"}]}})"));
        QCOMPARE(bt.list.size(), 1);
        QCOMPARE(bt.list[0].downId, QString("123"));
        QCOMPARE(bt.list[0].size, 6000000000LL);
        QVERIFY(bt.list[0].isExternal);
    }

    void repliesAreRegisteredMetatypes()
    {
        // Queued signals need the reply types registered and copyable by value.
        QVERIFY(QMetaType::type("DirPathResp") != QMetaType::UnknownType);
        QVERIFY(QMetaType::type("APIBase") != QMetaType::UnknownType);
        DirPathResp r;
        r.from(R"({"result":1,"data":{"listPath":[{"id":5,"name":"n"}]}})");
        QVariant v = QVariant::fromValue(r);
        const DirPathResp back = v.value<DirPathResp>();
        QCOMPARE(back.fileList.size(), 1);
        QCOMPARE(back.result, 1);
    }
};

TW_TEST_MAIN(TestMessages)
#include "tst_messages.moc"
