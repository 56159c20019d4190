// Every list model that drops answers by request generation, against a
// device whose pages come late: a reset while that page is on its way
// leaves no loading flag on the old request, and the late answer, dropped,
// still closes the busy overlay it raised.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <functional>

#include <QAbstractItemModelTester>

#include "browser/dirlistmodel.h"
#include "core/common.h"
#include "media/composelistmodel.h"
#include "media/grouplistmodel.h"
#include "sharing/extlinklistmodel.h"
#include "sharing/pubfilelistmodel.h"
#include "sharing/pubgroupmodel.h"
#include "sharing/sharealluserfilemodel.h"
#include "tests/sharing/sharingrig.h"
#include "transfer/smartdownfinishmodel.h"

namespace {

constexpr int kSlowMs = 1500;

// The overlay as a page keeps it: show and hide nest.
struct Overlay
{
    int shown = 0;
    int hidden = 0;
    int depth() const { return shown - hidden; }
    void watch(BaseModel* m)
    {
        QObject::connect(m, &BaseModel::sg_showLoading, [this] { ++shown; });
        QObject::connect(m, &BaseModel::sg_cancelLading, [this] { ++hidden; });
    }
};

struct Steps
{
    std::function<void()> fetch;      // what the view does for the first page
    std::function<void()> refresh;    // what the page's Refresh does
    std::function<bool()> loading;
    std::function<int()> rows;
};

} // namespace

class TestStaleAnswers : public QObject
{
    Q_OBJECT
    std::unique_ptr<SharingRig> m_rig;

    // The first page is slow; Refresh comes while it is on its way and the
    // new listing is asked at once. rows: what the new listing holds.
    void refreshDuringSlowFirstPage(BaseModel* model, const char* command, const Steps& s, int rows)
    {
        // Both answers are slow: the stale one comes while the new one is
        // still on its way.
        m_rig->server->delayAnswer(kSlowMs, 2, command);
        Overlay overlay;
        overlay.watch(model);
        // The tester asks for the first page as a view would.
        QAbstractItemModelTester tester(model);
        s.fetch();
        QVERIFY(s.loading());
        const int firstShown = overlay.shown;
        s.refresh();
        QVERIFY2(!s.loading() || overlay.shown > firstShown, "a stale request counts as loading");
        s.fetch();
        QTRY_COMPARE_WITH_TIMEOUT(s.rows(), rows, 15000);
        // The late answer comes after the current one: when both are in,
        // no overlay and no loading flag is left.
        QTRY_COMPARE_WITH_TIMEOUT(int(m_rig->server->requestsFor(command).size()), 2, 5000);
        QTest::qWait(kSlowMs + 300);
        QTRY_COMPARE_WITH_TIMEOUT(overlay.depth(), 0, 5000);
        QVERIFY(overlay.shown >= 2);
        QVERIFY(!s.loading());
        QCOMPARE(s.rows(), rows);
    }

private slots:
    void init()
    {
        m_rig.reset(new SharingRig);
        QVERIFY(m_rig->start("ann"));
        m_rig->server->addDeviceUser("ann", "Ann");
        m_rig->server->clearRequests();
    }
    void cleanup() { m_rig.reset(); }

    void mediaLists()
    {
        for (int i = 0; i < 3; ++i)
            m_rig->server->addFile("Photos/p" + std::to_string(i) + ".jpg", "jpeg");
        {
            GroupListModel g;
            g.setModelType(Common::FT_Image);
            g.setTw(m_rig->dev.get());
            refreshDuringSlowFirstPage(&g, "getFileFromClassForDate3",
                                       {[&] { g.fetchGroup(); }, [&] { g.refreshData(); },
                                        [&] { return g.isLoading(); }, [&] { return g.loadFileNum(); }},
                                       3);
        }
        m_rig->server->clearRequests();
        ComposeListModel c;
        c.setModelType(Common::FT_Image);
        c.setTw(m_rig->dev.get());
        refreshDuringSlowFirstPage(&c, "getFileFromClassForDate3",
                                   {[&] { c.fetchMore(QModelIndex()); }, [&] { c.refreshData(); },
                                    [&] { return c.isLoading(); }, [&] { return c.rowCount(); }},
                                   3);
    }

    void folderListing()
    {
        m_rig->server->addFile("a.txt", "a");
        m_rig->server->addFile("b.txt", "b");
        DirListModel d;
        d.setTw(m_rig->dev.get());
        refreshDuringSlowFirstPage(&d, "getDirPath",
                                   {[&] { d.fetchMore(QModelIndex()); }, [&] { d.reload(); },
                                    [&] { return d.isLoading(); }, [&] { return d.rowCount(); }},
                                   2);
    }

    void groupsAndGroupFiles()
    {
        const int gId = m_rig->server->addPubGroup("Trips", "ann");
        m_rig->server->addFile("groups/" + std::to_string(gId) + "/map.txt", "map");
        {
            PubGroupModel groups;
            groups.setTw(m_rig->dev.get());
            refreshDuringSlowFirstPage(&groups, "getPubGroupList",
                                       {[&] { groups.fetchMore(QModelIndex()); }, [&] { groups.resetData(); },
                                        [&] { return groups.isLoading(); }, [&] { return groups.rowCount(); }},
                                       1);
        }
        m_rig->server->clearRequests();
        PubFileListModel files;
        files.setTw(m_rig->dev.get());
        files.setGroupInfo({{"gId", gId}, {"gName", "Trips"}, {"memberAuthority", 0}});
        refreshDuringSlowFirstPage(&files, "getPubFileList",
                                   {[&] { files.fetchMore(QModelIndex()); }, [&] { files.refreshData(); },
                                    [&] { return files.isLoading(); }, [&] { return files.rowCount(); }},
                                   1);
    }

    void sharesAndLinks()
    {
        m_rig->server->addFile("Album/cake.txt", "cake");
        m_rig->server->addDeviceUser("bob", "Bob");
        QVERIFY(m_rig->server->shareFile(m_rig->server->idForPath("Album/cake.txt"), "bob", {"ann"}));
        {
            ShareAllUserFileModel shares;
            shares.setTw(m_rig->dev.get());
            refreshDuringSlowFirstPage(&shares, "getShareFile",
                                       {[&] { shares.fetchMore(QModelIndex()); }, [&] { shares.refreshData(); },
                                        [&] { return shares.isLoading(); }, [&] { return shares.rowCount(); }},
                                       1);
        }
        m_rig->server->clearRequests();
        m_rig->server->addShareLink("link-1", "", "Holiday", "Album");
        ExtlinkListModel links;
        links.setDeviceMode(true);
        links.setTw(m_rig->dev.get());
        refreshDuringSlowFirstPage(&links, "getExternalLinkList",
                                   {[&] { links.fetchMore(QModelIndex()); }, [&] { links.resetData(); },
                                    [&] { return links.isLoading(); }, [&] { return links.rowCount(); }},
                                   1);
    }

    // The device's finished internet tasks (the failed copies refuse a
    // reset while one is on its way).
    void deviceTaskList()
    {
        m_rig->server->addBtTask("done.iso", 6, 10);
        SmartDownFinishModel done;
        done.setTw(m_rig->dev.get());
        refreshDuringSlowFirstPage(&done, "bt_GetTaskList",
                                   {[&] { done.fetchMore(QModelIndex()); }, [&] { done.refershData(); },
                                    [&] { return done.isLoading(); }, [&] { return done.rowCount(); }},
                                   1);
    }
};

TW_TEST_MAIN(TestStaleAnswers)
#include "tst_staleanswers.moc"
