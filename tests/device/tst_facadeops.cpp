// The device facade's file, share and public-group operations: what each
// sends, what each reply carries back to its requester, and how the answers
// decode.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <functional>
#include <memory>
#include <vector>

#include "core/pubgroupinfo.h"
#include "core/twhandle.h"
#include "device/tidewelldevice.h"
#include "sdk/proto.h"
#include "tests/transfer/taskrig.h"

using Args = QVariantList;

// Takes one reply on the GUI thread, like a model would.
class Catcher : public QObject
{
    Q_OBJECT
public:
    int count = 0;
    TW_HANDLE handle = 0;
    bool onGuiThread = false;
    Args args;

    void take(TW_HANDLE h, const Args& a)
    {
        ++count;
        handle = h;
        args = a;
        onGuiThread = QThread::currentThread() == qApp->thread();
    }
};

using Hook = std::function<void(TidewellDevice*, Catcher*)>;

// Connects a reply signal to the catcher, the values after the handle
// packed as variants.
template <typename... A>
static Hook replyOf(void (TidewellDevice::*sig)(TW_HANDLE, A...))
{
    return [sig](TidewellDevice* d, Catcher* c) {
        QObject::connect(d, sig, c, [c](TW_HANDLE h, A... a) {
            c->take(h, Args{QVariant::fromValue(a)...});
        });
    };
}

struct Op
{
    const char* name;
    const char* command;
    const char* answer;                 // canned answer of the command
    const char* sent;                   // the request's whole "data"
    std::function<bool(TidewellDevice*, TW_HANDLE)> invoke;
    Hook reply;
    std::function<void(const Args&)> check;   // the reply's values
};

static const QMap<int, qint64> kSel{{3, 7}, {0, 5}};   // sent in key order: 5, 7
static const qint64 kBig = 9007199254740993LL;          // not exact as a double

static const char* kOk = R"({"result":1,"message":"ok"})";

template <typename T>
static T at(const Args& a, int i)
{
    return a.value(i).value<T>();
}

