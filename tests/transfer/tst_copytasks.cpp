// The copy status box and the copy-failure alert against a device that keeps
// real copy jobs: what each asks for, what the rows show, and how retry and
// delete answers change the list.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>

#include "transfer/copyfailmodel.h"
#include "transfer/copyfilemodel.h"
#include "tests/transfer/taskrig.h"

static QStringList names(const CopyFailModel& m)
{
    QStringList out;
    for (int i = 0; i < m.rowCount(); ++i)
        out << m.index(i).data(CopyFailModel::FileNameRole).toString();
    return out;
}

class TestCopyTasks : public QObject
{
    Q_OBJECT
private slots:
    void statusBoxFollowsTheDevicesJobs()
    {
        TaskRig rig;
        QVERIFY(rig.start("status"));
        CopyFileModel box;
        // A poll before the facade is set must not block the ones after it.
        box.loadData();
        box.setTw(rig.dev.get());
        QSignalSpy has(&box, &CopyFileModel::hasFileChanged);

        box.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(has.count(), 1, 10000);
        QCOMPARE(box.hasFile(), false);
        QCOMPARE(box.isError(), false);
        const Json::Value asked = rig.sent("copyFileLists").at(0);
        QCOMPARE(asked["pageNo"].asInt(), 1);
        QCOMPARE(asked["pageSize"].asInt(), 1);

        // The first job listed decides the failure flag; moves are not copies.
        rig.server->addCopyJob("a.txt", 0, 2);
        rig.server->addCopyJob("b.txt", 0, 1);
        rig.server->addCopyJob("c.txt", 1, 1);
        box.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(has.count(), 2, 10000);
        QCOMPARE(box.hasFile(), true);
        QCOMPARE(box.fileNum(), 2);
        QCOMPARE(box.isError(), true);

        // Every answer re-arms the box, changed or not.
        box.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(has.count(), 3, 10000);
        QCOMPARE(box.hasFile(), true);

        // A poll that fails says nothing about the jobs.
        rig.server->queueCommandAnswer("copyFileLists", TaskRig::failure(0, "busy"));
        box.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(has.count(), 4, 10000);
        QCOMPARE(box.hasFile(), true);
        QCOMPARE(box.fileNum(), 2);

        box.stopAllCopyFile();
        QTRY_COMPARE_WITH_TIMEOUT(rig.server->copyJobCount(), std::size_t(1), 10000);   // the move stays
        box.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(has.count(), 5, 10000);
        QCOMPARE(box.hasFile(), false);
        QCOMPARE(box.fileNum(), 0);
    }

    void anyCopyOfTheTabAndRetriesReloadTheBox()
    {
        TaskRig rig;
        QVERIFY(rig.start("copies"));
        CopyFileModel box;
        box.setTw(rig.dev.get());
        QSignalSpy has(&box, &CopyFileModel::hasFileChanged);
        rig.server->setCommandAnswer("movieFileToPerson", R"({"result":1,"message":"ok"})");
        rig.server->addCopyJob("a.txt");

        // Started by another requester of the same tab.
        TwFolderInfo target;
        target.fid = 3;
        rig.dev->fileCopy(twNewHandle(), 3, target, 1, {{0, 11}}, {"a.txt"});
        QTRY_COMPARE_WITH_TIMEOUT(has.count(), 1, 10000);
        QCOMPARE(box.fileNum(), 1);

        // A refused copy asks nothing.
        rig.server->setCommandAnswer("movieFileToPerson", TaskRig::failure(0, "no"));
        rig.dev->fileCopy(twNewHandle(), 3, target, 1, {{0, 11}}, {"a.txt"});
        QTRY_COMPARE_WITH_TIMEOUT(rig.count("movieFileToPerson"), 2, 10000);
        QTest::qWait(300);
        QCOMPARE(rig.count("copyFileLists"), 1);
    }

    void failedCancelIsShownAndTheJobsShowAgain()
    {
        TaskRig rig;
        QVERIFY(rig.start("cancel"));
        CopyFileModel box;
        box.setTw(rig.dev.get());
        QSignalSpy has(&box, &CopyFileModel::hasFileChanged);
        QSignalSpy toast(&box, &CopyFileModel::sg_notifyStatus);
        rig.server->addCopyJob("a.txt");
        rig.server->queueCommandAnswer("cleanCopyFileLists", TaskRig::failure(3, "cannot stop"));

        box.stopAllCopyFile();
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 10000);
        QCOMPARE(toast.at(0).at(1).toString(), QString("cannot stop"));
        QCOMPARE(toast.at(0).at(2).toInt(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(has.count(), 1, 10000);
        QCOMPARE(box.hasFile(), true);

        // Another requester's cancel answer is not ours to report.
        CopyFileModel other;
        other.setTw(rig.dev.get());
        QSignalSpy otherToast(&other, &CopyFileModel::sg_notifyStatus);
        rig.server->queueCommandAnswer("cleanCopyFileLists", TaskRig::failure(3, "cannot stop"));
        box.stopAllCopyFile();
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 2, 10000);
        QCOMPARE(otherToast.count(), 0);
    }

