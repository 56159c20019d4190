#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "core/dbhelp.h"
#include "core/utils.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "tests/transfer/transferstore.h"
#include "transfer/lvfinishmanager.h"
#include "transfer/tsfaillistmodel.h"

using Role = TSFailListModel::Role;

// The failed files of one folder transfer, paged by 50, re-targeted between
// download and upload folders.
class TestFailListModel : public QObject
{
    Q_OBJECT
private:
    static QStringList names(const TSFailListModel& m)
    {
        QStringList out;
        for (int i = 0; i < m.rowCount(); ++i)
            out.append(m.index(i).data(Role::FileNameRole).toString());
        return out;
    }

private slots:
    void init()
    {
        DBHelp db;
        TransferStore st(db);
        for (const char* t : {"lv_down_file", "lv_down_sub_file", "lv_upload_file",
                              "lv_upload_sub_file"})
            st.exec(QString("delete from ") + t);
    }

    void folderWith120FailuresLoadsInPagesOf50()
    {
        DBHelp db;
        TransferStore st(db);
        const int folder = st.addDown("acc1", "dev1", "F", 4, 1, true);
        const int other = st.addDown("acc1", "dev1", "G", 4, 2, true);
        QStringList expect;
        for (int i = 0; i < 120; ++i) {
            st.addDownSub(folder, QString("w%1").arg(i), 2 + i % 2, 1000 + 2 * i);
            st.addDownSub(folder, QString("e%1.txt").arg(i), 4, 1001 + 2 * i, "read only");
            expect.append(QString("e%1.txt").arg(i));
        }
        for (int i = 0; i < 10; ++i)
            st.addDownSub(other, "foreign", 4, 1);

        TestOwner owner;
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        TSFailListModel model;
        QAbstractItemModelTester tester(&model);
        QSignalSpy show(&model, &BaseModel::sg_showLoading);
        QSignalSpy hide(&model, &BaseModel::sg_cancelLading);
        QSignalSpy pages(&fm, &LVFinishManager::sGetDownloadFailFiles);
        model.setTw(&fm);
        model.setTw(&fm);
        DownFileInfo parent;
        parent.fId = folder;
        parent.isFolder = true;
        parent.fileName = "F";
        model.setIsDown(true);
        model.setTask(parent.toVariantMap());
        QCOMPARE(model.task().value("fId").toInt(), folder);
        model.resetData();
        QTRY_COMPARE(model.rowCount(), 120);
        QTRY_VERIFY(!model.isLoading());
        QVERIFY(!model.hasMore());
        QCOMPARE(pages.count(), 3);
        QCOMPARE(pages.at(2).at(0).toInt(), 3);
        QCOMPARE(pages.at(2).at(1).toInt(), 50);
        QCOMPARE(show.count(), 3);
        QCOMPARE(hide.count(), 3);
        QCOMPARE(names(model), expect);
        const QModelIndex first = model.index(0);
        QCOMPARE(first.data(Role::ErrorMsgRole).toString(), QString("read only"));
        QCOMPARE(first.data(Role::FileSizeRole).toString(), QString("2.00 KB"));
        QCOMPARE(first.data(Role::FileTypeRole).toInt(), getMediaType("txt"));
        QVERIFY(model.roleNames().contains(Qt::DisplayRole));
        QCOMPARE(model.roleNames().value(260), QByteArray("$ErrorMsg"));
    }

    void switchingFolderDropsTheLateAnswer()
    {
        LVFinishManager fm;  // answered by the test
        TSFailListModel model;
        QAbstractItemModelTester tester(&model);
        model.setTw(&fm);
        QSignalSpy down(&fm, &LVFinishManager::sGetDownloadFailFiles);
        QSignalSpy up(&fm, &LVFinishManager::sGetUploadFailFiles);
        QSignalSpy hide(&model, &BaseModel::sg_cancelLading);

        DownFileInfo dParent;
        dParent.fId = 5;
        model.setIsDown(true);
        model.setTask(dParent.toVariantMap());
        model.resetData();
        QCOMPARE(down.count(), 1);

        UploadFileInfo uParent;
        uParent.fId = 9;
        model.setIsDown(false);
        model.setTask(uParent.toVariantMap());
        model.resetData();
        QCOMPARE(up.count(), 0);  // waits for the answer under way

        DownFileInfo late;
        late.fId = 50;
        late.fileName = "late.bin";
        emit fm.rGetDownloadFailFiles(true, {late}, down.last().at(3).toInt());
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(hide.count(), 1);
        QCOMPARE(up.count(), 1);
        QCOMPARE(up.last().at(2).value<UploadFileInfo>().fId, 9);

        UploadFileInfo u;
        u.fId = 90;
        u.fileName = "mine.doc";
        u.msg = "File removed";
        emit fm.rGetUploadFailFiles(true, {u}, up.last().at(3).toInt());
        QCOMPARE(names(model), QStringList{"mine.doc"});
        QVERIFY(!model.hasMore());

        // A second answer with the old serial changes nothing.
        emit fm.rGetDownloadFailFiles(true, {late}, down.last().at(3).toInt());
        QCOMPARE(names(model), QStringList{"mine.doc"});
    }

    void retriedFolderShowsNoData()
    {
        DBHelp db;
        TransferStore st(db);
        const int dir = st.addUp("acc1", "dev1", "U", 2, 1, true);
        st.addUpSub(dir, "a", 2, 1);
        st.addUpSub(dir, "b", 3, 2);
        TestOwner owner;
        LVFinishManager fm;
        QVERIFY(fm.init(&owner, &db));
        TSFailListModel model;
        QAbstractItemModelTester tester(&model);
        QSignalSpy defaults(&model, &BaseModel::sg_DefaultStateChange);
        model.setTw(&fm);
        UploadFileInfo parent;
        parent.fId = dir;
        parent.isFolder = true;
        model.setIsDown(false);
        model.setTask(parent.toVariantMap());
        model.resetData();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.hasMore());
        QCOMPARE(defaults.last().at(0).value<BaseModel::DefalutState>(), BaseModel::DS_Empty);
        QCOMPARE(defaults.last().at(1).toString(), QString("No Data"));
    }

    void taskIsReadAsTheKindSetBefore()
    {
        TSFailListModel model;
        QAbstractItemModelTester tester(&model);
        UploadFileInfo u;
        u.fId = 3;
        model.setIsDown(false);
        model.setTask(u.toVariantMap());
        model.setIsDown(true);
        QCOMPARE(model.task().value("fId").toInt(), 0);
        model.setIsDown(false);
        QCOMPARE(model.task().value("fId").toInt(), 3);
    }
};

TW_TEST_MAIN(TestFailListModel)
#include "tst_faillistmodel.moc"
