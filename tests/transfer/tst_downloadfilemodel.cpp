#include <QAbstractItemModelTester>
#include <QSet>
#include <QSignalSpy>

#include "core/dbhelp.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "tests/transfer/fids.h"
#include "tests/transfer/transferstore.h"
#include "transfer/downloadfilemodel.h"
#include "transfer/lvdownloadmanager.h"
#include "transfer/lvfinishmanager.h"

using Role = TransferListModel::Role;

// The download list over real managers. The finish manager is either
// initialised on a real store, or left uninitialised so that the test sees
// each page request and answers it itself. The download manager is never
// initialised: the test watches its request signals and emits its reports.
class TestDownloadFileModel : public QObject
{
    Q_OBJECT
private:
    static QList<DownFileInfo> makeRows(int firstFId, int n, int state = 2)
    {
        QList<DownFileInfo> out;
        for (int i = 0; i < n; ++i) {
            DownFileInfo f;
            f.fId = firstFId + i;
            f.fileName = QString("file%1.mp4").arg(f.fId);
            f.fileState = state;
            f.fileSize = 2048;
            out.append(f);
        }
        return out;
    }
    static QList<int> modelFIds(const DownloadFileModel& m)
    {
        QList<int> out;
        for (int i = 0; i < m.rowCount(); ++i)
            out.append(m.getFileData(i).value("fId").toInt());
        return out;
    }
    // Answers the last page request seen on spy.
    static void answer(LVFinishManager& fm, const QSignalSpy& spy, const QList<DownFileInfo>& rows,
                       int rs = 1)
    {
        emit fm.rDownFileList(rs, rows, spy.last().at(2).toInt());
    }

    // The list over a finish manager left uninitialised (the test answers
    // each page request itself) and a download manager that only records
    // the commands it gets.
    struct Rig
    {
        Rig()
        {
            model.setDown(&dm);
            model.setTwfs(&fm);
        }
        void answer(const QList<DownFileInfo>& rows, int rs = 1)
        {
            TestDownloadFileModel::answer(fm, pages, rows, rs);
        }

        LVFinishManager fm;
        LVDownloadManager dm;
        DownloadFileModel model;
        QAbstractItemModelTester tester{&model};
        QSignalSpy pages{&fm, &LVFinishManager::sDownFileList};
    };

private slots:
    void init()
    {
        DBHelp db;
        TransferStore st(db);
        st.exec("delete from lv_down_file");
        st.exec("delete from lv_down_sub_file");
    }

    void pagesFollowTheStoreAndHideOtherDevices()
    {
        DBHelp db;
        TransferStore st(db);
        QList<QPair<QPair<int, qint64>, int>> expect;
        int folder = 0;
        for (int i = 0; i < 65; ++i) {
            const int state = 1 + (i * 3) % 4;
            const qint64 t = 5000 + ((i * 29) % 65);
            const int fId = st.addDown("acc1", "dev1", QString("d%1.txt").arg(i), state, t, i == 7);
            if (i == 7)
                folder = fId;
            expect.append({{state, t}, fId});
        }
        for (int i = 0; i < 4; ++i)
            st.addDownSub(folder, "s", 2, 1);
        QSet<int> foreign;
        for (int i = 0; i < 6; ++i)
            foreign.insert(st.addDown("acc1", "dev2", "x", 1, 1));
        std::sort(expect.begin(), expect.end());
        QList<int> expectIds;
        for (const auto& e : expect)
            expectIds.append(e.second);

        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        LVDownloadManager dm;
        DownloadFileModel model;
        QAbstractItemModelTester tester(&model);
        QSignalSpy pages(&fm, &LVFinishManager::sDownFileList);
        QSignalSpy totals(&dm, &LVDownloadManager::sGetTotalNum);
        model.setDown(&dm);
        model.setTwfs(&fm);
        QCOMPARE(model.roleNames().size(), 10);
        QCOMPARE(model.roleNames().value(266), QByteArray("$Selected"));

        model.fetchMore(QModelIndex());
        QTRY_COMPARE(model.rowCount(), 65);
        QTRY_VERIFY(!model.isLoading());
        QVERIFY(!model.hasMore());
        QCOMPARE(model.page(), 3);
        QCOMPARE(model.loadNum(), 65);
        QCOMPARE(modelFIds(model), expectIds);
        for (int id : modelFIds(model))
            QVERIFY(!foreign.contains(id));
        // One request per page, in order.
        QCOMPARE(pages.count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(pages.at(i).at(0).toInt(), i + 1);
            QCOMPARE(pages.at(i).at(1).toInt(), 30);
        }
        QCOMPARE(totals.count(), 3);
        const int row = expectIds.indexOf(folder);
        const QModelIndex idx = model.index(row);
        QCOMPARE(idx.data(Role::FileNameRole).toString(), QString("d7.txt (4)"));
        QCOMPARE(idx.data(Role::FileTypeRole).toInt(), 5);
        // Mixed states: both buttons on.
        QTRY_COMPARE(model.taskState(), 2);

        emit dm.rGetTotalNum(true, 65);
        QCOMPARE(model.totalNum(), 65);
        emit dm.rGetTotalNum(false, 3);
        QCOMPARE(model.totalNum(), 65);
    }

