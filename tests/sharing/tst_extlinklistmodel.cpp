// The list of external links: received links added, kept and removed in
// client mode; the device's own links paged and removed in device mode.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QDesktopServices>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <memory>

#include "app/tidewellsdk.h"
#include "core/sharelinkinfo.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"
#include "device/tidewellextlink.h"
#include "sharing/extlinklistmodel.h"
#include "tests/pageorder.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"

using M = ExtlinkListModel;

static QString linkUrl(const QString& shareId)
{
    return QString("https://a.%1/share?shareId=%2").arg(ShareLinkInfo::shareDomain(), shareId);
}

// A model under test with the model tester and a spy on its toasts.
// Takes the web pages the desktop is asked to open.
class PageOpener : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

struct Probe
{
    std::unique_ptr<M> model{new M};
    QSignalSpy toasts{model.get(), &M::sg_notifyStatus};
    std::unique_ptr<QAbstractItemModelTester> tester;

    // The tester asks for the first page as a view would.
    Probe(QObject* tw, bool deviceMode, bool withTester = true)
    {
        model->setDeviceMode(deviceMode);
        model->setTw(tw);
        if (withTester)
            attach();
    }
    void attach()
    {
        tester.reset(new QAbstractItemModelTester(
            model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest));
    }
    bool lastToast(int code, const QString& text) const
    {
        return !toasts.isEmpty() && toasts.last().at(0).toInt() == code
               && toasts.last().at(1).toString() == text;
    }
    void load() { model->fetchMore(QModelIndex()); }
    QString name(int row) const { return model->data(model->index(row), M::NameRole).toString(); }
};

