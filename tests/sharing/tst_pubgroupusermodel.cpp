// The member dialog and the add-member picker against a test device with
// real groups: one request for the whole list, the owner's row, rights,
// removal and hand-over, and what the selection names afterwards.
#include <QAbstractItemModelTester>

#include "sharing/pubgroupdetialmodel.h"
#include "sharing/pubgroupusermodel.h"
#include "tests/queuedspy.h"
#include "tests/sharing/memberrig.h"
#include "tests/testenv.h"

using Role = PubGroupUserModel::Role;
static const int kWait = 20000;

class TestPubGroupUserModel : public QObject
{
    Q_OBJECT
private:
    static QString nameAt(const PubGroupUserModel& m, int row)
    {
        return m.index(row).data(Role::UserNameRole).toString();
    }
    // A member dialog of group g as its owner opens it.
    static void openDialog(PubGroupUserModel& m, MemberRig& rig, int g)
    {
        m.setTw(rig.device);
        m.setGroupId(g);
        m.setAccId("me");
        m.setUserType(1);
        m.loadData();
    }

private slots:
    void memberListOf150ComesInOneRequest()
    {
        MemberRig rig;
        QVERIFY(rig.connected);
        const int g = rig.groupWith(149);
        PubGroupUserModel m;
        QAbstractItemModelTester tester(&m);
        QSignalSpy busy(&m, &BaseModel::sg_showLoading);
        QSignalSpy done(&m, &BaseModel::sg_cancelLading);
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        openDialog(m, rig, g);
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 150, kWait);
        QCOMPARE(rig.commandCount("getPubGroupMemList"), 1);
        QCOMPARE(rig.lastSent("getPubGroupMemList")["pageSize"].asInt(), 200);
        QCOMPARE(busy.count(), 1);
        QCOMPARE(done.count(), 1);
        QCOMPARE(state.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_None);
        QCOMPARE(nameAt(m, 0), QString("Me"));
        QCOMPARE(m.index(0).data(Role::AuthTypeRole).toInt(), 0);
        QCOMPARE(m.index(1).data(Role::AuthTypeRole).toInt(), 2);
        QCOMPARE(m.index(1).data(Role::UserHeadRole).toString(), QString("h0"));
        QCOMPARE(m.roleNames().value(Role::JoinTimeRole), QByteArray("$JoinTime"));
        QVERIFY(!m.index(150).data(Role::UserNameRole).isValid());
    }

    void ownerRowShowsManagerAndRightsChange()
    {
        MemberRig rig;
        const int g = rig.groupWith(3);
        PubGroupUserModel m;
        QAbstractItemModelTester tester(&m);
        openDialog(m, rig, g);
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 4, kWait);
        // Whoever the model takes for the owner shows right 0.
        m.setAccId("u1");
        QCOMPARE(m.index(2).data(Role::AuthTypeRole).toInt(), 0);
        m.setAccId("me");

        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        m.singleSelect(2);
        m.editPubGroupMember(1);
        QTRY_COMPARE_WITH_TIMEOUT(m.index(2).data(Role::AuthTypeRole).toInt(), 1, kWait);
        QCOMPARE(rig.server->pubGroupAuthority(g, "u1"), 1);
        QVERIFY(toast.isEmpty());
        QVERIFY(changed.last().at(2).value<QVector<int>>().contains(Role::AuthTypeRole));

        // The device refuses the owner's own right: an error toast.
        m.singleSelect(0);
        m.editPubGroupMember(2);
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, kWait);
        QCOMPARE(toast.first().at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(m.index(0).data(Role::AuthTypeRole).toInt(), 0);
    }

    void handingTheGroupOver()
    {
        MemberRig rig;
        const int g = rig.groupWith(2);
        PubGroupUserModel m;
        QAbstractItemModelTester tester(&m);
        QSignalSpy handed(&m, &PubGroupUserModel::rChangePubGroupOwner);
        openDialog(m, rig, g);
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 3, kWait);
        m.changePubGroupOwner();   // nothing selected: nothing sent
        m.singleSelect(2);
        m.changePubGroupOwner();
        QTRY_COMPARE_WITH_TIMEOUT(handed.count(), 1, kWait);
        QCOMPARE(rig.commandCount("changePubGroupOwner"), 1);
        QCOMPARE(rig.server->pubGroupAuthority(g, "u1"), 0);
        QCOMPARE(rig.server->pubGroupAuthority(g, "me"), 1);
    }

    void removalTakesTheLowerRowAndTheSelectionFollows()
    {
        MemberRig rig;
        const int g = rig.groupWith(4);
        PubGroupUserModel m;
        QAbstractItemModelTester tester(&m);
        PubGroupDetialModel header;
        header.setTw(rig.device);
        header.setGroupInfo(QVariantMap{{"gId", g}});
        openDialog(m, rig, g);
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 5, kWait);
        QCOMPARE(nameAt(m, 3), QString("User 2"));
        QSignalSpy reloads(&header, &PubGroupDetialModel::willLoadData);
        QSignalSpy count(&m, &PubGroupUserModel::selectNumChanged);
        m.multiSelect(1);
        m.multiSelect(3);
        QCOMPARE(m.selectNum(), 2);
        m.delPubGroupMember();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 4, kWait);
        QCOMPARE(rig.server->pubGroupAuthority(g, "u0"), -1);
        QCOMPARE(rig.server->pubGroupAuthority(g, "u2"), 2);
        // The member that was selected below stays selected under its new
        // row; nobody else is.
        QCOMPARE(m.selectNum(), 1);
        QCOMPARE(count.count(), 3);
        QCOMPARE(m.get().value("accId").toString(), QString("u2"));
        QCOMPARE(m.index(2).data(Role::SelectedRole).toBool(), true);
        QCOMPARE(m.index(1).data(Role::SelectedRole).toBool(), false);
        QCOMPARE(m.getSelectData().value("userIds").toStringList(), QStringList{"u2"});
        // The header on the same facade loads again.
        QTRY_COMPARE_WITH_TIMEOUT(reloads.count(), 1, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(header.userInfo().value("totalNum").toInt(), 4, kWait);
    }

    void selectionRules()
    {
        MemberRig rig;
        const int g = rig.groupWith(2);
        PubGroupUserModel m;
        QAbstractItemModelTester tester(&m);
        QVERIFY(!m.isAll());
        m.allSelect();
        QVERIFY(!m.isAll());
        QCOMPARE(m.get(), QVariantMap());
        QCOMPARE(m.getSelectData().value("userIds").toStringList(), QStringList());
        openDialog(m, rig, g);
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 3, kWait);

        m.allSelect();
        QVERIFY(m.isAll());
        QCOMPARE(m.getSelectData().value("userIds").toStringList(), (QStringList{"me", "u0", "u1"}));
        m.allSelect();
        QCOMPARE(m.selectNum(), 0);
        QVERIFY(!m.isCheck());

        m.singleSelect(1);
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        QSignalSpy num(&m, &PubGroupUserModel::selectNumChanged);
        QSignalSpy all(&m, &PubGroupUserModel::isAllChanged);
        QSignalSpy check(&m, &PubGroupUserModel::isCheckChanged);
        m.singleSelect(1, true);   // right click on the selected row
        QCOMPARE(changed.count() + num.count() + all.count() + check.count(), 0);
        QCOMPARE(m.selectNum(), 1);
        m.singleSelect(1);         // click again: deselected
        QCOMPARE(m.selectNum(), 0);
        m.singleSelect(2);
        const QVariantMap one = m.get();
        QCOMPARE(one.value("accId").toString(), QString("u1"));
        QCOMPARE(one.value("markName").toString(), QString("User 1"));
        QCOMPARE(one.value("memberAuthority").toInt(), 2);
        QVERIFY(one.contains("createTime"));
        m.singleSelect(-1);
        QCOMPARE(m.selectNum(), 0);
    }

    void pickerListsUsersNotYetMembers()
    {
        MemberRig rig;
        const int g = rig.groupWith(1);
        rig.server->addDeviceUser("n1", "New 1", "p1");
        rig.server->addDeviceUser("n2", "New 2", "p2");
        PubGroupUserModel picker;
        QAbstractItemModelTester tester(&picker);
        picker.setTw(rig.device);
        picker.setGroupId(g);
        QCOMPARE(picker.userType(), 2);
        picker.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(picker.rowCount(), 2, kWait);
        QCOMPARE(nameAt(picker, 0), QString("New 1"));
        picker.multiSelect(1);
        picker.multiSelect(0);
        QCOMPARE(picker.getSelectData().value("userIds").toStringList(), (QStringList{"n1", "n2"}));
    }

    void failedListAndForeignAnswers()
    {
        MemberRig rig;
        rig.groupWith(1);
        PubGroupUserModel m;
        PubGroupUserModel other;
        QAbstractItemModelTester tester(&m);
        other.setTw(rig.device);
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        QSignalSpy otherState(&other, &BaseModel::sg_DefaultStateChange);
        openDialog(m, rig, 4242);   // no such group
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 1, kWait);
        QCOMPARE(state.first().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Error);
        QVERIFY(!state.first().at(1).toString().isEmpty());
        QCOMPARE(m.rowCount(), 0);
        QTest::qWait(100);
        QCOMPARE(otherState.count(), 0);
    }
};

TW_TEST_MAIN(TestPubGroupUserModel)
#include "tst_pubgroupusermodel.moc"
