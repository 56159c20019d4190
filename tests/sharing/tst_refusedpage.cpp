// A list reset while a page is on its way, the device away when the new
// listing is asked: the refused request leaves nothing loading, the late
// answer of the old listing is dropped, and scrolling asks again once the
// device is back.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>

#include "core/extlink.h"
#include "sharing/extlinkfilelistmodel.h"
#include "tests/sharing/sharingrig.h"

class TestRefusedPage : public QObject
{
    Q_OBJECT
private slots:
    void resetWhileAPageIsOnItsWayThenRefused()
    {
        SharingRig rig;
        QVERIFY(rig.start());
        rig.server->addShareLink("D2", "", "Mine", "pub/D2");
        rig.server->addFile("pub/D2/a.txt", "a");
        rig.server->addFile("pub/D2/b.txt", "b");
        rig.server->delayAnswer(1500, 1, "getExterLinkResList");
        auto asked = [&] { return int(rig.server->requestsFor("getExterLinkResList").size()); };

        ExtlinkFileListModel m;
        int overlays = 0;
        connect(&m, &BaseModel::sg_showLoading, this, [&] { ++overlays; });
        connect(&m, &BaseModel::sg_cancelLading, this, [&] { --overlays; });
        Extlink link;
        link.shareId = "D2";
        link.title = "Mine";
        m.setDeviceMode(true);
        m.setExtlinkInfo(link.toVariantMap());
        m.setTw(rig.dev.get());
        // Asks for the first page as a view would.
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(m.isLoading());
        QTRY_COMPARE_WITH_TIMEOUT(asked(), 1, 10000);

        rig.owner->allowOnline = false;
        m.refreshData();
        m.fetchMore(QModelIndex());
        QVERIFY(!m.isLoading());
        QVERIFY(m.canFetchMore(QModelIndex()));
        QCOMPARE(overlays, 1);   // the old listing's page is still on its way
        QTRY_COMPARE_WITH_TIMEOUT(overlays, 0, 15000);
        QCOMPARE(m.rowCount(), 0);
        QVERIFY(!m.isLoading());
        QCOMPARE(asked(), 1);

        rig.owner->allowOnline = true;
        QVERIFY(m.canFetchMore(QModelIndex()));
        m.fetchMore(QModelIndex());
        QVERIFY(m.isLoading());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 2, 15000);
        QVERIFY(!m.isLoading());
        QCOMPARE(asked(), 2);
        QCOMPARE(overlays, 0);
    }
};

TW_TEST_MAIN(TestRefusedPage)
#include "tst_refusedpage.moc"
