#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/testenv.h"
#include "transfer/lvdowntask.h"
#include "transfer/movejournal.h"

// The journal of moves into place as a restart reads it: names of any kind
// survive, a line cut short by a kill is not taken, and recorded moves go
// while the others stay.
class TestMoveJournal : public QObject
{
    Q_OBJECT
private:
    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void restartReadsWholeLinesOnly()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("aaaa");
        const QString b = dir.filePath("bbbb");
        // As left by a run killed while writing b's line.
        QFile f(MoveJournal::journalOf(a));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QUrl::toPercentEncoding(a) + "\t" + QUrl::toPercentEncoding("/down/tab\tand\nline.txt")
                + "\n" + QUrl::toPercentEncoding(b) + "\t" + QUrl::toPercentEncoding("/down/b"));
        f.close();
        QCOMPARE(MoveJournal::movedTo(a), QString("/down/tab\tand\nline.txt"));
        QCOMPARE(LVDownTask::movedTo(a), QString("/down/tab\tand\nline.txt"));
        QVERIFY(MoveJournal::movedTo(b).isEmpty());
    }

    void recordedMovesGoOthersStay()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("aaaa");
        const QString b = dir.filePath("bbbb");
        const QString journal = MoveJournal::journalOf(a);
        QVERIFY(MoveJournal::note(a, "/down/a.txt"));
        QVERIFY(MoveJournal::note(b, "/down/b b.txt"));
        QCOMPARE(bytesOf(journal).count('\n'), 2);
        MoveJournal::retire({a});
        QVERIFY(MoveJournal::movedTo(a).isEmpty());
        QCOMPARE(MoveJournal::movedTo(b), QString("/down/b b.txt"));
        QCOMPARE(bytesOf(journal),
                 QUrl::toPercentEncoding(b) + "\t" + QUrl::toPercentEncoding("/down/b b.txt") + "\n");
        QVERIFY(!QFile::exists(journal + ".next"));
        // The last one recorded leaves an empty journal behind, no new file.
        MoveJournal::retire({b});
        QVERIFY(bytesOf(journal).isEmpty());

        // A mark file of its own, as earlier versions wrote it, is read and
        // goes with the move.
        QFile mark(LVDownTask::destMarkOf(a));
        QVERIFY(mark.open(QIODevice::WriteOnly));
        mark.write("/down/old.txt");
        mark.close();
        QCOMPARE(LVDownTask::movedTo(a), QString("/down/old.txt"));
        LVDownTask::retireDestMark(a);
        QVERIFY(!QFile::exists(LVDownTask::destMarkOf(a)));
        QVERIFY(LVDownTask::movedTo(a).isEmpty());
    }
};

TW_TEST_MAIN(TestMoveJournal)
#include "tst_movejournal.moc"
