// Media grouped by day: day keys across time zones, pages joining sections,
// the combined selection and answers routed to the sections by file id.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QFile>
#include <QJSEngine>
#include <functional>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QSet>
#include <QTimeZone>
#include <memory>
#include <time.h>

#include "core/common.h"
#include "device/tidewelldevice.h"
#include "media/grouplistmodel.h"
#include "media/medialistmodel.h"
#include "tests/pageorder.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"

namespace {

// Sets the process's local time zone for the scope.
class ZoneScope
{
public:
    explicit ZoneScope(const QByteArray& zone) : m_old(qgetenv("TZ")), m_had(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneScope()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_old;
    bool m_had;
};

qint64 localMs(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::LocalTime).toMSecsSinceEpoch();
}

std::string item(qint64 id, qint64 lastModified, const QString& md5 = QString())
{
    return QStringLiteral(R"({"id":%1,"name":"p%1.jpg","isFile":true,"type":6,"fileLen":10,"lastModified":%2,"fileMd5":"%3"})")
        .arg(id)
        .arg(lastModified)
        .arg(md5.isEmpty() ? QStringLiteral("m%1").arg(id) : md5)
        .toStdString();
}

std::string page(const std::vector<std::string>& items)
{
    std::string out = R"({"result":1,"message":"ok","data":{"listPath":[)";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? "," : "") + items[i];
    return out + "]}}";
}

const char* kListCommand = "getFileFromClassForDate3";

} // namespace

class TestGroupListModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TestOwner> m_owner;
    std::unique_ptr<TidewellDevice> m_dev;

    // Fetches until the device has answered `requests` pages in all (the
    // model tester fetches too).
    void load(GroupListModel& g, std::size_t requests)
    {
        for (int round = 0; round < 20 && m_server->requestsFor(kListCommand).size() < requests; ++round) {
            g.fetchGroup();
            QTRY_VERIFY_WITH_TIMEOUT(!g.isLoading(), 15000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!g.isLoading(), 15000);
        QCOMPARE(m_server->requestsFor(kListCommand).size(), requests);
    }

    // The data of the last request of that command.
    QJsonObject sent(const char* command) const
    {
        const auto reqs = m_server->requestsFor(command);
        if (reqs.empty())
            return QJsonObject();
        return QJsonDocument::fromJson(QByteArray::fromStdString(reqs.back().body)).object().value("data").toObject();
    }

    static QList<qint64> idsOf(const QJsonValue& v)
    {
        QList<qint64> out;
        for (const QJsonValue& id : v.toArray())
            out << qint64(id.toDouble());
        return out;
    }

    // Runs op on the rows picked (section, row) and waits for its report.
    static int answered(GroupListModel& g, const QList<QPair<int, int>>& picked, const std::function<void()>& op)
    {
        g.singleSelect(-1);
        for (const auto& p : picked)
            g.section(p.first)->multiSelect(p.second);
        QSignalSpy status(&g, &BaseModel::sg_notifyStatus);
        op();
        if (!status.wait(15000) && status.isEmpty())
            return -1;
        return status.last().at(0).toInt();
    }

    static bool flag(MediaListModel* s, int row, int role)
    {
        return s->data(s->index(row), role).toBool();
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

    void dayKeysAcrossZones()
    {
        for (const QByteArray zone : {"UTC", "Asia/Tokyo", "America/New_York"}) {
            ZoneScope tz(zone);
            const QString late = GroupListModel::dayKeyOf(localMs(2024, 3, 9, 23, 59, 59, 999));
            const QString next = GroupListModel::dayKeyOf(localMs(2024, 3, 10, 0, 0));
            QVERIFY2(late != next, zone.constData());
            QCOMPARE(late, QString::number(localMs(2024, 3, 9, 0, 0)));
            QCOMPARE(GroupListModel::dayKeyOf(localMs(2024, 3, 10, 23, 0)), next);
        }
        // Midnight does not exist on 2018-11-04 here: the day starts at 01:00
        // and every time of it shares one key.
        ZoneScope tz("America/Sao_Paulo");
        const QString k1 = GroupListModel::dayKeyOf(localMs(2018, 11, 4, 1, 30));
        const QString k2 = GroupListModel::dayKeyOf(localMs(2018, 11, 4, 22, 0));
        QCOMPARE(k1, k2);
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(k1.toLongLong()).date(), QDate(2018, 11, 4));
        QVERIFY(k1 != GroupListModel::dayKeyOf(localMs(2018, 11, 3, 23, 59, 59, 999)));
    }

    void pagesJoinSections()
    {
        const qint64 d1 = localMs(2024, 5, 1, 10, 0);
        const qint64 d2 = localMs(2024, 5, 2, 10, 0);
        std::vector<std::string> first;
        for (int i = 0; i < 59; ++i)
            first.push_back(item(100 + i, d1 + i * 1000));
        first.push_back(item(200, localMs(2024, 5, 2, 23, 59, 59, 999)));
        std::vector<std::string> second{item(201, d2), item(202, d2 + 3600 * 1000)};
        m_server->queueCommandAnswer(kListCommand, page(first));
        m_server->queueCommandAnswer(kListCommand, page(second));

        GroupListModel g;
        QAbstractItemModelTester tester(&g);
        g.setModelType(Common::FT_Image);
        g.setTw(m_dev.get());
        QSignalSpy changed(&g, &QAbstractItemModel::dataChanged);
        load(g, 2);
        // Day 2 spread over two pages stays one section, its header refreshed.
        QCOMPARE(g.rowCount(), 2);
        QCOMPARE(g.section(1)->rowCount(), 3);
        QVERIFY(!changed.isEmpty());
        QVERIFY(!g.canFetchMore(QModelIndex()));
        QCOMPARE(g.loadFileNum(), 62);
        const QStringList header = g.data(g.index(1), GroupListModel::SectionNameRole).toString().split('_');
        QCOMPARE(header.size(), 4);
        QCOMPARE(header.at(1), QString("1"));
        QCOMPARE(header.at(2), QString("3"));
        QCOMPARE(header.at(3), QString("0"));
        QCOMPARE(g.data(g.index(0), GroupListModel::FileItemModelRole).value<QObject*>(), g.section(0));

        // The second request asked from the items received so far.
        const auto reqs = m_server->requestsFor(kListCommand);
        QVERIFY(reqs.at(1).body.find("\"offset\":60") != std::string::npos);

        QList<TwFileInfo> pics;
        QCOMPARE(g.itemsOfKind(pics, Common::MT_Image), 62);
        QCOMPARE(pics.last().id, 202);

        // A page reads a section through script; the script engine must
        // not take it over (the group deletes its sections itself).
        {
            QJSEngine js;
            js.globalObject().setProperty("group", js.newQObject(&g));
            QQmlEngine::setObjectOwnership(&g, QQmlEngine::CppOwnership);
            const QJSValue section = js.evaluate("group.getItem(1)");
            QVERIFY(section.isQObject());
            QCOMPARE(section.toQObject(), static_cast<QObject*>(g.section(1)));
            js.evaluate("group.getItem(0); group.getItem(1)");
            js.collectGarbage();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(g.section(1)->rowCount(), 3);
    }

    void selectionAcrossSections()
    {
        GroupListModel g;
        QAbstractItemModelTester tester(&g);
        g.setTw(m_dev.get());
        const qint64 base = localMs(2024, 1, 1, 12, 0);
        std::vector<std::string> items;
        for (int i = 0; i < 3; ++i)
            items.push_back(item(10 + i, base));
        items.push_back(item(20, base + 86400000LL));
        m_server->queueCommandAnswer(kListCommand, page(items));
        load(g, 1);
        MediaListModel* a = g.section(0);
        MediaListModel* b = g.section(1);
        QAbstractItemModelTester ta(a);
        a->multiSelect(0);
        a->multiSelect(2);
        QCOMPARE(g.selectNum(), 2);
        // A click in section B leaves only that row, and B becomes current.
        b->singleSelect(0);
        QCOMPARE(g.selectNum(), 1);
        QCOMPARE(a->selectNum(), 0);
        QCOMPARE(g.currentSelected(), 1);
        // A click on the only selected row deselects it.
        b->singleSelect(0);
        QCOMPARE(g.selectNum(), 0);
        // The header check box selects a section; the group's all-select then all.
        g.multiSelect(0);
        QCOMPARE(g.selectNum(), 3);
        QVERIFY(!g.isAll());
        g.allSelect();
        QVERIFY(g.isAll());
        QCOMPARE(g.selectNum(), 4);
        g.allSelect();
        QCOMPARE(g.selectNum(), 0);
    }

    // Keys of sections 130 and 200 pass the sign bit of a 32-bit key.
    void deleteInFarSections()
    {
        const qint64 base = localMs(2023, 1, 1, 12, 0);
        for (int p = 0; p < 4; ++p) {
            std::vector<std::string> items;
            for (int i = p * 60; i < qMin(201, (p + 1) * 60); ++i)
                items.push_back(item(1000 + i, base + qint64(i) * 86400000LL));
            m_server->queueCommandAnswer(kListCommand, page(items));
        }
        m_server->setCommandAnswer("deleteDirOrFile", R"({"result":1,"message":"ok"})");
        GroupListModel g;
        QAbstractItemModelTester tester(&g);
        g.setTw(m_dev.get());
        load(g, 4);
        QCOMPARE(g.rowCount(), 201);
        g.section(0)->multiSelect(0);
        g.section(130)->multiSelect(0);
        g.section(200)->multiSelect(0);
        const QMap<int, qint64> sel = g.selectedMap();
        QCOMPARE(sel.size(), 3);
        const auto split = g.groupItems(sel);
        QCOMPARE(split.keys(), QList<int>({0, 130, 200}));
        QCOMPARE(split.value(200).value(0), qint64(1200));

        QSignalSpy status(&g, &BaseModel::sg_notifyStatus);
        g.fileDelete();
        QTRY_COMPARE_WITH_TIMEOUT(g.section(130)->rowCount(), 0, 15000);
        QCOMPARE(g.section(0)->rowCount(), 0);
        QCOMPARE(g.section(200)->rowCount(), 0);
        int left = 0;
        for (int i = 0; i < g.rowCount(); ++i)
            left += g.section(i)->rowCount();
        QCOMPARE(left, 198);
        // Emptied sections stay until the next refresh, showing 0.
        QCOMPARE(g.rowCount(), 201);
        QCOMPARE(g.data(g.index(130), GroupListModel::SectionNameRole).toString().split('_').at(2),
                 QString("0"));
        QCOMPARE(status.last().at(0).toInt(), 100230);
        const std::string body = m_server->requestsFor("deleteDirOrFile").back().body;
        for (const char* id : {"1000", "1130", "1200"})
            QVERIFY2(body.find(id) != std::string::npos, body.c_str());
    }

    // A day already shown gets more files from a later page: its header
    // row is told, with the new count, and the section counts them.
    void laterPageGrowsADay()
    {
        const qint64 d1 = localMs(2024, 6, 1, 10, 0);
        const qint64 d2 = localMs(2024, 6, 2, 10, 0);
        std::vector<std::string> first;
        for (int i = 0; i < 58; ++i)
            first.push_back(item(100 + i, d1));
        first.push_back(item(200, d2));
        first.push_back(item(201, d2 + 1000));
        m_server->queueCommandAnswer(kListCommand, page(first));
        m_server->queueCommandAnswer(kListCommand, page({item(202, d2 + 2000), item(203, d2 + 3000)}));
        GroupListModel g;
        QAbstractItemModelTester tester(&g);
        g.setTw(m_dev.get());
        // The view hears of the day's row while its header shows the new count.
        bool told = false;
        connect(&g, &QAbstractItemModel::dataChanged, &g,
                [&](const QModelIndex& from, const QModelIndex& to, const QVector<int>& roles) {
                    if (from.row() > 1 || to.row() < 1 || g.rowCount() < 2)
                        return;
                    if (!roles.isEmpty() && !roles.contains(GroupListModel::SectionNameRole))
                        return;
                    if (g.data(g.index(1), GroupListModel::SectionNameRole).toString().split('_').at(2) == "4")
                        told = true;
                });
        QSignalSpy inserted(&g, &QAbstractItemModel::rowsInserted);
        load(g, 2);
        QCOMPARE(g.rowCount(), 2);
        QCOMPARE(inserted.count(), 2);   // one per day
        QCOMPARE(g.section(1)->rowCount(), 4);
        QCOMPARE(g.section(1)->fileNum(), 4);
        QCOMPARE(g.section(1)->items().at(3).id, qint64(203));
        QVERIFY(told);
        QCOMPARE(g.fileNum(), 62);
    }

    // Files deleted from the rows shown move the device's later files up:
    // the next page starts that much earlier and nothing is skipped, also
    // when a page asked before the delete was still on its way.
    void nextPageAfterDeletesSkipsNothing()
    {
        QMap<qint64, std::string> files;
        for (int i = 0; i < 64; ++i) {
            const std::string rel = "del/p" + std::to_string(100 + i) + ".jpg";
            files.insert(m_server->addFile(rel, "x"), rel);
        }
        m_server->setCommandAnswer("deleteDirOrFile", R"({"result":1,"message":"ok"})");
        // The second page (the view asks for it at once) is held back.
        m_server->delayAnswer(0, 1, kListCommand);
        m_server->delayAnswer(3000, 1, kListCommand);
        GroupListModel g;
        QAbstractItemModelTester tester(&g);
        g.setModelType(Common::FT_Image);
        g.setTw(m_dev.get());
        g.fetchGroup();
        QTRY_COMPARE(g.loadFileNum(), 60);
        QTRY_COMPARE(m_server->requestsFor(kListCommand).size(), std::size_t(2));
        // Three files of the rows shown go, on the device first.
        MediaListModel* s = g.section(0);
        QVERIFY(s->rowCount() > 30);
        QList<qint64> gone;
        for (int row : {0, 7, 30}) {
            s->multiSelect(row);
            gone << s->items().at(row).id;
        }
        for (qint64 id : gone)
            QVERIFY(QFile::remove(QString::fromStdString(m_server->absolutePath(files.value(id)))));
        QSignalSpy status(&g, &BaseModel::sg_notifyStatus);
        g.fileDelete();
        QTRY_VERIFY(!status.isEmpty());
        QCOMPARE(status.last().at(0).toInt(), 100230);
        for (int round = 0; round < 20 && g.canFetchMore(QModelIndex()); ++round) {
            g.fetchGroup();
            QTRY_VERIFY(!g.isLoading());
        }
        QTest::qWait(3200);   // the held page has come
        // Every file still on the device is shown, once.
        QCOMPARE(g.loadFileNum(), 61);
        QSet<qint64> shown;
        for (int i = 0; i < g.rowCount(); ++i)
            for (const TwFileInfo& f : g.section(i)->items())
                shown.insert(f.id);
        QCOMPARE(shown.size(), 61);
        for (qint64 id : files.keys())
            QCOMPARE(shown.contains(id), !gone.contains(id));
        QVERIFY(m_server->requestsFor(kListCommand).back().body.find("\"offset\":57") != std::string::npos);
    }

    // A refresh while the first page is on its way: the list shown is the
    // one asked after the refresh, whichever answer comes first.
    void refreshDuringTheFirstLoad_data()
    {
        answerOrderRows();
    }

    void refreshDuringTheFirstLoad()
    {
        QFETCH(bool, oldAnswerFirst);
        const qint64 day = localMs(2024, 7, 1, 9, 0);
        const std::string oldPage = page({item(10, day), item(11, day)});
        const std::string newPage = page({item(20, day), item(21, day), item(22, day + 86400000LL)});
        orderAnswers(*m_server, kListCommand, oldAnswerFirst, oldPage, newPage);
        GroupListModel g;
        QAbstractItemModelTester tester(&g);
        g.setTw(m_dev.get());
        g.fetchGroup();
        QTRY_COMPARE(m_server->requestsFor(kListCommand).size(), std::size_t(1));
        g.refreshData();
        g.fetchGroup();
        QTRY_COMPARE(m_server->requestsFor(kListCommand).size(), std::size_t(2));
        QTRY_COMPARE(g.loadFileNum(), 3);
        QTest::qWait(kHeldAnswerMs);
        QCOMPARE(g.loadFileNum(), 3);
        QCOMPARE(g.rowCount(), 2);
        QCOMPARE(g.section(0)->items().at(0).id, qint64(20));
        QCOMPARE(g.section(1)->items().at(0).id, qint64(22));
        QCOMPARE(g.fileNum(), 3);
        QVERIFY(!g.isLoading());
    }

    // Each operation of the grouped view sends the rows picked in every
    // section, and the answer reaches the rows of their sections.
    void operationsOnTheCombinedSelection()
    {
        const qint64 d1 = localMs(2024, 3, 2, 12, 0);
        const qint64 d2 = localMs(2024, 3, 1, 12, 0);
        m_server->queueCommandAnswer(kListCommand, page({item(10, d1), item(11, d1), item(12, d1),
                                                         item(20, d2), item(21, d2)}));
        const char* ok = R"({"result":1,"message":"ok"})";
        for (const char* c : {"moveDirOrFile", "addToSafetyBox", "relateLabel", "copyToPeripheral", "copyToSamb",
                              "shareFileToAll", "shareFileToUsers", "myLove"})
            m_server->setCommandAnswer(c, ok);
        GroupListModel g;
        g.setTw(m_dev.get());
        load(g, 1);
        MediaListModel* a = g.section(0);
        MediaListModel* b = g.section(1);
        QCOMPARE(a->rowCount(), 3);
        QCOMPARE(b->rowCount(), 2);

        QCOMPARE(answered(g, {{0, 0}, {1, 1}}, [&] { g.fileMove(QVariantMap{{"fid", 77}, {"serialNo", "disk-1"}}); }),
                 100240);
        QCOMPARE(idsOf(sent("moveDirOrFile").value("fileIds")), (QList<qint64>{10, 21}));
        QCOMPARE(sent("moveDirOrFile").value("targetId").toInt(), 77);
        QCOMPARE(g.selectNum(), 0);

        QCOMPARE(answered(g, {{0, 0}}, [&] { g.fileAddToLabel({3, 5}); }), 100260);
        QCOMPARE(idsOf(sent("relateLabel").value("fileIds")), (QList<qint64>{10}));
        QCOMPARE(idsOf(sent("relateLabel").value("labelIds")), (QList<qint64>{3, 5}));

        QCOMPARE(answered(g, {{0, 2}, {1, 0}}, [&] { g.fileCopyTo2(2, "/Backup"); }), 100201);
        QCOMPARE(idsOf(sent("copyToPeripheral").value("ids")), (QList<qint64>{12, 20}));
        QCOMPARE(sent("copyToPeripheral").value("path").toString(), QString("/Backup"));
        QCOMPARE(answered(g, {{1, 1}}, [&] { g.fileCopyTo2(3, "/nas"); }), 100201);
        QCOMPARE(idsOf(sent("copyToSamb").value("ids")), (QList<qint64>{21}));

        // Favourites and shares mark the rows in their sections.
        QCOMPARE(answered(g, {{0, 1}, {1, 1}}, [&] { g.fileCollect(); }), 100260);
        QVERIFY(flag(a, 1, BaseListModel::FileIsLoveRole));
        QVERIFY(flag(b, 1, BaseListModel::FileIsLoveRole));
        QVERIFY(!flag(a, 0, BaseListModel::FileIsLoveRole));
        QCOMPARE(answered(g, {{1, 1}}, [&] { g.fileCancelCollect(); }), 100260);
        QVERIFY(!flag(b, 1, BaseListModel::FileIsLoveRole));
        QVERIFY(flag(a, 1, BaseListModel::FileIsLoveRole));

        QJSEngine js;
        QJSValue all = js.newObject();
        all.setProperty("isPublic", true);
        QCOMPARE(answered(g, {{0, 0}, {1, 0}}, [&] { g.fileSharing(all); }), 100201);
        QCOMPARE(idsOf(sent("shareFileToAll").value("fileIds")), (QList<qint64>{10, 20}));
        QVERIFY(flag(a, 0, BaseListModel::FileIsShareRole));
        QVERIFY(flag(b, 0, BaseListModel::FileIsShareRole));
        QVERIFY(!flag(a, 2, BaseListModel::FileIsShareRole));
        QJSValue users = js.newObject();
        users.setProperty("isPublic", false);
        users.setProperty("accessIds", js.toScriptValue(QStringList{"alice"}));
        QCOMPARE(answered(g, {{0, 2}}, [&] { g.fileSharing(users); }), 100201);
        QCOMPARE(sent("shareFileToUsers").value("accessIds").toArray(), QJsonArray({"alice"}));
        QCOMPARE(a->items().at(2).publicType, 2);
        QCOMPARE(a->items().at(0).publicType, 0);

        // The safe box takes the rows out of their sections.
        QCOMPARE(answered(g, {{0, 1}, {1, 0}}, [&] { g.fileMoveToSafeBox(); }), 100250);
        QCOMPARE(idsOf(sent("addToSafetyBox").value("fileIds")), (QList<qint64>{11, 20}));
        QCOMPARE(a->rowCount(), 2);
        QCOMPARE(b->rowCount(), 1);
        QCOMPARE(b->items().at(0).id, qint64(21));
        QCOMPARE(a->items().at(1).id, qint64(12));
    }

    void failuresAndThumbnails()
    {
        GroupListModel g;
        QSignalSpy status(&g, &BaseModel::sg_notifyStatus);
        // Asked before the page set the facade: no failure, nothing sent.
        g.fetchGroup();
        QCOMPARE(status.count(), 0);
        QVERIFY(!g.isLoading());
        QVERIFY(g.canFetchMore(QModelIndex()));
        g.setTw(m_dev.get());
        // Nothing selected: nothing sent.
        g.fileCollect();
        QCOMPARE(status.last().at(0).toInt(), 100200);
        m_server->queueCommandAnswer(kListCommand, R"({"result":0,"errCode":5,"message":"busy"})");
        g.fetchGroup();
        QTRY_COMPARE_WITH_TIMEOUT(status.last().at(0).toInt(), 100202, 15000);
        QVERIFY(!g.isLoading());
        // Paging stops until a refresh: a view that keeps asking sends nothing.
        QVERIFY(!g.canFetchMore(QModelIndex()));
        for (int i = 0; i < 5; ++i)
            g.fetchGroup();
        QTest::qWait(200);
        QCOMPARE(m_server->requestsFor(kListCommand).size(), std::size_t(1));

        m_server->queueCommandAnswer(kListCommand, page({item(7, localMs(2024, 2, 2, 2, 0), "abc")}));
        g.refreshData();
        load(g, 2);
        MediaListModel* s = g.section(0);
        QSignalSpy rows(s, &QAbstractItemModel::dataChanged);
        ThumbInfo info;
        info.fileId = 7;
        info.fileMd5 = "other";
        g.rThumbFinished(info, 100310, "ok");
        QCOMPARE(rows.count(), 0);
        info.fileMd5 = "abc";
        // A finished download and a cached file are both taken.
        g.rThumbFinished(info, 1, "ok");
        g.rThumbFinished(info, 100310, "ok");
        QCOMPARE(rows.count(), 2);
        QCOMPARE(rows.last().at(2).value<QVector<int>>(), QVector<int>({BaseListModel::FileThumbUrlRole}));
    }
};

TW_TEST_MAIN(TestGroupListModel)
#include "tst_grouplistmodel.moc"
