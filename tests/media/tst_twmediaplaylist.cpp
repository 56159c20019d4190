// The play list: copying videos and music from a browsing list, finding the
// opened entry, stepping, and local files put on top.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>

#include "browser/filelistmodel.h"
#include "core/common.h"
#include "media/twmediaplaylist.h"
#include "tests/media/playerrig.h"

static TwFileInfo media(qint64 id, const QString& name)
{
    TwFileInfo f;
    f.id = id;
    f.name = name;
    f.isFile = true;
    f.filePath = "/p/" + name;
    f.url = "u" + QString::number(id);
    f.fileType();
    return f;
}

class TestTwMediaPlayList : public QObject
{
    Q_OBJECT

    void fill(FileListModel& m)
    {
        m.appendItems({media(1, "a.mp3"), media(2, "b.mp4"), media(3, "c.jpg"), media(4, "d.mkv"),
                       media(5, "e.flac")});
    }

private slots:
    void copiesKindsInOrder()
    {
        FileListModel m;
        fill(m);
        TwMediaPlayList l;
        QAbstractItemModelTester tester(&l);
        l.setTw(&m);
        QCOMPARE(l.rowCount(), 4);
        // Videos first, then music, each in the list's order.
        QCOMPARE(l.items().at(0).id, 2);
        QCOMPARE(l.items().at(1).id, 4);
        QCOMPARE(l.items().at(2).id, 1);
        QCOMPARE(l.items().at(3).id, 5);
        l.setPType(TwMediaPlayList::LMusic);
        l.setTw(&m);
        QCOMPARE(l.rowCount(), 2);
        QCOMPARE(l.data(l.index(0), TwMediaPlayList::FileNameRole).toString(), QString("a.mp3"));
        QCOMPARE(l.data(l.index(0), TwMediaPlayList::FileUrlRole).toString(), QString("/p/a.mp3"));
        QCOMPARE(l.roleNames().value(258), QByteArray("checked"));
    }

    void findsOpenedAndSteps()
    {
        FileListModel m;
        fill(m);
        TwMediaPlayList l;
        QAbstractItemModelTester tester(&l);
        l.setTw(&m);
        QSignalSpy sel(&l, &TwMediaPlayList::currentSelectedChanged);
        l.setCurrentInfo(media(4, "d.mkv").toVariantMap());
        QCOMPARE(l.currentSelected(), 1);
        QCOMPARE(l.currentInfo().value("name").toString(), QString("d.mkv"));
        QVERIFY(l.data(l.index(1), TwMediaPlayList::FileCheckedRole).toBool());
        // An entry not in the list leaves the selection.
        l.setCurrentInfo(media(99, "x.mp4").toVariantMap());
        QCOMPARE(l.currentSelected(), 1);
        l.next();
        QCOMPARE(l.currentSelected(), 2);
        l.previous();
        l.previous();
        QCOMPARE(l.currentSelected(), 0);
        // previous on the first entry selects it again (a replay).
        const int before = sel.count();
        l.previous();
        QCOMPARE(l.currentSelected(), 0);
        QCOMPARE(sel.count(), before + 1);
        // Past either end: nothing changes, nothing is emitted.
        l.setCurrentSelected(-1);
        l.setCurrentSelected(4);
        QCOMPARE(sel.count(), before + 1);
        // The last entry ends automatic advancing.
        l.setCurrentSelected(3);
        l.next();
        QCOMPARE(l.currentSelected(), 3);
        // A refill with fewer entries: next starts from the top.
        l.setPType(TwMediaPlayList::LVideo);
        l.setTw(&m);
        l.next();
        QCOMPARE(l.currentSelected(), 0);
    }