static std::vector<Op> ops()
{
    using D = TidewellDevice;
    using H = TW_HANDLE;
    return {
        {"fileRename", "modifyFile", R"({"result":1,"data":{"filePath":"/docs/b.txt"}})",
         R"({"fileId":12,"newName":"b.txt","isSafeBox":false})",
         [](D* d, H h) { return d->fileRename(h, 12, "b.txt", false); },
         replyOf(&D::rFileRename),
         [](const Args& a) {
             QCOMPARE(at<qlonglong>(a, 0), 12LL);
             QCOMPARE(at<QString>(a, 1), QString("b.txt"));
             QCOMPARE(at<ModifyFileResp>(a, 3).filePath, QString("/docs/b.txt"));
         }},
        {"dirRename", "modifyDir", R"({"result":1,"data":{"path":"/docs/new"}})",
         R"({"dirId":13,"newName":"new","isSafeBox":true})",
         [](D* d, H h) { return d->dirRename(h, 13, "new", true); }, replyOf(&D::rDirRename),
         [](const Args& a) {
             QCOMPARE(at<bool>(a, 2), true);
             QCOMPARE(at<ModifyDirResp>(a, 3).filePath, QString("/docs/new"));
         }},
        {"fileMove", "moveDirOrFile", R"({"result":0,"message":"busy","errCode":2001})",
         R"({"fileIds":[5,7],"targetId":44,"diskSerial":"sn1"})",
         [](D* d, H h) {
             TwFolderInfo t;
             t.fid = 44;
             t.serialNo = "sn1";
             return d->fileMove(h, t, kSel);
         },
         replyOf(&D::rFileMove),
         [](const Args& a) {
             const auto r = at<MoveDirOrFileResp>(a, 0);
             QCOMPARE(r.result, 0);
             QCOMPARE(r.errCode, 2001);
             QCOMPARE(r.message, QString("busy"));
             QCOMPARE((at<QMap<int, qint64>>(a, 1)), kSel);
         }},
        {"fileMoveToSafeBox", "addToSafetyBox", kOk, R"({"fileIds":[5,7]})",
         [](D* d, H h) { return d->fileMoveToSafeBox(h, kSel); }, replyOf(&D::rFileMoveToSafeBox),
         [](const Args& a) {
             QCOMPARE((at<QMap<int, qint64>>(a, 0)), kSel);
             QVERIFY(at<AddToSafetyBoxResp>(a, 1).ok());
         }},
        {"fileCollect", "myLove", kOk, R"({"fileIds":[5,7],"isLove":false})",
         [](D* d, H h) { return d->fileCollect(h, kSel, false); }, replyOf(&D::rFileCollect),
         [](const Args& a) {
             QCOMPARE(at<bool>(a, 1), false);
             QVERIFY(at<MyLoveResp>(a, 2).ok());
         }},
        {"labelRelate", "relateLabel", kOk, R"({"fileIds":[5,7],"labelIds":[3,4]})",
         [](D* d, H h) { return d->labelRelate(h, kSel, {3, 4}); }, replyOf(&D::rLabelRelate),
         [](const Args& a) {
             QCOMPARE(at<QList<int>>(a, 1), (QList<int>{3, 4}));
             QVERIFY(at<RelateLabelResp>(a, 2).ok());
         }},
        {"diskCopyToUsb", "copyToPeripheral", kOk, R"({"path":"/usb/a","ids":[5,7]})",
         [](D* d, H h) { return d->diskCopyToUsb(h, "/usb/a", kSel); }, replyOf(&D::rDiskCopyToUsb),
         [](const Args& a) {
             QCOMPARE(at<QString>(a, 0), QString("/usb/a"));
             QVERIFY(at<CopyToPeripheralResp>(a, 2).ok());
         }},
        {"diskCopyToSamb", "copyToSamb", kOk, R"({"diskSerial":"sn2","path":"/samba/x","ids":[5,7]})",
         [](D* d, H h) { return d->diskCopyToSamb(h, "/samba/x", "sn2", kSel); },
         replyOf(&D::rDiskCopyToSamb),
         [](const Args& a) {
             QCOMPARE(at<QString>(a, 0), QString("sn2"));
             QCOMPARE(at<QString>(a, 1), QString("/samba/x"));
             QVERIFY(at<CopyToSambResp>(a, 3).ok());
         }},
        {"shareFileToAll", "shareFileToAll", R"({"result":0,"message":"denied"})",
         R"({"fileIds":[5,6]})", [](D* d, H h) { return d->shareFileToAll(h, {5, 6}); },
         replyOf(&D::rShareFileToAll),
         [](const Args& a) {
             QCOMPARE(at<int>(a, 0), 0);
             QCOMPARE(at<QString>(a, 1), QString("denied"));
         }},
        {"shareFileToUsers", "shareFileToUsers", kOk, R"({"fileIds":[5],"accessIds":["u1","u2"]})",
         [](D* d, H h) { return d->shareFileToUsers(h, {5}, {"u1", "u2"}); },
         replyOf(&D::rShareFileToUsers), [](const Args& a) { QCOMPARE(at<int>(a, 0), 1); }},
        {"shareFileToCancel", "shareFileToCancel", kOk, R"({"fileIds":[9007199254740993]})",
         [](D* d, H h) { return d->shareFileToCancel(h, {kBig}); },
         replyOf(&D::rShareFileToCancel),
         [](const Args& a) {
             QCOMPARE(at<int>(a, 0), 1);
             QCOMPARE(at<QString>(a, 1), QString("ok"));
         }},
        {"getShareFile", "getShareFile",
         R"({"result":1,"data":{"totalPages":3,"pageNo":2,"totalNum":130,
             "listPath":[{"id":1,"name":"a.jpg","isFile":true,"ower":"u1"}],
             "userList":[{"accessId":"u1","headImg":"h1","markName":"Ann"}]}})",
         R"({"pageNo":2,"condition":5,"isSort":true})",
         [](D* d, H h) { return d->getShareFile(h, 2, 5, true); }, replyOf(&D::rGetShareFile),
         [](const Args& a) {
             const auto r = at<GetShareFileResp>(a, 0);
             QCOMPARE(r.totalPages, 3);
             QCOMPARE(r.totalNum, 130);
             QCOMPARE(r.fileList.size(), 1);
             QCOMPARE(r.fileList[0].shareUserName, QString("Ann"));
         }},
        {"getUserShareFile", "getUserShareFile",
         R"({"result":1,"data":{"totalPages":1,"pageNo":1,"totalNum":2,
             "listPath":[{"id":1,"name":"d","isFile":false},{"id":2,"name":"b.txt","isFile":true}]}})",
         R"({"pageNo":1,"condition":5,"isSort":false,"accessId":"u1"})",
         [](D* d, H h) { return d->getUserShareFile(h, 1, 5, false, "u1"); },
         replyOf(&D::rGetUserShareFile),
         [](const Args& a) {
             const auto r = at<GetUserShareFileResp>(a, 0);
             QCOMPARE(r.totalNum, 2);
             QCOMPARE(r.fileList.size(), 2);
             QCOMPARE(r.fileList[0].type, int(Common::MT_Folder));
         }},
        {"findShareFile", "findShareFile",
         R"({"result":1,"data":{"totalPages":1,"pageNo":1,"totalNum":1,"listPath":[{"id":4,"name":"cat.png","isFile":true}]}})",
         R"({"keyValue":"cat","pageNo":1})",
         [](D* d, H h) { return d->findShareFile(h, "cat", 1); }, replyOf(&D::rFindShareFile),
         [](const Args& a) {
             QCOMPARE(at<FindShareFileResp>(a, 0).fileList.value(0).type, int(Common::MT_Image));
         }},
        {"getShareUserList", "getShareUserList",
         R"({"result":1,"data":{"totalPages":2,"pageNo":1,"totalNum":3,"list":[
             {"accessId":"u1","headImg":"h1","markName":"Ann","shareNum":4},
             {"accessId":"u2","headImg":"h2","markName":"Bob","shareNum":"7"}]}})",
         R"({"pageNo":1,"fileType":2})",
         [](D* d, H h) { return d->getShareUserList(h, 1, 2); }, replyOf(&D::rGetShareUserList),
         [](const Args& a) {
             const auto r = at<GetShareUserListResp>(a, 0);
             QCOMPARE(r.totalPages, 2);
             QCOMPARE(r.users.size(), 2);
             QCOMPARE(r.users[1].markName, QString("Bob"));
             QCOMPARE(r.users[1].shareNum, 7);
         }},
        {"getShareUserAndGroupList", "getShareUserAndGroupList",
         R"({"result":1,"data":{"userList":[{"accessId":"u1","headImg":"h1","markName":"Ann"}],
             "groupList":[{"gId":3,"gName":"Family","members":[
                 {"accessId":"u1","headImg":"h1","markName":"Ann"},
                 {"accessId":"u9","headImg":"h9","markName":"Zed"}]}]}})",
         "{}", [](D* d, H h) { return d->getShareUserAndGroupList(h); },
         replyOf(&D::rGetShareUserAndGroupList),
         [](const Args& a) {
             const auto r = at<GetShareUserAndGroupListResp>(a, 0);
             QCOMPARE(r.users.size(), 1);
             QCOMPARE(r.groups.size(), 1);
             QCOMPARE(r.groups[0].gId, 3);
             QCOMPARE(r.groups[0].gName, QString("Family"));
             QCOMPARE(r.groups[0].members.size(), 2);
             QCOMPARE(r.groups[0].members[1].accessId, QString("u9"));
         }},
        {"createPubGroup", "createPubGroup", R"({"result":1,"data":{"groupId":17}})",
         R"({"name":"G","diskSerial":"sn"})",
         [](D* d, H h) { return d->createPubGroup(h, "G", "sn"); }, replyOf(&D::rCreatePubGroup),
         [](const Args& a) { QCOMPARE(at<CreatePubGroupResp>(a, 0).groupId, 17); }},
        {"modifyPubGroupName", "modifyPubGroupName", kOk, R"({"gId":7,"gName":"New"})",
         [](D* d, H h) { return d->modifyPubGroupName(h, 7, "New"); },
         replyOf(&D::rModifyPubGroupName),
         [](const Args& a) { QCOMPARE(at<QString>(a, 1), QString("New")); }},
        {"delPubGroup", "delPubGroup", kOk, R"({"gIds":[7,8]})",
         [](D* d, H h) { return d->delPubGroup(h, {7, 8}); }, replyOf(&D::rDelPubGroup),
         [](const Args& a) { QVERIFY(at<APIBase>(a, 0).ok()); }},
        {"exitPubGroup", "exitPubGroup", kOk, R"({"gId":7,"accessId":"acc1"})",
         [](D* d, H h) { return d->exitPubGroup(h, 7, "acc1"); }, replyOf(&D::rExitPubGroup),
         [](const Args& a) { QVERIFY(at<APIBase>(a, 0).ok()); }},
        {"editPubGroupMember", "editPubGroupMember", kOk,
         R"({"gId":7,"memberAuth":1,"accessIds":["u1"]})",
         [](D* d, H h) { return d->editPubGroupMember(h, 7, 1, {"u1"}); },
         replyOf(&D::rEditPubGroupMember), [](const Args& a) { QCOMPARE(at<int>(a, 1), 1); }},
        {"delPubGroupMember", "delPubGroupMember", kOk, R"({"gId":7,"accessIds":["u1","u2"]})",
         [](D* d, H h) { return d->delPubGroupMember(h, 7, {"u1", "u2"}); },
         replyOf(&D::rDelPubGroupMember), [](const Args& a) { QVERIFY(at<APIBase>(a, 0).ok()); }},
        {"changePubGroupOwner", "changePubGroupOwner", kOk,
         R"({"gId":7,"fromUser":"a","toUser":"b"})",
         [](D* d, H h) { return d->changePubGroupOwner(h, 7, "a", "b"); },
         replyOf(&D::rChangePubGroupOwner), [](const Args& a) { QVERIFY(at<APIBase>(a, 0).ok()); }},
        {"getPubGroupList", "getPubGroupList",
         R"({"result":1,"data":{"offset":60,"totalPages":1,"totalNum":61,"listPath":[
             {"id":7,"name":"G","ower":"acc1","userName":"Me","memberAuthority":0,"status":1,
              "totalSize":"1024","diskSerial":"sn","createTime":1700000000000,"lastModified":1700000001000},
             "junk"]}})",
         R"({"offset":60,"pageNo":1,"pageSize":30,"isSort":true,"condition":2,"queryType":1})",
         [](D* d, H h) { return d->getPubGroupList(h, 60, 30, true, 2, 1); },
         replyOf(&D::rGetPubGroupList),
         [](const Args& a) {
             const auto r = at<GetPubGroupListResp>(a, 0);
             QCOMPARE(r.offset, 60);
             QCOMPARE(r.totalNum, 61);
             QCOMPARE(r.groups.size(), 1);
             QCOMPARE(r.groups[0].gId, 7);
             QCOMPARE(r.groups[0].gName, QString("G"));
             QCOMPARE(r.groups[0].totalSize, 1024LL);
             QCOMPARE(r.groups[0].lastModified, 1700000001000LL);
         }},
        {"getPubGroupMemList", "getPubGroupMemList",
         R"({"result":1,"data":{"offset":0,"totalPages":1,"totalNum":5,"listPath":[
             {"accId":"u1","headImg":"h1","markName":"Ann","memberAuthority":2,"createTime":5}]}})",
         R"({"offset":0,"pageNo":1,"pageSize":3,"type":1,"groupId":7})",
         [](D* d, H h) { return d->getPubGroupMemList(h, 0, 3, 1, 7); },
         replyOf(&D::rGetPubGroupMemList),
         [](const Args& a) {
             const auto r = at<GetPubGroupMemListResp>(a, 0);
             QCOMPARE(r.totalNum, 5);
             QCOMPARE(r.members.size(), 1);
             QCOMPARE(r.members[0].accId, QString("u1"));
             QCOMPARE(r.members[0].memberAuthority, 2);
         }},
        {"getPubGroupDetail", "getPubGroupDetail",
         R"({"result":1,"data":{"id":7,"name":"G","ower":"u5","memberAuthority":1}})",
         R"({"groupId":7})", [](D* d, H h) { return d->getPubGroupDetail(h, 7); },
         replyOf(&D::rGetPubGroupDetail),
         [](const Args& a) {
             const auto g = at<GetPubGroupDetailResp>(a, 0).group;
             QCOMPARE(g.gId, 7);
             QCOMPARE(g.ower, QString("u5"));
             QCOMPARE(g.memberAuthority, 1);
         }},
        {"modifyPubDirOrFile", "modifyPubDirOrFile", kOk,
         R"({"groupId":7,"fileId":9007199254740993,"newFileName":"n.txt"})",
         [](D* d, H h) { return d->modifyPubDirOrFile(h, 7, kBig, "n.txt"); },
         replyOf(&D::rModifyPubDirOrFile),
         [](const Args& a) { QCOMPARE(at<QString>(a, 1), QString("n.txt")); }},
        {"deletePubDirOrFile", "deletePubDirOrFile", kOk, R"({"groupId":7,"fileIds":[5,6]})",
         [](D* d, H h) { return d->deletePubDirOrFile(h, 7, {5, 6}); },
         replyOf(&D::rDeletePubDirOrFile), [](const Args& a) { QVERIFY(at<APIBase>(a, 0).ok()); }},
    };
}

