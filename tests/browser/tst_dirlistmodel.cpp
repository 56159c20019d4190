// The personal-space folder list: a reload while a page is on its way and a
// failing device, against the test device.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <memory>

#include "browser/dirlistmodel.h"
#include "device/tidewelldevice.h"
#include "tests/pageorder.h"
#include "tests/transfer/taskrig.h"

class TestDirListModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TaskRig> m_rig;
    int m_n = 0;

private slots:
    void init()
    {
        m_rig.reset(new TaskRig);
        QVERIFY(m_rig->start("dirs" + QString::number(++m_n)));
    }

    void cleanup() { m_rig.reset(); }

    // Reloaded while the first page was on its way: the rows shown are
    // those asked after the reload, whichever answer comes first.
    void reloadDuringTheFirstLoad_data() { answerOrderRows(); }

    void reloadDuringTheFirstLoad()
    {
        QFETCH(bool, oldAnswerFirst);
        orderAnswers(*m_rig->server, "getDirPath", oldAnswerFirst, filePage(100, 2), filePage(200, 3));
        DirListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_rig->dev.get());
        m.fetchMore();
        QTRY_COMPARE(m_rig->count("getDirPath"), 1);
        m.reload();
        QTRY_COMPARE(m_rig->count("getDirPath"), 2);
        QTRY_COMPARE(m.rowCount(), 3);
        QTest::qWait(kHeldAnswerMs);
        QCOMPARE(m.rowCount(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m.items().at(i).id, qint64(200 + i));
        QCOMPARE(m.fileNum(), 3);
        QVERIFY(!m.loading());
    }

    // A failed page stops paging until a reload: a view that keeps asking
    // sends the device nothing more.
    void failedPageStopsPaging()
    {
        m_rig->server->addFile("a.txt", "x");
        m_rig->server->queueCommandAnswer("getDirPath", R"({"result":0,"errCode":5,"message":"disk asleep"})");
        DirListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_rig->dev.get());
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        m.fetchMore();
        QTRY_VERIFY(!state.isEmpty());
        QCOMPARE(state.last().at(0).toInt(), int(BaseModel::DS_Error));
        QCOMPARE(state.last().at(1).toString(), QString("disk asleep"));
        QVERIFY(!m.canFetchMore(QModelIndex()));
        for (int i = 0; i < 5; ++i)
            m.fetchMore();
        QTest::qWait(200);
        QCOMPARE(m_rig->count("getDirPath"), 1);
        m.reload();
        QTRY_COMPARE(m.rowCount(), 1);
        QCOMPARE(m.items().at(0).name, QString("a.txt"));
    }
};

TW_TEST_MAIN(TestDirListModel)
#include "tst_dirlistmodel.moc"
