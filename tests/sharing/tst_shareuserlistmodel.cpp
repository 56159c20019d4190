// The users who share with me, paged in from a test device that holds
// real shares.
#include <QAbstractItemModelTester>

#include "sharing/shareuserlistmodel.h"
#include "tests/sharing/memberrig.h"
#include "tests/testenv.h"

using Role = ShareUserListModel::Role;
static const int kWait = 20000;

class TestShareUserListModel : public QObject
{
    Q_OBJECT
private:
    // n users who each share one file with me (s0 with "Sharer 0", ...).
    static void sharers(MemberRig& rig, int n)
    {
        for (int i = 0; i < n; ++i) {
            const std::string id = "s" + std::to_string(i);
            rig.server->addDeviceUser(id, "Sharer " + std::to_string(i), "img" + std::to_string(i));
            const std::int64_t f = rig.server->addFile(id + "/f.txt", "x");
            QVERIFY(rig.server->shareFile(f, id, {"me"}));
        }
    }
    static void fetchAll(ShareUserListModel& m)
    {
        for (int i = 0; i < 20 && m.canFetchMore(QModelIndex()); ++i) {
            const int before = m.rowCount();
            m.fetchMore(QModelIndex());
            QTRY_VERIFY_WITH_TIMEOUT(m.rowCount() > before || !m.canFetchMore(QModelIndex()), kWait);
        }
    }

private slots:
    void pagesUntilTheLastAndPicksAUser()
    {
        MemberRig rig;
        QVERIFY(rig.connected);
        sharers(rig, 5);
        rig.server->setSharePageSize(2);
        ShareUserListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(rig.device);
        QVERIFY(m.canFetchMore(QModelIndex()));
        fetchAll(m);
        QCOMPARE(m.rowCount(), 5);
        QVERIFY(!m.canFetchMore(QModelIndex()));
        QCOMPARE(rig.commandCount("getShareUserList"), 3);
        QCOMPARE(rig.lastSent("getShareUserList")["fileType"].asInt(), 2);
        QCOMPARE(m.index(4).data(Role::UserNameRole).toString(), QString("Sharer 4"));
        QCOMPARE(m.index(4).data(Role::UserHeadRole).toString(), QString("img4"));

        QSignalSpy picked(&m, &ShareUserListModel::selectData);
        m.singleSelect(2);
        m.singleSelect(2);    // again: nothing
        m.singleSelect(9);    // outside: nothing
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.first().at(0).toString(), QString("s2"));
        QCOMPARE(picked.first().at(1).toString(), QString("Sharer 2"));
        QVERIFY(m.index(2).data(Role::SelectedRole).toBool());
        m.singleSelect(-1);
        QVERIFY(!m.index(2).data(Role::SelectedRole).toBool());
        QCOMPARE(picked.count(), 1);
    }

    void onePageAsksOnce()
    {
        MemberRig rig;
        sharers(rig, 2);
        ShareUserListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(rig.device);
        m.fetchMore(QModelIndex());
        m.fetchMore(QModelIndex());   // still loading: nothing
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 2, kWait);
        QVERIFY(!m.canFetchMore(QModelIndex()));
        QCOMPARE(rig.commandCount("getShareUserList"), 1);
    }

    void failedPageAsksNoMore()
    {
        MemberRig rig;
        sharers(rig, 2);
        rig.server->setCommandAnswer("getShareUserList", R"({"result":0,"message":"busy","errCode":3})");
        ShareUserListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(rig.device);
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(rig.commandCount("getShareUserList"), 1, kWait);
        QTest::qWait(200);
        m.fetchMore(QModelIndex());
        QTest::qWait(200);
        QCOMPARE(rig.commandCount("getShareUserList"), 1);
        QCOMPARE(m.rowCount(), 0);
    }
};

TW_TEST_MAIN(TestShareUserListModel)
#include "tst_shareuserlistmodel.moc"