static Json::Value parse(const std::string& text)
{
    Json::Value v;
    sdk::cores::protocol::proto::json_from_string(text, v);
    return v;
}

class TestFacadeOps : public QObject
{
    Q_OBJECT
    std::unique_ptr<TaskRig> m_rig;

private slots:
    void init()
    {
        m_rig.reset(new TaskRig);
        QVERIFY(m_rig->start("dev"));
        m_rig->server->clearRequests();
    }

    void cleanup()
    {
        m_rig.reset();
    }

    void operationSendsAndAnswersItsCaller_data()
    {
        QTest::addColumn<int>("row");
        const auto all = ops();
        for (int i = 0; i < int(all.size()); ++i)
            QTest::newRow(all[i].name) << i;
    }

    void operationSendsAndAnswersItsCaller()
    {
        QFETCH(int, row);
        const Op op = ops()[row];
        m_rig->server->setCommandAnswer(op.command, op.answer);
        Catcher mine, other;
        op.reply(m_rig->dev.get(), &mine);
        op.reply(m_rig->dev.get(), &other);
        const TW_HANDLE h = twNewHandle();

        QVERIFY(op.invoke(m_rig->dev.get(), h));
        QTRY_COMPARE(mine.count, 1);
        // Every connected receiver gets the reply; the handle tells whose it is.
        QTRY_COMPARE(other.count, 1);
        QCOMPARE(mine.handle, h);
        QVERIFY(mine.onGuiThread);

        const auto bodies = m_rig->sent(op.command);
        QCOMPARE(int(bodies.size()), 1);
        const Json::Value want = parse(op.sent);
        QVERIFY2(bodies[0] == want, bodies[0].toStyledString().c_str());
        op.check(mine.args);
    }