    void liveReportsTouchOnlyTheirRow()
    {
        Rig rig;
        QSignalSpy states(&rig.fm, &LVFinishManager::sGetDownFileState);
        rig.model.fetchMore(QModelIndex());
        QList<DownFileInfo> rows = makeRows(100, 5);
        rows[3].isFolder = true;
        rows[3].fileName = "Photos";
        rows[3].num = 9;
        rig.answer(rows);
        QCOMPARE(rig.model.rowCount(), 5);
        QVERIFY(!rig.model.hasMore());
        QCOMPARE(rig.model.page(), 1);

        QSignalSpy changed(&rig.model, &QAbstractItemModel::dataChanged);
        DownFileInfo p = rows[1];
        p.fileState = 1;
        p.fileWriteLen = 1024;
        p.progress = 0.5f;
        p.speed = 1024;
        emit rig.dm.rDownloadProgress(p);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 1);
        QCOMPARE(changed.at(0).at(1).toModelIndex().row(), 1);
        QCOMPARE(changed.at(0).at(2).value<QVector<int>>(),
                 (QVector<int>{262, 259, 260, 263, 264}));
        const QModelIndex i1 = rig.model.index(1);
        QCOMPARE(i1.data(Role::SpeedRole).toString(), QString("1.00 KB/s"));
        QCOMPARE(i1.data(Role::ReceiveSizeRole).toString(), QString("1.00 KB"));
        QCOMPARE(i1.data(Role::WriteSizeRole).toLongLong(), 1024);
        QCOMPARE(i1.data(Role::PValRole).toFloat(), 0.5f);
        QCOMPARE(rig.model.index(0).data(Role::StatusRole).toInt(), 2);
        QCOMPARE(states.count(), 1);  // progress asks nothing

        // A folder's progress also carries its size.
        DownFileInfo fp = rows[3];
        fp.fileSize = 4096;
        emit rig.dm.rDownloadProgress(fp);
        QCOMPARE(changed.last().at(2).value<QVector<int>>(),
                 (QVector<int>{262, 259, 260, 263, 261, 264}));

        // A report for an entry that is not loaded changes nothing.
        DownFileInfo stranger = makeRows(999, 1).first();
        emit rig.dm.rDownloadProgress(stranger);
        emit rig.dm.rDownloadError(stranger);
        QCOMPARE(changed.count(), 2);

        DownFileInfo s = rows[0];
        s.fileState = 1;
        emit rig.dm.rDownloadStart(s);
        QCOMPARE(changed.last().at(2).value<QVector<int>>(), QVector<int>{262});
        QCOMPARE(states.count(), 2);

        DownFileInfo fs = rows[3];
        fs.fileState = 1;
        fs.num = 8;
        fs.fileSize = 777;
        emit rig.dm.rDownloadStart(fs);
        QCOMPARE(changed.last().at(2).value<QVector<int>>(),
                 (QVector<int>{262, 259, 260, 263, 261, 258}));
        QCOMPARE(rig.model.index(3).data(Role::FileNameRole).toString(), QString("Photos (8)"));

        DownFileInfo fpause = rows[3];
        fpause.fileState = 3;
        fpause.num = 7;
        emit rig.dm.rDownloadPause(fpause);
        QCOMPARE(changed.last().at(2).value<QVector<int>>(), (QVector<int>{262, 258}));
        QCOMPARE(states.count(), 4);

