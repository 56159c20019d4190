// The share lists against the test device: paging by page number, who is
// asked for what, and the file operations (cancel, delete, copy, download)
// acting on the rows they named.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>

#include "core/twfolderinfo.h"
#include "core/utils.h"
#include "sharing/sharealluserfilemodel.h"
#include "sharing/sharesearchfilemodel.h"
#include "sharing/shareuserdirmodel.h"
#include "sharing/shareuserfilemodel.h"
#include "tests/pageorder.h"
#include "tests/sharing/sharingrig.h"

template <class M>
struct Attached
{
    std::unique_ptr<M> m;
    std::unique_ptr<QAbstractItemModelTester> tester;
    M* operator->() { return m.get(); }
};

class TestShareModels : public QObject
{
    Q_OBJECT
    std::unique_ptr<SharingRig> m_rig;

    template <class M>
    Attached<M> attach()
    {
        Attached<M> out;
        out.m.reset(new M);
        out.tester.reset(new QAbstractItemModelTester(out.m.get()));
        out.m->setTw(m_rig->dev.get());
        return out;
    }
    template <class M>
    static void loadAll(Attached<M>& m, int rows)
    {
        for (int i = 0; i < 10 && m->canFetchMore(QModelIndex()); ++i) {
            m->fetchMore(QModelIndex());
            QTRY_VERIFY_WITH_TIMEOUT(!m->isLoading(), 15000);
        }
        QCOMPARE(m->rowCount(), rows);
    }
    std::vector<qint64> shareFiles(const std::string& sharer, int n, const std::vector<std::string>& to = {})
    {
        std::vector<qint64> ids;
        for (int i = 0; i < n; ++i) {
            const qint64 id = m_rig->server->addFile(sharer + "/s" + std::to_string(i) + ".txt", "x");
            m_rig->server->shareFile(id, sharer, to);
            ids.push_back(id);
        }
        return ids;
    }

private slots:
    void init()
    {
        m_rig.reset(new SharingRig);
        QVERIFY(m_rig->start("ann"));
        m_rig->server->addDeviceUser("ann", "Ann", "a.png");
        m_rig->server->addDeviceUser("bob", "Bob", "b.png");
    }

    void cleanup() { m_rig.reset(); }

    void pagesByTotalPages()
    {
        m_rig->server->setSharePageSize(4);
        shareFiles("bob", 9);
        const qint64 folder = m_rig->server->addFolder("bob/album");
        m_rig->server->shareFile(folder, "bob");
        auto m = attach<ShareAllUserFileModel>();
        QSignalSpy busy(m.m.get(), &BaseModel::sg_showLoading);
        loadAll(m, 10);
        QVERIFY(!m->canFetchMore(QModelIndex()));
        QCOMPARE(busy.count(), 1);   // the first page only
        std::vector<int> pages;
        for (const auto& d : m_rig->sent("getShareFile")) {
            pages.push_back(d["pageNo"].asInt());
            QCOMPARE(d["condition"].asInt(), 5);
        }
        QCOMPARE(pages, (std::vector<int>{1, 2, 3}));
        QCOMPARE(m->fileNum(), 10);

        // Newest share first: the folder.
        const QModelIndex f = m->index(0);
        QCOMPARE(f.data(BaseListModel::FileNameRole).toString(), QString("album"));
        QCOMPARE(f.data(BaseListModel::FileSizeRole).toString(), QString("--"));
        QCOMPARE(f.data(BaseListModel::FileIconRole).toInt(), 5);
        QCOMPARE(f.data(ShareBaseModel::UserNameRole).toString(), QString("Bob"));
        QCOMPARE(f.data(ShareBaseModel::UserHeadRole).toString(), QString("b.png"));
        QCOMPARE(m->roleNames().value(270), QByteArray("$UserName"));
        QCOMPARE(m->index(1).data(BaseListModel::FileIconRole).toInt(), int(getMediaType("txt")));
        QVERIFY(!f.data(BaseListModel::FileIdRole).isValid());
        const qint64 shared = m->rows().at(0).shareTime;
        QCOMPARE(f.data(BaseListModel::FileTimeRole).toString(), formatMSecs(shared, "yyyy-MM-dd HH:mm"));
    }

