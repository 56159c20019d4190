// The folder picker of the public space: groups as disks, the folders of a
// group level, and the target-folder maps handed to move and copy.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <memory>

#include "browser/treefathermodel.h"
#include "browser/treemodel.h"
#include "core/twfolderinfo.h"
#include "device/tidewelldevice.h"
#include "tests/transfer/taskrig.h"

class TestTreeModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TaskRig> m_rig;

private slots:
    void init()
    {
        m_rig.reset(new TaskRig);
        QVERIFY(m_rig->start("dev"));
    }

    void cleanup()
    {
        m_rig.reset();
    }

    void groupsAsDisks()
    {
        m_rig->server->setCommandAnswer("getPubGroupList", R"({"result":1,"data":{"listPath":[
            {"id":3,"name":"family","ower":"acc1","memberAuthority":0,"diskSerial":"S1"},
            {"id":8,"name":"club","ower":"acc2","memberAuthority":2,"diskSerial":"S2"}]}})");
        TreeFatherModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_rig->dev.get());
        TreeFatherModel other;   // same facade: its answer is not ours
        other.setTw(m_rig->dev.get());
        QVERIFY(m.loadGroups());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 2, 15000);
        QCOMPARE(other.rowCount(), 0);
        QCOMPARE(m.data(m.index(1), TreeFatherModel::DiskNameRole).toString(), QString("club"));
        const TwFolderInfo f = TwFolderInfo::fromVariantMap(m.folder(1));
        QCOMPARE(f.diskType, 3);
        QCOMPARE(f.groupId, 8);
        QCOMPARE(f.fid, 0);
        QCOMPARE(f.serialNo, QString("S2"));
        QVERIFY(m.folder(2).isEmpty());
    }

    void foldersOfAGroupLevel()
    {
        m_rig->server->addFolder("groups/3/photos");
        const qint64 docs = m_rig->server->addFolder("groups/3/docs");
        m_rig->server->addFile("groups/3/readme.txt", "r");
        m_rig->server->addFolder("groups/3/docs/2024");
        TreeModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_rig->dev.get());
        PubGroupInfo g;
        g.gId = 3;
        g.diskSerial = "S1";
        m.setParentFolder(TreeFatherModel::groupFolder(g));
        QVERIFY(m.canFetchMore(QModelIndex()));
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 2, 15000);   // folders only
        QVERIFY(!m.canFetchMore(QModelIndex()));
        QCOMPARE(m.data(m.index(0), TreeModel::FolderNameRole).toString(), QString("docs"));
        const TwFolderInfo f = TwFolderInfo::fromVariantMap(m.folder(0));
        QCOMPARE(f.fid, int(docs));
        QCOMPARE(f.groupId, 3);
        QCOMPARE(f.diskType, 3);
        QCOMPARE(f.serialNo, QString("S1"));

        // One level down.
        m.setParentFolder(m.folder(0));
        QCOMPARE(m.rowCount(), 0);
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 1, 15000);
        QCOMPARE(m.data(m.index(0), TreeModel::FolderNameRole).toString(), QString("2024"));
    }

    // A device that answers every offset with the same full page: each
    // folder shows once and the picker stops asking.
    void repeatedPageShowsEachFolderOnce()
    {
        QStringList items;
        for (int i = 0; i < 60; ++i)
            items << QString(R"({"id":%1,"name":"d%1","isFile":%2})").arg(700 + i).arg(i % 2 ? "true" : "false");
        m_rig->server->setCommandAnswer(
            "getPubFileList", QString(R"({"result":1,"data":{"listPath":[%1]}})").arg(items.join(',')).toStdString());
        TreeModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_rig->dev.get());
        PubGroupInfo g;
        g.gId = 4;
        m.setParentFolder(TreeFatherModel::groupFolder(g));
        // A view that keeps asking.
        for (int i = 0; i < 8; ++i) {
            m.fetchMore(QModelIndex());
            QTest::qWait(150);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m.canFetchMore(QModelIndex()), 5000);
        QCOMPARE(m.rowCount(), 30);
        QCOMPARE(int(m_rig->server->requestsFor("getPubFileList").size()), 2);
    }
};

TW_TEST_MAIN(TestTreeModel)
#include "tst_treemodel.moc"
