// The device facade: requests from the GUI thread, replies back on it with
// the caller's handle, and nothing sent while the device is offline.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <memory>

#include "app/tidewellsdk.h"
#include "core/twhandle.h"
#include "device/tidewelldevice.h"
#include "device/tidewelltab.h"
#include "sdk/proto.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"

// Takes replies like a list model: only those carrying its own handle.
class Receiver : public QObject
{
    Q_OBJECT
public:
    TW_HANDLE handle = twNewHandle();
    int dropped = 0;
    bool onGuiThread = true;
    QList<GetPubFileListResp> pages;
    QList<APIBase> results;

    bool mine(TW_HANDLE h)
    {
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        if (h != handle) {
            qDebug() << h << " TW_MYSELF is not me";
            ++dropped;
            return false;
        }
        return true;
    }

public slots:
    void onGetPubFileList(TW_HANDLE h, GetPubFileListResp r)
    {
        if (mine(h))
            pages.append(r);
    }
    void onResult(TW_HANDLE h, APIBase r)
    {
        if (mine(h))
            results.append(r);
    }
};

class TestTidewellDevice : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TidewellSdk> m_root;
    std::unique_ptr<TidewellTab> m_tab;

    TidewellDevice* dev() { return m_tab->device(); }

    static Json::Value body(const TestDeviceServer::Request& r)
    {
        Json::Value v;
        sdk::cores::protocol::proto::json_from_string(r.body, v);
        return v["data"];
    }

