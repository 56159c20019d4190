#include <QSignalSpy>

#include "core/dbhelp.h"
#include "tests/queuedspy.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "tests/transfer/transferstore.h"
#include "transfer/lvfinishmanager.h"

// The finish manager against a real store file: keys, orders, paging,
// folder counts, queue states, deletions.
class TestFinishManager : public QObject
{
    Q_OBJECT
private:
    template <class T>
    static QList<T> listArg(const QSignalSpy& spy, int call, int arg)
    {
        return spy.at(call).at(arg).value<QList<T>>();
    }

private slots:
    void init()
    {
        // Each case starts from an empty store.
        DBHelp db;
        TransferStore st(db);
        for (const char* t : {"lv_down_file", "lv_down_sub_file", "lv_upload_file",
                              "lv_upload_sub_file", "lv_finish_file"})
            st.exec(QString("delete from ") + t);
    }

    void nullOwnerLeavesRequestsUnconnected()
    {
        LVFinishManager fm;
        QVERIFY(!fm.init(nullptr, nullptr));
        QueuedSpy total(&fm, &LVFinishManager::rGetTotalNum);
        QueuedSpy state(&fm, &LVFinishManager::rGetDownFileState);
        emit fm.sGetTotalNum();  // goes nowhere

        TestOwner owner;
        QVERIFY(fm.init(&owner, nullptr));
        emit fm.sGetDownFileState();
        // Answers come in request order: once this one is in, an answer to
        // the first request would have been too.
        QTRY_COMPARE(state.count(), 1);
        QCOMPARE(total.count(), 0);
    }