    void rowTimesAndFailedPages()
    {
        auto m = attach<ShareAllUserFileModel>();
        QSignalSpy state(m.m.get(), &BaseModel::sg_DefaultStateChange);
        QSignalSpy toast(m.m.get(), &BaseModel::sg_notifyStatus);
        m_rig->server->queueCommandAnswer("getShareFile", R"({"result":0,"errCode":9,"message":"asleep"})");
        m->fetchMore(QModelIndex());
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(1).toString(), QString("asleep"));
        QCOMPARE(toast.at(0).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(state.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Error);
        QCOMPARE(state.last().at(1).toString(), QString("asleep"));
        QVERIFY(!m->isLoading());
        // Paging stops: a view that keeps asking sends nothing more.
        QVERIFY(!m->canFetchMore(QModelIndex()));
        for (int i = 0; i < 5; ++i)
            m->fetchMore(QModelIndex());
        QTest::qWait(200);
        QCOMPARE(m_rig->count("getShareFile"), 1);

        // A refresh asks again; a share time of 0 shows the creation time.
        m_rig->server->queueCommandAnswer("getShareFile", R"({"result":1,"data":{"totalPages":1,"pageNo":1,
            "totalNum":1,"listPath":[{"id":5,"name":"a.txt","isFile":true,"createTime":1600000000000,
            "shareTime":0}]}})");
        m->refreshData();
        m->fetchMore(QModelIndex());
        QTRY_COMPARE(m->rowCount(), 1);
        QCOMPARE(m->index(0).data(BaseListModel::FileTimeRole).toString(),
                 formatMSecs(1600000000000LL, "yyyy-MM-dd HH:mm"));

        // An empty page ends paging even when the page count says more.
        m_rig->server->queueCommandAnswer("getShareFile",
            R"({"result":1,"data":{"totalPages":5,"pageNo":1,"totalNum":300,"listPath":[]}})");
        m->refreshData();
        m->fetchMore(QModelIndex());
        QTRY_VERIFY(!m->canFetchMore(QModelIndex()));
        QCOMPARE(m->rowCount(), 0);
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
        auto m = attach<ShareAllUserFileModel>();
        sortChangeWhileLoading(*m_rig, *m.m, "getShareFile", oldAnswerFirst);
    }

    void cancellingRows2And5RemovesThoseFiles()
    {
        const auto ids = shareFiles("ann", 7);
        auto m = attach<ShareUserFileModel>();
        m->setAccessId("ann");
        QVERIFY(m->isSelf());
        loadAll(m, 7);
        const qint64 two = m->rows().at(2).id;
        const qint64 five = m->rows().at(5).id;
        QList<int> removedRows;
        connect(m.m.get(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
                [&](const QModelIndex&, int first, int) { removedRows << first; });
        m->multiSelect(2);
        m->multiSelect(5);
        m->fileCancelShare();
        m->singleSelect(0);   // the user moves on before the answer
        QTRY_COMPARE(m->rowCount(), 5);
        QCOMPARE(removedRows, (QList<int>{5, 2}));
        QCOMPARE(m->selectNum(), 0);
        QVERIFY(!m_rig->server->isShared(two));
        QVERIFY(!m_rig->server->isShared(five));
        QCOMPARE(m->fileNum(), 5);
        for (const TwFileInfo& f : m->rows())
            QVERIFY(f.id != two && f.id != five);
        int stillShared = 0;
        for (qint64 id : ids)
            stillShared += m_rig->server->isShared(id) ? 1 : 0;
        QCOMPARE(stillShared, 5);

        // Nothing selected: a hint, nothing sent.
        QSignalSpy toast(m.m.get(), &BaseModel::sg_notifyStatus);
        m->fileCancelShare();
        QCOMPARE(toast.at(0).at(1).toString(), QString("not selected item."));
        QCOMPARE(m_rig->count("shareFileToCancel"), 1);
    }

    void userListWaitsForItsUser()
    {
        shareFiles("bob", 2);
        auto m = attach<ShareUserFileModel>();
        QVERIFY(!m->canFetchMore(QModelIndex()));
        m->fetchMore(QModelIndex());
        QTest::qWait(100);
        QCOMPARE(m_rig->count("getUserShareFile"), 0);
        QVERIFY(!m->isLoading());
        m->setAccessId("bob");
        QVERIFY(!m->isSelf());
        loadAll(m, 2);
        QCOMPARE(m_rig->sent("getUserShareFile").at(0)["accessId"].asString(), std::string("bob"));
        // Another user: another list.
        m->setAccessId("ann");
        QCOMPARE(m->rowCount(), 0);
        QVERIFY(m->isSelf());
        loadAll(m, 0);
    }

    void searchWithoutKeySendsNothing()
    {
        shareFiles("bob", 3);
        auto m = attach<ShareSearchFileModel>();
        QSignalSpy busy(m.m.get(), &BaseModel::sg_showLoading);
        m->fetchMore(QModelIndex());
        QVERIFY(!m->isLoading());
        QVERIFY(!m->canFetchMore(QModelIndex()));
        QCOMPARE(busy.count(), 0);
        QTest::qWait(100);
        QCOMPARE(m_rig->count("findShareFile"), 0);
        m->setKeyValue("S1");
        loadAll(m, 1);
        QCOMPARE(m->rows().at(0).name, QString("s1.txt"));
        m->setKeyValue("");
        QCOMPARE(m->rowCount(), 0);
        QVERIFY(!m->canFetchMore(QModelIndex()));
    }

    void sharedFolderAndItsOwner()
    {
        const qint64 folder = m_rig->server->addFolder("bob/trip");
        m_rig->server->addFile("bob/trip/a.jpg", "a");
        m_rig->server->addFile("bob/trip/b.mp4", "b");
        m_rig->server->shareFile(folder, "bob", {"ann"});
        auto all = attach<ShareAllUserFileModel>();
        loadAll(all, 1);
        QSignalSpy open(all.m.get(), &ShareBaseModel::openFolder);
        all->openFileItem(0);
        QCOMPARE(all->currentSelected(), 0);
        QCOMPARE(all->get(-1).value("name").toString(), QString("trip"));
        const QVariantMap my = open.at(0).at(0).toMap();
        QCOMPARE(my.value("type").toInt(), 5);

        auto dir = attach<ShareUserDirModel>();
        dir->setMy(my);
        QVERIFY(!dir->isSelf());
        loadAll(dir, 2);
        QCOMPARE(m_rig->sent("getUserShareFilesForDir").at(0)["fileId"].asInt64(), folder);
        QCOMPARE(m_rig->sent("getUserShareFilesForDir").at(0)["pageSize"].asInt(), 60);
        QList<TwFileInfo> pics;
        QCOMPARE(dir->itemsOfKind(pics, Common::MT_Image), 1);
        QCOMPARE(dir->getSelectFolderIds(), QVariantList());
        QVariantMap mine = my;
        mine["ower"] = "ann";
        dir->setMy(mine);
        QVERIFY(dir->isSelf());
    }

    void copyDeleteAndDownload()
    {
        shareFiles("bob", 3, {"ann"});
        const qint64 home = m_rig->server->addFolder("ann");
        auto m = attach<ShareAllUserFileModel>();
        loadAll(m, 3);
        QSignalSpy toast(m.m.get(), &BaseModel::sg_notifyStatus);
        QSignalSpy shown(m.m.get(), &BaseModel::sg_showLoading);
        QSignalSpy closed(m.m.get(), &BaseModel::sg_cancelLading);

        TwFolderInfo personal;
        personal.fid = int(home);
        m->singleSelect(1);
        const QString name = m->rows().at(1).name;
        m->fileCopyTo(personal.toVariantMap());
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(1).toString(), QString("Copy to success"));
        QCOMPARE(toast.at(0).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Success);
        QVERIFY(m_rig->exists("ann/" + name.toStdString()));
        QCOMPARE(m->selectNum(), 0);
        personal.fid = 987654;
        m->singleSelect(0);
        m->fileCopyTo(personal.toVariantMap());
        QTRY_COMPARE(toast.count(), 2);
        QCOMPARE(toast.at(1).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(shown.count(), closed.count());

        // Download hand-over with the file type of shared files.
        int kind = -1;
        TidewellDevice* dev = m_rig->dev.get();
        dev->setDownFilesHandler([&, dev](TW_HANDLE h, const QString&, const QList<TwFileInfo>&, int type) {
            kind = type;
            emit dev->rAddDownFiles(h, true);
            return true;
        });
        m->fileDownload("/tmp/x");
        QTRY_COMPARE(toast.count(), 3);
        QCOMPARE(kind, 1);
        QCOMPARE(toast.at(2).at(0).toInt(), -1);
        QCOMPARE(toast.at(2).at(1).toString(), QString("Already added to download"));
        QCOMPARE(toast.at(2).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Info);
        QCOMPARE(m->selectNum(), 0);

        // Delete: offline the facade sends nothing and no overlay stays.
        m_rig->owner->allowOnline = false;
        m->singleSelect(2);
        m->fileDelete();
        QCOMPARE(shown.count(), closed.count());
        QVERIFY(!m->isLoading());
        m_rig->owner->allowOnline = true;
        // Online the rows the request named go, whatever is selected then.
        m_rig->server->setCommandAnswer("deleteDirOrFile", R"({"result":1,"message":"ok"})");
        const qint64 gone = m->rows().at(2).id;
        m->fileDelete();
        m->singleSelect(0);
        QTRY_COMPARE(m->rowCount(), 2);
        for (const TwFileInfo& f : m->rows())
            QVERIFY(f.id != gone);
        QCOMPARE(m->selectNum(), 0);
        QCOMPARE(m_rig->count("deleteDirOrFile"), 1);
    }
};

TW_TEST_MAIN(TestShareModels)
#include "tst_sharemodels.moc"
