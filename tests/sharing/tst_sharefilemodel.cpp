// The share-target picker over a test device's users and user groups: who
// is offered, and the accessIds a selection stands for.
#include <QAbstractItemModelTester>
#include <QJSEngine>
#include <QQmlEngine>

#include "sharing/sharefilemodel.h"
#include "tests/sharing/memberrig.h"
#include "tests/testenv.h"

using Role = ShareFileModel::Role;
static const int kWait = 20000;

class TestShareFileModel : public QObject
{
    Q_OBJECT
private:
    static void seed(MemberRig& rig)
    {
        rig.server->addDeviceUser("me", "Me", "hme");
        rig.server->addDeviceUser("a", "Ann", "ha");
        rig.server->addDeviceUser("b", "Bob", "hb");
        rig.server->addUserGroup(7, "Family", {"me", "a"});
        rig.server->addUserGroup(8, "Work", {"b"});
    }
    static QStringList names(const ShareFileModel& m)
    {
        QStringList out;
        for (int i = 0; i < m.rowCount(); ++i)
            out << m.index(i).data(Role::UserNameRole).toString();
        return out;
    }
    static QStringList idsOf(QJSEngine& engine, ShareFileModel& m)
    {
        QJSValue v = m.getSelectData();
        engine.globalObject().setProperty("picked", v);
        if (!engine.evaluate("Array.isArray(picked.accessIds)").toBool())
            return {"<not an array>"};
        return v.property("accessIds").toVariant().toStringList();
    }

private slots:
    void signedInUserOnlyInGroups()
    {
        // The session does not name the account, so the device lists every
        // user; the picker drops the signed-in one itself.
        MemberRig rig("me", false);
        QVERIFY(rig.connected);
        seed(rig);
        ShareFileModel m;
        QAbstractItemModelTester tester(&m);
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        m.setTw(rig.device);
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 4, kWait);
        QCOMPARE(names(m), (QStringList{"Family", "Work", "Ann", "Bob"}));
        QCOMPARE(m.index(0).data(Role::UserHeadsRole).toStringList(), (QStringList{"hme", "ha"}));
        QCOMPARE(m.index(2).data(Role::UserHeadsRole).toStringList(), QStringList{"ha"});
        QCOMPARE(state.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_None);
    }

    void groupAndItsMemberGiveTheIdTwice()
    {
        MemberRig rig;
        seed(rig);
        QQmlEngine engine;
        auto* m = new ShareFileModel;
        engine.newQObject(m);
        QQmlEngine::setObjectOwnership(m, QQmlEngine::CppOwnership);
        std::unique_ptr<ShareFileModel> own(m);
        QAbstractItemModelTester tester(m);
        m->setTw(rig.device);
        m->loadData();
        QTRY_COMPARE_WITH_TIMEOUT(m->rowCount(), 4, kWait);
        QVERIFY(!m->isCheck());
        QCOMPARE(idsOf(engine, *m), QStringList());

        QSignalSpy check(m, &ShareFileModel::isCheckChanged);
        m->multiSelect(2);   // Ann
        m->multiSelect(0);   // Family: me and Ann
        m->multiSelect(9);   // outside: nothing
        QVERIFY(m->isCheck());
        QCOMPARE(check.count(), 2);
        QVERIFY(m->index(0).data(Role::SelectedRole).toBool());
        QCOMPARE(idsOf(engine, *m), (QStringList{"me", "a", "a"}));
        m->multiSelect(2);
        QCOMPARE(idsOf(engine, *m), (QStringList{"me", "a"}));
        m->clearAllSelect();
        QVERIFY(!m->isCheck());
        QCOMPARE(idsOf(engine, *m), QStringList());
    }

    void secondLoadWhileAskingSendsNothing()
    {
        MemberRig rig;
        seed(rig);
        rig.server->delayAnswer(500, 1, "getShareUserAndGroupList");
        ShareFileModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(rig.device);
        m.loadData();
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 4, kWait);
        QCOMPARE(rig.commandCount("getShareUserAndGroupList"), 1);
        // Shown again: asked again, selection gone.
        m.multiSelect(1);
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(rig.commandCount("getShareUserAndGroupList"), 2, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!m.isCheck(), kWait);
        QCOMPARE(m.rowCount(), 4);
    }

    void failureShowsTheDevicesMessage()
    {
        MemberRig rig;
        rig.server->setCommandAnswer("getShareUserAndGroupList",
                                     R"({"result":0,"message":"no users here","errCode":5})");
        ShareFileModel m;
        QAbstractItemModelTester tester(&m);
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        m.setTw(rig.device);
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 1, kWait);
        QCOMPARE(state.first().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Error);
        QCOMPARE(state.first().at(1).toString(), QString("no users here"));
        QCOMPARE(m.rowCount(), 0);
        m.loadData();   // not loading any more: asks again
        QTRY_COMPARE_WITH_TIMEOUT(rig.commandCount("getShareUserAndGroupList"), 2, kWait);
    }
};

TW_TEST_MAIN(TestShareFileModel)
#include "tst_sharefilemodel.moc"
