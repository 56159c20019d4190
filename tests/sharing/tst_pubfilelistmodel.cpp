// A public group's folder against the test device: paging, selection,
// renames, deletes, moves and copies that change exactly the rows asked
// for, and the download hand-over.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>

#include "core/common.h"
#include "core/twfolderinfo.h"
#include "core/utils.h"
#include "sharing/pubfilelistmodel.h"
#include "tests/pageorder.h"
#include "tests/sharing/sharingrig.h"

class TestPubFileListModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<SharingRig> m_rig;
    int m_group = 0;
    std::string m_top;

    struct Model
    {
        std::unique_ptr<PubFileListModel> m;
        std::unique_ptr<QAbstractItemModelTester> tester;
        PubFileListModel* operator->() { return m.get(); }
    };

    Model model(int groupId, int authority = 0, const QVariantMap& my = QVariantMap())
    {
        Model out;
        out.m.reset(new PubFileListModel);
        out.tester.reset(new QAbstractItemModelTester(out.m.get()));
        PubGroupInfo g;
        g.gId = groupId;
        g.gName = "G";
        g.diskSerial = "disk-1";
        g.memberAuthority = authority;
        out.m->setGroupInfo(g.toMap());
        if (!my.isEmpty())
            out.m->setMy(my);
        out.m->setTw(m_rig->dev.get());
        return out;
    }
    void files(int n, const std::string& folder = std::string())
    {
        for (int i = 0; i < n; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "f%03d.txt", i);
            m_rig->server->addFile(m_top + (folder.empty() ? "" : "/" + folder) + "/" + name, "x");
        }
    }
    static void load(Model& m, int rows)
    {
        m->fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m->rowCount(), rows, 15000);
        QTRY_VERIFY(!m->isLoading());
    }
    std::vector<int> offsets()
    {
        std::vector<int> out;
        for (const auto& d : m_rig->sent("getPubFileList"))
            out.push_back(d["offset"].asInt());
        return out;
    }

