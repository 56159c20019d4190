#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QDesktopServices>
#include <QSignalSpy>
#include <QUrl>

#include "core/dbhelp.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "tests/transfer/transferstore.h"
#include "transfer/lvfinishmanager.h"
#include "transfer/tsfinishfilemodel.h"

using Role = TSFinishFileModel::Role;

// Takes the URLs handed to the desktop instead of launching anything.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

class TestFinishFileModel : public QObject
{
    Q_OBJECT
private:
    static QList<FinishFileInfo> makeRows(int firstFId, int n)
    {
        QList<FinishFileInfo> out;
        for (int i = 0; i < n; ++i) {
            FinishFileInfo f;
            f.fId = firstFId + i;
            f.fileName = QString("done%1.pdf").arg(f.fId);
            f.savePath = QString("/data/dl/done%1.pdf").arg(f.fId);
            out.append(f);
        }
        return out;
    }
    static QList<int> modelFIds(const TSFinishFileModel& m)
    {
        QList<int> out;
        for (int i = 0; i < m.rowCount(); ++i)
            out.append(m.index(i).data(Role::FileNameRole).toString().mid(4).section('.', 0, 0).toInt());
        return out;
    }
    static void answer(LVFinishManager& fm, const QSignalSpy& spy,
                       const QList<FinishFileInfo>& rows, bool rs = true)
    {
        emit fm.rGetFinishFileList(rs, rows, spy.last().at(2).toInt());
    }

    // The list over a finish manager left uninitialised: the test answers
    // each page request itself.
    struct Rig
    {
        Rig() { model.setTw(&fm); }
        void answer(const QList<FinishFileInfo>& rows, bool rs = true)
        {
            TestFinishFileModel::answer(fm, pages, rows, rs);
        }

        LVFinishManager fm;
        TSFinishFileModel model;
        QAbstractItemModelTester tester{&model};
        QSignalSpy pages{&fm, &LVFinishManager::sGetFinishFileList};
    };

    // The list over a finish manager on the real store, for account acc1 on
    // device dev1.
    struct StoreRig
    {
        explicit StoreRig(DBHelp& db) : owner("acc1", "dev1")
        {
            ready = fm.init(&owner, &db);
            model.setTw(&fm);
        }

        TestOwner owner;
        LVFinishManager fm;
        TSFinishFileModel model;
        QAbstractItemModelTester tester{&model};
        bool ready = false;
    };

private slots:
    void init()
    {
        DBHelp db;
        TransferStore st(db);
        st.exec("delete from lv_finish_file");
    }

    void pagesNewestFirstWithRoles()
    {
        DBHelp db;
        TransferStore st(db);
        const qint64 base = QDateTime(QDate(2023, 5, 6), QTime(7, 8)).toMSecsSinceEpoch();
        for (int i = 0; i < 35; ++i)
            st.addFinish("acc1", "dev1", QString("f%1.mkv").arg(i), i % 2 == 1,
                         base + i * 60000, i == 34, QString("/save/f%1").arg(i));
        st.addFinish("acc1", "dev2", "other", false, base + 99999999);
        StoreRig rig(db);
        QVERIFY(rig.ready);
        QSignalSpy pages(&rig.fm, &LVFinishManager::sGetFinishFileList);
        rig.model.fetchMore(QModelIndex());
        QTRY_COMPARE(rig.model.rowCount(), 35);
        QTRY_VERIFY(!rig.model.isLoading());
        QVERIFY(!rig.model.hasMore());
        QCOMPARE(rig.model.page(), 3);
        QCOMPARE(pages.count(), 2);
        QTRY_COMPARE(rig.model.totalNum(), 35);

        QVERIFY(rig.model.roleNames().contains(Qt::DisplayRole));
        QCOMPARE(rig.model.roleNames().value(263), QByteArray("$Selected"));
        const QModelIndex folder = rig.model.index(0);  // the newest
        QCOMPARE(folder.data(Role::FileNameRole).toString(), QString("f34.mkv"));
        QCOMPARE(folder.data(Role::FileTypeRole).toInt(), 5);
        QCOMPARE(folder.data(Role::FileSizeRole).toString(), QString("--"));
        const QModelIndex up = rig.model.index(1);
        QCOMPARE(up.data(Role::StatusRole).toBool(), true);
        QCOMPARE(rig.model.index(2).data(Role::StatusRole).toBool(), false);
        QCOMPARE(up.data(Role::FileSizeRole).toString(), QString("3.00 KB"));
        QCOMPARE(up.data(Role::SavePathRole).toString(), QString("/save/f33"));
        const QModelIndex last = rig.model.index(34);
        QCOMPARE(last.data(Role::DTimeRole).toString(), QString("2023-05-06 07:08"));
        QVERIFY(!rig.model.index(35).data(Role::FileNameRole).isValid());
    }

