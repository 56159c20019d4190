// Link records laid out through the file roles, and file mode.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <QDateTime>

#include "sharing/myextlinklistmodel.h"

class TestMyExtlinkListModel : public QObject
{
    Q_OBJECT
private slots:
    void linkRecordView()
    {
        MyExtlinkListModel m;
        QAbstractItemModelTester tester(&m);
        m.appendItems({TwFileInfo()});
        QCOMPARE(m.rowCount(), 1);
        m.setFileMode(false);
        QCOMPARE(m.rowCount(), 0);
        Extlink l;
        l.title = "Holiday";
        l.userNickname = "ann";
        l.createdDate = QDateTime(QDate(2024, 6, 1), QTime(8, 5)).toMSecsSinceEpoch();
        m.setLinks({l, l});
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.data(m.index(0), 257).toString(), QString("Holiday"));
        QCOMPARE(m.data(m.index(0), 259).toString(), QString("ann"));
        QCOMPARE(m.data(m.index(0), 260).toString(), QString("2024-06-01 08:05"));
        QCOMPARE(m.data(m.index(0), 262).toInt(), 0);
        QVERIFY(!m.data(m.index(0), 258).isValid());
        QVERIFY(!m.data(m.index(5), 257).isValid());
        m.setFileMode(true);
        QCOMPARE(m.rowCount(), 1);
    }
};

TW_TEST_MAIN(TestMyExtlinkListModel)
#include "tst_myextlinklistmodel.moc"