    void onlineTestedOperationsSendNothingOffline()
    {
        TestOwner idle;   // never connected
        TidewellDevice d(&idle);
        Catcher c;
        replyOf(&TidewellDevice::rFileCollect)(&d, &c);
        replyOf(&TidewellDevice::rLabelRelate)(&d, &c);
        replyOf(&TidewellDevice::rFileDelete)(&d, &c);
        const TW_HANDLE h = twNewHandle();
        QVERIFY(!d.fileCollect(h, kSel, true));
        QVERIFY(!d.labelRelate(h, kSel, {1}));
        QVERIFY(!d.fileDelete(h, kSel, false));
        QVERIFY(d.waitForDone(5000));
        QTest::qWait(50);
        QCOMPARE(c.count, 0);
        QVERIFY(m_rig->server->requests().empty());

        // Operations without the test still answer, with a network error.
        Catcher share;
        replyOf(&TidewellDevice::rShareFileToAll)(&d, &share);
        QVERIFY(d.shareFileToAll(h, {5}));
        QTRY_COMPARE(share.count, 1);
        QCOMPARE(share.args.value(0).toInt(), int(APIBase::NetworkError));
        QVERIFY(m_rig->server->requests().empty());
    }

    void pubMoveStopsAtFirstFailure_data()
    {
        QTest::addColumn<QList<qint64>>("ids");
        QTest::addColumn<QList<int>>("results");   // answer of each request in turn
        QTest::addColumn<int>("requests");
        QTest::addColumn<QList<qint64>>("moved");
        QTest::addColumn<int>("result");

        const QList<qint64> four{11, 12, kBig, 14};
        QTest::newRow("all move") << four << QList<int>{1, 1, 1, 1} << 4 << four << 1;
        QTest::newRow("third fails") << four << QList<int>{1, 1, 0, 1} << 3
                                     << QList<qint64>{11, 12} << 0;
        QTest::newRow("first fails") << four << QList<int>{0, 1, 1, 1} << 1 << QList<qint64>()
                                     << 0;
        QTest::newRow("nothing to move") << QList<qint64>() << QList<int>() << 0
                                         << QList<qint64>() << 1;
    }