    void emptyListShowsNoData()
    {
        Rig rig;
        QSignalSpy defaults(&rig.model, &BaseModel::sg_DefaultStateChange);
        rig.model.fetchMore(QModelIndex());
        rig.answer({});
        QVERIFY(!rig.model.hasMore());
        QCOMPARE(rig.model.page(), 1);
        QCOMPARE(defaults.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Empty);
        QCOMPARE(defaults.last().at(1).toString(), QString("No Data"));
    }

    void overlappingDeletionsRemoveTheirOwnRecords()
    {
        Rig rig;
        QSignalSpy dels(&rig.fm, &LVFinishManager::sDeleteFinishFiles);
        QSignalSpy totals(&rig.fm, &LVFinishManager::sGetTotalNum);
        rig.model.fetchMore(QModelIndex());
        rig.answer(makeRows(1, 8));

        rig.model.deleteItem(2);  // record 3
        rig.model.deleteItem(5);  // record 6
        rig.model.deleteItem(8);  // not a row
        QCOMPARE(dels.count(), 2);
        QCOMPARE(rig.model.rowCount(), 8);  // rows go when the answers come
        const int totalsBefore = totals.count();
        emit rig.fm.rDeleteFinishFiles(true, dels.at(0).at(1).toInt());
        QCOMPARE(modelFIds(rig.model), (QList<int>{1, 2, 4, 5, 6, 7, 8}));
        QCOMPARE(totals.count(), totalsBefore + 1);
        emit rig.fm.rDeleteFinishFiles(true, dels.at(1).at(1).toInt());
        QCOMPARE(modelFIds(rig.model), (QList<int>{1, 2, 4, 5, 7, 8}));
        // An answer that is not ours (or comes twice) removes nothing.
        emit rig.fm.rDeleteFinishFiles(true, dels.at(1).at(1).toInt());
        emit rig.fm.rDeleteFinishFiles(true, 0);
        QCOMPARE(rig.model.rowCount(), 6);

        // Selection of rows 1 and 4: sent highest first, removed on the answer.
        rig.model.multiSelect(1);
        rig.model.multiSelect(4);
        QCOMPARE(rig.model.selectNum(), 2);
        rig.model.deleteSelect();
        const QList<FinishFileInfo> sent = dels.last().at(0).value<QList<FinishFileInfo>>();
        QCOMPARE(sent.size(), 2);
        QCOMPARE(sent.at(0).fId, 7);
        QCOMPARE(sent.at(1).fId, 2);
        // A reload in between does not move the deletion onto other rows.
        rig.model.refershData();
        rig.answer(makeRows(1, 8));  // the store did not delete them yet
        emit rig.fm.rDeleteFinishFiles(true, dels.last().at(1).toInt());
        QCOMPARE(modelFIds(rig.model), (QList<int>{1, 3, 4, 5, 6, 8}));
        QCOMPARE(rig.model.selectNum(), 0);
        QVERIFY(!rig.model.isCheck());
    }

    void failedDeletionReportsAndReloads()
    {
        Rig rig;
        QSignalSpy dels(&rig.fm, &LVFinishManager::sDeleteFinishFiles);
        QSignalSpy toast(&rig.model, &BaseModel::sg_notifyStatus);
        rig.model.fetchMore(QModelIndex());
        rig.answer(makeRows(1, 5));
        rig.model.deleteItem(1);
        emit rig.fm.rDeleteFinishFiles(false, dels.last().at(1).toInt());
        QCOMPARE(toast.count(), 1);
        QCOMPARE(toast.at(0).at(2).value<BaseModel::ToastLevel>(), BaseModel::TL_Error);
        QCOMPARE(rig.pages.count(), 2);
        QCOMPARE(rig.pages.last().at(0).toInt(), 1);
        rig.answer(makeRows(1, 5));
        QCOMPARE(rig.model.rowCount(), 5);

        // A failed clear-all changes nothing.
        emit rig.fm.rDeleteAll(false);
        QCOMPARE(rig.model.rowCount(), 5);
        QCOMPARE(rig.pages.count(), 2);
        QCOMPARE(toast.count(), 2);
    }

    void clearAllRemovesOnlyTheCurrentAccountAndDevice()
    {
        DBHelp db;
        TransferStore st(db);
        for (int i = 0; i < 12; ++i)
            st.addFinish("acc1", "dev1", QString("f%1").arg(i), false, 100 + i);
        st.addFinish("acc1", "dev2", "o1", false, 1);
        st.addFinish("acc2", "dev1", "o2", true, 1);
        StoreRig rig(db);
        QVERIFY(rig.ready);
        rig.model.fetchMore(QModelIndex());
        QTRY_COMPARE(rig.model.rowCount(), 12);
        rig.model.multiSelect(3);
        QSignalSpy defaults(&rig.model, &BaseModel::sg_DefaultStateChange);
        QSignalSpy reset(&rig.model, &QAbstractItemModel::modelReset);
        rig.model.clearAll();
        QTRY_VERIFY(reset.count() >= 1);
        QTRY_VERIFY(!rig.model.isLoading());
        QCOMPARE(rig.model.rowCount(), 0);
        QCOMPARE(rig.model.selectNum(), 0);
        QCOMPARE(defaults.last().at(1).toString(), QString("No Data"));
        QCOMPARE(st.count("select count(1) from lv_finish_file"), 2);
        QCOMPARE(st.count("select count(1) from lv_finish_file where accessId = 'acc1'"
                          " and deviceId = 'dev1'"), 0);
    }