        DownFileInfo e = rows[2];
        e.fileState = 4;
        e.msg = "disk full";
        emit rig.dm.rDownloadError(e);
        QCOMPARE(changed.last().at(2).value<QVector<int>>(), (QVector<int>{262, 265}));
        QCOMPARE(rig.model.index(2).data(Role::MsgRole).toString(), QString(", disk full"));
        QCOMPARE(rig.model.index(4).data(Role::MsgRole).toString(), QString(", Unknown error"));
        QCOMPARE(states.count(), 4);  // errors ask nothing

        // A file inside some folder shares its number with a loaded row (the
        // two tables count apart): its reports never touch that row.
        const int quiet = changed.count();
        DownFileInfo sub = rows[1];
        sub.isSubItem = true;
        sub.pId = 4242;
        sub.fileState = 3;
        emit rig.dm.rDownloadPause(sub);
        sub.fileState = 4;
        emit rig.dm.rDownloadError(sub);
        emit rig.dm.rDownloadProgress(sub);
        emit rig.dm.rDownloadFinish(sub);
        QCOMPARE(changed.count(), quiet);
        QCOMPARE(rig.model.rowCount(), 5);
        QCOMPARE(rig.model.index(1).data(Role::StatusRole).toInt(), 1);

        // setData writes silently.
        const int before = changed.count();
        QVERIFY(rig.model.setData(rig.model.index(4), 3, Role::StatusRole));
        QVERIFY(!rig.model.setData(rig.model.index(5), 3, Role::StatusRole));
        QCOMPARE(changed.count(), before);
        QCOMPARE(rig.model.index(4).data(Role::StatusRole).toInt(), 3);
        QVERIFY(!rig.model.index(4).data(300).isValid());
    }

    void elevenFinishesRemoveTenThenReload()
    {
        DBHelp db;
        TransferStore st(db);
        for (int i = 0; i < 40; ++i)
            st.addDown("acc1", "dev1", QString("d%1").arg(i), 2, 100 + i);
        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        LVDownloadManager dm;
        DownloadFileModel model;
        QAbstractItemModelTester tester(&model);
        model.setDown(&dm);
        model.setTwfs(&fm);
        model.fetchMore(QModelIndex());
        QTRY_COMPARE(model.rowCount(), 40);
        QTRY_VERIFY(!model.isLoading());

        QSignalSpy pages(&fm, &LVFinishManager::sDownFileList);
        QSignalSpy totals(&dm, &LVDownloadManager::sGetTotalNum);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        for (int i = 0; i < 11; ++i) {
            // The manager finishes the entry in the store, then reports it.
            const QVariantMap m = model.getFileData(0);
            DownFileInfo f;
            f.fromVariantMap(m);
            QVERIFY(db.deleteDownFile(f));
            f.fileState = 5;
            emit dm.rDownloadFinish(f);
            if (i < 10) {
                QCOMPARE(removed.count(), i + 1);
                QCOMPARE(model.rowCount(), 39 - i);
                QCOMPARE(totals.count(), i + 1);
            }
        }
        // The eleventh re-reads from page 1 instead of removing a row.
        QCOMPARE(removed.count(), 10);
        QCOMPARE(pages.count(), 1);
        QCOMPARE(pages.at(0).at(0).toInt(), 1);
        QTRY_COMPARE(model.rowCount(), 29);
        QTRY_VERIFY(!model.isLoading());
        QVERIFY(reset.count() >= 1);
        QCOMPARE(model.getFileData(0).value("fileName").toString(), QString("d11"));
    }

    // Finished rows move the unread ones up: the next page must start where
    // the list ends now, not where it ended before, or a row is never shown.
    void finishedRowsHideNoRowOfTheNextPage()
    {
        DBHelp db;
        TransferStore st(db);
        QSet<QString> left;
        for (int i = 0; i < 70; ++i) {
            st.addDown("acc1", "dev1", QString("d%1").arg(i), 2, 100 + i);
            left.insert(QString("d%1").arg(i));
        }
        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        LVDownloadManager dm;
        DownloadFileModel model;
        // No tester yet: it asks for more rows itself, and the pages must
        // come one at a time here.
        model.setDown(&dm);
        model.setTwfs(&fm);
        auto finish = [&](int row) {
            DownFileInfo f;
            f.fromVariantMap(model.getFileData(row));
            left.remove(f.fileName);
            QVERIFY(db.deleteDownFile(f));
            f.fileState = 5;
            emit dm.rDownloadFinish(f);
        };

        // Only page 1 is loaded when its first row finishes.
        model.fetchMore(QModelIndex());
        QTRY_COMPARE(model.rowCount(), 30);
        QTRY_VERIFY(!model.isLoading());
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        finish(0);
        while (model.rowCount() < 60 && model.canFetchMore(QModelIndex())) {
            model.fetchMore(QModelIndex());
            QTRY_VERIFY(!model.isLoading());
        }
        QCOMPARE(model.rowCount(), 60);   // d1 to d60
        // Page 1 read again adds to the rows; it does not start the list over.
        QCOMPARE(reset.count(), 0);
        // Two rows of two pages finish, then the rest is paged in.
        finish(5);
        finish(40);
        QTRY_VERIFY(!model.isLoading());
        while (model.canFetchMore(QModelIndex())) {
            model.fetchMore(QModelIndex());
            QTRY_VERIFY(!model.isLoading());
        }
        QSet<QString> shown;
        for (int i = 0; i < model.rowCount(); ++i)
            shown.insert(model.getFileData(i).value("fileName").toString());
        QCOMPARE(model.rowCount(), 67);
        QCOMPARE(shown, left);
        QAbstractItemModelTester tester(&model);
    }

    void commandsReachTheManagerInOrder()
    {
        Rig rig;
        rig.model.fetchMore(QModelIndex());
        const QList<DownFileInfo> rows = makeRows(10, 4);
        rig.answer(rows);

        QSignalSpy startAll(&rig.dm, &LVDownloadManager::sAllStart);
        QSignalSpy pauseAll(&rig.dm, &LVDownloadManager::sAllPause);
        QSignalSpy deleteAll(&rig.dm, &LVDownloadManager::sAllDelete);
        QSignalSpy starts(&rig.dm, &LVDownloadManager::sStartFiles);
        QSignalSpy pauses(&rig.dm, &LVDownloadManager::sPauseFiles);
        QSignalSpy deletes(&rig.dm, &LVDownloadManager::sDeleteFiles);
        QSignalSpy start1(&rig.dm, &LVDownloadManager::sStartFile);
        QSignalSpy pause1(&rig.dm, &LVDownloadManager::sPauseFile);
        QSignalSpy delete1(&rig.dm, &LVDownloadManager::sDeleteFile);

        // Nothing selected: the selection commands send nothing.
        rig.model.deleteSelect();
        QCOMPARE(deletes.count(), 0);

        rig.model.multiSelect(2);
        rig.model.multiSelect(0);
        rig.model.deleteSelect();
        rig.model.pauseSelect();
        rig.model.startSelect();
        QCOMPARE(fIds(deletes.at(0).at(0).value<QList<DownFileInfo>>()), (QList<int>{12, 10}));
        QCOMPARE(fIds(pauses.at(0).at(0).value<QList<DownFileInfo>>()), (QList<int>{10, 12}));
        QCOMPARE(fIds(starts.at(0).at(0).value<QList<DownFileInfo>>()), (QList<int>{10, 12}));
        // Commands change neither rows nor selection.
        QCOMPARE(rig.model.rowCount(), 4);
        QCOMPARE(rig.model.selectNum(), 2);

        rig.model.startAll();
        rig.model.pauseAll();
        rig.model.deleteAll();
        QCOMPARE(startAll.count(), 1);
        QCOMPARE(pauseAll.count(), 1);
        QCOMPARE(deleteAll.count(), 1);

        rig.model.startFile(1);
        rig.model.pauseFile(1);
        rig.model.deleteFile(1);
        rig.model.startFile(4);
        rig.model.pauseFile(-1);
        rig.model.deleteFile(4);
        QCOMPARE(start1.count(), 1);
        QCOMPARE(pause1.count(), 1);
        QCOMPARE(delete1.count(), 1);
        QCOMPARE(start1.at(0).at(0).value<DownFileInfo>().fId, 11);
        QCOMPARE(delete1.at(0).at(0).value<DownFileInfo>().fId, 11);
        QCOMPARE(rig.model.getFileData(1).value("fileName").toString(), QString("file11.mp4"));
        QVERIFY(rig.model.getFileData(4).isEmpty());

        // The manager answers a single delete with a finish report.
        emit rig.dm.rDownloadFinish(delete1.at(0).at(0).value<DownFileInfo>());
        QCOMPARE(rig.model.rowCount(), 3);
        emit rig.dm.rStart();  // and most commands with rStart: a refresh
        QCOMPARE(rig.pages.count(), 2);
        QCOMPARE(rig.pages.last().at(0).toInt(), 1);
        QCOMPARE(rig.model.selectNum(), 0);
    }

    void refreshDuringPageLoadGivesExactlyPageOne()
    {
        Rig rig;
        rig.model.fetchMore(QModelIndex());
        const QList<DownFileInfo> page1 = makeRows(1, 30);
        const QList<DownFileInfo> page2 = makeRows(31, 30);
        rig.answer(page1);
        QCOMPARE(rig.model.page(), 2);
        // The view asks for page 2 at once.
        QCOMPARE(rig.pages.count(), 2);
        QCOMPARE(rig.pages.at(1).at(0).toInt(), 2);
        const int page2Serial = rig.pages.at(1).at(2).toInt();

        rig.model.refershData();
        QCOMPARE(rig.pages.count(), 2);  // never two requests in flight
        rig.model.refershData();         // a refresh is already pending
        QCOMPARE(rig.pages.count(), 2);

        // Another model's answer on the same manager is not ours.
        emit rig.fm.rDownFileList(1, makeRows(500, 3), page2Serial + 1000);
        QCOMPARE(rig.model.rowCount(), 30);

        // The stale page 2 arrives: dropped, then page 1 is asked for.
        emit rig.fm.rDownFileList(1, page2, page2Serial);
        QCOMPARE(rig.model.rowCount(), 30);
        QCOMPARE(rig.pages.count(), 3);
        QCOMPARE(rig.pages.at(2).at(0).toInt(), 1);
        QCOMPARE(modelFIds(rig.model), fIds(page1));

        QList<DownFileInfo> fresh = makeRows(1, 30);
        fresh.removeAt(0);
        fresh.append(makeRows(31, 1));
        rig.answer(fresh);
        QCOMPARE(modelFIds(rig.model), fIds(fresh));
        QCOMPARE(rig.model.page(), 2);
        QCOMPARE(rig.pages.count(), 4);
        QCOMPARE(rig.pages.at(3).at(0).toInt(), 2);

        // Page 2 repeats an entry that moved up meanwhile: shown once.
        QList<DownFileInfo> next = makeRows(31, 5);
        rig.answer(next);
        QCOMPARE(rig.model.rowCount(), 34);
        const QList<int> shown = modelFIds(rig.model);
        QCOMPARE(QSet<int>(shown.begin(), shown.end()).size(), 34);
        QVERIFY(!rig.model.hasMore());
    }

    void selectionNamesRecords()
    {
        Rig rig;
        rig.model.fetchMore(QModelIndex());
        const QList<DownFileInfo> rows = makeRows(1, 5);
        rig.answer(rows);

        QSignalSpy changed(&rig.model, &QAbstractItemModel::dataChanged);
        rig.model.multiSelect(1);
        rig.model.multiSelect(3);
        QCOMPARE(changed.last().at(2).value<QVector<int>>(), QVector<int>{266});
        QCOMPARE(rig.model.selectNum(), 2);
        QVERIFY(rig.model.isCheck());
        QVERIFY(!rig.model.isAll());

        // Row 0 finishes: the selected entries move up a row and stay selected.
        emit rig.dm.rDownloadFinish(rows[0]);
        QCOMPARE(rig.model.rowCount(), 4);
        QVERIFY(rig.model.index(0).data(Role::SelectedRole).toBool());
        QVERIFY(rig.model.index(2).data(Role::SelectedRole).toBool());
        QVERIFY(!rig.model.index(1).data(Role::SelectedRole).toBool());
        QSignalSpy deletes(&rig.dm, &LVDownloadManager::sDeleteFiles);
        rig.model.deleteSelect();
        QCOMPARE(fIds(deletes.at(0).at(0).value<QList<DownFileInfo>>()), (QList<int>{4, 2}));

        // A selected entry that finishes leaves the selection.
        emit rig.dm.rDownloadFinish(rows[3]);
        QCOMPARE(rig.model.selectNum(), 1);

        // singleSelect: the only selected row clears; another becomes the only one.
        rig.model.singleSelect(0);
        QCOMPARE(rig.model.selectNum(), 0);
        rig.model.singleSelect(1);
        rig.model.singleSelect(2);
        QCOMPARE(rig.model.selectNum(), 1);
        QVERIFY(rig.model.index(2).data(Role::SelectedRole).toBool());
        rig.model.singleSelect(-1);
        QCOMPARE(rig.model.selectNum(), 0);
        rig.model.singleSelect(7);  // not a row
        rig.model.multiSelect(7);
        QCOMPARE(rig.model.selectNum(), 0);

        // allSelect: two of three selected -> all; all -> none.
        rig.model.multiSelect(0);
        rig.model.multiSelect(1);
        rig.model.allSelect();
        QCOMPARE(rig.model.selectNum(), 3);
        QVERIFY(rig.model.isAll());
        rig.model.allSelect();
        QCOMPARE(rig.model.selectNum(), 0);
        QVERIFY(!rig.model.isCheck());
    }

    void failedPageKeepsRows()
    {
        Rig rig;
        QSignalSpy toast(&rig.model, &BaseModel::sg_notifyStatus);
        QSignalSpy defaults(&rig.model, &BaseModel::sg_DefaultStateChange);

        // A failed first load shows the error state.
        rig.model.fetchMore(QModelIndex());
        rig.answer({}, 0);
        QCOMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(defaults.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Error);

        rig.model.refershData();
        rig.answer(makeRows(1, 6));
        QCOMPARE(rig.model.rowCount(), 6);
        QCOMPARE(defaults.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_None);

        // A failed reload keeps what is shown and reports it.
        rig.model.refershData();
        rig.answer({}, 0);
        QCOMPARE(rig.model.rowCount(), 6);
        QCOMPARE(toast.count(), 2);
        QCOMPARE(defaults.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_None);
        // The refresh guard is released: the next refresh asks again.
        const int before = rig.pages.count();
        rig.model.refershData();
        QCOMPARE(rig.pages.count(), before + 1);

        // An empty queue.
        rig.answer({});
        QCOMPARE(rig.model.rowCount(), 0);
        QCOMPARE(defaults.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Empty);
        QCOMPARE(defaults.last().at(1).toString(), QString("No Download Task"));
        QVERIFY(!rig.model.hasMore());
    }

    void finishDuringPageLoadReadsThePageAgain()
    {
        Rig rig;
        emit rig.dm.rStart();
        QCOMPARE(rig.pages.count(), 1);
        // The entry finishes while the page is read: the page, read before,
        // still holds it and must not bring it back.
        const QList<DownFileInfo> before = makeRows(1, 2);
        emit rig.dm.rDownloadFinish(before.first());
        emit rig.dm.rStop();   // the queue ran empty: its refresh is already under way
        rig.answer(before);
        QCOMPARE(rig.model.rowCount(), 0);
        QCOMPARE(rig.pages.count(), 2);
        QCOMPARE(rig.pages.last().at(0).toInt(), 1);
        rig.answer(makeRows(2, 1));
        QCOMPARE(modelFIds(rig.model), QList<int>{2});
        QCOMPARE(rig.pages.count(), 2);
    }

    void rewritingManagersConnectsOnce()
    {
        LVFinishManager fm;
        LVDownloadManager dm;
        LVDownloadManager other;
        DownloadFileModel model;
        QAbstractItemModelTester tester(&model);
        QSignalSpy downChanged(&model, &DownloadFileModel::downChanged);
        model.setDown(&dm);
        model.setDown(&dm);
        model.setTwfs(&fm);
        model.setTwfs(&fm);
        QSignalSpy pages(&fm, &LVFinishManager::sDownFileList);
        model.fetchMore(QModelIndex());
        QCOMPARE(pages.count(), 1);
        const QList<DownFileInfo> rows = makeRows(1, 4);
        answer(fm, pages, rows);
        QCOMPARE(model.rowCount(), 4);

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        DownFileInfo p = rows[0];
        p.fileState = 1;
        emit dm.rDownloadProgress(p);
        QCOMPARE(changed.count(), 1);

        // Re-targeted: the old manager's reports are no longer taken.
        model.setDown(&other);
        QCOMPARE(downChanged.count(), 2);
        emit dm.rDownloadProgress(p);
        QCOMPARE(changed.count(), 1);
        emit other.rDownloadProgress(p);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(model.down(), static_cast<QObject*>(&other));
    }
};

TW_TEST_MAIN(TestDownloadFileModel)
#include "tst_downloadfilemodel.moc"
