// The public-space and share lists handing files to a connected tab's own
// download manager, which fetches them from the test device.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>
#include <memory>

#include "app/tidewellsdk.h"
#include "device/tidewelldevice.h"
#include "device/tidewelltab.h"
#include "sharing/pubfilelistmodel.h"
#include "sharing/sharealluserfilemodel.h"
#include "tools/testdeviceserver.h"

class TestSharingEndToEnd : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<TestDeviceServer> m_server;
    std::unique_ptr<TidewellSdk> m_root;
    std::unique_ptr<TidewellTab> m_tab;

    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void init()
    {
        m_server.reset(new TestDeviceServer((m_dir.path() + "/dev").toStdString()));
        QVERIFY(m_server->start());
        m_root.reset(new TidewellSdk);
        UserInfo u;
        u.accessId = "ann";
        m_root->setUserInfo(u);
        m_tab.reset(new TidewellTab(m_root.get()));
        DeviceInfo d;
        d.deviceId = "dev1";
        d.accessId = "ann";
        d.deviceSn = "QX2ABC";
        d.lanHost = "127.0.0.1";
        d.lanPort = m_server->port();
        QVERIFY(m_tab->connect_to(d));
        QTRY_COMPARE(m_tab->linkState(), 2);
    }

    void cleanup()
    {
        m_tab.reset();
        m_root.reset();
        m_server.reset();
    }

    void groupFileReachesTheDownloadFolder()
    {
        const int gId = m_server->addPubGroup("G", "ann");
        const std::string top = "groups/" + std::to_string(gId);
        m_server->addFile(top + "/a.txt", "group bytes");
        m_server->addFile(top + "/b.txt", "other");
        PubFileListModel m;
        QAbstractItemModelTester tester(&m);
        PubGroupInfo g;
        g.gId = gId;
        m.setGroupInfo(g.toMap());
        m.setTw(m_tab->device());
        m.fetchMore(QModelIndex());
        QTRY_COMPARE(m.rowCount(), 2);
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        const QString save = m_dir.path() + "/saved";
        QDir().mkpath(save);
        m.singleSelect(0);
        m.fileDownload(save);
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 15000);
        QCOMPARE(toast.at(0).at(1).toString(), QString("Already added to download"));
        QTRY_COMPARE_WITH_TIMEOUT(bytesOf(save + "/a.txt"), QByteArray("group bytes"), 20000);
    }

    void sharedFileReachesTheDownloadFolder()
    {
        const qint64 id = m_server->addFile("bob/s.txt", "shared bytes");
        QVERIFY(m_server->shareFile(id, "bob"));
        ShareAllUserFileModel m;
        QAbstractItemModelTester tester(&m);
        m.setTw(m_tab->device());
        m.fetchMore(QModelIndex());
        QTRY_COMPARE(m.rowCount(), 1);
        QSignalSpy toast(&m, &BaseModel::sg_notifyStatus);
        const QString save = m_dir.path() + "/shared";
        QDir().mkpath(save);
        m.singleSelect(0);
        m.fileDownload(save);
        QTRY_COMPARE_WITH_TIMEOUT(toast.count(), 1, 15000);
        QCOMPARE(toast.at(0).at(0).toInt(), -1);
        QTRY_COMPARE_WITH_TIMEOUT(bytesOf(save + "/s.txt"), QByteArray("shared bytes"), 20000);
    }
};

TW_TEST_MAIN(TestSharingEndToEnd)
#include "tst_sharingendtoend.moc"