private slots:
    void init()
    {
        m_server.reset(new TestDeviceServer((TestEnv::instance()->root() + "/dev").toStdString()));
        QVERIFY(m_server->start());
        m_root.reset(new TidewellSdk);
        UserInfo u;
        u.accessId = "acc1";
        m_root->setUserInfo(u);
        m_tab.reset(new TidewellTab(m_root.get()));
        DeviceInfo d;
        d.deviceId = "dev1";
        d.accessId = "acc1";
        d.lanHost = "127.0.0.1";
        d.lanPort = m_server->port();
        QVERIFY(m_tab->connect_to(d));
        QTRY_COMPARE(m_tab->linkState(), 2);
        m_server->clearRequests();
    }

    void cleanup()
    {
        m_tab.reset();
        m_root.reset();
        m_server.reset();
    }

    void replyComesBackToItsRequester()
    {
        m_server->addFolder("groups/7/photos");
        m_server->addFile("groups/7/a.txt", "abc");
        Receiver mine, other;
        for (Receiver* r : {&mine, &other})
            connect(dev(), &TidewellDevice::rGetPubFileList, r, &Receiver::onGetPubFileList);
        QVERIFY(dev()->getPubFileList(mine.handle, 0, 60, false, 3, 7, 0, false, ""));
        QTRY_COMPARE(mine.pages.size(), 1);
        QTRY_COMPARE(other.dropped, 1);
        QVERIFY(other.pages.isEmpty());
        QVERIFY(mine.onGuiThread && other.onGuiThread);
        const GetPubFileListResp& page = mine.pages[0];
        QCOMPARE(page.result, 1);
        QCOMPARE(page.fileList.size(), 2);
        QCOMPARE(page.fileList[0].name, QString("photos"));
        const auto log = m_server->requestsFor("getPubFileList");
        QCOMPARE(int(log.size()), 1);
        QCOMPARE(body(log[0])["groupId"].asInt(), 7);
        QVERIFY(!body(log[0]).isMember("pageNo"));
    }

    void offlineOperationsSendNothing()
    {
        TidewellTab idle(m_root.get());
        TidewellDevice* d = idle.device();
        QueuedSpy del(d, &TidewellDevice::rFileDelete);
        QueuedSpy links(d, &TidewellDevice::rGetExtlinkList);
        QueuedSpy res(d, &TidewellDevice::rGetExterLinkResList);
        const TW_HANDLE h = twNewHandle();
        QVERIFY(!d->fileDelete(h, {{0, 5}}, false));
        QVERIFY(!d->getExtlinkList(h, 0, 60, false, 0, 0));
        QVERIFY(!d->getExterLinkResList(h, NetworkShare(), 0, 60, false, 0, "s1"));
        QVERIFY(!d->getLinkDirPath(h, NetworkShare(), 0, 60, false, 0, 3));
        QVERIFY(d->waitForDone(5000));
        QCoreApplication::processEvents();
        QCOMPARE(del.count() + links.count() + res.count(), 0);
        QVERIFY(m_server->requests().empty());
    }

    void operationsWithoutTestStillAnswer()
    {
        // Operations without the online test answer a network error when the
        // owner has no session; nothing reaches the device.
        TidewellTab idle(m_root.get());
        QueuedSpy spy(idle.device(), &TidewellDevice::rGetPubFileList);
        QVERIFY(idle.device()->getPubFileList(twNewHandle(), 0, 60, false, 0, 1, 0, false, ""));
        QTRY_COMPARE(spy.count(), 1);
        const auto r = spy[0][1].value<GetPubFileListResp>();
        QCOMPARE(r.code(), int(APIBase::NetworkError));
        QCOMPARE(r.message, QString("Network Error"));
        QVERIFY(m_server->requests().empty());
    }

    void deleteCarriesSelectionBack()
    {
        m_server->setCommandAnswer("deleteDirOrFile", R"({"result":1,"message":"ok"})");
        QueuedSpy spy(dev(), &TidewellDevice::rFileDelete);
        const TW_HANDLE h = twNewHandle();
        QMap<int, qint64> sel{{4, 9007199254740993LL}, {1, 11}};
        QVERIFY(dev()->fileDelete(h, sel, true));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy[0][0].value<TW_HANDLE>(), h);
        QCOMPARE((spy[0][1].value<QMap<int, qint64>>()), sel);
        QVERIFY(spy[0][2].value<DeleteDirOrFileResp>().ok());
        const Json::Value b = body(m_server->requestsFor("deleteDirOrFile").at(0));
        QCOMPARE(b["fileIds"].size(), 2u);
        QCOMPARE(qint64(b["fileIds"][0].asInt64()), 11LL);   // selection order
        QCOMPARE(qint64(b["fileIds"][1].asInt64()), 9007199254740993LL);
        QVERIFY(b["isForce"].asBool());
    }

    void commandsAndCarriedValues()
    {
        m_server->addFolder("groups/3");
        m_server->setCommandAnswer("retryCopyTask", R"({"result":1})");
        m_server->setCommandAnswer("pubCopyFileToPub", R"({"result":0,"message":"full","errCode":2014})");
        m_server->setCommandAnswer("getFileFromClassForDate3",
                                   R"({"result":1,"data":{"listPath":[{"id":1,"name":"p.jpg","isFile":true}]}})");

        QueuedSpy pub(dev(), &TidewellDevice::rCreatePubDir);
        QVERIFY(dev()->createPubDir(twNewHandle(), 3, 0, "new", "", false));
        QTRY_COMPARE(pub.count(), 1);
        const auto made = pub[0][1].value<CreatePubDirResp>();
        QCOMPARE(made.result, 1);
        QVERIFY(made.dirId > 0);
        QCOMPARE(made.dirName, QString("new"));
        QCOMPARE(made.groupId, 3);

        QueuedSpy retry(dev(), &TidewellDevice::rRetryCopyTask);
        QMap<int, qint64> sel{{2, 30}, {0, 10}, {1, 20}};
        QVERIFY(dev()->retryCopyTask(twNewHandle(), sel));
        QTRY_COMPARE(retry.count(), 1);
        QCOMPARE((retry[0][2].value<QMap<int, qint64>>()), sel);
        const Json::Value ids = body(m_server->requestsFor("retryCopyTask").at(0))["curOperIds"];
        QCOMPARE(ids.size(), 3u);
        QCOMPARE(ids[0].asInt(), 10);
        QCOMPARE(ids[2].asInt(), 30);

        QueuedSpy copy(dev(), &TidewellDevice::rFileCopy);
        TwFolderInfo target;
        target.diskType = 3;
        target.fid = 44;
        target.groupId = 9;
        target.serialNo = "sn";
        QVERIFY(dev()->fileCopy(twNewHandle(), 3, target, 3, {{0, 5}}, {"a"}));
        QTRY_COMPARE(copy.count(), 1);
        QCOMPARE(copy[0][1].value<APIBase>().errCode, 2014);
        const Json::Value c = body(m_server->requestsFor("pubCopyFileToPub").at(0));
        QCOMPARE(c["targetGroupId"].asInt(), 9);
        QCOMPARE(c["targetId"].asInt(), 44);

        QueuedSpy media(dev(), &TidewellDevice::rMediaFilelist);
        QVERIFY(dev()->mediaFilelist(twNewHandle(), Common::FT_Image, 120, 60, 1, false));
        QTRY_COMPARE(media.count(), 1);
        QCOMPARE(media[0][1].value<GetMediaFileGroupResp>().fileList.size(), 1);
        const Json::Value m = body(m_server->requestsFor("getFileFromClassForDate3").at(0));
        QCOMPARE(m["offset"].asInt(), 120);
        QVERIFY(!m.isMember("pageNo"));
    }

    void malformedAnswerGivesErrorCode()
    {
        m_server->answerMalformed(1, "getPubFileList");
        Receiver r;
        connect(dev(), &TidewellDevice::rGetPubFileList, &r, &Receiver::onGetPubFileList);
        QVERIFY(dev()->getPubFileList(r.handle, 0, 60, false, 0, 1, 0, false, ""));
        QTRY_COMPARE(r.pages.size(), 1);
        QVERIFY(r.pages[0].code() < 0);
        QVERIFY(r.pages[0].fileList.isEmpty());
    }

    void downloadHandOver()
    {
        TestOwner owner;
        TidewellDevice d(&owner);
        QueuedSpy spy(&d, &TidewellDevice::rAddDownFiles);
        const TW_HANDLE h = twNewHandle();
        // No download manager: refused.
        QVERIFY(d.addDownFilesPlain(h, "/tmp", {TwFileInfo()}));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy[0][1].toBool(), false);

        // An accepting manager answers itself, once.
        int seenType = -1;
        d.setDownFilesHandler([&](TW_HANDLE hh, const QString&, const QList<TwFileInfo>&, int t) {
            seenType = t;
            QMetaObject::invokeMethod(&d, [&d, hh] { emit d.rAddDownFiles(hh, true); });
            return true;
        });
        QVERIFY(d.addDownFiles(h, "/tmp", {TwFileInfo()}, 6));
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy[1][1].toBool(), true);
        QCOMPARE(seenType, 6);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 2);
    }

    void tabWiresItsDownloadManager()
    {
        m_server->addFile("f.bin", "12345");
        QueuedSpy spy(dev(), &TidewellDevice::rAddDownFiles);
        TwFileInfo f;
        f.id = m_server->idForPath("f.bin");
        f.name = "f.bin";
        f.isFile = true;
        f.fileLen = 5;
        const QString dir = TestEnv::instance()->root() + "/down";
        QDir().mkpath(dir);
        QVERIFY(dev()->addDownFilesPlain(twNewHandle(), dir, {f}));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy[0][1].toBool(), true);
    }
};

TW_TEST_MAIN(TestTidewellDevice)
#include "tst_tidewelldevice.moc"