    void emptyStore()
    {
        TestOwner owner;
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, nullptr));
        QueuedSpy list(&fm, &LVFinishManager::rGetFinishFileList);
        QueuedSpy total(&fm, &LVFinishManager::rGetTotalNum);
        QueuedSpy down(&fm, &LVFinishManager::rDownFileList);
        emit fm.sGetFinishFileList(1, 30, 77);
        emit fm.sGetTotalNum();
        emit fm.sDownFileList(1, 30, 78);
        QTRY_COMPARE(down.count(), 1);
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.at(0).at(0).toBool(), true);
        QVERIFY(listArg<FinishFileInfo>(list, 0, 1).isEmpty());
        QCOMPARE(list.at(0).at(2).toInt(), 77);  // the serial comes back
        QCOMPARE(total.at(0).at(0).toBool(), true);
        QCOMPARE(total.at(0).at(1).toInt(), 0);
        QCOMPARE(down.at(0).at(0).toInt(), 1);
        QCOMPARE(down.at(0).at(2).toInt(), 78);
    }

    void downloadQueuePageInStateThenAgeOrder()
    {
        DBHelp db;
        TransferStore st(db);
        // 65 rows of acc1/dev1 in mixed states and shuffled ages, plus rows of
        // another device and another account that must never show up.
        QList<QPair<QPair<int, qint64>, int>> expect;  // ((state, time), fId)
        int folderId = 0;
        for (int i = 0; i < 65; ++i) {
            const int state = 1 + (i * 7) % 4;
            const qint64 t = 1000000 + ((i * 37) % 65) * 10;
            const bool folder = i == 40;
            const int fId = st.addDown("acc1", "dev1", QString("f%1").arg(i), state, t, folder);
            if (folder)
                folderId = fId;
            expect.append({{state, t}, fId});
        }
        for (int i = 0; i < 5; ++i) {
            st.addDown("acc1", "dev2", "other", 1, 1, false);
            st.addDown("acc2", "dev1", "other", 1, 1, false);
        }
        for (int i = 0; i < 12; ++i)
            st.addDownSub(folderId, QString("s%1").arg(i), 2, 5);
        std::sort(expect.begin(), expect.end());

        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        QueuedSpy spy(&fm, &LVFinishManager::rDownFileList);
        emit fm.sDownFileList(2, 30, 5);
        emit fm.sDownFileList(3, 30, 6);
        QTRY_COMPARE(spy.count(), 2);
        const QList<DownFileInfo> page2 = listArg<DownFileInfo>(spy, 0, 1);
        QCOMPARE(page2.size(), 30);
        for (int i = 0; i < 30; ++i)
            QCOMPARE(page2.at(i).fId, expect.at(30 + i).second);
        const QList<DownFileInfo> page3 = listArg<DownFileInfo>(spy, 1, 1);
        QCOMPARE(page3.size(), 5);
        QList<DownFileInfo> all = page2 + page3;
        bool sawFolder = false;
        for (const DownFileInfo& f : all) {
            QCOMPARE(f.deviceId, QString("dev1"));
            QCOMPARE(f.accessId, QString("acc1"));
            if (f.fId == folderId) {
                sawFolder = true;
                QCOMPARE(f.num, 12);
            } else {
                QCOMPARE(f.num, 0);
            }
        }
        // The folder sorts by its state and age; it is on page 2 or 3 or on page 1.
        emit fm.sDownFileList(1, 30, 7);
        QTRY_COMPARE(spy.count(), 3);
        for (const DownFileInfo& f : listArg<DownFileInfo>(spy, 2, 1)) {
            if (f.fId == folderId) {
                sawFolder = true;
                QCOMPARE(f.num, 12);
            }
        }
        QVERIFY(sawFolder);
    }

    void uploadQueueCountsFolderFiles()
    {
        DBHelp db;
        TransferStore st(db);
        const int a = st.addUp("acc1", "dev1", "a.txt", 2, 20);
        const int dir = st.addUp("acc1", "dev1", "dir", 1, 30, true);
        st.addUp("acc1", "dev9", "x.txt", 1, 10);
        for (int i = 0; i < 3; ++i)
            st.addUpSub(dir, QString("s%1").arg(i), 2, 40 + i);

        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        QueuedSpy spy(&fm, &LVFinishManager::rUpFileList);
        emit fm.sUpFileList(1, 30, 9);
        QTRY_COMPARE(spy.count(), 1);
        const QList<UploadFileInfo> list = listArg<UploadFileInfo>(spy, 0, 1);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0).fId, dir);  // running before waiting
        QCOMPARE(list.at(0).num, 3);
        QCOMPARE(list.at(1).fId, a);
        QCOMPARE(list.at(1).num, 0);
    }

    void queueStates_data()
    {
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << QList<int>{} << 0;
        QTest::newRow("only paused") << QList<int>{3, 3} << 1;
        QTest::newRow("running and failed") << QList<int>{1, 4} << 2;
        QTest::newRow("only waiting") << QList<int>{2, 2, 2} << 0;
        QTest::newRow("running and waiting") << QList<int>{1, 2} << 0;
    }
    void queueStates()
    {
        QFETCH(QList<int>, states);
        QFETCH(int, expected);
        DBHelp db;
        TransferStore st(db);
        int t = 0;
        for (int s : states) {
            st.addDown("acc1", "dev1", "d", s, ++t);
            st.addUp("acc1", "dev1", "u", s, ++t);
        }
        // Rows of another device do not count.
        st.addDown("acc1", "dev2", "d", 3, ++t);
        st.addUp("acc1", "dev2", "u", 3, ++t);

        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        QueuedSpy down(&fm, &LVFinishManager::rGetDownFileState);
        QueuedSpy up(&fm, &LVFinishManager::rGetUpFileState);
        emit fm.sGetDownFileState();
        emit fm.sGetUpFileState();
        QTRY_COMPARE(up.count(), 1);
        QCOMPARE(down.at(0).at(0).toInt(), expected);
        QCOMPARE(up.at(0).at(0).toInt(), expected);
    }

    void finishedListNewestFirstAndDeletion()
    {
        DBHelp db;
        TransferStore st(db);
        QList<int> ids;
        for (int i = 0; i < 35; ++i)
            ids.append(st.addFinish("acc1", "dev1", QString("n%1").arg(i), i % 2, 1000 + i));
        const int otherDev = st.addFinish("acc1", "dev2", "o", false, 5000);
        const int otherAcc = st.addFinish("acc2", "dev1", "o", false, 5000);

        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, nullptr));
        QueuedSpy list(&fm, &LVFinishManager::rGetFinishFileList);
        QueuedSpy total(&fm, &LVFinishManager::rGetTotalNum);
        QueuedSpy del(&fm, &LVFinishManager::rDeleteFinishFiles);
        QueuedSpy delAll(&fm, &LVFinishManager::rDeleteAll);
        emit fm.sGetFinishFileList(1, 30, 1);
        emit fm.sGetFinishFileList(2, 30, 2);
        emit fm.sGetTotalNum();
        QTRY_COMPARE(total.count(), 1);
        QCOMPARE(total.at(0).at(1).toInt(), 35);
        const QList<FinishFileInfo> p1 = listArg<FinishFileInfo>(list, 0, 1);
        const QList<FinishFileInfo> p2 = listArg<FinishFileInfo>(list, 1, 1);
        QCOMPARE(p1.size(), 30);
        QCOMPARE(p2.size(), 5);
        QCOMPARE(p1.first().fId, ids.last());
        QCOMPARE(p2.last().fId, ids.first());
        QCOMPARE(p1.at(0).isUp, bool(34 % 2));

        emit fm.sDeleteFinishFiles({p1.at(0), p1.at(3)}, 42);
        QTRY_COMPARE(del.count(), 1);
        QCOMPARE(del.at(0).at(0).toBool(), true);
        QCOMPARE(del.at(0).at(1).toInt(), 42);
        QCOMPARE(st.count("select count(1) from lv_finish_file where fId in (?, ?)",
                          {p1.at(0).fId, p1.at(3).fId}), 0);

        emit fm.sDeleteAll();
        QTRY_COMPARE(delAll.count(), 1);
        QCOMPARE(delAll.at(0).at(0).toBool(), true);
        QCOMPARE(st.count("select count(1) from lv_finish_file"), 2);
        QCOMPARE(st.count("select count(1) from lv_finish_file where fId in (?, ?)",
                          {otherDev, otherAcc}), 2);
        // The queues are not touched.
        QCOMPARE(st.count("select count(1) from lv_down_file"), 0);
    }

    void failureListsOfOneFolder()
    {
        DBHelp db;
        TransferStore st(db);
        const int folder = st.addDown("acc1", "dev1", "F", 4, 1, true);
        const int done = st.addDown("acc1", "dev1", "G", 2, 2, true);
        st.addDownSub(done, "ok", 2, 3);
        QList<int> failed;
        for (int i = 0; i < 7; ++i) {
            st.addDownSub(folder, "w", 2, 100 + i);
            failed.append(st.addDownSub(folder, QString("e%1").arg(i), 4, 200 - i, "disk full"));
        }
        const int upFolder = st.addUp("acc1", "dev1", "U", 4, 3, true);
        st.addUpSub(upFolder, "ue", 4, 10, "gone");
        st.addUpSub(upFolder, "uw", 3, 11);

        TestOwner owner;
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        QueuedSpy down(&fm, &LVFinishManager::rGetDownloadFailFiles);
        QueuedSpy up(&fm, &LVFinishManager::rGetUploadFailFiles);
        DownFileInfo parent;
        parent.fId = folder;
        emit fm.sGetDownloadFailFiles(1, 5, parent, 3);
        emit fm.sGetDownloadFailFiles(2, 5, parent, 4);
        DownFileInfo other;
        other.fId = done;
        emit fm.sGetDownloadFailFiles(1, 5, other, 5);
        UploadFileInfo upParent;
        upParent.fId = upFolder;
        emit fm.sGetUploadFailFiles(1, 50, upParent, 6);
        QTRY_COMPARE(up.count(), 1);
        QCOMPARE(down.count(), 3);
        const QList<DownFileInfo> a = listArg<DownFileInfo>(down, 0, 1);
        const QList<DownFileInfo> b = listArg<DownFileInfo>(down, 1, 1);
        QCOMPARE(a.size(), 5);
        QCOMPARE(b.size(), 2);
        // Oldest first: the failed rows were stored with falling ages.
        QCOMPARE(a.first().fId, failed.last());
        QCOMPARE(b.last().fId, failed.first());
        QCOMPARE(a.first().msg, QString("disk full"));
        QVERIFY(listArg<DownFileInfo>(down, 2, 1).isEmpty());
        const QList<UploadFileInfo> u = listArg<UploadFileInfo>(up, 0, 1);
        QCOMPARE(u.size(), 1);
        QCOMPARE(u.first().fileName, QString("ue"));
        QCOMPARE(up.at(0).at(2).toInt(), 6);
    }

    void deviceSwitchAffectsLaterRequests()
    {
        DBHelp db;
        TransferStore st(db);
        st.addFinish("acc1", "dev1", "a", false, 1);
        st.addFinish("acc1", "dev2", "b", false, 2);
        st.addFinish("acc1", "dev2", "c", false, 3);
        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        QueuedSpy total(&fm, &LVFinishManager::rGetTotalNum);
        emit fm.sGetTotalNum();
        QTRY_COMPARE(total.count(), 1);
        owner.device.deviceId = "dev2";
        emit fm.sGetTotalNum();
        QTRY_COMPARE(total.count(), 2);
        QCOMPARE(total.at(0).at(1).toInt(), 1);
        QCOMPARE(total.at(1).at(1).toInt(), 2);
    }
};

TW_TEST_MAIN(TestFinishManager)
#include "tst_finishmanager.moc"
