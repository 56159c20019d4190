#include <QSet>
#include <QThread>

#include "core/common.h"
#include "core/deviceinfo.h"
#include "core/twfileinfo.h"
#include "core/twfolderinfo.h"
#include "core/twhandle.h"
#include "tests/testenv.h"

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void fileInfoRoundTripKeeps64BitValues()
    {
        TwFileInfo f;
        f.id = (qint64(1) << 33) + 7;
        f.fileLen = (qint64(5) << 32);
        f.lastModified = 1700000000123;
        f.createTime = 1600000000456;
        f.name = "a.mkv";
        f.isFile = true;
        f.groupId = 12;
        f.shareId = "s1";
        f.extractedCode = "abcd";
        const QVariantMap m = f.toVariantMap();
        QCOMPARE(m.value("id").toString(), QString::number(f.id));
        QCOMPARE(m.value("fileLen").type(), QVariant::String);
        const TwFileInfo back = TwFileInfo::fromVariantMap(m);
        QCOMPARE(back.id, f.id);
        QCOMPARE(back.fileLen, f.fileLen);
        QCOMPARE(back.lastModified, f.lastModified);
        QCOMPARE(back.createTime, f.createTime);
        QCOMPARE(back.groupId, 12);
        QCOMPARE(back.extractedCode, QString("abcd"));
        QVERIFY(back == f);
    }

    void fileTypeRule()
    {
        TwFileInfo f;
        f.name = "x.PNG";
        f.isFile = true;
        f.fileType();
        QCOMPARE(f.type, int(Common::MT_Image));
        f.isFile = false;
        f.fileType();
        QCOMPARE(f.type, int(Common::MT_Folder));
        f.isSamba = true;
        f.fileType();
        QCOMPARE(f.type, int(Common::MT_Samba));
    }

    void equalityByPathOrId()
    {
        TwFileInfo a, b;
        a.local = b.local = true;
        a.filePath = b.filePath = "/x/y";
        a.id = 1;
        b.id = 2;
        QVERIFY(a == b);
        a.local = b.local = false;
        QVERIFY(!(a == b));
        b.id = 1;
        QVERIFY(a == b);
    }

    void folderAndDeviceRoundTrip()
    {
        TwFolderInfo t;
        t.fid = 9;
        t.serialNo = "disk1";
        t.diskType = 3;
        t.groupId = 4;
        t.freeCapacity = qint64(3) << 40;
        t.isSafeBox = true;
        const TwFolderInfo tb = TwFolderInfo::fromVariantMap(t.toVariantMap());
        QCOMPARE(tb.fid, 9);
        QCOMPARE(tb.serialNo, QString("disk1"));
        QCOMPARE(tb.freeCapacity, t.freeCapacity);
        QVERIFY(tb.isSafeBox);

        DeviceInfo d;
        d.deviceId = "d";
        d.lanHost = "127.0.0.1";
        d.lanPort = 8080;
        d.remotePort = 9090;
        const DeviceInfo db = DeviceInfo::fromVariantMap(d.toVariantMap());
        QCOMPARE(db.lanPort, 8080);
        QCOMPARE(db.remotePort, 9090);
        QCOMPARE(db.deviceId, QString("d"));
    }

    void handlesNeverRepeat()
    {
        QSet<TW_HANDLE> seen;
        QList<QThread*> threads;
        QMutex lock;
        for (int t = 0; t < 4; ++t) {
            threads << QThread::create([&] {
                for (int i = 0; i < 5000; ++i) {
                    const TW_HANDLE h = twNewHandle();
                    QMutexLocker l(&lock);
                    seen.insert(h);
                }
            });
            threads.last()->start();
        }
        for (QThread* th : threads) {
            th->wait();
            delete th;
        }
        QCOMPARE(seen.size(), 20000);
        QVERIFY(!seen.contains(0));
    }
};

TW_TEST_MAIN(TestRecords)
#include "tst_records.moc"
