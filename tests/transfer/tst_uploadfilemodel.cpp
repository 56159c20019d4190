#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "core/dbhelp.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "tests/transfer/fids.h"
#include "tests/transfer/transferstore.h"
#include "transfer/lvfinishmanager.h"
#include "transfer/lvuploadmanager.h"
#include "transfer/uploadfilemodel.h"

using Role = TransferListModel::Role;

// The upload list: what differs from the download list (loading overlay,
// refresh on a successful add, queue state on start and pause, the upload
// manager's commands), over real managers.
class TestUploadFileModel : public QObject
{
    Q_OBJECT
private:
    static QList<UploadFileInfo> makeRows(int firstFId, int n)
    {
        QList<UploadFileInfo> out;
        for (int i = 0; i < n; ++i) {
            UploadFileInfo f;
            f.fId = firstFId + i;
            f.fileName = QString("up%1.jpg").arg(f.fId);
            f.fileState = 2;
            out.append(f);
        }
        return out;
    }
    static void answer(LVFinishManager& fm, const QSignalSpy& spy,
                       const QList<UploadFileInfo>& rows)
    {
        emit fm.rUpFileList(1, rows, spy.last().at(2).toInt());
    }

    // The list over a finish manager left uninitialised (the test answers
    // each page request itself) and an upload manager that only records the
    // commands it gets.
    struct Rig
    {
        Rig()
        {
            model.setTw(&um);
            model.setTwfs(&fm);
        }
        void answer(const QList<UploadFileInfo>& rows) { TestUploadFileModel::answer(fm, pages, rows); }

        LVFinishManager fm;
        LVUploadManager um;
        UploadFileModel model;
        QAbstractItemModelTester tester{&model};
        QSignalSpy pages{&fm, &LVFinishManager::sUpFileList};
    };

private slots:
    void pagesWithFolderCountsAndOverlay()
    {
        DBHelp db;
        TransferStore st(db);
        QList<int> expect;
        const int dir = st.addUp("acc1", "dev1", "album", 1, 50, true);
        expect.append(dir);
        for (int i = 0; i < 34; ++i)
            expect.append(st.addUp("acc1", "dev1", QString("u%1").arg(i), 2, 100 + i));
        for (int i = 0; i < 3; ++i) {
            st.addUpSub(dir, "s", 2, 1);
            st.addUp("acc1", "devX", "x", 1, 1);
        }
        TestOwner owner("acc1", "dev1");
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        LVUploadManager um;
        UploadFileModel model;
        QAbstractItemModelTester tester(&model);
        QSignalSpy show(&model, &BaseModel::sg_showLoading);
        QSignalSpy hide(&model, &BaseModel::sg_cancelLading);
        QSignalSpy totals(&um, &LVUploadManager::sGetTotalNum);
        model.setTw(&um);
        model.setTwfs(&fm);
        model.fetchMore(QModelIndex());
        QCOMPARE(show.count(), 1);
        QTRY_COMPARE(model.rowCount(), 35);
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(show.count(), 2);
        QCOMPARE(hide.count(), 2);
        QCOMPARE(totals.count(), 2);
        QList<int> shown;
        for (int i = 0; i < model.rowCount(); ++i)
            shown.append(model.getFileData(i).value("fId").toInt());
        QCOMPARE(shown, expect);
        QCOMPARE(model.index(0).data(Role::FileNameRole).toString(), QString("album (3)"));
        QCOMPARE(model.index(1).data(Role::FileTypeRole).toInt(), getMediaType(""));
        QTRY_COMPARE(model.taskState(), 0);  // running and waiting only
        QVERIFY(model.getFileData(35).isEmpty());
    }

    void successfulAddReloadsFromPageOne()
    {
        Rig rig;
        QSignalSpy hide(&rig.model, &BaseModel::sg_cancelLading);
        QSignalSpy defaults(&rig.model, &BaseModel::sg_DefaultStateChange);
        rig.model.fetchMore(QModelIndex());
        rig.answer({});
        QCOMPARE(hide.count(), 1);  // an empty page hides the overlay too
        QCOMPARE(defaults.last().at(1).toString(), QString("No Upload Task"));

        emit rig.um.rAddUpFiles(false);
        QCOMPARE(rig.pages.count(), 1);
        emit rig.um.rAddUpFiles(true);
        QCOMPARE(rig.pages.count(), 2);
        QCOMPARE(rig.pages.last().at(0).toInt(), 1);
        emit rig.um.rAddUpFiles(true);  // a refresh is pending
        QCOMPARE(rig.pages.count(), 2);
        rig.answer(makeRows(1, 3));
        QCOMPARE(rig.model.rowCount(), 3);
        emit rig.um.rAddUpFiles(true);
        QCOMPARE(rig.pages.count(), 3);
    }

