// The public-space header over a test device: the account's right and
// ownership from the group's detail, and the member summary (at most 99,
// at most three avatars, however the loads overlap).
#include "core/pubgroupinfo.h"
#include "sharing/pubgroupdetialmodel.h"
#include "tests/queuedspy.h"
#include "tests/sharing/memberrig.h"
#include "tests/testenv.h"

static const int kWait = 20000;

class TestPubGroupDetialModel : public QObject
{
    Q_OBJECT
private:
    static QVariantMap groupMap(int gId)
    {
        PubGroupInfo g;
        g.gId = gId;
        g.gName = "G";
        g.memberAuthority = 2;   // as the list last saw it
        return g.toMap();
    }

private slots:
    void headerOfAGroupOf150()
    {
        MemberRig rig;
        QVERIFY(rig.connected);
        const int g = rig.groupWith(149);
        PubGroupDetialModel d;
        d.setTw(rig.device);
        d.setGroupInfo(groupMap(g));
        QCOMPARE(d.groupInfo().value("gName").toString(), QString("G"));
        QCOMPARE(d.memberAuthority(), 2);
        QSignalSpy owner(&d, &PubGroupDetialModel::isOwerChanged);
        QSignalSpy summary(&d, &PubGroupDetialModel::userInfoChanged);
        d.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(summary.count(), 1, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(d.isOwer(), kWait);
        QCOMPARE(d.memberAuthority(), 0);
        const QVariantMap info = d.userInfo();
        QCOMPARE(info.value("totalNum").toInt(), 99);
        QCOMPARE(info.value("urls").toStringList(), (QStringList{"hme", "h0", "h1"}));
        QCOMPARE(rig.lastSent("getPubGroupMemList")["pageSize"].asInt(), 3);
    }

    void overlappingLoadsShowThreeAvatars()
    {
        MemberRig rig;
        const int g = rig.groupWith(10);
        PubGroupDetialModel d;
        d.setTw(rig.device);
        d.setGroupInfo(groupMap(g));
        int most = 0;
        connect(&d, &PubGroupDetialModel::userInfoChanged, this,
                [&] { most = qMax(most, d.userInfo().value("urls").toStringList().size()); });
        QSignalSpy summary(&d, &PubGroupDetialModel::userInfoChanged);
        for (int i = 0; i < 4; ++i)
            d.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(summary.count(), 4, kWait);
        QCOMPARE(most, 3);
        QCOMPARE(d.userInfo().value("totalNum").toInt(), 11);
    }

    void memberSeesItsRight()
    {
        MemberRig rig("u1");
        rig.server->addDeviceUser("boss", "Boss", "hb");
        const int g = rig.server->addPubGroup("G", "boss");
        rig.server->addDeviceUser("u1", "One", "h1");
        rig.server->setPubGroupMember(g, "u1", 1);
        PubGroupDetialModel d;
        d.setTw(rig.device);
        d.setGroupInfo(groupMap(g));
        QSignalSpy right(&d, &PubGroupDetialModel::memberAuthorityChanged);
        d.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(right.count(), 1, kWait);
        QCOMPARE(d.memberAuthority(), 1);
        QVERIFY(!d.isOwer());
        QCOMPARE(d.groupInfo().value("ower").toString(), QString("boss"));
    }

    void addedMembersReloadTheSummary()
    {
        MemberRig rig;
        const int g = rig.groupWith(1);
        rig.server->addDeviceUser("n1", "New", "hn");
        PubGroupDetialModel d;
        d.setTw(rig.device);
        d.setGroupInfo(groupMap(g));
        d.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(d.userInfo().value("totalNum").toInt(), 2, kWait);
        QSignalSpy reload(&d, &PubGroupDetialModel::willLoadData);
        d.editPubGroupMember(g, 1, {"n1"});
        QTRY_COMPARE_WITH_TIMEOUT(d.userInfo().value("totalNum").toInt(), 3, kWait);
        QCOMPARE(reload.count(), 1);
        QCOMPARE(rig.server->pubGroupAuthority(g, "n1"), 1);

        // A failed change, or one without an open group, loads nothing.
        PubGroupDetialModel closed;
        closed.setTw(rig.device);
        QSignalSpy closedReload(&closed, &PubGroupDetialModel::willLoadData);
        d.editPubGroupMember(g, 0, {"n1"});   // refused by the device
        QTest::qWait(300);
        QCOMPARE(reload.count(), 1);
        QCOMPARE(closedReload.count(), 0);
    }

    void failedLoadKeepsRightAndOwner()
    {
        MemberRig rig;
        const int g = rig.groupWith(1);
        PubGroupDetialModel d;
        d.setTw(rig.device);
        d.setGroupInfo(groupMap(g));
        d.loadData();
        QTRY_VERIFY_WITH_TIMEOUT(d.isOwer(), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(d.userInfo().value("totalNum").toInt(), 2, kWait);
        QSignalSpy summary(&d, &PubGroupDetialModel::userInfoChanged);
        rig.server->setCommandAnswer("getPubGroupDetail", R"({"result":0,"message":"busy","errCode":9})");
        rig.server->setCommandAnswer("getPubGroupMemList", R"({"result":0,"message":"busy","errCode":9})");
        d.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(summary.count(), 1, kWait);
        QTest::qWait(100);
        QVERIFY(d.isOwer());
        QCOMPARE(d.memberAuthority(), 0);
        QCOMPARE(d.userInfo().value("totalNum").toInt(), 0);
        QVERIFY(d.userInfo().value("urls").toStringList().isEmpty());
    }
};

TW_TEST_MAIN(TestPubGroupDetialModel)
#include "tst_pubgroupdetialmodel.moc"