    void failureRowsPageAndShowTheirTexts()
    {
        TaskRig rig;
        QVERIFY(rig.start("pages"));
        for (int i = 0; i < 117; ++i)
            rig.server->addCopyFailure("f" + std::to_string(i) + ".jpg", "/home/x/dst/f.jpg", 1, 2014);
        CopyFailModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        QSignalSpy num(&m, &CopyFailModel::fileNumChanged);

        m.resetData();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 50, 10000);
        QCOMPARE(m.fileNum(), 117LL);
        QVERIFY(m.canFetchMore(QModelIndex()));
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 100, 10000);
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 117, 10000);
        QVERIFY(!m.canFetchMore(QModelIndex()));
        QCOMPARE(names(m).at(116), QString("f116.jpg"));
        QList<int> pages;
        for (const Json::Value& d : rig.sent("copyFileFailLists")) {
            QCOMPARE(d["pageSize"].asInt(), 50);
            pages << d["pageNo"].asInt();
        }
        QCOMPARE(pages, (QList<int>{1, 2, 3}));

        const QModelIndex first = m.index(0);
        QCOMPARE(first.data(CopyFailModel::FileInfoRole).toString(), QString("Copy to person\uFF1Adst"));
        QCOMPARE(first.data(CopyFailModel::ErrorMsgRole).toString(), QString("Capacity is full"));
        QCOMPARE(first.data(CopyFailModel::FileNumRole).toInt(), 1);
        QCOMPARE(first.data(CopyFailModel::SelectedRole).toBool(), false);
        QVERIFY(!m.index(0).data(CopyFailModel::SelectedRole + 1).isValid());
    }

    void infoAndErrorTexts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("info");
        QTest::newRow("person, dotted folder") << 1 << "/a/b.c/d.txt" << "Copy to person\uFF1Ab";
        QTest::newRow("smb") << 2 << "/share/music/x.mp3" << "Copy to SMB\uFF1Amusic";
        QTest::newRow("peripheral") << 5 << "/usb/x.mp3" << "Copy to peripheral\uFF1Ausb";
        QTest::newRow("group shows group") << 6 << "/a/b/c" << "Copy to group\uFF1ATeam";
        QTest::newRow("no slash") << 10 << "plain.txt" << "Copy to person\uFF1Aplain";
        QTest::newRow("type 0") << 0 << "/a/b/c" << "";
        QTest::newRow("type 12") << 12 << "/a/b/c" << "";
    }
    void infoAndErrorTexts()
    {
        QFETCH(int, type);
        QFETCH(QString, tag);
        QFETCH(QString, info);
        CopyFailInfo f;
        f.type = type;
        f.tagFile = tag;
        f.groupName = "Team";
        QCOMPARE(CopyFailModel::infoText(f), info);
        QCOMPARE(CopyFailModel::errorText(2001), QString("Without permission"));
        QCOMPARE(CopyFailModel::errorText(20205), QString("Folder by remove"));
        QCOMPARE(CopyFailModel::errorText(7), QString("Unknown error"));
    }

    void retryAndDeleteRemoveTheNamedJobs()
    {
        TaskRig rig;
        QVERIFY(rig.start("retry"));
        QList<qint64> ids;
        for (int i = 0; i < 6; ++i)
            ids << rig.server->addCopyFailure("r" + std::to_string(i), "/d/x", 1, 404);
        CopyFailModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        m.resetData();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 6, 10000);

        // Row 0 goes while rows 2 and 5 are retried: the answers must still
        // take out the jobs named, not what sits at those rows by then.
        m.singleDel(0);
        m.multiSelect(2);
        m.multiSelect(5);
        QVERIFY(m.isCheck());
        m.batchTry();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 3, 10000);
        QCOMPARE(names(m), (QStringList{"r1", "r3", "r4"}));
        QCOMPARE(m.fileNum(), 3LL);
        QVERIFY(!m.isCheck());
        QCOMPARE(rig.server->copyJobCount(), std::size_t(2));   // retried jobs run again
        const Json::Value retried = rig.sent("retryCopyTask").at(0)["curOperIds"];
        QCOMPARE(retried.size(), 2u);
        QCOMPARE(retried[0].asInt64(), ids[2]);
        QCOMPARE(retried[1].asInt64(), ids[5]);

        // A refused retry changes nothing.
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        rig.server->queueCommandAnswer("retryCopyTask", TaskRig::failure(0, "refused"));
        m.singleTry(1);
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 10000);
        QCOMPARE(toast.at(0).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(m.rowCount(), 3);

        // Selecting everything twice empties the selection.
        m.allSelect();
        QVERIFY(m.isAll());
        m.allSelect();
        QVERIFY(!m.isCheck());

        m.allSelect();
        m.batchDel();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 0, 10000);
        QCOMPARE(state.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Empty);
        QCOMPARE(state.last().at(1).toString(), QString("No Data"));
        QVERIFY(rig.server->copyFailureIds().empty());
    }

    void aFailedFirstLoadIsShownAndLoadedOnRefresh()
    {
        TaskRig rig;
        QVERIFY(rig.start("failload"));
        rig.server->addCopyFailure("a.txt", "/d/x", 1, 404);
        CopyFailModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        rig.server->queueCommandAnswer("copyFileFailLists", TaskRig::failure(0, "device busy"));

        m.resetData();
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 1, 10000);
        QCOMPARE(state.at(0).at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Error);
        QCOMPARE(state.at(0).at(1).toString(), QString("device busy"));
        // Paging stops: the view's fetches send nothing; a refresh loads page 1.
        QVERIFY(!m.canFetchMore(QModelIndex()));
        m.fetchMore(QModelIndex());
        QTest::qWait(200);
        QCOMPARE(rig.count("copyFileFailLists"), 1);
        m.resetData();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 1, 10000);
        QCOMPARE(rig.sent("copyFileFailLists").at(1)["pageNo"].asInt(), 1);
    }
};

TW_TEST_MAIN(TestCopyTasks)
#include "tst_copytasks.moc"