    void realDeletionsMatchTheStore()
    {
        DBHelp db;
        TransferStore st(db);
        for (int i = 0; i < 10; ++i)
            st.addFinish("acc1", "dev1", QString("f%1").arg(i), false, 100 + i);
        StoreRig rig(db);
        QVERIFY(rig.ready);
        rig.model.fetchMore(QModelIndex());
        QTRY_COMPARE(rig.model.rowCount(), 10);
        QTRY_VERIFY(!rig.model.isLoading());
        rig.model.deleteItem(2);
        rig.model.deleteItem(6);
        rig.model.multiSelect(0);
        rig.model.deleteSelect();
        QTRY_COMPARE(rig.model.rowCount(), 7);
        QTRY_COMPARE(rig.model.totalNum(), 7);
        // What is shown is exactly what the store holds.
        QStringList shown;
        for (int i = 0; i < rig.model.rowCount(); ++i)
            shown.append(rig.model.index(i).data(Role::FileNameRole).toString());
        QCOMPARE(shown, (QStringList{"f8", "f6", "f5", "f4", "f2", "f1", "f0"}));
        QCOMPARE(st.count("select count(1) from lv_finish_file"), 7);

        // Two neighbouring selected rows both go.
        rig.model.multiSelect(1);
        rig.model.multiSelect(2);
        rig.model.deleteSelect();
        QTRY_COMPARE(rig.model.rowCount(), 5);
        shown.clear();
        for (int i = 0; i < rig.model.rowCount(); ++i)
            shown.append(rig.model.index(i).data(Role::FileNameRole).toString());
        QCOMPARE(shown, (QStringList{"f8", "f4", "f2", "f1", "f0"}));
        QCOMPARE(st.count("select count(1) from lv_finish_file"), 5);
    }

    void openFileAndLocation()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        Rig rig;
        rig.model.fetchMore(QModelIndex());
        QList<FinishFileInfo> rows = makeRows(1, 3);
        rows[0].savePath = "/data/dl/a b.txt";
        rows[1].isUp = true;
        rows[1].filePath = "/home/u/pic.jpg";
        rows[1].savePath = "/remote/photos";
        rows[2].isFolder = true;
        rows[2].savePath = "/data/dl/Photos";
        rig.answer(rows);

        rig.model.openFile(0);
        rig.model.openLocation(0);
        rig.model.openFile(1);
        rig.model.openLocation(1);
        rig.model.openLocation(2);
        rig.model.openFile(3);
        rig.model.openLocation(-1);
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(catcher.urls,
                 (QList<QUrl>{QUrl::fromLocalFile("/data/dl/a b.txt"),
                              QUrl::fromLocalFile("/data/dl"),
                              QUrl::fromLocalFile("/home/u/pic.jpg"),
                              QUrl::fromLocalFile("/home/u"),
                              QUrl::fromLocalFile("/data/dl/Photos")}));
    }

    void selectionRules()
    {
        LVFinishManager fm;
        TSFinishFileModel model;
        QAbstractItemModelTester tester(&model);
        model.setTw(&fm);
        model.setTw(&fm);
        QSignalSpy pages(&fm, &LVFinishManager::sGetFinishFileList);
        model.fetchMore(QModelIndex());
        QCOMPARE(pages.count(), 1);
        answer(fm, pages, makeRows(1, 3));
        model.singleSelect(-1);
        QCOMPARE(model.selectNum(), 0);
        model.singleSelect(1);
        QCOMPARE(model.selectNum(), 1);
        model.singleSelect(-1);  // does nothing here
        QCOMPARE(model.selectNum(), 1);
        model.singleSelect(1);
        QCOMPARE(model.selectNum(), 0);
        model.multiSelect(0);
        model.multiSelect(2);
        model.allSelect();
        QVERIFY(model.isAll());
        QCOMPARE(model.selectNum(), 3);
        // A reload keeps the selection of the records that come back.
        model.refershData();
        answer(fm, pages, makeRows(1, 3));
        QVERIFY(model.isAll());
        QVERIFY(model.index(2).data(Role::SelectedRole).toBool());
        model.allSelect();
        QCOMPARE(model.selectNum(), 0);
    }
};

TW_TEST_MAIN(TestFinishFileModel)
#include "tst_finishfilemodel.moc"