    void pubMoveStopsAtFirstFailure()
    {
        QFETCH(QList<qint64>, ids);
        QFETCH(QList<int>, results);
        QFETCH(int, requests);
        QFETCH(QList<qint64>, moved);
        QFETCH(int, result);
        for (int r : results) {
            const std::string msg = r == 1 ? "ok" : "target is inside source";
            m_rig->server->queueCommandAnswer(
                "moviePubDirOrFile",
                R"({"result":)" + std::to_string(r) + R"(,"errCode":)" + (r == 1 ? "0" : "2009")
                    + R"(,"message":")" + msg + R"("})");
        }
        Catcher c;
        replyOf(&TidewellDevice::rMoviePubDirOrFile)(m_rig->dev.get(), &c);
        const TW_HANDLE h = twNewHandle();
        QVERIFY(m_rig->dev->moviePubDirOrFile(h, 7, 40, ids));
        QTRY_COMPARE(c.count, 1);
        QCOMPARE(c.handle, h);
        const auto resp = c.args.value(0).value<APIBase>();
        QCOMPARE(resp.result, result);
        if (result != 1)
            QCOMPARE(resp.errCode, 2009);
        QCOMPARE(c.args.value(1).value<QList<qint64>>(), moved);

        const auto bodies = m_rig->sent("moviePubDirOrFile");
        QCOMPARE(int(bodies.size()), requests);
        for (int i = 0; i < requests; ++i) {
            QCOMPARE(qint64(bodies[i]["movieFileId"].asInt64()), ids[i]);
            QCOMPARE(bodies[i]["groupId"].asInt(), 7);
            QCOMPARE(bodies[i]["targetId"].asInt(), 40);
        }
    }