    void tellsThePageOfEveryStep()
    {
        // The page plays whatever currentInfo names when it changes.
        FileListModel m;
        fill(m);
        TwMediaPlayList l;
        QAbstractItemModelTester tester(&l);
        l.setTw(&m);
        QStringList played;
        connect(&l, &TwMediaPlayList::currentInfoChanged, &l,
                [&] { played << l.currentInfo().value("name").toString(); });
        QSignalSpy checked(&l, &QAbstractItemModel::dataChanged);
        l.setCurrentInfo(media(2, "b.mp4").toVariantMap());
        l.next();
        l.next();
        l.previous();
        l.next();
        l.next();
        l.next();   // past the last: nothing more plays
        l.previous();
        QCOMPARE(played, (QStringList{"b.mp4", "d.mkv", "a.mp3", "d.mkv", "a.mp3", "e.flac", "a.mp3"}));
        QCOMPARE(checked.size(), played.size());
        QVERIFY(l.data(l.index(2), TwMediaPlayList::FileCheckedRole).toBool());
        QVERIFY(!l.data(l.index(3), TwMediaPlayList::FileCheckedRole).toBool());
    }

    void theEndOfAnItemPlaysTheNext()
    {
        PlayerRig rig;
        rig.addWav("music/first.wav", 3.5, 440);
        rig.addWav("music/second.wav", 1.0, 880);
        FileListModel m;
        TwFileInfo first = rig.mediaItem("music/first.wav");
        TwFileInfo second = rig.mediaItem("music/second.wav");
        first.isFile = second.isFile = true;
        first.fileType();
        second.fileType();
        m.appendItems({first, second});
        TwMediaPlayList l;
        l.setPType(TwMediaPlayList::LMusic);
        l.setTw(&m);
        QCOMPARE(l.rowCount(), 2);
        // Wired as the player page wires them.
        TwMediaPlayer& p = *rig.player;
        connect(&p, &TwMediaPlayer::mediaStopChange, &l, &TwMediaPlayList::next);
        connect(&l, &TwMediaPlayList::currentInfoChanged, &p, [&] {
            p.setSource(l.currentInfo());
            p.play();
        });
        QSignalSpy info(&l, &TwMediaPlayList::currentInfoChanged);
        l.setCurrentInfo(first.toVariantMap());
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED, 15000));
        QCOMPARE(rig.prop("path").toString(), QString("stream://first.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(info.size(), 2, 15000);
        QCOMPARE(l.currentSelected(), 1);
        QCOMPARE(l.currentInfo().value("name").toString(), QString("second.wav"));
        QVERIFY(rig.waitFor(MPV_EVENT_FILE_LOADED, 15000));
        QCOMPARE(rig.prop("path").toString(), QString("stream://second.wav"));
        // The last entry ends within 3 s of its start: the list stays on it.
        QVERIFY(rig.waitFor(MPV_EVENT_IDLE, 15000));
        QTest::qWait(200);
        QCOMPARE(info.size(), 2);
    }

    void localFileOnTop()
    {
        FileListModel m;
        fill(m);
        TwMediaPlayList l;
        QAbstractItemModelTester tester(&l);
        l.setTw(&m);
        l.setCurrentSelected(2);
        l.add(QUrl::fromLocalFile("/tmp/clip.mp4"));
        QCOMPARE(l.rowCount(), 5);
        QCOMPARE(l.currentSelected(), 0);
        QCOMPARE(l.items().at(0).filePath, QString("/tmp/clip.mp4"));
        QCOMPARE(l.items().at(0).name, QString("clip.mp4"));
        QVERIFY(l.items().at(0).local);
        // Its kind goes by its suffix: the page shows music as music.
        QCOMPARE(l.items().at(0).type, int(Common::MT_Video));
        l.add(QUrl::fromLocalFile("/tmp/song.WAV"));
        QCOMPARE(l.data(l.index(0), TwMediaPlayList::FileMediaTypeRole).toInt(), int(Common::MT_Music));
        l.add(media(7, "z.mp4").toVariantMap());
        QCOMPARE(l.items().at(0).id, 7);
        l.add(QVariant(42));
        QCOMPARE(l.rowCount(), 7);
    }
};

TW_TEST_MAIN(TestTwMediaPlayList)
#include "tst_twmediaplaylist.moc"
