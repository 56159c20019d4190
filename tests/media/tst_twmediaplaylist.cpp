// The play list: copying videos and music from a browsing list, finding the
// opened entry, stepping, and local files put on top.
#include "tests/testenv.h"

#include <QAbstractItemModelTester>

#include "browser/filelistmodel.h"
#include "core/common.h"
#include "media/twmediaplaylist.h"

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
        l.add(media(7, "z.mp4").toVariantMap());
        QCOMPARE(l.items().at(0).id, 7);
        l.add(QVariant(42));
        QCOMPARE(l.rowCount(), 6);
    }
};

TW_TEST_MAIN(TestTwMediaPlayList)
#include "tst_twmediaplaylist.moc"