    void copyRoutesBySourceAndTarget_data()
    {
        QTest::addColumn<int>("mType");
        QTest::addColumn<int>("diskType");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("want");
        // target: fid 44, serialNo "sn", filePath "/x", groupId 9; selection 5, 7; source group 3
        QTest::newRow("group to usb") << 3 << 1 << "copyPubToPeripheral"
            << R"({"groupId":3,"diskSerial":"sn","path":"/x","isSamba":false,"ids":[5,7]})";
        QTest::newRow("group to samba") << 3 << 2 << "copyPubToPeripheral"
            << R"({"groupId":3,"diskSerial":"sn","path":"/x","isSamba":true,"ids":[5,7]})";
        QTest::newRow("group to group") << 3 << 3 << "pubCopyFileToPub"
            << R"({"groupId":3,"targetId":44,"diskSerial":"sn","targetGroupId":9,"movieFileIds":[5,7]})";
        QTest::newRow("group to personal") << 3 << 0 << "movieFileToPerson"
            << R"({"groupId":3,"targetId":44,"diskSerial":"sn","movieFileIds":[5,7]})";
        QTest::newRow("shared to usb") << 0 << 1 << "copyToPeripheral" << R"({"path":"/x","ids":[5,7]})";
        QTest::newRow("shared to samba") << 0 << 2 << "copyToSamb"
            << R"({"diskSerial":"sn","path":"/x","ids":[5,7]})";
        QTest::newRow("shared to group") << 0 << 3 << "copyFileToPub"
            << R"({"targetGroupId":9,"targetId":44,"diskSerial":"sn","fileIds":[5,7]})";
        QTest::newRow("shared to personal") << 0 << 4 << "copyDirOrFile"
            << R"({"fileIds":[5,7],"targetId":44,"diskSerial":"sn"})";
        QTest::newRow("personal to group") << 1 << 3 << "copyFileToPub"
            << R"({"targetGroupId":9,"targetId":44,"diskSerial":"sn","fileIds":[5,7]})";
        QTest::newRow("personal to personal") << 1 << 4 << "copyDirOrFile"
            << R"({"fileIds":[5,7],"targetId":44,"diskSerial":"sn"})";
        QTest::newRow("unknown source") << 7 << 1 << "" << "";
    }

