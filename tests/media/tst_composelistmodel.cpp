// The media list: paging by offset against the test device, failures,
// answers of other models, thumbnails of its rows and links made from them.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <memory>

#include "core/common.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"
#include "media/composelistmodel.h"
#include "sdk/proto.h"
#include "tests/pageorder.h"
#include "tests/transfer/taskrig.h"
#include "tests/transfer/thumbrig.h"
#include "transfer/tidewellthumb.h"

class TestComposeListModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TaskRig> m_rig;
    int m_n = 0;

    void addFiles(const std::string& folder, const char* suffix, int count)
    {
        for (int i = 0; i < count; ++i)
            m_rig->server->addFile(folder + "/f" + std::to_string(100 + i) + suffix, "x");
    }

    // An answer of n pictures with ids from first up.
    static std::string mediaPage(int first, int n)
    {
        Json::Value page(Json::objectValue);
        page["result"] = 1;
        Json::Value list(Json::arrayValue);
        for (int i = 0; i < n; ++i) {
            Json::Value it(Json::objectValue);
            it["id"] = first + i;
            it["name"] = "m" + std::to_string(first + i) + ".jpg";
            it["isFile"] = true;
            list.append(it);
        }
        page["data"]["listPath"] = list;
        return sdk::cores::protocol::proto::json_to_string(page);
    }

    void attach(ComposeListModel& m, int type)
    {
        m.setModelType(type);
        m.setTw(m_rig->dev.get());
    }

