// Head images by URL through the small-file downloader: every item showing
// a URL gets its picture, an item that moved on ignores the old answer, and
// a download that is no picture is thrown away.
#include "tests/testenv.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>

#include "media/sknetworkimg.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"
#include "transfer/normalfiledownmanager.h"

static QByteArray png(const QColor& color)
{
    QImage img(6, 6, QImage::Format_RGB32);
    img.fill(color);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

static QColor shown(SKNetworkImg& item)
{
    item.setWidth(12);
    item.setHeight(12);
    QImage canvas(12, 12, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    item.paint(&p);
    p.end();
    return canvas.pixelColor(6, 6);
}

class TestNetworkImg : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestDeviceServer> m_server;
    TestOwner m_owner;
    NormalFileDownManager m_down;
    QString m_placeholder;

    QString url(const QString& name) const
    {
        return QString("http://127.0.0.1:%1/static/%2").arg(m_server->port()).arg(name);
    }

private slots:
    void initTestCase()
    {
        m_server.reset(new TestDeviceServer((TestEnv::instance()->root() + "/storage").toStdString()));
        QVERIFY(m_server->start());
        QVERIFY(m_down.init(&m_owner));
        m_placeholder = TestEnv::instance()->root() + "/placeholder.png";
        QFile f(m_placeholder);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(png(Qt::gray));
    }

    void everyItemOfTheUrlGetsThePicture()
    {
        m_server->addFile("heads/a.png", png(Qt::red).toStdString());
        const QString a = url("heads/a.png");
        SKNetworkImg first, second, moved, late;
        for (SKNetworkImg* item : {&first, &second, &moved, &late})
            item->setPlaceholder(m_placeholder);
        QCOMPARE(shown(first), QColor(Qt::gray));
        first.setNetDown(&m_down);
        second.setNetDown(&m_down);
        moved.setNetDown(&m_down);
        first.setUrl(a);
        second.setUrl(a);
        moved.setUrl(a);
        moved.setUrl(url("heads/missing.png"));   // moved on before the answer
        late.setUrl(a);
        late.setNetDown(&m_down);                 // the downloader given last fetches too

        QTRY_COMPARE_WITH_TIMEOUT(shown(first), QColor(Qt::red), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(shown(second), QColor(Qt::red), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(shown(late), QColor(Qt::red), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_server->requestsFor("/static/heads/missing.png").empty(), 20000);
        QTest::qWait(300);
        QCOMPARE(shown(moved), QColor(Qt::gray));
    }

    void aDownloadThatIsNoPictureLeavesThePlaceholder()
    {
        m_server->addFile("heads/note.png", "this is text, not a picture");
        const QString u = url("heads/note.png");
        const QString kept = m_down.imageDir() + "/" + NormalFileDownManager::fileNameOf(u);
        SKNetworkImg item;
        item.setPlaceholder(m_placeholder);
        item.setNetDown(&m_down);
        QSignalSpy failed(&m_down, &NormalFileDownManager::rDownError);
        item.setUrl(u);
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 20000);
        QCOMPARE(failed.at(0).at(0).toString(), u);
        QCOMPARE(shown(item), QColor(Qt::gray));
        QVERIFY(!QFile::exists(kept));

        // A saved file reported without a picture is removed; another
        // URL's report leaves its file alone.
        const QString saved = m_down.imageDir() + "/saved.jpg";
        const QString other = m_down.imageDir() + "/other.jpg";
        for (const QString& path : {saved, other}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("junk");
        }
        emit m_down.rDownFinish(url("heads/else.png"), other, QImage());
        emit m_down.rDownFinish(u, saved, QImage());
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(saved), 10000);
        QVERIFY(QFile::exists(other));
        QCOMPARE(shown(item), QColor(Qt::gray));
    }
};

TW_TEST_MAIN(TestNetworkImg)
#include "tst_networkimg.moc"