// A device answer of n links named prefix0, prefix1, ...
static std::string linkPage(const QString& prefix, int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << QString(R"({"shareId":"%1%2","title":"%1%2","id":%3,"url":"https://x/share?shareId=%1%2"})")
                     .arg(prefix)
                     .arg(i)
                     .arg(prefix.size() * 100 + i + 1);
    return QString(R"({"result":1,"data":{"totalNum":%1,"listPath":[%2]}})").arg(n).arg(items.join(',')).toStdString();
}

class TestExtlinkListModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TidewellSdk> m_root;
    std::unique_ptr<TestOwner> m_owner;
    std::unique_ptr<TidewellDevice> m_device;

    TidewellExtlink* ext() { return m_root->twExtlink(); }

    void startDevice()
    {
        m_owner.reset(new TestOwner);
        m_owner->device.deviceOwnerName = "Olga";
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_device.reset(new TidewellDevice(m_owner.get()));
    }

private slots:
    void init()
    {
        m_server.reset(new TestDeviceServer(
            (TestEnv::instance()->root() + "/dev_" + QTest::currentTestFunction()).toStdString()));
        QVERIFY(m_server->start());
        m_root.reset(new TidewellSdk);
        sdk::cores::model::channel_option opt;
        opt.cloud_url = "http://127.0.0.1:" + std::to_string(m_server->port());
        opt.probe_timeout_ms = 1000;
        m_root->setChannelOption(opt);
        UserInfo u;
        // Each test its own account, so stored links do not meet.
        u.accessId = QString("acc_") + QTest::currentTestFunction();
        m_root->setUserInfo(u);
    }

    void cleanup()
    {
        m_device.reset();
        m_owner.reset();
        m_root.reset();
        m_server.reset();
    }

    void pastedTextWithoutShareIdSendsNothing()
    {
        Probe p(ext(), false);
        p.model->addExtlink("abc");
        QVERIFY(p.lastToast(2054, "input extlink"));
        QCOMPARE(p.toasts.last().at(2).toInt(), 0);
        QTest::qWait(100);
        QVERIFY(m_server->requests().empty());
    }

    void openLinkIsAddedAndKept()
    {
        m_server->addShareLink("open1", "", "Open", "pub/open");
        QueuedSpy stored(ext(), &TidewellExtlink::rAddExtlink);
        {
            Probe p(ext(), false);
            QSignalSpy needsCode(p.model.get(), &M::extractedCodeExtlink);
            p.model->addExtlink(linkUrl("open1"));
            QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);
            QCOMPARE(p.name(0), QString("Open"));
            QCOMPARE(p.model->data(p.model->index(0), M::OwnerRole).toString(), QString("Owner"));
            QCOMPARE(p.model->data(p.model->index(0), M::UrlRole).toString(), linkUrl("open1"));
            QCOMPARE(needsCode.count(), 0);
            QVERIFY(p.toasts.isEmpty());
            QTRY_COMPARE_WITH_TIMEOUT(stored.count(), 1, 10000);
            QVERIFY(stored[0][1].value<APIBase>().ok());
            QCOMPARE(p.model->rowCount(), 1);

            p.model->addExtlink(linkUrl("open1"));
            QVERIFY(p.lastToast(1, "existed extlink"));
        }
        // A new list reads it back from the store.
        Probe again(ext(), false);
        again.load();
        QTRY_COMPARE_WITH_TIMEOUT(again.model->rowCount(), 1, 10000);
        QCOMPARE(again.name(0), QString("Open"));
        QVERIFY(!again.model->hasMore());
    }

    // The same link again while the store is still writing the first one:
    // it is there already, not asked for and listed a second time.
    void linkAddedAgainBeforeItIsStored()
    {
        m_server->addShareLink("twice1", "", "Twice", "pub/twice");
        Probe p(ext(), false);
        // The store's thread is held from the moment the row shows, before
        // the row's write is queued there.
        QSemaphore hold;
        struct Release
        {
            QSemaphore& s;
            ~Release() { s.release(); }
        } release{hold};
        const auto holding =
            connect(p.model.get(), &M::rowsInserted, ext(), [&hold] { hold.acquire(); }, Qt::QueuedConnection);
        QueuedSpy stored(ext(), &TidewellExtlink::rAddExtlink);
        p.model->addExtlink(linkUrl("twice1"));
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);
        disconnect(holding);
        QVERIFY(!ext()->localExtlink(linkUrl("twice1")));
        const size_t asked = m_server->requests().size();
        p.model->addExtlink(linkUrl("twice1"));
        QVERIFY(p.lastToast(1, "existed extlink"));
        hold.release();
        QTRY_COMPARE_WITH_TIMEOUT(stored.count(), 1, 10000);
        QTest::qWait(200);
        QCOMPARE(m_server->requests().size(), asked);
        QCOMPARE(p.model->rowCount(), 1);
        QVERIFY(ext()->localExtlink(linkUrl("twice1")));
    }

    void codeProtectedLinkNeedsTheRightCode()
    {
        m_server->addShareLink("lock1", "c0de", "Locked", "pub/locked");
        const QString url = linkUrl("lock1");
        {
            Probe p(ext(), false);
            QSignalSpy needsCode(p.model.get(), &M::extractedCodeExtlink);
            p.model->addExtlink(url);
            QTRY_COMPARE_WITH_TIMEOUT(needsCode.count(), 1, 10000);
            QCOMPARE(needsCode[0][0].toMap().value("shareId").toString(), QString("lock1"));
            QCOMPARE(p.model->rowCount(), 0);

            p.model->checkExtlink(url, "");
            QVERIFY(p.lastToast(1, "shareId or Code is null"));
            p.model->checkExtlink(linkUrl("other"), "c0de");
            QVERIFY(p.lastToast(1, "shareId or Code is null"));

            const int before = p.toasts.count();
            p.model->checkExtlink(url, "wrong");
            QTRY_COMPARE_WITH_TIMEOUT(p.toasts.count(), before + 1, 10000);
            QCOMPARE(p.toasts.last().at(1).toString(), QString("wrong extraction code"));
            QCOMPARE(p.toasts.last().at(2).toInt(), 0);
            QCOMPARE(p.model->rowCount(), 0);

            p.model->checkExtlink(url, "c0de");
            QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);
            QVERIFY(p.lastToast(1, "add extlink url ok"));
            // Confirming again adds nothing.
            p.model->checkExtlink(url, "c0de");
            QVERIFY(p.lastToast(1, "shareId or Code is null"));
            QTest::qWait(200);
            QCOMPARE(p.model->rowCount(), 1);
            QVERIFY(p.model->pending().shareId.isEmpty());
        }
        Probe again(ext(), false);
        again.load();
        QTRY_COMPARE_WITH_TIMEOUT(again.model->rowCount(), 1, 10000);
        again.model->singleSelect(0);
        const QVariantMap m = again.model->get();
        QCOMPARE(m.value("shareId").toString(), QString("lock1"));
        QCOMPARE(m.value("code").toString(), QString("c0de"));
        QCOMPARE(m.value("title").toString(), QString("Locked"));
    }

    // Whatever a pasted link holds reaches the cloud as one value.
    void shareIdAndCodeTravelAsValues()
    {
        Probe p(ext(), false);
        p.model->addExtlink("x?shareId=a%22%2C%22b%26code%3Dz");
        QTRY_COMPARE_WITH_TIMEOUT(p.toasts.count(), 1, 10000);
        const auto info = m_server->requestsFor(TidewellExtlink::kGetInfoPath);
        QCOMPARE(int(info.size()), 1);
        const QJsonObject body = QJsonDocument::fromJson(QByteArray::fromStdString(info[0].body)).object();
        QCOMPARE(body.value("shareId").toString(), QString("a\",\"b&code=z"));
        QCOMPARE(body.size(), 1);
    }

    void unknownLinkShowsTheCloudsMessage()
    {
        Probe p(ext(), false);
        p.model->addExtlink(linkUrl("nosuch"));
        QTRY_COMPARE_WITH_TIMEOUT(p.toasts.count(), 1, 10000);
        QCOMPARE(p.toasts[0].at(1).toString(), QString("share does not exist"));
        QCOMPARE(p.model->rowCount(), 0);
    }

    void freshRowCanBeRemoved()
    {
        m_server->addShareLink("gone1", "", "Gone", "pub/gone");
        {
            Probe p(ext(), false);
            p.model->addExtlink(linkUrl("gone1"));
            QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);
            QueuedSpy stored(ext(), &TidewellExtlink::rAddExtlink);
            QTRY_VERIFY_WITH_TIMEOUT(ext()->localExtlink(linkUrl("gone1")), 10000);
            p.model->operateRemove(0);
            QCOMPARE(p.model->rowCount(), 0);
            QTRY_VERIFY_WITH_TIMEOUT(p.lastToast(1, "Delete Extlink Successful."), 10000);
            QCOMPARE(p.model->rowCount(), 0);
        }
        QVERIFY(!ext()->localExtlink(linkUrl("gone1")));
        Probe again(ext(), false);
        QSignalSpy state(again.model.get(), &M::sg_DefaultStateChange);
        again.load();
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 1, 10000);
        QCOMPARE(state[0].at(0).toInt(), 1);
        QCOMPARE(state[0].at(1).toString(), QString("No Extlink Can Add"));
        QCOMPARE(again.model->rowCount(), 0);
    }

    // The store refuses while its link table is away.
    void refusedStoreTakesTheRowBackOrKeepsIt()
    {
        m_server->addShareLink("st1", "", "Stored", "pub/st1");
        m_server->addShareLink("st2", "", "Lost", "pub/st2");
        Probe p(ext(), false);
        p.model->addExtlink(linkUrl("st1"));
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(ext()->localExtlink(linkUrl("st1")), 10000);

        auto table = [](const char* sql) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tablemove");
            db.setDatabaseName(getAppDataPath() + "larkvault.db");
            const bool ok = db.open() && QSqlQuery(db).exec(sql);
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase("tablemove");
            return ok;
        };
        QVERIFY(table("ALTER TABLE lv_extlink_list RENAME TO lv_extlink_away"));

        // Not stored: the new row goes again, with the store's message.
        p.model->addExtlink(linkUrl("st2"));
        QTRY_COMPARE_WITH_TIMEOUT(p.toasts.count(), 1, 10000);
        QVERIFY(p.lastToast(0, "addExtlink error"));
        QCOMPARE(p.toasts.last().at(2).toInt(), 2);
        QCOMPARE(p.model->rowCount(), 1);
        QCOMPARE(p.name(0), QString("Stored"));

        // Not removed: the row comes back where it was.
        p.model->operateRemove(0);
        QCOMPARE(p.model->rowCount(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);
        QVERIFY(p.lastToast(0, "removeExtlink error"));
        QCOMPARE(p.name(0), QString("Stored"));

        QVERIFY(table("ALTER TABLE lv_extlink_away RENAME TO lv_extlink_list"));
        p.model->operateRemove(0);
        QTRY_VERIFY_WITH_TIMEOUT(p.lastToast(1, "Delete Extlink Successful."), 10000);
        QVERIFY(!ext()->localExtlink(linkUrl("st1")));
    }

    void devicePagesAndOwner()
    {
        for (int i = 0; i < 61; ++i)
            m_server->addShareLink(QString("d%1").arg(i, 2, 10, QChar('0')).toStdString(), "",
                                   "T" + std::to_string(i), "pub/l" + std::to_string(i));
        startDevice();
        Probe p(m_device.get(), true, false);
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 60, 10000);
        QVERIFY(p.model->hasMore());
        QVERIFY(!p.model->isLoading());
        p.attach();   // asks for the next page as a view would
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 61, 10000);
        QVERIFY(!p.model->hasMore());
        QCOMPARE(p.model->totalNum(), 61);
        for (int r : {0, 60})
            QCOMPARE(p.model->data(p.model->index(r), M::OwnerRole).toString(), QString("Olga"));
        const auto sent = m_server->requestsFor("getExternalLinkList");
        QCOMPARE(int(sent.size()), 2);
        QVERIFY(QString::fromStdString(sent[1].body).contains("\"offset\":60"));
    }

    void visitCountersComeFromTheDevice()
    {
        m_server->addShareLink("v1", "", "Visited", "pub/v1");
        startDevice();
        // Opened twice by visitors, its files listed once.
        QueuedSpy opened(ext(), &TidewellExtlink::rDeviceShareGetInfo);
        for (int i = 0; i < 2; ++i)
            QVERIFY(ext()->deviceShareGetInfo(1, "v1", linkUrl("v1")));
        QTRY_COMPARE(opened.count(), 2);
        QueuedSpy listed(m_device.get(), &TidewellDevice::rGetExterLinkResList);
        QVERIFY(m_device->getExterLinkResList(1, NetworkShare(), 0, 60, false, 0, "v1"));
        QTRY_COMPARE(listed.count(), 1);

        Probe p(m_device.get(), true);
        p.load();
        QTRY_COMPARE(p.model->rowCount(), 1);
        const QModelIndex row = p.model->index(0);
        QCOMPARE(p.model->data(row, M::UserVisitTimeRole).toString(), QString("Visit Time: 2"));
        QCOMPARE(p.model->data(row, M::ResVisitTimeRole).toInt(), 1);
    }

    void pageAskedBeforeAResetIsDropped()
    {
        for (int i = 0; i < 61; ++i)
            m_server->addShareLink(QString("s%1").arg(i, 2, 10, QChar('0')).toStdString(), "",
                                   "T", "pub/s" + std::to_string(i));
        startDevice();
        Probe p(m_device.get(), true, false);
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 60, 10000);
        m_server->delayAnswer(1000, 1, "getExternalLinkList");
        p.attach();   // asks for the second page, held back
        QVERIFY(p.model->isLoading());
        p.model->resetData();
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 61, 10000);
        QTest::qWait(1500);   // the held page has come and gone
        QCOMPARE(p.model->rowCount(), 61);
        QSet<QString> ids;
        for (const Extlink& l : p.model->rows())
            ids.insert(l.shareId);
        QCOMPARE(ids.size(), 61);
    }

    // A reset while the device's first page is on its way: the links shown
    // are those asked after the reset, whichever answer comes first.
    void resetDuringTheFirstLoad_data()
    {
        answerOrderRows();
    }

    void resetDuringTheFirstLoad()
    {
        QFETCH(bool, oldAnswerFirst);
        const char* cmd = "getExternalLinkList";
        const std::string oldPage = linkPage("old", 2);
        const std::string newPage = linkPage("new", 3);
        orderAnswers(*m_server, cmd, oldAnswerFirst, oldPage, newPage);
        startDevice();
        Probe p(m_device.get(), true);   // the tester asks for the first page
        QTRY_COMPARE_WITH_TIMEOUT(int(m_server->requestsFor(cmd).size()), 1, 10000);
        p.model->resetData();
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(int(m_server->requestsFor(cmd).size()), 2, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 3, 10000);
        QTest::qWait(kHeldAnswerMs);
        QCOMPARE(p.model->rowCount(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(p.name(i), QString("new%1").arg(i));
        QVERIFY(!p.model->isLoading());
        QVERIFY(!p.model->isRefreshing());
    }

    // Removing a row above the selected one: the selection stays on its link.
    void selectionFollowsItsLink()
    {
        for (const char* s : {"a1", "a2", "a3", "a4"})
            m_server->addShareLink(s, "", s, std::string("pub/") + s);
        startDevice();
        Probe p(m_device.get(), true);
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 4, 10000);
        const QString picked = p.model->rows().at(2).shareId;
        p.model->singleSelect(2);
        p.model->operateRemove(0);
        QCOMPARE(p.model->rowCount(), 3);
        QCOMPARE(p.model->selectNum(), 1);
        QCOMPARE(p.model->get().value("shareId").toString(), picked);
        QVERIFY(p.model->data(p.model->index(1), M::SelectedRole).toBool());
        QVERIFY(!p.model->data(p.model->index(2), M::SelectedRole).toBool());
        p.model->operateRemove(2);   // below it: nothing moves
        QCOMPARE(p.model->get().value("shareId").toString(), picked);
        QTRY_COMPARE_WITH_TIMEOUT(int(m_server->requestsFor("delExternalLink").size()), 2, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(p.lastToast(1, "Delete Extlink Successful."), 10000);
        QCOMPARE(p.model->get().value("shareId").toString(), picked);
        QVERIFY(p.model->data(p.model->index(1), M::SelectedRole).toBool());
    }

    void refreshReplacesTheFirstPage()
    {
        for (const char* s : {"r1", "r2", "r3"})
            m_server->addShareLink(s, "", s, std::string("pub/") + s);
        startDevice();
        Probe p(m_device.get(), true);
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 3, 10000);
        p.model->singleSelect(1);
        p.model->refershData();
        QVERIFY(p.model->isRefreshing());
        QCOMPARE(p.model->selectNum(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!p.model->isRefreshing(), 10000);
        QCOMPARE(p.model->rowCount(), 3);
        QCOMPARE(int(m_server->requestsFor("getExternalLinkList").size()), 2);
    }

    void resetWhileWaitingIsIgnored()
    {
        startDevice();
        Probe p(m_device.get(), true);
        QTRY_VERIFY_WITH_TIMEOUT(!p.model->isLoading(), 10000);
        m_server->clearRequests();
        m_server->delayAnswer(500, 1, "getExternalLinkList");
        QSignalSpy resets(p.model.get(), &QAbstractItemModel::modelReset);
        p.model->resetData();
        p.load();
        QVERIFY(p.model->isLoading());
        p.model->resetData();   // still waiting: nothing happens
        QCOMPARE(resets.count(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!p.model->isRefreshing(), 10000);
        QCOMPARE(int(m_server->requestsFor("getExternalLinkList").size()), 1);
    }

    void failedPageAfterResetCanBeRetried()
    {
        m_server->addShareLink("f1", "", "F", "pub/f");
        startDevice();
        Probe p(m_device.get(), true);
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);
        m_server->clearRequests();
        m_server->queueCommandAnswer("getExternalLinkList",
                                     R"({"result":0,"errCode":5,"message":"busy"})");
        p.model->resetData();
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(p.toasts.count(), 1, 10000);
        QCOMPARE(p.toasts[0].at(1).toString(), QString("busy"));
        QCOMPARE(p.model->rowCount(), 0);
        // The view asks no more on its own, but a reset starts again.
        p.load();
        QTest::qWait(100);
        QCOMPARE(int(m_server->requestsFor("getExternalLinkList").size()), 1);
        p.model->resetData();
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);
    }

    void refusedDeviceRemovalRestoresTheRow()
    {
        m_server->addShareLink("k1", "", "Keep", "pub/k1");
        m_server->addShareLink("k2", "", "Kill", "pub/k2");
        startDevice();
        Probe p(m_device.get(), true);
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 2, 10000);
        QCOMPARE(p.name(0), QString("Keep"));

        m_server->queueCommandAnswer("delExternalLink",
                                     R"({"result":0,"errCode":9,"message":"in use"})");
        p.model->operateRemove(0);
        QCOMPARE(p.model->rowCount(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 2, 10000);
        QCOMPARE(p.name(0), QString("Keep"));
        QVERIFY(p.lastToast(0, "in use"));
        QCOMPARE(p.toasts.last().at(2).toInt(), 2);
        QVERIFY(m_server->hasShareLink("k1"));

        p.model->operateRemove(1);
        QTRY_VERIFY_WITH_TIMEOUT(p.lastToast(1, "Delete Extlink Successful."), 10000);
        QCOMPARE(p.model->rowCount(), 1);
        QVERIFY(!m_server->hasShareLink("k2"));
        const auto sent = m_server->requestsFor("delExternalLink");
        QCOMPARE(int(sent.size()), 2);
    }

    void selectionCopyAndShare()
    {
        m_server->addShareLink("c1", "pw", "Copy", "pub/c1");
        startDevice();
        Probe p(m_device.get(), true);
        p.load();
        QTRY_COMPARE_WITH_TIMEOUT(p.model->rowCount(), 1, 10000);

        QVERIFY(p.model->get().isEmpty());
        p.model->shareExtlink("url");   // nothing selected: nothing happens
        QVERIFY(p.toasts.isEmpty());
        p.model->singleSelect(5);
        QCOMPARE(p.model->selectNum(), 0);
        p.model->singleSelect(0);
        QCOMPARE(p.model->selectNum(), 1);
        QVERIFY(p.model->data(p.model->index(0), M::SelectedRole).toBool());
        p.model->singleSelect(0, true);
        QCOMPARE(p.model->selectNum(), 1);
        p.model->singleSelect(0);
        QCOMPARE(p.model->selectNum(), 0);
        p.model->singleSelect(0);

        const Extlink row = p.model->rows().at(0);
        QCOMPARE(row.code, QString("pw"));
        p.model->operateCopy(0);
        QCOMPARE(QGuiApplication::clipboard()->text(), row.linkWithCode());
        QVERIFY(p.lastToast(1, "copy:" + row.linkWithCode()));
        p.model->shareExtlink("code");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("pw"));
        QVERIFY(p.lastToast(1, "copyed code"));
        p.model->shareExtlink("all");
        QCOMPARE(QGuiApplication::clipboard()->text(), row.shareText());
        p.model->shareExtlink("nothing");
        QVERIFY(p.lastToast(1, "copyed all"));

        // Outside services' share pages open in the browser; with none to
        // open them the user is told.
        {
            PageOpener opener;
            QDesktopServices::setUrlHandler("https", &opener, "open");
            const int before = p.toasts.size();
            p.model->shareExtlink("weibo");
            QDesktopServices::unsetUrlHandler("https");
            QCOMPARE(opener.urls.size(), 1);
            QCOMPARE(p.toasts.size(), before);
            QTemporaryDir noTools;
            const QByteArray path = qgetenv("PATH");
            qputenv("PATH", noTools.path().toLocal8Bit());
            p.model->shareExtlink("qq");
            qputenv("PATH", path);
            QVERIFY(p.lastToast(100102, "No browser could be opened for the share page."));
            QCOMPARE(p.toasts.last().at(2).toInt(), 2);
        }

        QSignalSpy alert(p.model.get(), &M::showShareAlert);
        p.model->operateShare(0);
        QCOMPARE(alert.count(), 1);
        QVERIFY(!alert[0][1].value<QImage>().isNull());
        QCOMPARE(alert[0][0].toMap().value("shareId").toString(), QString("c1"));
        p.model->operateShare(7);
        p.model->operateCopy(-1);
        p.model->operateRemove(3);
        QCOMPARE(alert.count(), 1);
        QCOMPARE(p.model->rowCount(), 1);
    }

    void otherModelsAnswersAreDropped()
    {
        m_server->addShareLink("o1", "", "O", "pub/o1");
        startDevice();
        M idle;
        idle.setDeviceMode(true);
        idle.setTw(m_device.get());
        Probe asking(m_device.get(), true);
        asking.load();
        QTRY_COMPARE_WITH_TIMEOUT(asking.model->rowCount(), 1, 10000);
        QTest::qWait(100);
        QCOMPARE(idle.rowCount(), 0);
        QVERIFY(idle.hasMore());
    }

    void offlineDeviceDoesNotHangTheList()
    {
        startDevice();
        m_owner->allowOnline = false;
        m_owner->disconnectSession();
        Probe p(m_device.get(), true);
        p.load();
        QVERIFY(!p.model->isLoading());
        QVERIFY(!p.model->isRefreshing());
        // A reset is not refused for ever: it runs and ends at once.
        QSignalSpy resets(p.model.get(), &QAbstractItemModel::modelReset);
        p.model->resetData();
        QCOMPARE(resets.count(), 1);
        QVERIFY(!p.model->isLoading());
        QVERIFY(!p.model->isRefreshing());
        p.model->resetData();
        QCOMPARE(resets.count(), 2);
        QVERIFY(m_server->requestsFor("getExternalLinkList").empty());
    }
};

TW_TEST_MAIN(TestExtlinkListModel)
#include "tst_extlinklistmodel.moc"