private slots:
    void init()
    {
        // A storage of its own per test: the listing walks all of it.
        m_rig.reset(new TaskRig);
        QVERIFY(m_rig->start("dev" + QString::number(++m_n)));
        m_rig->server->clearRequests();
    }

    void cleanup()
    {
        m_rig.reset();
    }

    void exactlyOnePageEndsOnTheEmptyAnswer()
    {
        addFiles("pics", ".jpg", 60);
        addFiles("films", ".mp4", 2);
        ComposeListModel m;
        QAbstractItemModelTester tester(&m);
        attach(m, Common::FT_Image);
        QSignalSpy loading(&m, &BaseModel::sg_showLoading);
        QSignalSpy loaded(&m, &BaseModel::sg_cancelLading);
        QSignalSpy state(&m, &BaseModel::sg_DefaultStateChange);
        QVERIFY(m.canFetchMore(QModelIndex()));
        m.fetchMore();
        m.fetchMore();   // one request at a time
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 60, 15000);
        QCOMPARE(state.last().at(0).toInt(), int(BaseModel::DS_None));
        // The view (here the model tester) asks on; the empty answer ends it.
        m.fetchMore();
        QTRY_VERIFY_WITH_TIMEOUT(!m.canFetchMore(QModelIndex()), 15000);
        QTRY_COMPARE(loaded.count(), loading.count());
        QCOMPARE(m.rowCount(), 60);
        QCOMPARE(m.loadFileNum(), 60);

        const auto reqs = m_rig->sent("getFileFromClassForDate3");
        QCOMPARE(int(reqs.size()), 2);
        QCOMPARE(reqs[0]["offset"].asInt(), 0);
        QCOMPARE(reqs[1]["offset"].asInt(), 60);
        QCOMPARE(reqs[0]["className"].asString(), getFileTypeName(Common::FT_Image).toStdString());
        QCOMPARE(reqs[0]["dateType"].asInt(), 1);
        QCOMPARE(reqs[0]["pageSize"].asInt(), 60);
        QCOMPARE(reqs[0]["isSort"].asBool(), false);
        for (const TwFileInfo& f : m.items())
            QCOMPARE(f.type, int(Common::MT_Image));

        // A refresh starts over from offset 0.
        const std::size_t before = m_rig->sent("getFileFromClassForDate3").size();
        m.setIsSort(true);
        m.refreshData();
        QCOMPARE(m.rowCount(), 0);
        m.fetchMore();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 60, 15000);
        const auto again = m_rig->sent("getFileFromClassForDate3");
        QVERIFY(again.size() > before);
        QCOMPARE(again[before]["offset"].asInt(), 0);
        QCOMPARE(again[before]["isSort"].asBool(), true);
    }

    void favouritesAreTheLovedFiles()
    {
        addFiles("x", ".jpg", 3);
        addFiles("y", ".mp3", 2);
        m_rig->server->setMediaLoved("x/f101.jpg", true);
        m_rig->server->setMediaLoved("y/f100.mp3", true);
        ComposeListModel loves, music;
        QAbstractItemModelTester t1(&loves), t2(&music);
        attach(loves, Common::FT_Love);
        attach(music, Common::FT_Audio);
        loves.fetchMore();
        music.fetchMore();
        QTRY_COMPARE_WITH_TIMEOUT(loves.rowCount(), 2, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(music.rowCount(), 2, 15000);
        for (const TwFileInfo& f : loves.items())
            QCOMPARE(f.isCollect, 1);
        QVERIFY(loves.data(loves.index(0), BaseListModel::FileIsLoveRole).toBool());
        loves.allSelect();
        QVERIFY(loves.selectIsLoves());
        QCOMPARE(music.items().at(0).type, int(Common::MT_Music));
    }

    void sortSwitchAlwaysNotifies()
    {
        ComposeListModel m;
        QSignalSpy spy(&m, &ComposeListModel::isSortChanged);
        m.setIsSort(false);
        m.setIsSort(false);
        QCOMPARE(spy.count(), 2);
    }

    void failuresAndOtherModelsAnswers()
    {
        addFiles("a", ".jpg", 61);
        addFiles("b", ".mp4", 3);
        ComposeListModel pics, videos;
        QAbstractItemModelTester t1(&pics), t2(&videos);
        attach(pics, Common::FT_Image);
        attach(videos, Common::FT_Video);
        videos.fetchMore();
        QTRY_COMPARE_WITH_TIMEOUT(videos.rowCount(), 3, 15000);
        QVERIFY(!videos.canFetchMore(QModelIndex()));

        // Answers in turn: a failed first page, a page of 60, a failed
        // second page; then the device's own listing.
        Json::Value page(Json::objectValue);
        page["result"] = 1;
        Json::Value list(Json::arrayValue);
        for (int i = 1; i <= 60; ++i) {
            Json::Value it(Json::objectValue);
            it["id"] = 5000 + i;
            it["name"] = "q" + std::to_string(i) + ".jpg";
            it["isFile"] = true;
            list.append(it);
        }
        page["data"]["listPath"] = list;
        m_rig->server->queueCommandAnswer("getFileFromClassForDate3",
                                     R"({"result":0,"errCode":9,"message":"disk asleep"})");
        m_rig->server->queueCommandAnswer("getFileFromClassForDate3",
                                     sdk::cores::protocol::proto::json_to_string(page));
        m_rig->server->queueCommandAnswer("getFileFromClassForDate3",
                                     R"({"result":0,"errCode":9,"message":"busy"})");

        // The first page fails: the error state with the device's message.
        QSignalSpy state(&pics, &BaseModel::sg_DefaultStateChange);
        QSignalSpy toast(&pics, &BaseModel::sg_notifyStatus);
        pics.fetchMore();
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 1, 15000);
        QCOMPARE(state.at(0).at(0).toInt(), int(BaseModel::DS_Error));
        QCOMPARE(state.at(0).at(1).toString(), QString("disk asleep"));
        QCOMPARE(toast.count(), 0);
        // Paging stops: a view that keeps asking sends nothing more.
        QVERIFY(!pics.canFetchMore(QModelIndex()));
        const std::size_t asked = m_rig->sent("getFileFromClassForDate3").size();
        for (int i = 0; i < 5; ++i)
            pics.fetchMore();
        QTest::qWait(200);
        QCOMPARE(m_rig->sent("getFileFromClassForDate3").size(), asked);

        // A refresh starts again.
        pics.refreshData();
        pics.fetchMore();
        QTRY_COMPARE_WITH_TIMEOUT(pics.rowCount(), 60, 15000);
        // A later page fails: a toast, the rows stay, paging stops again.
        if (toast.isEmpty())
            pics.fetchMore();
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 15000);
        QCOMPARE(toast.at(0).at(1).toString(), QString("busy"));
        QCOMPARE(pics.rowCount(), 60);
        QVERIFY(!pics.canFetchMore(QModelIndex()));
        pics.refreshData();
        for (int round = 0; round < 5 && pics.canFetchMore(QModelIndex()); ++round) {
            pics.fetchMore();
            QTRY_VERIFY_WITH_TIMEOUT(!pics.isLoading(), 15000);
        }
        QCOMPARE(pics.rowCount(), 61);   // offsets 0 and 60 of 61
        QVERIFY(!pics.canFetchMore(QModelIndex()));
        QCOMPARE(videos.rowCount(), 3);
    }

    // The sort switch changed while the first page was on its way (the page
    // answers the switch with refreshData): the rows shown are those asked
    // after the change, whichever answer comes first.
    void sortChangeDuringTheFirstLoad_data()
    {
        answerOrderRows();
    }

    void sortChangeDuringTheFirstLoad()
    {
        QFETCH(bool, oldAnswerFirst);
        const char* cmd = "getFileFromClassForDate3";
        orderAnswers(*m_rig->server, cmd, oldAnswerFirst, mediaPage(100, 2), mediaPage(200, 3));
        ComposeListModel m;
        QAbstractItemModelTester tester(&m);
        attach(m, Common::FT_Image);
        m.fetchMore();
        QTRY_COMPARE(m_rig->sent(cmd).size(), std::size_t(1));
        m.setIsSort(true);
        m.refreshData();
        m.fetchMore();
        QTRY_COMPARE(m_rig->sent(cmd).size(), std::size_t(2));
        QCOMPARE(m_rig->sent(cmd).at(1)["isSort"].asBool(), true);
        QTRY_COMPARE(m.rowCount(), 3);
        QTest::qWait(kHeldAnswerMs);
        QCOMPARE(m.rowCount(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m.items().at(i).id, qint64(200 + i));
        QVERIFY(!m.isLoading());
        QVERIFY(!m.canFetchMore(QModelIndex()));
    }

    // A device that answers every offset with the same full page: the rows
    // are not added again and the paging ends.
    void repeatedPageEndsPaging()
    {
        const char* cmd = "getFileFromClassForDate3";
        m_rig->server->setCommandAnswer(cmd, mediaPage(300, 60));
        ComposeListModel m;
        QAbstractItemModelTester tester(&m);
        attach(m, Common::FT_Image);
        // A view that keeps asking.
        for (int i = 0; i < 8; ++i) {
            m.fetchMore();
            QTest::qWait(150);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m.isLoading(), 5000);
        QCOMPARE(m.rowCount(), 60);
        QVERIFY(!m.canFetchMore(QModelIndex()));
        QCOMPARE(m_rig->sent(cmd).size(), std::size_t(2));
    }

    // A view asks before the page has set the facade: that is no failure to
    // report; the page asks again once the facade is there.
    void withoutFacadeNothingIsAskedUntilItIsSet()
    {
        addFiles("music", ".mp3", 3);
        ComposeListModel m;
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        m.setModelType(Common::FT_Audio);
        m.fetchMore();
        QCOMPARE(toast.count(), 0);
        QVERIFY(!m.isLoading());
        QVERIFY(m.canFetchMore(QModelIndex()));
        m.setTw(m_rig->dev.get());
        m.fetchMore();
        QTRY_COMPARE(m.rowCount(), 3);
        QCOMPARE(toast.count(), 0);
    }

    void rowsShowTheirThumbnails()
    {
        for (int i = 0; i < 3; ++i)
            addPicture(*m_rig->server, "p/t" + std::to_string(i) + ".jpg", 300, 200, i);
        m_rig->server->addFile("p/song.mp3", "x");
        TidewellThumb thumb;
        thumb.init(m_rig->owner.get(), TestEnv::instance()->root() + "/cache" + QString::number(m_n));
        ComposeListModel m;
        QAbstractItemModelTester tester(&m);
        attach(m, Common::FT_Image);
        m.setThumb(&thumb);
        m.fetchMore();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 3, 15000);
        QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m.data(m.index(i), BaseListModel::FileThumbUrlRole).toUrl(),
                     getFileTypeIcon(Common::MT_Image));
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 3, 20000);
        for (const auto& args : changed)
            QCOMPARE(args.at(2).value<QVector<int>>(), QVector<int>{BaseListModel::FileThumbUrlRole});
        for (int i = 0; i < 3; ++i)
            QVERIFY(m.data(m.index(i), BaseListModel::FileThumbUrlRole).toUrl().isLocalFile());
        QList<TwFileInfo> pictures;
        QCOMPARE(m.itemsOfKind(pictures, Common::MT_Image), 3);
    }

    void linkForTheSelection()
    {
        addFiles("l", ".jpg", 3);
        ComposeListModel m;
        attach(m, Common::FT_Image);
        m.fetchMore();
        QTRY_COMPARE_WITH_TIMEOUT(m.rowCount(), 3, 15000);
        QSignalSpy made(&m, &FileListModel::extlinkCreated);
        m.multiSelect(2);
        m.multiSelect(0);
        m.fileCreateExtlink("holiday", "ab12");
        QTRY_COMPARE_WITH_TIMEOUT(made.count(), 1, 15000);
        QVERIFY(made.at(0).at(0).toString().contains("shareId="));
        QCOMPARE(made.at(0).at(1).toString(), QString("ab12"));
        QCOMPARE(m.selectNum(), 0);
        const Json::Value req = m_rig->sent("createExternalLink").back();
        QCOMPARE(req["title"].asString(), std::string("holiday"));
        QCOMPARE(req["extractedCode"].asString(), std::string("ab12"));
        QCOMPARE(req["fileIds"].size(), 2u);
        QCOMPARE(req["fileIds"][0].asInt64(), m.items().at(0).id);
        QCOMPARE(req["fileIds"][1].asInt64(), m.items().at(2).id);

        // A file gone from the device: the device's refusal is shown.
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        m_rig->server->setCommandAnswer("createExternalLink",
                                   R"({"result":0,"errCode":404,"message":"file does not exist"})");
        m.multiSelect(1);
        m.fileCreateExtlink("x", "");
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 15000);
        QCOMPARE(toast.at(0).at(1).toString(), QString("file does not exist"));
        QCOMPARE(made.count(), 1);
    }
};

TW_TEST_MAIN(TestComposeListModel)
#include "tst_composelistmodel.moc"
