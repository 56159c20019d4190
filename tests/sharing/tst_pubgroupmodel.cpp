// The public-group list against the test device: paging, resets, selection
// and the group operations, and answers that must change the rows they were
// asked for.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>

#include "sharing/pubgroupmodel.h"
#include "tests/pageorder.h"
#include "tests/sharing/sharingrig.h"

class TestPubGroupModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<SharingRig> m_rig;
    std::unique_ptr<PubGroupModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    void seed(int n, const std::string& owner = "ann")
    {
        for (int i = 0; i < n; ++i)
            m_rig->server->addPubGroup("g" + std::to_string(1000 + i), owner);
    }
    void loadFirst(int rows)
    {
        m_model->fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m_model->rowCount(), rows, 15000);
        QTRY_VERIFY(!m_model->isLoading());
    }
    static QString listAnswer(int firstId, int n, int totalNum)
    {
        QStringList items;
        for (int i = 0; i < n; ++i)
            items << QString(R"({"id":%1,"name":"g%1","ower":"ann"})").arg(firstId + i);
        return QString(R"({"result":1,"data":{"offset":0,"totalNum":%1,"listPath":[%2]}})")
            .arg(totalNum)
            .arg(items.join(','));
    }

private slots:
    void init()
    {
        m_rig.reset(new SharingRig);
        QVERIFY(m_rig->start("ann"));
        m_rig->server->addDeviceUser("ann", "Ann");
        m_model.reset(new PubGroupModel);
        m_tester.reset(new QAbstractItemModelTester(m_model.get()));
        m_model->setTw(m_rig->dev.get());
    }

    void cleanup()
    {
        m_tester.reset();
        m_model.reset();
        m_rig.reset();
    }

    void pagesOf75Groups()
    {
        seed(75);
        QSignalSpy busy(m_model.get(), &PubGroupModel::sg_showLoading);
        QSignalSpy done(m_model.get(), &PubGroupModel::sg_cancelLading);
        QVERIFY(m_model->canFetchMore(QModelIndex()));
        loadFirst(60);
        QCOMPARE(busy.count(), 1);
        QCOMPARE(done.count(), 1);
        QCOMPARE(m_model->offset(), 60);
        QVERIFY(m_model->hasMore());
        QCOMPARE(m_model->totalNum(), 75);
        m_model->fetchMore(QModelIndex());
        QTRY_COMPARE(m_model->rowCount(), 75);
        QVERIFY(!m_model->canFetchMore(QModelIndex()));
        QCOMPARE(busy.count(), 1);   // no overlay over rows already shown
        const auto sent = m_rig->sent("getPubGroupList");
        QCOMPARE(int(sent.size()), 2);
        QCOMPARE(sent[0]["offset"].asInt(), 0);
        QCOMPARE(sent[1]["offset"].asInt(), 60);
        QCOMPARE(sent[1]["pageNo"].asInt(), 1);
        QCOMPARE(sent[1]["pageSize"].asInt(), 60);

        const QModelIndex first = m_model->index(0);
        QCOMPARE(first.data(PubGroupModel::IsOwerRole).toBool(), true);
        QCOMPARE(first.data(PubGroupModel::GUserRole).toString(), QString("Ann"));
        QCOMPARE(m_model->roleNames().value(PubGroupModel::GNameRole), QByteArray("$GName"));
        QVERIFY(!m_model->index(0).data(Qt::UserRole + 50).isValid());

        // More than a page held: a refresh (and so a change of sorting) waits.
        m_model->setSortType(2);
        m_model->refershData();
        QTest::qWait(100);
        QCOMPARE(m_rig->count("getPubGroupList"), 2);
        m_model->resetData();
        QCOMPARE(m_model->rowCount(), 0);
        QVERIFY(m_model->canFetchMore(QModelIndex()));
        loadFirst(60);
        QCOMPARE(m_rig->sent("getPubGroupList").back()["condition"].asInt(), 2);
    }

    void emptyAndFailedLists()
    {
        QSignalSpy state(m_model.get(), &PubGroupModel::sg_DefaultStateChange);
        m_model->fetchMore(QModelIndex());
        QTRY_VERIFY(!m_model->canFetchMore(QModelIndex()));
        QCOMPARE(state.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Empty);
        QCOMPARE(state.last().at(1).toString(), QString("No Public Group"));

        // A failed refresh leaves the list able to refresh again.
        seed(3);
        m_rig->server->queueCommandAnswer("getPubGroupList", R"({"result":0,"errCode":5,"message":"busy"})");
        m_model->refershData();
        QTRY_COMPARE(state.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Error);
        QCOMPARE(state.last().at(1).toString(), QString("busy"));
        QVERIFY(!m_model->isLoading());
        m_model->refershData();
        QTRY_COMPARE(m_model->rowCount(), 3);

        // An empty page ends paging even when the total says more.
        m_rig->server->queueCommandAnswer("getPubGroupList", listAnswer(100, 3, 90).toStdString());
        m_rig->server->queueCommandAnswer("getPubGroupList",
                                          R"({"result":1,"data":{"offset":3,"totalNum":90,"listPath":[]}})");
        m_model->refershData();
        QTRY_VERIFY(!m_model->isLoading());
        QVERIFY(m_model->canFetchMore(QModelIndex()));
        m_model->fetchMore(QModelIndex());
        QTRY_VERIFY(!m_model->canFetchMore(QModelIndex()));
        QCOMPARE(m_model->rowCount(), 3);
    }

    void selectionAndNoSelection()
    {
        seed(4);
        loadFirst(4);
        QSignalSpy sel(m_model.get(), &PubGroupModel::selectNumChanged);
        QCOMPARE(m_model->get(), QVariantMap());
        m_model->editPubGroupName("x");
        m_model->delPubGroup();
        m_model->exitPubGroup();
        QTest::qWait(100);
        QCOMPARE(m_rig->count("modifyPubGroupName") + m_rig->count("delPubGroup") + m_rig->count("exitPubGroup"), 0);
        m_model->singleSelect(-1);
        QCOMPARE(sel.count(), 0);

        m_model->singleSelect(2);
        QCOMPARE(m_model->selectNum(), 1);
        QCOMPARE(m_model->index(2).data(PubGroupModel::SelectedRole).toBool(), true);
        m_model->singleSelect(2, true);   // right click keeps it
        QCOMPARE(m_model->selected(), 2);
        m_model->singleSelect(2);         // a click again lets go
        QCOMPARE(m_model->selected(), -1);
        m_model->singleSelect(1);
        const QVariantMap g = m_model->get();
        QCOMPARE(g.size(), 10);
        QCOMPARE(g.value("gName").toString(), QString::fromStdString(m_rig->server->pubGroupName(g.value("gId").toInt())));
        m_model->singleSelect(9);         // not a row
        QCOMPARE(m_model->selected(), 1);
    }

    void answersChangeTheRowsAskedFor()
    {
        seed(5);
        loadFirst(5);
        const int renamed = m_model->groups().at(2).gId;
        m_model->singleSelect(2);
        m_model->editPubGroupName("Renamed");
        m_model->singleSelect(0);   // the user moves on before the answer
        QTRY_COMPARE(m_model->groups().at(2).gName, QString("Renamed"));
        QVERIFY(m_model->groups().at(0).gName != "Renamed");
        QCOMPARE(m_rig->server->pubGroupName(renamed), std::string("Renamed"));

        const int gone = m_model->groups().at(3).gId;
        const int kept = m_model->groups().at(1).gId;
        m_model->singleSelect(3);
        m_model->delPubGroup();
        m_model->singleSelect(1);
        QTRY_COMPARE(m_model->rowCount(), 4);
        QCOMPARE(m_model->groups().at(1).gId, kept);
        for (const PubGroupInfo& g : m_model->groups())
            QVERIFY(g.gId != gone);
        QCOMPARE(m_model->selected(), -1);
        QCOMPARE(m_model->totalNum(), 4);
        QCOMPARE(m_rig->server->pubGroupCount(), 4);

        // A refused delete keeps the row and says why.
        QSignalSpy toast(m_model.get(), &PubGroupModel::sg_notifyStatus);
        m_rig->server->queueCommandAnswer("delPubGroup", R"({"result":0,"errCode":403,"message":"no right"})");
        m_model->singleSelect(1);
        m_model->delPubGroup();
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(1).toString(), QString("no right"));
        QCOMPARE(toast.at(0).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(m_model->rowCount(), 4);
    }

    void deletingWithFewRowsLeftReloads()
    {
        seed(100);
        // 31 of the 100 are shown.
        m_rig->server->queueCommandAnswer("getPubGroupList", listAnswer(100, 31, 100).toStdString());
        loadFirst(31);
        QCOMPARE(m_model->totalNum(), 100);
        // A next page asked meanwhile (the tester asks as a view would)
        // comes late, after the reset.
        m_rig->server->delayAnswer(3000, 1, "getPubGroupList");
        QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
        m_model->singleSelect(0);
        m_model->delPubGroup();
        // 30 rows left of 99: the list starts again from the device (the
        // tester asks for pages as a view would; a page asked for just
        // before the reset is not taken for the first one).
        QTRY_VERIFY(reset.count() >= 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_model->rowCount(), 60, 15000);
        QTest::qWait(3500);   // whatever came late has come
        QCOMPARE(m_model->rowCount(), 60);
        QCOMPARE(m_model->totalNum(), 99);
        // The device's first page, newest first: 199 ... 140.
        QCOMPARE(m_model->groups().at(0).gId, 199);
        QCOMPARE(m_model->groups().at(59).gId, 140);
    }

    void deletingWithAllLoadedKeepsTheRows()
    {
        seed(5);
        loadFirst(5);
        QSignalSpy resets(m_model.get(), &QAbstractItemModel::modelReset);
        m_model->singleSelect(4);
        m_model->exitPubGroup();   // the owner cannot leave
        QSignalSpy toast(m_model.get(), &PubGroupModel::sg_notifyStatus);
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(m_model->rowCount(), 5);
        m_model->delPubGroup();
        QTRY_COMPARE(m_model->rowCount(), 4);
        QTest::qWait(100);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(m_model->totalNum(), 4);
    }

    void createAndAddMembers()
    {
        QSignalSpy created(m_model.get(), &PubGroupModel::rCreatePubGroup);
        QSignalSpy toast(m_model.get(), &PubGroupModel::sg_notifyStatus);
        QSignalSpy done(m_model.get(), &PubGroupModel::sg_cancelLading);
        m_model->createPubGroup("", "sn");   // refused by the device
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(created.count(), 0);
        QCOMPARE(done.count(), 1);

        m_model->createPubGroup("Trip", "sn");
        QTRY_COMPARE(created.count(), 1);
        const int gId = created.at(0).at(2).toInt();
        QCOMPARE(m_rig->server->pubGroupName(gId), std::string("Trip"));

        QSignalSpy added(m_model.get(), &PubGroupModel::rEditPubGroupMember);
        m_model->editPubGroupMember(gId, 1, {"bob", "cat"});
        QTRY_COMPARE(added.count(), 1);
        QCOMPARE(toast.last().at(1).toString(), QString("Add Member Success"));
        QCOMPARE(toast.last().at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Success);
        QCOMPARE(m_rig->server->pubGroupAuthority(gId, "cat"), 1);
    }

    // Two renames on their way at once: each name lands on the group it was
    // asked for, whatever row is selected when the answers come.
    void twoRenamesInFlight()
    {
        seed(4);
        loadFirst(4);
        m_rig->server->delayAnswer(300, 2, "modifyPubGroupName");
        const int first = m_model->groups().at(1).gId;
        const int third = m_model->groups().at(3).gId;
        const QString untouched = m_model->groups().at(0).gName;
        QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
        m_model->singleSelect(1);
        m_model->editPubGroupName("First");
        m_model->singleSelect(3);
        m_model->editPubGroupName("Third");
        m_model->singleSelect(0);
        QTRY_COMPARE(m_rig->count("modifyPubGroupName"), 2);
        QTRY_COMPARE(m_model->groups().at(3).gName, QString("Third"));
        QTRY_COMPARE(m_model->groups().at(1).gName, QString("First"));
        QCOMPARE(m_model->groups().at(1).gId, first);
        QCOMPARE(m_model->groups().at(3).gId, third);
        QCOMPARE(m_model->groups().at(0).gName, untouched);
        QCOMPARE(m_model->index(1).data(PubGroupModel::GNameRole).toString(), QString("First"));
        QCOMPARE(m_rig->server->pubGroupName(first), std::string("First"));
        QCOMPARE(m_rig->server->pubGroupName(third), std::string("Third"));
        bool toldRow1 = false, toldRow3 = false;
        for (const auto& args : changed) {
            toldRow1 = toldRow1 || args.at(0).toModelIndex().row() == 1;
            toldRow3 = toldRow3 || args.at(0).toModelIndex().row() == 3;
        }
        QVERIFY(toldRow1 && toldRow3);
    }

    // The sort changed while the first page was on its way (the page
    // answers the switch with refershData): the groups shown are those
    // asked after the change, whichever answer comes first.
    void sortChangeDuringTheFirstLoad_data()
    {
        answerOrderRows();
    }

    void sortChangeDuringTheFirstLoad()
    {
        QFETCH(bool, oldAnswerFirst);
        const std::string oldPage = listAnswer(100, 2, 2).toStdString();
        const std::string newPage = listAnswer(200, 3, 3).toStdString();
        orderAnswers(*m_rig->server, "getPubGroupList", oldAnswerFirst, oldPage, newPage);
        m_model->fetchMore(QModelIndex());
        QTRY_COMPARE(m_rig->count("getPubGroupList"), 1);
        m_model->setIsSort(true);
        m_model->refershData();
        QTRY_COMPARE(m_rig->count("getPubGroupList"), 2);
        QCOMPARE(m_rig->sent("getPubGroupList").at(1)["isSort"].asBool(), true);
        QTRY_COMPARE(m_model->rowCount(), 3);
        QTest::qWait(kHeldAnswerMs);
        QCOMPARE(m_model->rowCount(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m_model->groups().at(i).gId, 200 + i);
        QCOMPARE(m_model->totalNum(), 3);
        QVERIFY(!m_model->isLoading());
        QVERIFY(!m_model->canFetchMore(QModelIndex()));
    }

    // The sort changed again while the refresh for the change before was on
    // its way: the list is asked once more, in the order asked last.
    void sortChangeDuringARefresh()
    {
        seed(3);
        loadFirst(3);
        m_rig->server->delayAnswer(600, 1, "getPubGroupList");
        m_model->setSortType(2);
        m_model->refershData();
        QTRY_COMPARE(m_rig->count("getPubGroupList"), 2);
        m_model->setIsSort(true);
        m_model->refershData();
        QTRY_COMPARE(m_rig->count("getPubGroupList"), 3);
        const auto last = m_rig->sent("getPubGroupList").back();
        QCOMPARE(last["condition"].asInt(), 2);
        QCOMPARE(last["isSort"].asBool(), true);
        QTRY_VERIFY(!m_model->isLoading());
        QCOMPARE(m_model->rowCount(), 3);
        QCOMPARE(m_model->groups().at(0).gName, QString("g1000"));
        QCOMPARE(m_model->groups().at(2).gName, QString("g1002"));
        QTest::qWait(100);
        QCOMPARE(m_rig->count("getPubGroupList"), 3);
    }

    // A page that fails stops paging: a view that keeps asking does not
    // send the device a request each time.
    void failedPageStopsPaging()
    {
        m_rig->server->queueCommandAnswer("getPubGroupList", listAnswer(100, 60, 75).toStdString());
        m_rig->server->queueCommandAnswer("getPubGroupList", R"({"result":0,"errCode":5,"message":"busy"})");
        QSignalSpy toast(m_model.get(), &PubGroupModel::sg_notifyStatus);
        loadFirst(60);
        m_model->fetchMore(QModelIndex());
        QTRY_COMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(1).toString(), QString("busy"));
        QCOMPARE(m_model->rowCount(), 60);
        QVERIFY(!m_model->canFetchMore(QModelIndex()));
        for (int i = 0; i < 5; ++i)
            m_model->fetchMore(QModelIndex());
        QTest::qWait(200);
        QCOMPARE(m_rig->count("getPubGroupList"), 2);
    }

    void ownerChangeAnywhereResets()
    {
        seed(3);
        loadFirst(3);
        const int gId = m_model->groups().at(0).gId;
        m_rig->server->setPubGroupMember(gId, "bob", 1);
        // Another model on the same facade hands the group over.
        QueuedSpy answer(m_rig->dev.get(), &TidewellDevice::rChangePubGroupOwner);
        QSignalSpy resets(m_model.get(), &QAbstractItemModel::modelReset);
        m_rig->dev->changePubGroupOwner(twNewHandle(), gId, "ann", "bob");
        QTRY_COMPARE(answer.count(), 1);
        // The rows go; the model tester asks for them again at once, and a
        // quick device answers before a poll could see the empty list.
        QTRY_VERIFY(resets.count() >= 1);
        QTRY_COMPARE(m_model->rowCount(), 3);
        QTRY_VERIFY(!m_model->isLoading());
        QCOMPARE(m_rig->sent("getPubGroupList").back()["offset"].asInt(), 0);
        QCOMPARE(int(m_rig->sent("getPubGroupList").size()), 2);
    }

    void facadeSetTwiceAnswersOnce()
    {
        TestOwner otherOwner("ann");
        TidewellDevice other(&otherOwner);
        m_model->setTw(&other);
        m_model->setTw(m_rig->dev.get());
        m_model->setTw(m_rig->dev.get());
        QSignalSpy created(m_model.get(), &PubGroupModel::rCreatePubGroup);
        QSignalSpy done(m_model.get(), &PubGroupModel::sg_cancelLading);
        m_model->createPubGroup("Once", "sn");
        QTRY_COMPARE(created.count(), 1);
        QTest::qWait(200);
        QCOMPARE(created.count(), 1);
        QCOMPARE(done.count(), 1);

        // Without a facade nothing is sent and no overlay stays.
        PubGroupModel lone;
        QSignalSpy shown(&lone, &PubGroupModel::sg_showLoading);
        QSignalSpy closed(&lone, &PubGroupModel::sg_cancelLading);
        lone.createPubGroup("x", "y");
        lone.fetchMore(QModelIndex());
        QCOMPARE(shown.count(), closed.count());
        QVERIFY(!lone.isLoading());
    }
};

TW_TEST_MAIN(TestPubGroupModel)
#include "tst_pubgroupmodel.moc"
