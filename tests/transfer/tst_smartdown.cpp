// The device's internet download tasks: the running list with its task
// state and operations, the finished list with its paging, and the requests
// each operation sends to a device that keeps real tasks.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>

#include "core/utils.h"
#include "transfer/smartdownfinishmodel.h"
#include "transfer/smartdownmodel.h"
#include "tests/transfer/taskrig.h"

struct Sent
{
    int operate;
    int vType;
    QString downId;
    bool isDeleteFile;
};

static Sent lastOperate(const TaskRig& rig)
{
    const Json::Value d = rig.sent("bt_OperateTask").back();
    return {d["operate"].asInt(), d["vType"].asInt(), QString::fromStdString(d["downId"].asString()),
            d["isDeleteFile"].asBool()};
}

class TestSmartDown : public QObject
{
    Q_OBJECT
private slots:
    void runningListShowsTasksAndTheirState()
    {
        TaskRig rig;
        QVERIFY(rig.start("state"));
        SmartDownModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        QSignalSpy state(&m, &SmartDownModel::taskStateChanged);
        QSignalSpy view(&m, &BaseModel::sg_DefaultStateChange);

        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 1, 10000);
        QCOMPARE(m.taskState(), 0);
        QCOMPARE(view.last().at(1).toString(), QString("No File"));
        const Json::Value asked = rig.sent("bt_GetTaskList").at(0);
        QCOMPARE(asked["vType"].asInt(), 1);
        QCOMPARE(asked["pageNo"].asInt(), 1);
        QCOMPARE(asked["pageSize"].asInt(), 50);