private slots:
    void init()
    {
        m_rig.reset(new SharingRig);
        QVERIFY(m_rig->start("ann"));
        m_group = m_rig->server->addPubGroup("G", "ann");
        m_top = "groups/" + std::to_string(m_group);
    }

    void cleanup() { m_rig.reset(); }

    void pagesOf130Items()
    {
        files(130);
        Model m = model(m_group);
        QSignalSpy busy(m.m.get(), &BaseModel::sg_showLoading);
        load(m, 60);
        m->fetchMore(QModelIndex());
        QTRY_COMPARE(m->rowCount(), 120);
        m->fetchMore(QModelIndex());
        QTRY_COMPARE(m->rowCount(), 130);
        QTRY_VERIFY(!m->canFetchMore(QModelIndex()));
        QCOMPARE(offsets(), (std::vector<int>{0, 60, 120}));
        QCOMPARE(busy.count(), 1);
        QCOMPARE(m->fileNum(), 130);
        QCOMPARE(m->loadFileNum(), 130);
        const auto last = m_rig->sent("getPubFileList").back();
        QCOMPARE(last["groupId"].asInt(), m_group);
        QCOMPARE(last["condition"].asInt(), 3);
        QCOMPARE(last["isDir"].asBool(), false);

        const QModelIndex first = m->index(0);
        QCOMPARE(first.data(BaseListModel::FileNameRole).toString(), QString("f000.txt"));
        QCOMPARE(first.data(BaseListModel::FileSizeRole).toString(), QString("1 B"));
        QCOMPARE(first.data(BaseListModel::FileIconRole).toInt(), int(getMediaType("txt")));
        QVERIFY(!first.data(BaseListModel::FileIdRole).isValid());
        QCOMPARE(m->roleNames().value(BaseListModel::SelectedRole), QByteArray("$Selected"));
    }

    void twoModelsKeepTheirOwnAnswers()
    {
        const int other = m_rig->server->addPubGroup("H", "ann");
        files(3);
        m_rig->server->addFolder("groups/" + std::to_string(other) + "/only");
        Model a = model(m_group);
        Model b = model(other);
        a->fetchMore(QModelIndex());
        b->fetchMore(QModelIndex());
        QTRY_COMPARE(a->rowCount(), 3);
        QTRY_COMPARE(b->rowCount(), 1);
        QTest::qWait(100);
        QCOMPARE(a->rowCount(), 3);
        QCOMPARE(b->index(0).data(BaseListModel::FileSizeRole).toString(), QString("--"));
        QCOMPARE(b->index(0).data(BaseListModel::FileIconRole).toInt(), 5);

        // A facade set again, or replaced and set back, answers once.
        TestOwner otherOwner("ann");
        TidewellDevice otherDev(&otherOwner);
        a->setTw(&otherDev);
        a->setTw(m_rig->dev.get());
        a->setTw(m_rig->dev.get());
        QSignalSpy inserted(a.m.get(), &QAbstractItemModel::rowsInserted);
        a->newFolder("once");
        QTRY_COMPARE(inserted.count(), 1);
        QTest::qWait(200);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(a->rowCount(), 4);
    }

    // The sort changed while the first page was on its way (the page
    // answers the switch with refreshData): the rows shown are those asked
    // after the change, whichever answer comes first.
    void sortChangeDuringTheFirstLoad_data()
    {
        answerOrderRows();
    }

    void sortChangeDuringTheFirstLoad()
    {
        QFETCH(bool, oldAnswerFirst);
        Model m = model(m_group);
        sortChangeWhileLoading(*m_rig, *m.m, "getPubFileList", oldAnswerFirst);
    }

    void failedPageAndSearch()
    {
        files(2);
        m_rig->server->addFile(m_top + "/deep/report.doc", "r");
        Model m = model(m_group);
        QSignalSpy state(m.m.get(), &BaseModel::sg_DefaultStateChange);
        m_rig->server->queueCommandAnswer("getPubFileList", R"({"result":0,"message":"disk asleep"})");
        m->fetchMore(QModelIndex());
        QTRY_COMPARE(state.count(), 1);
        QCOMPARE(state.at(0).at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Error);
        QCOMPARE(state.at(0).at(1).toString(), QString("disk asleep"));
        QVERIFY(!m->isLoading());
        // The failed page leaves the list able to load again.
        m->refreshData();
        load(m, 3);

        // An empty page ends paging even when the total says more.
        Model e = model(m_group);
        m_rig->server->queueCommandAnswer("getPubFileList",
            R"({"result":1,"data":{"offset":0,"totalNum":500,"listPath":[]}})");
        e->fetchMore(QModelIndex());
        QTRY_VERIFY(!e->canFetchMore(QModelIndex()));
        QCOMPARE(e->rowCount(), 0);

        Model s = model(m_group);
        s->setKeyword("REPORT");
        QVERIFY(s->isSearch());
        load(s, 1);
        QCOMPARE(s->index(0).data(BaseListModel::FileNameRole).toString(), QString("report.doc"));
    }

    void renameKeepsTheSuffix_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isFile");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("sent");
        QTest::newRow("file") << "a.txt" << true << "b" << "b.txt";
        QTest::newRow("folder with a dot") << "x.y" << false << "z" << "z";
        QTest::newRow("dot first") << ".env" << true << "e" << "e";
        QTest::newRow("two dots") << "a.tar.gz" << true << "b" << "b.gz";
    }

    void renameKeepsTheSuffix()
    {
        QFETCH(QString, name);
        QFETCH(bool, isFile);
        QFETCH(QString, newName);
        QFETCH(QString, sent);
        const std::string rel = m_top + "/" + name.toStdString();
        const qint64 id = isFile ? m_rig->server->addFile(rel, "x") : m_rig->server->addFolder(rel);
        m_rig->server->addFile(m_top + "/zz.txt", "z");
        Model m = model(m_group);
        load(m, 2);
        const int row = m->rows().at(0).id == id ? 0 : 1;
        m->singleSelect(row);
        m->fileRename(newName);
        m->singleSelect(1 - row);   // the user moves on before the answer
        QTRY_COMPARE(m->rows().at(row).name, sent);
        QCOMPARE(m->rows().at(1 - row).name, m->rows().at(1 - row).id == id ? sent : QString("zz.txt"));
        QCOMPARE(m_rig->sent("modifyPubDirOrFile").at(0)["newFileName"].asString(), sent.toStdString());
        QCOMPARE(m_rig->server->pathForId(id), m_top + "/" + sent.toStdString());
        QCOMPARE(m->selectNum(), 0);
    }

    void deleteLowersCountsAndReloadsWhenFewAreLeft()
    {
        files(100);
        Model m = model(m_group);
        load(m, 60);
        // A next page the tester asks for meanwhile is counted after the delete.
        m_rig->server->delayAnswer(1000, 1, "getPubFileList");
        QSignalSpy resets(m.m.get(), &QAbstractItemModel::modelReset);
        m->singleSelect(0);
        m->multiSelect(5);
        m->multiSelect(59);
        m->fileDelete();
        QTRY_COMPARE(m->fileNum(), 97);
        QCOMPARE(m->selectNum(), 0);
        QVERIFY(!m_rig->exists(m_top + "/f005.txt"));
        // 57 rows stay (the tester may ask for the rest as a view would).
        QTest::qWait(1500);
        QCOMPARE(m->fileNum(), 97);
        QVERIFY(m->rowCount() >= 57);
        QCOMPARE(resets.count(), 0);
        for (const TwFileInfo& f : m->rows())
            QVERIFY(f.name != "f000.txt" && f.name != "f005.txt" && f.name != "f059.txt");
        QCOMPARE(m_rig->sent("deletePubDirOrFile").at(0)["fileIds"].size(), 3u);

        // 30 of 60 loaded go: 30 rows left of 67, the list starts again. A
        // next page asked meanwhile comes late and is not taken for the first.
        Model n = model(m_group);
        load(n, 60);
        m_rig->server->delayAnswer(3000, 1, "getPubFileList");
        QSignalSpy nResets(n.m.get(), &QAbstractItemModel::modelReset);
        QStringList gone;
        for (int i = 0; i < 30; ++i) {
            n->multiSelect(i);
            gone << n->rows().at(i).name;
        }
        n->fileDelete();
        QTRY_VERIFY(nResets.count() >= 1);
        QTRY_COMPARE_WITH_TIMEOUT(n->rowCount(), 60, 15000);
        QTest::qWait(3500);
        QCOMPARE(n->rowCount(), 60);
        QCOMPARE(n->fileNum(), 67);
        for (const TwFileInfo& f : n->rows())
            QVERIFY2(!gone.contains(f.name), qPrintable(f.name));

        // Nothing selected: nothing sent.
        n->fileDelete();
        QTest::qWait(50);
        QCOMPARE(m_rig->count("deletePubDirOrFile"), 2);
    }

    void deleteWithAllLoaded()
    {
        files(32);
        Model m = model(m_group);
        load(m, 32);
        QSignalSpy resets(m.m.get(), &QAbstractItemModel::modelReset);
        m->multiSelect(1);
        m->multiSelect(2);
        m->multiSelect(3);
        m->fileDelete();
        QTRY_COMPARE(m->rowCount(), 29);
        QCOMPARE(m->fileNum(), 29);
        QTest::qWait(100);
        QCOMPARE(resets.count(), 0);
    }

    void partialMoveRemovesExactlyTheMovedRows()
    {
        files(6);
        const qint64 target = m_rig->server->addFolder(m_top + "/target");
        m_rig->server->addFile(m_top + "/target/f003.txt", "already here");
        Model m = model(m_group);
        load(m, 7);   // target, f000 ... f005
        QSignalSpy toast(m.m.get(), &BaseModel::sg_notifyStatus);
        for (int row : {1, 2, 4, 5})   // f000, f001, f003, f004: the third is refused
            m->multiSelect(row);
        const qint64 refused = m->rows().at(4).id;
        m->fileMove(target, "disk-1");
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(1).toString(), QString("the target holds this name"));
        QCOMPARE(toast.at(0).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(m->rowCount(), 5);
        QCOMPARE(m->fileNum(), 5);
        QCOMPARE(m->selectNum(), 0);
        QStringList names;
        for (const TwFileInfo& f : m->rows())
            names << f.name;
        QCOMPARE(names, (QStringList{"target", "f002.txt", "f003.txt", "f004.txt", "f005.txt"}));
        QCOMPARE(m->rows().at(2).id, refused);
        QCOMPARE(m_rig->count("moviePubDirOrFile"), 3);
        QVERIFY(m_rig->exists(m_top + "/target/f001.txt"));
    }

    void copyGoesByTargetDisk()
    {
        files(2);
        m_rig->server->addFolder("samba/share");
        const qint64 home = m_rig->server->addFolder("home");
        Model m = model(m_group, 2);   // browsing is enough to copy out
        QVERIFY(!m->isAuth());
        load(m, 2);
        QSignalSpy toast(m.m.get(), &BaseModel::sg_notifyStatus);

        TwFolderInfo samba;
        samba.diskType = 2;
        samba.filePath = "/share";
        samba.serialNo = "sn-s";
        m->singleSelect(0);
        m->fileCopyTo(samba.toVariantMap());
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(1).toString(), QString("Copying file"));
        QCOMPARE(m->selectNum(), 0);
        const auto peripheral = m_rig->sent("copyPubToPeripheral");
        QCOMPARE(int(peripheral.size()), 1);
        QCOMPARE(peripheral[0]["isSamba"].asBool(), true);
        QCOMPARE(peripheral[0]["groupId"].asInt(), m_group);
        QVERIFY(m_rig->exists("samba/share/f000.txt"));

        TwFolderInfo personal;
        personal.diskType = 0;
        personal.fid = int(home);
        m->singleSelect(1);
        m->fileCopyTo(personal.toVariantMap());
        QTRY_COMPARE(toast.count(), 2);
        QCOMPARE(m_rig->count("movieFileToPerson"), 1);
        QVERIFY(m_rig->exists("home/f001.txt"));
    }

    void downloadHandOver()
    {
        files(3);
        QList<TwFileInfo> handed;
        int kind = -1;
        bool accept = true;
        TidewellDevice* dev = m_rig->dev.get();
        dev->setDownFilesHandler([&, dev](TW_HANDLE h, const QString&, const QList<TwFileInfo>& items, int type) {
            if (!accept)
                return false;
            handed = items;
            kind = type;
            emit dev->rAddDownFiles(h, true);
            return true;
        });
        Model m = model(m_group);
        Model other = model(m_group);
        load(m, 3);
        QSignalSpy toast(m.m.get(), &BaseModel::sg_notifyStatus);
        QSignalSpy otherToast(other.m.get(), &BaseModel::sg_notifyStatus);
        QSignalSpy shown(m_rig->owner.get(), &TestOwner::sg_showLoading);
        QSignalSpy closed(m_rig->owner.get(), &TestOwner::sg_cancelLading);

        m->fileDownload("/tmp/x");
        QCOMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(1).toString(), QString("not selected item."));
        QCOMPARE(toast.at(0).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Info);

        m->multiSelect(2);
        m->multiSelect(0);
        m->fileDownload("/tmp/x");
        QTRY_COMPARE(toast.count(), 2);
        QCOMPARE(toast.at(1).at(0).toInt(), -1);
        QCOMPARE(toast.at(1).at(1).toString(), QString("Already added to download"));
        QCOMPARE(toast.at(1).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Info);
        QCOMPARE(kind, 6);
        QCOMPARE(handed.size(), 2);
        QCOMPARE(handed.at(0).name, QString("f000.txt"));   // row order
        QCOMPARE(m->selectNum(), 0);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(otherToast.count(), 0);

        accept = false;
        m->singleSelect(1);
        m->fileDownload("/tmp/x");
        QTRY_COMPARE(toast.count(), 3);
        QCOMPARE(toast.at(2).at(0).toInt(), 303);
        QCOMPARE(toast.at(2).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(m->selectNum(), 1);
        QCOMPARE(closed.count(), 2);
    }

    void newFolderAndPlaces()
    {
        files(1);
        const qint64 sub = m_rig->server->addFolder(m_top + "/sub");
        Model m = model(m_group);
        load(m, 2);
        m->newFolder("");
        QTest::qWait(50);
        QCOMPARE(m_rig->count("createPubDir"), 0);
        m->singleSelect(1);
        m->newFolder("fresh");
        QTRY_COMPARE(m->rowCount(), 3);
        QCOMPARE(m->rows().at(0).name, QString("fresh"));
        QCOMPARE(m->rows().at(0).isFile, false);
        QCOMPARE(m->rows().at(0).groupId, m_group);
        QCOMPARE(m_rig->server->pathForId(m->rows().at(0).id), m_top + "/fresh");
        QCOMPARE(m->fileNum(), 3);
        QCOMPARE(m->selectNum(), 0);

        // Where things go and what opens.
        QCOMPARE(m->parentModel().value("upPath").toString(), QString("/G"));
        QCOMPARE(m->parentModel().value("diskType").toInt(), 3);
        QSignalSpy open(m.m.get(), &PubFileBaseModel::openFolder);
        const int subRow = m->rows().at(1).id == sub ? 1 : 2;
        m->openFileItem(subRow);
        QCOMPARE(open.count(), 1);
        QVariantMap folder = open.at(0).at(0).toMap();
        QCOMPARE(folder.value("upPath").toString(), QString());
        Model inner = model(m_group, 1, folder);
        QVERIFY(inner->isAuth());
        QCOMPARE(inner->parentModel().value("upPath").toString(), QString("/G/sub"));
        QCOMPARE(inner->parentModel().value("fid").toLongLong(), sub);
        m_rig->server->addFile(m_top + "/sub/in.jpg", "j");
        load(inner, 1);
        QSignalSpy innerOpen(inner.m.get(), &PubFileBaseModel::openFolder);
        inner->openFileItem(0);
        QCOMPARE(innerOpen.at(0).at(0).toMap().value("upPath").toString(), QString("/sub"));
        QCOMPARE(inner->get(-1), QVariantMap());
        inner->singleSelect(0);
        QCOMPARE(inner->get(-1).value("type").toInt(), int(Common::MT_Image));
        QList<TwFileInfo> pics;
        QCOMPARE(inner->itemsOfKind(pics, Common::MT_Image), 1);
    }
};

TW_TEST_MAIN(TestPubFileListModel)
#include "tst_pubfilelistmodel.moc"