    void copyRoutesBySourceAndTarget()
    {
        QFETCH(int, mType);
        QFETCH(int, diskType);
        QFETCH(QString, command);
        QFETCH(QString, want);
        if (!command.isEmpty())
            m_rig->server->setCommandAnswer(command.toStdString(), kOk);
        TwFolderInfo t;
        t.fid = 44;
        t.serialNo = "sn";
        t.filePath = "/x";
        t.groupId = 9;
        t.diskType = diskType;
        Catcher c;
        replyOf(&TidewellDevice::rFileCopy)(m_rig->dev.get(), &c);
        const TW_HANDLE h = twNewHandle();
        QVERIFY(m_rig->dev->fileCopy(h, mType, t, 3, kSel, {}));
        QTRY_COMPARE(c.count, 1);
        QCOMPARE(c.handle, h);
        if (command.isEmpty()) {
            QCOMPARE(c.args.value(0).value<APIBase>().result, 0);
            QVERIFY(m_rig->server->requests().empty());
            return;
        }
        QVERIFY(c.args.value(0).value<APIBase>().ok());
        const auto bodies = m_rig->sent(command.toUtf8().constData());
        QCOMPARE(int(bodies.size()), 1);
        QVERIFY2(bodies[0] == parse(want.toStdString()), bodies[0].toStyledString().c_str());
    }

    void shareFileDecoding_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("headOfFirst");
        QTest::addColumn<QString>("nameOfFirst");
        QTest::addColumn<int>("users");

        const QString files =
            R"("listPath":[{"id":1,"name":"a.jpg","isFile":true,"ower":"u1","shareTime":"1700000000000"},
                           {"id":2,"name":"d","isFile":false,"ower":"u2","shareTime":5}])";
        QTest::newRow("users as array")
            << QString(R"({"result":1,"data":{%1,"userList":[
                   {"accessId":"u1","headImg":"h1","markName":"Ann"},
                   {"accessId":"u2","headImg":"h2","markName":"","userName":"bob"}]}})")
                   .arg(files)
            << "h1" << "Ann" << 2;
        QTest::newRow("users keyed by accessId")
            << QString(R"({"result":1,"data":{%1,"userList":{
                   "u1":{"headImg":"h1","markName":"Ann"},"u2":"not a user"}}})")
                   .arg(files)
            << "h1" << "Ann" << 1;
        QTest::newRow("users of the wrong type")
            << QString(R"({"result":1,"data":{%1,"userList":"u1"}})").arg(files) << "" << ""
            << 0;
        QTest::newRow("entries of the wrong type")
            << QString(R"({"result":1,"data":{%1,"userList":[7,null,{"accessId":5,"markName":true}]}})")
                   .arg(files)
            << "" << "" << 1;
    }

    void shareFileDecoding()
    {
        QFETCH(QString, answer);
        QFETCH(QString, headOfFirst);
        QFETCH(QString, nameOfFirst);
        QFETCH(int, users);
        GetShareFileResp r;
        QVERIFY(r.from(answer.toStdString()));
        QCOMPARE(r.result, 1);
        QCOMPARE(r.users.size(), users);
        QCOMPARE(r.fileList.size(), 2);
        const TwFileInfo& a = r.fileList[0];
        QCOMPARE(a.type, int(Common::MT_Image));
        QCOMPARE(a.shareTime, 1700000000000LL);
        QCOMPARE(a.shareHeadImg, headOfFirst);
        QCOMPARE(a.shareUserName, nameOfFirst);
        QCOMPARE(r.fileList[1].type, int(Common::MT_Folder));
        if (users == 2) {
            // No mark name: the user's own name.
            QCOMPARE(r.fileList[1].shareUserName, QString("bob"));
        }
    }

    void shareFileWithoutData()
    {
        GetShareFileResp r;
        r.from(R"({"result":0,"message":"no","data":[1,2]})");
        QCOMPARE(r.result, 0);
        QVERIFY(r.fileList.isEmpty());
        QVERIFY(r.users.isEmpty());
    }

    void pubGroupRecordMaps()
    {
        PubGroupInfo g;
        g.gId = 7;
        g.gName = "G";
        g.totalSize = 5000000000LL;
        g.lastModified = 1700000000000LL;
        PubGroupInfo back;
        back.fromMap(g.toMap());
        QCOMPARE(back.toMap(), g.toMap());
        QCOMPARE(back.totalSize, 5000000000LL);

        back.fromMap(QVariantMap());   // keeps its values
        QCOMPARE(back.gId, 7);

        back.fromMap({{"gName", "Only"}, {"totalSize", "1024"}});
        QCOMPARE(back.gName, QString("Only"));
        QCOMPARE(back.gId, 0);
        QCOMPARE(back.totalSize, 1024LL);
        QCOMPARE(back.lastModified, 0LL);
        QCOMPARE(PubGroupInfo().toMap().size(), 10);
    }
};

TW_TEST_MAIN(TestFacadeOps)
#include "tst_facadeops.moc"
