// The file-list base: selection, view state, rows of a kind, and file
// operations answered by the test device through the facade.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <QJSEngine>
#include <memory>

#include "browser/filelistmodel.h"
#include "browser/treefathermodel.h"
#include "core/common.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"
#include "tests/transfer/taskrig.h"
#include "transfer/thumbinfo.h"

static TwFileInfo file(qint64 id, const QString& name, bool isFile = true)
{
    TwFileInfo f;
    f.id = id;
    f.name = name;
    f.isFile = isFile;
    f.fileType();
    return f;
}

class TestFileListModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TaskRig> m_rig;

    void fill(FileListModel& m)
    {
        m.appendItems({file(1, "a.jpg"), file(2, "b.mp4"), file(3, "docs", false),
                       file(4, "c.png"), file(5, "d.txt")});
    }

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

    void selectionRules()
    {
        FileListModel m;
        QAbstractItemModelTester tester(&m);
        fill(m);
        QCOMPARE(m.loadFileNum(), 5);
        QVERIFY(!m.isAll());
        QVERIFY(!m.isCheck());

        m.singleSelect(1);
        QCOMPARE(m.selectNum(), 1);
        QCOMPARE(m.currentSelected(), 1);
        // A right click on a row inside the selection keeps the selection.
        m.multiSelect(3);
        m.singleSelect(3, true);
        QCOMPARE(m.selectNum(), 2);
        // A plain click selects that row only.
        m.singleSelect(3);
        QCOMPARE(m.selectNum(), 1);
        QCOMPARE(m.data(m.index(3), BaseListModel::SelectedRole).toBool(), true);
        QCOMPARE(m.data(m.index(1), BaseListModel::SelectedRole).toBool(), false);

        m.allSelect();
        QVERIFY(m.isAll());
        QVERIFY(!m.selectIsFiles());   // a folder is in it
        m.allSelect();
        QCOMPARE(m.selectNum(), 0);
        m.multiSelect(0);
        m.multiSelect(3);
        QVERIFY(m.selectIsFiles());
        QCOMPARE(m.getSelectFolderIds().size(), 0);
        m.multiSelect(99);   // outside the rows: nothing
        QCOMPARE(m.selectNum(), 2);
    }

    void rowsOfAKindAndViewState()
    {
        FileListModel m;
        QAbstractItemModelTester tester(&m);
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        m.updateViewState(0);
        QCOMPARE(state.last().at(0).toInt(), int(BaseModel::DS_Empty));
        fill(m);
        QList<TwFileInfo> out{file(9, "x.jpg")};
        QCOMPARE(m.itemsOfKind(out, Common::MT_Image), 3);
        QCOMPARE(out.at(1).id, 1);
        QCOMPARE(out.at(2).id, 4);
        m.multiSelect(2);
        m.updateViewState(0);
        QCOMPARE(m.selectNum(), 0);
        QCOMPARE(state.last().at(0).toInt(), int(BaseModel::DS_None));
        // Without a thumbnail service a picture shows its type icon.
        QCOMPARE(m.data(m.index(0), BaseListModel::FileThumbUrlRole).toUrl(),
                 getFileTypeIcon(Common::MT_Image));
        QCOMPARE(m.roleNames().value(263), QByteArray("$FileThumbUrl"));
        QCOMPARE(m.roleNames().value(273), QByteArray("$EditType"));

        m.refreshData();
        QCOMPARE(m.rowCount(), 0);
        QVERIFY(m.canFetchMore(QModelIndex()));
    }

    void deleteAnsweredByDevice()
    {
        const qint64 a = m_rig->server->addFile("p/a.jpg", "A");
        const qint64 b = m_rig->server->addFile("p/b.jpg", "B");
        m_rig->server->setCommandAnswer("deleteDirOrFile", R"({"result":1,"message":"ok"})");
        FileListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_rig->dev.get());
        FileListModel other;   // same facade, other handle
        other.setTw(m_rig->dev.get());
        other.appendItems({file(a, "a.jpg"), file(b, "b.jpg")});
        m.appendItems({file(a, "a.jpg"), file(b, "b.jpg")});
        m.multiSelect(1);
        m.fileDelete();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 1, 15000);
        QCOMPARE(m.items().at(0).id, a);
        QCOMPARE(m.selectNum(), 0);
        QCOMPARE(other.rowCount(), 2);
    }

    // The count the page shows ("n files") follows what the device removed.
    void fileCountFollowsDeleteAndMove()
    {
        m_rig->server->setCommandAnswer("deleteDirOrFile", R"({"result":1,"message":"ok"})");
        m_rig->server->setCommandAnswer("moveDirOrFile", R"({"result":1,"message":"ok"})");
        FileListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_rig->dev.get());
        fill(m);
        m.setFileNum(40);   // 5 of 40 loaded
        QSignalSpy count(&m, &BaseListModel::fileNumChanged);
        m.multiSelect(0);
        m.multiSelect(4);
        m.fileDelete();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 3, 15000);
        QCOMPARE(m.fileNum(), 38);
        QCOMPARE(m.loadFileNum(), 3);
        QVERIFY(count.count() >= 1);

        count.clear();
        m.singleSelect(1);
        m.fileMove(QVariantMap{{"fid", 9}, {"isDevice", true}});
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 2, 15000);
        QCOMPARE(m.fileNum(), 37);
        QVERIFY(count.count() >= 1);
        QCOMPARE(m.items().at(0).id, 2);
        QCOMPARE(m.items().at(1).id, 4);
    }

    // Ctrl-click on a selected row takes only that row out of the selection.
    void ctrlClickDeselects()
    {
        FileListModel m;
        QAbstractItemModelTester tester(&m);
        fill(m);
        m.multiSelect(1);
        m.multiSelect(3);
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        m.multiSelect(1);
        QCOMPARE(m.selectNum(), 1);
        QVERIFY(!m.data(m.index(1), BaseListModel::SelectedRole).toBool());
        QVERIFY(m.data(m.index(3), BaseListModel::SelectedRole).toBool());
        QVERIFY(!changed.isEmpty());
        QCOMPARE(m.selectedItems().size(), 1);
        QCOMPARE(m.selectedItems().at(0).id, 4);
        m.multiSelect(3);
        QCOMPARE(m.selectNum(), 0);
        QVERIFY(!m.isCheck());
    }

    void refusedDeleteKeepsRowsAndTells()
    {
        m_rig->server->setCommandAnswer("deleteDirOrFile", R"({"result":0,"errCode":7,"message":"busy"})");
        FileListModel m;
        m.setTw(m_rig->dev.get());
        m.appendItems({file(1, "a.jpg")});
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        m.multiSelect(0);
        m.fileDelete();
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 15000);
        QCOMPARE(toast.at(0).at(1).toString(), QString("busy"));
        QCOMPARE(m.rowCount(), 1);
    }

    void sharingMarksTheSharedRows()
    {
        m_rig->server->setCommandAnswer("shareFileToUsers", R"({"result":1,"message":"ok"})");
        m_rig->server->setCommandAnswer("shareFileToCancel", R"({"result":1,"message":"ok"})");
        FileListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_rig->dev.get());
        m.appendItems({file(11, "a.jpg"), file(12, "b.jpg"), file(13, "c.jpg")});
        QJSEngine js;
        QJSValue data = js.newObject();
        data.setProperty("isPublic", false);
        data.setProperty("accessIds", js.toScriptValue(QVariantList{"u1", "u2"}));
        m.multiSelect(2);
        m.multiSelect(0);
        m.fileSharing(data);
        QTRY_VERIFY_WITH_TIMEOUT(m.data(m.index(2), BaseListModel::FileIsShareRole).toBool(), 15000);
        QVERIFY(m.data(m.index(0), BaseListModel::FileIsShareRole).toBool());
        QVERIFY(!m.data(m.index(1), BaseListModel::FileIsShareRole).toBool());
        QCOMPARE(m.items().at(0).publicType, 2);
        const auto reqs = m_rig->server->requestsFor("shareFileToUsers");
        QCOMPARE(int(reqs.size()), 1);
        QVERIFY(QString::fromStdString(reqs[0].body).contains("\"u2\""));

        m.multiSelect(0);
        m.fileCancelShare();
        QTRY_VERIFY_WITH_TIMEOUT(!m.data(m.index(0), BaseListModel::FileIsShareRole).toBool(), 15000);
        QVERIFY(m.data(m.index(2), BaseListModel::FileIsShareRole).toBool());
    }

    void thumbCacheNames()
    {
        ThumbInfo t(Common::MT_Image, "dev1");
        t.setSmall(42, "acc", "", 0);
        QCOMPARE(t.cacheFilePath("/r/thumbs"), QString("/r/thumbs/small/dev1_42_1"));
        t.toMedium();
        QCOMPARE(t.cacheFilePath("/r/thumbs"), QString("/r/thumbs/medium/dev1_42_3"));
        t.toOriginal();
        QCOMPARE(t.cacheFilePath("/r/thumbs"), QString("/r/thumbs/original/dev1_42_2"));
        // Each version of the picture (its MD5) has its own thumbnail.
        t.setSmall(42, "acc", "md5", 0);
        QCOMPARE(t.cacheFilePath("/r/thumbs"), QString("/r/thumbs/small/dev1_42_md5_1"));
        t.toMedium();
        QCOMPARE(t.cacheFilePath("/r/thumbs"), QString("/r/thumbs/medium/dev1_42_md5_3"));

        ThumbInfo usb(Common::MT_Image, "dev1");
        usb.isUsb = 1;
        usb.url = "/usb/x";
        usb.filePath = "/p.jpg";
        usb.toMedium();
        QCOMPARE(usb.cacheName(), "dev1_usb_" + md5String("/usb/x/p.jpg") + "_3");

        // A device id from outside never leads out of the size folder.
        ThumbInfo bad(Common::MT_Image, "../../etc");
        bad.setSmall(7, "", "", 0);
        QVERIFY(!bad.cacheName().contains('/'));
        QVERIFY(bad.cacheFilePath("/r/thumbs").startsWith("/r/thumbs/small/"));
        ThumbInfo dots(Common::MT_Image, "..");
        dots.isUsb = 1;
        dots.fileMd5 = "/..";
        QVERIFY(!dots.cacheName().contains('/'));
        QVERIFY(dots.cacheName() != "..");
    }

    void groupFolderForPicker()
    {
        PubGroupInfo g;
        g.gId = 12;
        g.gName = "team";
        g.diskSerial = "S1";
        const TwFolderInfo f = TwFolderInfo::fromVariantMap(TreeFatherModel::groupFolder(g));
        QCOMPARE(f.diskType, 3);
        QCOMPARE(f.groupId, 12);
        QCOMPARE(f.serialNo, QString("S1"));
    }
};

TW_TEST_MAIN(TestFileListModel)
#include "tst_filelistmodel.moc"
