// Lists whose answer is broken show why: the device's own message when its
// answer carried one, else what became of the answer; a count shown over the
// error view is cleared with the list.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <functional>

#include <QAbstractItemModelTester>

#include "browser/dirlistmodel.h"
#include "protocol/tidewellnet.h"
#include "sharing/pubfilelistmodel.h"
#include "sharing/pubgroupmodel.h"
#include "sharing/sharealluserfilemodel.h"
#include "tests/sharing/sharingrig.h"

namespace {

enum Fault { Status500, Malformed, Empty, Dropped };

// The error view's text as the page gets it.
struct ErrorView
{
    QString text;
    int state = 0;
    void watch(BaseModel* m)
    {
        QObject::connect(m, &BaseModel::sg_DefaultStateChange,
                         [this](BaseModel::DefalutState s, const QString& msg) {
                             state = int(s);
                             text = msg;
                         });
    }
};

} // namespace

class TestFailureTexts : public QObject
{
    Q_OBJECT
    std::unique_ptr<SharingRig> m_rig;

    void inject(Fault f, const std::string& command)
    {
        switch (f) {
        case Status500: m_rig->server->failWithStatus(500, 1, command, "storage engine failure"); break;
        case Malformed: m_rig->server->answerMalformed(1, command); break;
        case Empty: m_rig->server->answerEmpty(1, command); break;
        case Dropped: m_rig->server->dropAnswer(1, command); break;
        }
    }
    static QString expected(Fault f)
    {
        switch (f) {
        case Status500: return "storage engine failure";
        case Dropped: return TidewellNet::closedText();
        default: return TidewellNet::unreadableText();
        }
    }
    // Loads the list, then reloads it into each fault in turn: the error
    // view says why and the count is gone; the next reload shows it again.
    void eachFault(BaseModel* model, const std::string& command, const std::function<void()>& reload,
                   const std::function<int()> count, int rows)
    {
        QAbstractItemModelTester tester(model);
        ErrorView view;
        view.watch(model);
        reload();
        QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), rows, 15000);
        QCOMPARE(count(), rows);
        for (Fault f : {Status500, Malformed, Empty, Dropped}) {
            inject(f, command);
            reload();
            QTRY_COMPARE_WITH_TIMEOUT(view.state, int(BaseModel::DS_Error), 15000);
            QCOMPARE(view.text, expected(f));
            QVERIFY(view.text != "Network Error");
            QCOMPARE(model->rowCount(), 0);
            QCOMPARE(count(), 0);
            reload();
            QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), rows, 15000);
            QCOMPARE(count(), rows);
            QCOMPARE(view.state, int(BaseModel::DS_None));
        }
    }

private slots:
    void init()
    {
        m_rig.reset(new SharingRig);
        QVERIFY(m_rig->start("ann"));
        m_rig->server->addDeviceUser("ann", "Ann");
    }
    void cleanup() { m_rig.reset(); }

    void folderListing()
    {
        m_rig->server->addFile("a.txt", "a");
        m_rig->server->addFile("b.txt", "b");
        DirListModel d;
        d.setTw(m_rig->dev.get());
        eachFault(&d, "getDirPath", [&] { d.reload(); }, [&] { return d.fileNum(); }, 2);
    }

    void groupList()
    {
        for (const char* name : {"Trips", "Family", "Work"})
            m_rig->server->addPubGroup(name, "ann");
        PubGroupModel groups;
        groups.setTw(m_rig->dev.get());
        eachFault(&groups, "getPubGroupList",
                  [&] {
                      groups.resetData();
                      groups.fetchMore(QModelIndex());
                  },
                  [&] { return int(groups.totalNum()); }, 3);
    }

    void groupFiles()
    {
        const int gId = m_rig->server->addPubGroup("Trips", "ann");
        m_rig->server->addFile("groups/" + std::to_string(gId) + "/map.txt", "map");
        m_rig->server->addFile("groups/" + std::to_string(gId) + "/plan.txt", "plan");
        PubFileListModel files;
        files.setTw(m_rig->dev.get());
        files.setGroupInfo({{"gId", gId}, {"gName", "Trips"}, {"memberAuthority", 0}});
        eachFault(&files, "getPubFileList",
                  [&] {
                      files.refreshData();
                      files.fetchMore(QModelIndex());
                  },
                  [&] { return files.fileNum(); }, 2);
    }

    void shareList()
    {
        m_rig->server->addDeviceUser("bob", "Bob");
        m_rig->server->addFile("Album/cake.txt", "cake");
        QVERIFY(m_rig->server->shareFile(m_rig->server->idForPath("Album/cake.txt"), "bob", {"ann"}));
        ShareAllUserFileModel shares;
        shares.setTw(m_rig->dev.get());
        eachFault(&shares, "getShareFile",
                  [&] {
                      shares.refreshData();
                      shares.fetchMore(QModelIndex());
                  },
                  [&] { return shares.fileNum(); }, 1);
    }
};

TW_TEST_MAIN(TestFailureTexts)
#include "tst_failuretexts.moc"
