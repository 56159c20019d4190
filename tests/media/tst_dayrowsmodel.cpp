// The grouped media as one flat list of header rows and rows of cells:
// layout, pages growing a day without rebuilding the rows before it, cells
// closing up after a delete, selection reaching only the rows that show it.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QSignalSpy>
#include <memory>

#include "device/tidewelldevice.h"
#include "media/dayrowsmodel.h"
#include "media/grouplistmodel.h"
#include "media/medialistmodel.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"

namespace {

// count pictures from firstId on, a second apart from lastModified back.
QStringList items(qint64 firstId, int count, qint64 lastModified)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QStringLiteral(R"({"id":%1,"name":"p%1.jpg","isFile":true,"type":6,"fileLen":10,"lastModified":%2,"fileMd5":"m%1"})")
                   .arg(firstId + i)
                   .arg(lastModified - i * 1000);
    return out;
}

std::string pageOf(const QStringList& listed)
{
    return R"({"result":1,"message":"ok","data":{"listPath":[)" + listed.join(',').toStdString() + "]}}";
}

std::string page(qint64 firstId, int count, qint64 lastModified)
{
    return pageOf(items(firstId, count, lastModified));
}

qint64 noonOf(int month, int day)
{
    return QDateTime(QDate(2024, month, day), QTime(12, 0)).toMSecsSinceEpoch();
}

const char* kListCommand = "getFileFromClassForDate3";

} // namespace

class TestDayRowsModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TestOwner> m_owner;
    std::unique_ptr<TidewellDevice> m_dev;

    void loadPage(GroupListModel& g, std::size_t requests)
    {
        g.fetchGroup();
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requestsFor(kListCommand).size(), requests, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!g.isLoading(), 15000);
    }

    // The day rows in columns over a group on the test device, its first
    // page loaded.
    void open(GroupListModel& g, DayRowsModel& m, int columns)
    {
        g.setTw(m_dev.get());
        m.setColumns(columns);
        m.setGroup(&g);
        loadPage(g, 1);
    }

    // (section, first cell, cells) of every row; a header has first -1.
    static QList<QList<int>> rows(const DayRowsModel& m)
    {
        QList<QList<int>> out;
        for (int i = 0; i < m.rowCount(); ++i) {
            const QModelIndex at = m.index(i);
            const bool header = m.data(at, DayRowsModel::HeaderRole).toBool();
            out << QList<int>{m.data(at, DayRowsModel::SectionRole).toInt(),
                              header ? -1 : m.data(at, DayRowsModel::FirstRole).toInt(),
                              m.data(at, DayRowsModel::CountRole).toInt()};
        }
        return out;
    }

