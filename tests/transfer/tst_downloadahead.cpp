// A folder's small files are fetched several at a time ahead of the one
// being recorded; what the user keeps must be as if they ran one by one.
#include "tests/testenv.h"
#include "tests/transfer/downloadrig.h"

namespace {
const int kWait = 60000;

QByteArray contentOf(int i)
{
    return QByteArray("file ") + QByteArray::number(i) + QByteArray(1500 + i, char('a' + i % 26));
}

std::string nameOf(int i)
{
    return "Many/f" + std::to_string(1000 + i) + ".txt";
}

// Every file in dir has the device's bytes, none is there twice.
void checkPlaced(const QString& dir, int count, int missing = -1)
{
    const QStringList local = QDir(dir).entryList(QDir::Files);
    QCOMPARE(local.size(), missing < 0 ? count : count - 1);
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromStdString(nameOf(i)).mid(5);
        if (i == missing) {
            QVERIFY2(!local.contains(name), qPrintable(name));
            continue;
        }
        QCOMPARE(DownloadRig::bytesOf(dir + "/" + name), contentOf(i));
    }
}
}

class TestDownloadAhead : public QObject
{
    Q_OBJECT
private slots:
    void pauseWhileFilesRunAheadKeepsOnlyWholeFiles()
    {
        DownloadRig rig;
        const int count = 200;
        for (int i = 0; i < count; ++i)
            rig.server->addFile(nameOf(i), contentOf(i).toStdString());
        rig.server->delayAnswer(10, -1, "/device/download");
        QVERIFY(rig.mgr->addDownFiles(1, rig.downDir, {rig.item("Many", false)}, 0));
        const QString local = rig.downDir + "/Many";
        QTRY_VERIFY_WITH_TIMEOUT(QDir(local).entryList(QDir::Files).size() >= 20, kWait);
        const DownFileInfo folder = rig.rec->starts.first();
        QVERIFY(folder.isFolder);

        rig.mgr->pauseFile(folder);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.rec->pauses.isEmpty(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        QCOMPARE(rig.row(folder.fId).fileState, 3);
        // Files fetched ahead are not placed by a pause: what is there is whole.
        const QStringList placed = QDir(local).entryList(QDir::Files);
        QVERIFY2(placed.size() < count, qPrintable(QString::number(placed.size())));
        for (const QString& name : placed) {
            const int i = name.mid(1, 4).toInt() - 1000;
            QCOMPARE(DownloadRig::bytesOf(local + "/" + name), contentOf(i));
        }

        rig.server->clearFaults();
        rig.mgr->startFile(rig.row(folder.fId));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->finishes.size(), 1, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        checkPlaced(local, count);
        QCOMPARE(rig.queued(), 0);
        QCOMPARE(QDir(rig.mgr->tmpDir()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    }

    void aFileGoneWhileOthersRunAheadFailsAlone()
    {
        DownloadRig rig;
        const int count = 60;
        const int gone = 30;
        for (int i = 0; i < count; ++i)
            rig.server->addFile(nameOf(i), contentOf(i).toStdString());
        rig.server->delayAnswer(15, -1, "/device/download");
        QVERIFY(rig.mgr->addDownFiles(1, rig.downDir, {rig.item("Many", false)}, 0));
        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->adds, QList<bool>{true}, kWait);
        QVERIFY(QFile::remove(QString::fromStdString(rig.server->absolutePath(nameOf(gone)))));

        QTRY_COMPARE_WITH_TIMEOUT(rig.rec->errors.size(), 1, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.mgr->isRun(), kWait);
        const DownFileInfo folder = rig.rec->errors.first();
        QVERIFY(folder.isFolder);
        QCOMPARE(rig.row(folder.fId).fileState, 4);
        QCOMPARE(folder.msg, QString("File does not write"));
        checkPlaced(rig.downDir + "/Many", count, gone);
        QVERIFY(rig.rec->finishes.isEmpty());
        // Only the gone file's row is left under the folder.
        QList<DownFileInfo> left;
        QVERIFY(rig.db.haspDwonSubFileList(rig.row(folder.fId), left));
        QCOMPARE(left.size(), 1);
        QCOMPARE(left.first().fileName, QString("f1030.txt"));
    }
};

TW_TEST_MAIN(TestDownloadAhead)
#include "tst_downloadahead.moc"