        rig.server->addBtTask("movie.mkv", 3, 2048);
        rig.server->addBtTask("album", 3, 4096, 0);
        rig.server->addBtTask("old.iso", 6, 100);   // finished: not listed here
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 2, 10000);
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.taskState(), 1);
        QCOMPARE(m.fileNum(), 2);
        const QModelIndex folder = m.index(1);
        QCOMPARE(folder.data(SmartDownModel::FileIconRole).toInt(), 5);
        QCOMPARE(folder.data(SmartDownModel::FileSizeRole).toString(), QString("4.00 KB"));
        QCOMPARE(folder.data(SmartDownModel::ReceiveSizeRole).toString(), QString("2.00 KB"));
        QCOMPARE(folder.data(SmartDownModel::PValRole).toFloat(), 0.5f);
        QCOMPARE(folder.data(SmartDownModel::SpeedRole).toString(), QString("0 B/s"));
        QCOMPARE(folder.data(SmartDownModel::StatusRole).toInt(), 3);
        QVERIFY(!m.index(2).data(SmartDownModel::FileNameRole).isValid());

        rig.server->addBtTask("song.mp3", 2, 10);
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 3, 10000);
        QCOMPARE(m.taskState(), 2);

        // A failed refresh keeps the rows and says why.
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        rig.server->queueCommandAnswer("bt_GetTaskList", TaskRig::failure(0, "offline"));
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 10000);
        QCOMPARE(m.rowCount(), 3);
        QCOMPARE(toast.at(0).at(1).toString(), QString("offline"));
    }

    void statusTexts()
    {
        BtTaskInfo t;
        t.status = 5;
        t.exception = 3;
        QCOMPARE(BtTaskModel::statusText(t), QString("Capacity is not enough"));
        t.exception = 42;
        QCOMPARE(BtTaskModel::statusText(t), QString("Finish"));
        t.status = 2;
        t.speed = 2048;
        QCOMPARE(BtTaskModel::statusText(t), QString("2.00 KB/s"));
        t.status = 1;
        QCOMPARE(BtTaskModel::statusText(t), QString("Download BT"));
    }

    void operationsSendWhatTheDeviceNeeds()
    {
        TaskRig rig;
        QVERIFY(rig.start("ops"));
        const QString a = QString::fromStdString(rig.server->addBtTask("a.bin", 2, 10));
        const QString b = QString::fromStdString(rig.server->addBtTask("b.bin", 2, 10));
        rig.server->addBtTask("c.bin", 0, 10);
        SmartDownModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        QSignalSpy state(&m, &SmartDownModel::taskStateChanged);
        QSignalSpy busy(&m, &BaseModel::sg_showLoading);
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 3, 10000);

        // Each accepted operation reloads the list.
        auto settle = [&](int answers) { QTRY_COMPARE_WITH_TIMEOUT(state.count(), answers, 10000); };
        m.pauseTask(0);
        settle(2);
        Sent s = lastOperate(rig);
        QCOMPARE((QList<QVariant>{s.operate, s.vType, s.downId, s.isDeleteFile}),
                 (QList<QVariant>{1, 1, a, false}));
        QCOMPARE(rig.server->btTaskStates().at(a.toStdString()), 3);
        QCOMPARE(m.taskState(), 2);

        m.startTask(0);
        settle(3);
        s = lastOperate(rig);
        QCOMPARE((QList<QVariant>{s.operate, s.vType, s.downId}), (QList<QVariant>{2, 1, a}));
        QCOMPARE(rig.server->btTaskStates().at(a.toStdString()), 2);

        m.allPause();
        settle(4);
        s = lastOperate(rig);
        QCOMPARE((QList<QVariant>{s.operate, s.vType, s.downId, s.isDeleteFile}),
                 (QList<QVariant>{1, 2, QString(), false}));
        QCOMPARE(m.taskState(), 1);

        m.allStart();
        settle(5);
        s = lastOperate(rig);
        QCOMPARE((QList<QVariant>{s.operate, s.vType, s.downId}), (QList<QVariant>{2, 2, QString()}));
        QCOMPARE(m.taskState(), 0);

        m.deleteTask(1, true);
        settle(6);
        s = lastOperate(rig);
        QCOMPARE((QList<QVariant>{s.operate, s.vType, s.downId, s.isDeleteFile}),
                 (QList<QVariant>{3, 1, b, true}));
        QCOMPARE(m.rowCount(), 2);

        // Rows outside the list send nothing.
        const int before = rig.count("bt_OperateTask");
        const int shown = busy.count();
        m.startTask(7);
        m.pauseTask(-1);
        m.deleteTask(2, false);
        QCOMPARE(busy.count(), shown);

        // A refused operation is shown and nothing reloads.
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        rig.server->queueCommandAnswer("bt_OperateTask", TaskRig::failure(5, "not now"));
        m.pauseTask(0);
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 10000);
        QCOMPARE(toast.at(0).at(0).toInt(), 5);
        QCOMPARE(rig.count("bt_OperateTask"), before + 1);
        QCOMPARE(state.count(), 6);

        m.allDelete(false);
        settle(7);
        s = lastOperate(rig);
        QCOMPARE((QList<QVariant>{s.operate, s.vType, s.isDeleteFile}), (QList<QVariant>{3, 3, false}));
        QCOMPARE(m.rowCount(), 0);
        // Nothing to act on: the "all" operations are not sent.
        const int sent = rig.count("bt_OperateTask");
        m.allStart();
        m.allPause();
        m.allDelete(true);
        QCOMPARE(rig.count("bt_OperateTask"), sent);
    }

    void selectionAndDeletingTheSelection()
    {
        TaskRig rig;
        QVERIFY(rig.start("select"));
        QStringList ids;
        for (int i = 0; i < 4; ++i)
            ids << QString::fromStdString(rig.server->addBtTask("t" + std::to_string(i), 2, 1));
        SmartDownModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 4, 10000);
        QSignalSpy num(&m, &BtTaskModel::selectNumChanged);
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);

        m.singleSelect(1);
        QCOMPARE(m.selectNum(), 1);
        m.singleSelect(1);
        QCOMPARE(m.selectNum(), 0);
        m.multiSelect(0);
        m.multiSelect(3);
        m.multiSelect(2);
        QCOMPARE(m.selectNum(), 3);
        QCOMPARE(changed.last().at(0).toModelIndex().row(), 2);
        m.singleSelect(1);
        QCOMPARE(m.selectNum(), 1);
        QVERIFY(m.index(1).data(SmartDownModel::SelectedRole).toBool());
        const int signalsBefore = num.count();
        m.singleSelect(9);
        QCOMPARE(num.count(), signalsBefore);
        m.singleSelect(-1);
        QCOMPARE(num.count(), signalsBefore + 1);
        QVERIFY(!m.isCheck());
        m.allSelect();
        QVERIFY(m.isAll());
        m.allSelect();
        QCOMPARE(m.selectNum(), 0);

        m.deleteSelect(true);   // empty selection: nothing
        QCOMPARE(rig.count("bt_DeleteTask"), 0);
        m.multiSelect(3);
        m.multiSelect(0);
        m.deleteSelect(true);
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 2, 10000);
        const Json::Value d = rig.sent("bt_DeleteTask").at(0);
        QCOMPARE(d["isDeleteFile"].asBool(), true);
        QCOMPARE(d["downId"].size(), 2u);
        QCOMPARE(QString::fromStdString(d["downId"][0].asString()), ids[0]);
        QCOMPARE(QString::fromStdString(d["downId"][1].asString()), ids[3]);
        QCOMPARE(m.selectNum(), 0);
    }

    void addingATaskToDeviceOrExternalStorage()
    {
        TaskRig rig;
        QVERIFY(rig.start("add"));
        SmartDownModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        QVariantMap folder{{"fid", 7}, {"serialNo", "sn1"}, {"filePath", ""}};
        m.addTaskSource(folder, "http://example.org/files/big.iso");
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 1, 10000);
        QCOMPARE(m.index(0).data(SmartDownModel::FileNameRole).toString(), QString("big.iso"));
        Json::Value d = rig.sent("bt_AddTask").at(0);
        QCOMPARE(QString::fromStdString(d["resource"].asString()), QString("http://example.org/files/big.iso"));
        QCOMPARE(QString::fromStdString(d["diskSerial"].asString()), QString("sn1"));
        QCOMPARE(d["saveDirId"].asInt(), 7);
        QCOMPARE(d["isExternal"].asBool(), false);
        QVERIFY(!d.isMember("externalPath"));

        folder["filePath"] = "usb1/downloads";
        m.addTaskSource(folder, "magnet:?xt=urn:btih:abc");
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 2, 10000);
        d = rig.sent("bt_AddTask").at(1);
        QCOMPARE(QString::fromStdString(d["externalPath"].asString()), QString("usb1/downloads"));
        QCOMPARE(d["isExternal"].asBool(), true);
        QVERIFY(!d.isMember("saveDirId"));

        // A link the device refuses is reported, not listed.
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        m.addTaskSource(folder, "");
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 10000);
        QCOMPARE(m.rowCount(), 2);

        // A torrent stored on the device goes by its file id.
        m.addTaskFile(folder, 42);
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 3, 10000);
        d = rig.sent("bt_AddTask").at(3);
        QCOMPARE(d["fileId"].asInt(), 42);
        QVERIFY(!d.isMember("resource"));

        // Another list's answers are not taken. Each accepted add reloaded
        // the list (three requests); this load is the fourth. The answer
        // reaches the other list before a receiver connected after it.
        QCOMPARE(rig.count("bt_GetTaskList"), 3);
        SmartDownModel other;
        other.setTw(rig.dev.get());
        QSignalSpy otherState(&other, &SmartDownModel::taskStateChanged);
        QObject after;
        int answers = 0;
        connect(rig.dev.get(), &TidewellDevice::rBtGetTaskList, &after, [&] { ++answers; });
        m.loadData();
        QTRY_COMPARE_WITH_TIMEOUT(answers, 1, 10000);
        QCOMPARE(rig.count("bt_GetTaskList"), 4);
        QCOMPARE(otherState.count(), 0);
        QCOMPARE(other.rowCount(), 0);
    }

    void finishedListPagesAndStopsAtAFailedPage()
    {
        TaskRig rig;
        QVERIFY(rig.start("finished"));
        QStringList ids;
        for (int i = 0; i < 120; ++i)
            ids << QString::fromStdString(rig.server->addBtTask("done" + std::to_string(i) + ".mp4", 6, 1024));
        rig.server->addBtTask("running.bin", 2);
        SmartDownFinishModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        QVERIFY(m.canFetchMore(QModelIndex()));

        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 50, 10000);
        QCOMPARE(m.index(0).data(SmartDownFinishModel::FileIconRole).toInt(), getMediaType("mp4"));
        QVERIFY(!m.index(0).data(SmartDownFinishModel::FileDateRole).toString().isEmpty());

        // Page 2 fails: paging stops (a view that keeps asking sends
        // nothing) until the list is loaded again.
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        rig.server->queueCommandAnswer("bt_GetTaskList", TaskRig::failure(0, "busy"));
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 10000);
        QCOMPARE(m.rowCount(), 50);
        QVERIFY(!m.canFetchMore(QModelIndex()));
        m.fetchMore(QModelIndex());
        QTest::qWait(200);
        QCOMPARE(rig.count("bt_GetTaskList"), 2);
        m.refershData();
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 50, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!m.isLoading(), 10000);
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 100, 10000);
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 120, 10000);
        QVERIFY(!m.canFetchMore(QModelIndex()));
        QList<int> pages;
        for (const Json::Value& d : rig.sent("bt_GetTaskList")) {
            QCOMPARE(d["vType"].asInt(), 2);
            pages << d["pageNo"].asInt();
        }
        QCOMPARE(pages, (QList<int>{1, 2, 1, 2, 3}));
        QCOMPARE(m.index(119).data(SmartDownFinishModel::FileNameRole).toString(), QString("done119.mp4"));

        // Row operations refresh the list; the item-model tester fetches
        // page 1 again as the view does.
        auto reloaded = [&](int asked) {
            QTRY_COMPARE_WITH_TIMEOUT(rig.count("bt_GetTaskList"), asked, 10000);
            QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 50, 10000);
            QCOMPARE(rig.sent("bt_GetTaskList").back()["pageNo"].asInt(), 1);
        };
        m.startIndex(1);
        reloaded(6);
        Sent s = lastOperate(rig);
        QCOMPARE((QList<QVariant>{s.operate, s.vType, s.downId}), (QList<QVariant>{2, 1, ids[1]}));
        QCOMPARE(rig.server->btTaskStates().at(ids[1].toStdString()), 0);
        QCOMPARE(m.index(1).data(SmartDownFinishModel::FileNameRole).toString(), QString("done2.mp4"));

        m.deleteIndex(0, true);
        reloaded(7);
        const Json::Value del = rig.sent("bt_DeleteTask").at(0);
        QCOMPARE(QString::fromStdString(del["downId"][0].asString()), ids[0]);
        QCOMPARE(del["isDeleteFile"].asBool(), true);
        QCOMPARE(m.index(0).data(SmartDownFinishModel::FileNameRole).toString(), QString("done2.mp4"));

        QSignalSpy view(&m, &BaseModel::sg_DefaultStateChange);
        m.allDelete(false);
        QTRY_COMPARE_WITH_TIMEOUT(rig.count("bt_GetTaskList"), 7, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!view.isEmpty() && view.last().at(1).toString() == "No File", 10000);
        QCOMPARE(m.rowCount(), 0);
        s = lastOperate(rig);
        QCOMPARE((QList<QVariant>{s.operate, s.vType, s.isDeleteFile}), (QList<QVariant>{3, 2, false}));
        QCOMPARE(rig.server->btTaskStates().size(), std::size_t(2));   // running + restarted
    }

    void aFailedFirstFinishedPageStillRefreshes()
    {
        TaskRig rig;
        QVERIFY(rig.start("finfail"));
        rig.server->addBtTask("x.txt", 6);
        SmartDownFinishModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setTw(rig.dev.get());
        QSignalSpy view(&m, &BaseModel::sg_DefaultStateChange);
        rig.server->queueCommandAnswer("bt_GetTaskList", TaskRig::failure(0, "asleep"));
        m.fetchMore(QModelIndex());
        QTRY_COMPARE_WITH_TIMEOUT(view.count(), 1, 10000);
        QCOMPARE(view.at(0).at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Error);
        m.refershData();   // the tester fetches page 1 as the view does
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 1, 10000);
        QCOMPARE(rig.sent("bt_GetTaskList").back()["pageNo"].asInt(), 1);
    }
};

TW_TEST_MAIN(TestSmartDown)
#include "tst_smartdown.moc"