private slots:
    void init()
    {
        m_server.reset(new TestDeviceServer((TestEnv::instance()->root() + "/dev").toStdString()));
        QVERIFY(m_server->start());
        m_owner.reset(new TestOwner);
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_dev.reset(new TidewellDevice(m_owner.get()));
    }

    void cleanup()
    {
        m_dev.reset();
        m_owner.reset();
        m_server.reset();
    }

    void rowsFollowPagesAndDeletes()
    {
        const qint64 day1 = noonOf(5, 2);
        // One day over two pages.
        m_server->queueCommandAnswer(kListCommand, page(100, 60, day1));
        m_server->queueCommandAnswer(kListCommand, page(160, 5, day1 - 60000));
        m_server->setCommandAnswer("deleteDirOrFile", R"({"result":1,"message":"ok"})");

        GroupListModel g;
        DayRowsModel m;
        QAbstractItemModelTester tester(&m);
        open(g, m, 7);
        // A header and 60 cells in rows of 7.
        QCOMPARE(m.rowCount(), 1 + 9);
        QCOMPARE(rows(m).first(), QList<int>({0, -1, 0}));
        QCOMPARE(rows(m).last(), QList<int>({0, 56, 4}));
        QCOMPARE(m.data(m.index(0), DayRowsModel::SectionNameRole).toString().split('_').at(2), QString("60"));

        // The next page grows the last row and adds rows; the rows before stay.
        QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
        loadPage(g, 2);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.first().at(1).toInt(), 10);
        QCOMPARE(rows(m).at(9), QList<int>({0, 56, 7}));
        QCOMPARE(rows(m).last(), QList<int>({0, 63, 2}));
        const QVariantList cells = m.data(m.index(10), DayRowsModel::CellsRole).toList();
        QCOMPARE(cells.size(), 2);
        QCOMPARE(cells.at(1).toMap().value("name").toString(), QString("p164.jpg"));
        QCOMPARE(m.rowOf(0, QVariant("164")), 10);
        QCOMPARE(m.rowOf(0, QVariant()), 0);
        QCOMPARE(m.rowOf(0, QVariant(qint64(999))), -1);

        // A selection change reaches the row holding the cell only.
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        g.section(0)->multiSelect(15);
        QVERIFY(!changed.isEmpty());
        const QModelIndex first = changed.first().at(0).value<QModelIndex>();
        QCOMPARE(first.row(), 3);
        QCOMPARE(changed.first().at(1).value<QModelIndex>().row(), 3);
        QVERIFY(m.data(m.index(3), DayRowsModel::CellsRole).toList().at(1).toMap().value("selected").toBool());

        // Deleting that cell moves the later ones up a place.
        g.fileDelete();
        QTRY_COMPARE_WITH_TIMEOUT(g.section(0)->rowCount(), 64, 15000);
        QCOMPARE(rows(m).last(), QList<int>({0, 63, 1}));
        QCOMPARE(m.data(m.index(3), DayRowsModel::CellsRole).toList().at(1).toMap().value("name").toString(),
                 QString("p116.jpg"));

        // More columns: fewer rows, the same cells.
        m.setColumns(10);
        QCOMPARE(m.rowCount(), 1 + 7);
        QCOMPARE(rows(m).last(), QList<int>({0, 60, 4}));
        g.refreshData();
        QCOMPARE(m.rowCount(), 0);
    }

    // Days after the first: each picture's row counts the rows of the days
    // above it, its header included.
    void rowsOfLaterDays()
    {
        m_server->queueCommandAnswer(kListCommand, pageOf(items(100, 9, noonOf(5, 2)) + items(200, 12, noonOf(5, 1))
                                                          + items(300, 2, noonOf(4, 20))));
        GroupListModel g;
        DayRowsModel m;
        QAbstractItemModelTester tester(&m);
        open(g, m, 4);
        QCOMPARE(g.sectionCount(), 3);
        QCOMPARE(rows(m), (QList<QList<int>>{{0, -1, 0}, {0, 0, 4}, {0, 4, 4}, {0, 8, 1},
                                             {1, -1, 0}, {1, 0, 4}, {1, 4, 4}, {1, 8, 4},
                                             {2, -1, 0}, {2, 0, 2}}));
        QCOMPARE(m.rowOf(1, QVariant()), 4);
        QCOMPARE(m.rowOf(2, QVariant()), 8);
        QCOMPARE(m.rowOf(1, QVariant("205")), 6);
        QCOMPARE(m.rowOf(-1, QVariant(qint64(211))), 7);
        QCOMPARE(m.rowOf(2, QVariant("301")), 9);
        QCOMPARE(m.rowOf(0, QVariant("205")), -1);
        const QVariantList cells = m.data(m.index(6), DayRowsModel::CellsRole).toList();
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells.at(1).toMap().value("name").toString(), QString("p205.jpg"));

        // A selection in the second day reaches its own row.
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        g.section(1)->multiSelect(5);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.first().at(0).value<QModelIndex>().row(), 6);
        QCOMPARE(changed.first().at(1).value<QModelIndex>().row(), 6);
        QVERIFY(m.data(m.index(6), DayRowsModel::CellsRole).toList().at(1).toMap().value("selected").toBool());
    }
};

TW_TEST_MAIN(TestDayRowsModel)
#include "tst_dayrowsmodel.moc"
