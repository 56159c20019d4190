// The photo preview against the real thumbnail service and test device:
// the opened picture first, stepping by index, medium then original, and
// the download of the previewed picture.
#include "tests/queuedspy.h"
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <memory>

#include "browser/filelistmodel.h"
#include "core/common.h"
#include "device/tidewelldevice.h"
#include "media/previewlistmodel.h"
#include "tests/testowner.h"
#include "tests/transfer/thumbrig.h"
#include "tools/testdeviceserver.h"
#include "transfer/tidewellthumb.h"

class TestPreviewListModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TestOwner> m_owner;
    std::unique_ptr<TidewellDevice> m_dev;
    std::unique_ptr<TidewellThumb> m_thumb;
    QList<TwFileInfo> m_pics;
    int m_round = 0;

    TwFileInfo picture(qint64 id, const QString& name)
    {
        TwFileInfo f;
        f.id = id;
        f.name = name;
        f.isFile = true;
        f.fileMd5 = "md5-" + QString::number(id);
        f.ower = "acc1";
        f.fileType();
        return f;
    }

    // A browsing list: two pictures around a video, and a third picture.
    void fill(FileListModel& list)
    {
        TwFileInfo video = picture(m_server->addFile("v.mp4", "video"), "v.mp4");
        list.appendItems({m_pics.at(0), video, m_pics.at(1), m_pics.at(2)});
    }

private slots:
    void init()
    {
        const QString root = TestEnv::instance()->root() + "/r" + QString::number(++m_round);
        m_server.reset(new TestDeviceServer((root + "/dev").toStdString()));
        QVERIFY(m_server->start());
        m_owner.reset(new TestOwner);
        QVERIFY(m_owner->connectTo(m_server->port()));
        m_dev.reset(new TidewellDevice(m_owner.get()));
        m_thumb.reset(new TidewellThumb);
        m_thumb->init(m_owner.get(), root + "/cache");
        m_pics.clear();
        for (int i = 0; i < 3; ++i)
            m_pics << picture(addPicture(*m_server, "p" + std::to_string(i) + ".jpg", 640, 480, i + 1),
                              QString("p%1.jpg").arg(i));
    }

    void cleanup()
    {
        m_thumb.reset();
        m_dev.reset();
        m_owner.reset();
        m_server.reset();
    }

    void opensTheChosenPictureMediumThenOriginal()
    {
        FileListModel list;
        list.setTw(m_dev.get());
        list.setThumb(m_thumb.get());
        fill(list);
        PreviewListModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(&list);
        QCOMPARE(m.rowCount(), 3);
        QVERIFY(m.needDownload());
        // Both picture roles show the row's small thumbnail.
        QCOMPARE(m.data(m.index(1), PreviewListModel::FilePictureThumbUrlRole),
                 m.data(m.index(1), PreviewListModel::FilePictureMediumUrlRole));

        QSignalSpy medium(&m, &PreviewListModel::mediumChanged);
        QSignalSpy loading(&m, &PreviewListModel::showLoading);
        m.setCurrentInfo(m_pics.at(1).toVariantMap());
        QCOMPARE(m.currentSelected(), 1);
        QCOMPARE(loading.count(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(medium.count(), 1, 20000);
        const QUrl url = medium.last().at(0).toUrl();
        QVERIFY(url.isLocalFile());
        QVERIFY(url.toLocalFile().contains("/thumbs/medium/"));
        QVERIFY(QFile(url.toLocalFile()).size() > 0);
        QVERIFY(!m.isOriginal());

        // Back to it later: the cached medium picture shows at once.
        m.setCurrentSelected(0);
        QTRY_COMPARE_WITH_TIMEOUT(medium.count(), 2, 20000);
        m.setCurrentSelected(1);
        QCOMPARE(medium.count(), 3);

        QSignalSpy status(&m, SIGNAL(notifyStatus(int,QString,BaseModel::ToastLevel)));
        m.quickOriginal();
        QTRY_VERIFY_WITH_TIMEOUT(!status.isEmpty(), 20000);
        QVERIFY(m.isOriginal());
        QVERIFY2(medium.last().at(0).toUrl().toLocalFile().contains("/thumbs/original/"), qPrintable(medium.last().at(0).toUrl().toString()));
        QCOMPARE(status.last().at(1).toString(), QString("Original load success"));

        // Stepping past either end keeps the selection.
        m.setCurrentSelected(-1);
        QCOMPARE(status.last().at(1).toString(), QString("Is fisrt photo"));
        m.setCurrentSelected(3);
        QCOMPARE(status.last().at(1).toString(), QString("Is last photo"));
        QCOMPARE(m.currentSelected(), 1);

        m.reset();
        QCOMPARE(m.rowCount(), 0);
        QVERIFY(m.currentInfo().isEmpty());
    }

    void resultsForOtherRowsAndServicesAreIgnored()
    {
        FileListModel list;
        list.setTw(m_dev.get());
        list.setThumb(m_thumb.get());
        fill(list);
        PreviewListModel m;
        m.setTw(&list);
        m.setCurrentSelected(0);
        QSignalSpy medium(&m, &PreviewListModel::mediumChanged);
        ThumbInfo other;
        other.fileId = m_pics.at(2).id;
        other.sizeKind = 3;
        m.rThumbFinished(other, 1, "ok");
        QCOMPARE(medium.count(), 0);

        // Set again on another device's list: the first service no longer
        // reaches the model, and the facade is connected once.
        TidewellThumb second;
        second.init(m_owner.get(), TestEnv::instance()->root() + "/second");
        FileListModel list2;
        list2.setTw(m_dev.get());
        list2.setThumb(&second);
        fill(list2);
        m.setTw(&list2);
        m.setTw(&list2);
        m.setCurrentSelected(0);
        QSignalSpy cancel(&m, &PreviewListModel::cancelLading);
        ThumbInfo mine;
        mine.fileId = m_pics.at(0).id;
        mine.sizeKind = 3;
        emit m_thumb->sFinished(mine, 1, "ok");
        QCOMPARE(cancel.count(), 0);
        emit second.sFinished(mine, 1, "ok");
        QCOMPARE(cancel.count(), 1);
    }

    void downloadsThePreviewedPicture()
    {
        QList<TwFileInfo> handed;
        QString savedTo;
        m_dev->setDownFilesHandler([&](TW_HANDLE, const QString& path, const QList<TwFileInfo>& items, int) {
            savedTo = path;
            handed = items;
            return true;
        });
        FileListModel list;
        list.setTw(m_dev.get());
        fill(list);
        PreviewListModel m;
        m.setTw(&list);
        m.setCurrentSelected(2);
        m.download("/save/here");
        QTRY_COMPARE_WITH_TIMEOUT(handed.size(), 1, 10000);
        QCOMPARE(handed.at(0).id, m_pics.at(2).id);
        QCOMPARE(savedTo, QString("/save/here"));
    }
};

TW_TEST_MAIN(TestPreviewListModel)
#include "tst_previewlistmodel.moc"