    void reportsAndQueueState()
    {
        Rig rig;
        QSignalSpy states(&rig.fm, &LVFinishManager::sGetUpFileState);
        QSignalSpy totals(&rig.um, &LVUploadManager::sGetTotalNum);
        rig.model.fetchMore(QModelIndex());
        const QList<UploadFileInfo> rows = makeRows(1, 4);
        rig.answer(rows);
        QCOMPARE(states.count(), 1);

        UploadFileInfo f = rows[1];
        f.fileState = 1;
        emit rig.um.rUploadStart(f);
        QCOMPARE(states.count(), 2);
        QCOMPARE(rig.model.index(1).data(Role::StatusRole).toInt(), 1);
        QCOMPARE(rig.model.index(1).data(Role::WriteSizeRole).toLongLong(), 0);
        f.fileState = 3;
        emit rig.um.rUploadPause(f);
        QCOMPARE(states.count(), 3);
        f.fileState = 4;
        f.msg = "File removed";
        emit rig.um.rUploadError(f);
        QCOMPARE(states.count(), 3);
        QCOMPARE(rig.model.index(1).data(Role::MsgRole).toString(), QString(", File removed"));
        f.fileState = 1;
        f.fileWriteLen = 3 * 1024 * 1024;
        f.speed = 2 * 1024 * 1024;
        emit rig.um.rUploadProgress(f);
        QCOMPARE(rig.model.index(1).data(Role::SpeedRole).toString(), QString("2.00 MB/s"));
        QCOMPARE(rig.model.index(1).data(Role::ReceiveSizeRole).toString(), QString("3.00 MB"));

        const int totalsBefore = totals.count();
        emit rig.um.rUploadFinish(rows[2]);
        QCOMPARE(rig.model.rowCount(), 3);
        QCOMPARE(totals.count(), totalsBefore + 1);
        QCOMPARE(states.count(), 4);
        emit rig.um.rGetTotalNum(true, 3);
        QCOMPARE(rig.model.totalNum(), 3);
        emit rig.fm.rGetUpFileState(1);
        QCOMPARE(rig.model.taskState(), 1);
    }

    // The folder's failure is stored after the page was read but reported
    // before the page is in: the old page must not hide it.
    void failureReportedWhileAPageIsReadStays()
    {
        Rig rig;
        rig.model.fetchMore(QModelIndex());
        QList<UploadFileInfo> rows = makeRows(1, 2);
        rows[0].isFolder = true;
        rows[0].fileState = 1;
        UploadFileInfo failed = rows[0];
        failed.fileState = 4;
        failed.msg = "refused";
        emit rig.um.rUploadError(failed);
        rig.answer(rows);
        QCOMPARE(rig.pages.count(), 2);
        QCOMPARE(rig.pages.last().at(0).toInt(), 1);
        rows[0] = failed;
        rig.answer(rows);
        QCOMPARE(rig.model.index(0).data(Role::StatusRole).toInt(), 4);
        QCOMPARE(rig.model.index(0).data(Role::MsgRole).toString(), QString(", refused"));
    }

    void commandsGoToTheUploadManager()
    {
        LVFinishManager fm;
        LVUploadManager um;
        UploadFileModel model;
        QAbstractItemModelTester tester(&model);
        model.setTw(&um);
        model.setTw(&um);  // writing again connects nothing twice
        model.setTwfs(&fm);
        QSignalSpy pages(&fm, &LVFinishManager::sUpFileList);
        model.fetchMore(QModelIndex());
        answer(fm, pages, makeRows(20, 5));

        QSignalSpy starts(&um, &LVUploadManager::sStartUpFiles);
        QSignalSpy pauses(&um, &LVUploadManager::sPauseUpFiles);
        QSignalSpy deletes(&um, &LVUploadManager::sDeleteUpFiles);
        QSignalSpy start1(&um, &LVUploadManager::sStartUpFile);
        QSignalSpy pause1(&um, &LVUploadManager::sPauseUpFile);
        QSignalSpy delete1(&um, &LVUploadManager::sDeleteFile);
        QSignalSpy all(&um, &LVUploadManager::sAllStart);
        QSignalSpy allPause(&um, &LVUploadManager::sAllPause);
        QSignalSpy allDelete(&um, &LVUploadManager::sAllDelete);
        model.multiSelect(4);
        model.multiSelect(1);
        model.multiSelect(3);
        model.startSelect();
        model.pauseSelect();
        model.deleteSelect();
        QCOMPARE(fIds(starts.at(0).at(0).value<QList<UploadFileInfo>>()),
                 (QList<int>{21, 23, 24}));
        QCOMPARE(fIds(pauses.at(0).at(0).value<QList<UploadFileInfo>>()),
                 (QList<int>{21, 23, 24}));
        QCOMPARE(fIds(deletes.at(0).at(0).value<QList<UploadFileInfo>>()),
                 (QList<int>{24, 23, 21}));
        model.startFile(0);
        model.pauseFile(2);
        model.deleteFile(4);
        model.deleteFile(5);
        QCOMPARE(start1.at(0).at(0).value<UploadFileInfo>().fId, 20);
        QCOMPARE(pause1.at(0).at(0).value<UploadFileInfo>().fId, 22);
        QCOMPARE(delete1.count(), 1);
        QCOMPARE(delete1.at(0).at(0).value<UploadFileInfo>().fId, 24);
        model.startAll();
        model.pauseAll();
        model.deleteAll();
        QCOMPARE(all.count(), 1);
        QCOMPARE(allPause.count(), 1);
        QCOMPARE(allDelete.count(), 1);

        // One connection: a start report is applied (and asks the state) once.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        UploadFileInfo f = makeRows(20, 1).first();
        f.fileState = 1;
        emit um.rUploadStart(f);
        QCOMPARE(changed.count(), 1);
        // The manager's delete answer removes the row.
        emit um.rUploadFinish(delete1.at(0).at(0).value<UploadFileInfo>());
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.selectNum(), 2);
    }
};

TW_TEST_MAIN(TestUploadFileModel)
#include "tst_uploadfilemodel.moc"
