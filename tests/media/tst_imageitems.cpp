// The picture items decode off the GUI thread, pace animation frames by
// their own delays, take a new source at any moment and stop promptly.
#include "tests/testenv.h"

#include <sys/resource.h>

#include <memory>
#include <random>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QMutex>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "media/skdecoderthread.h"
#include "media/skimage.h"
#include "media/skphoto.h"
#include "tools/gifwriter.h"

// Counts the log lines, from any thread, that contain a text.
class LogWatch
{
public:
    LogWatch() { s_previous = qInstallMessageHandler(&LogWatch::handle); }
    ~LogWatch() { qInstallMessageHandler(s_previous); }

    static int count(const QString& text)
    {
        QMutexLocker lock(&s_mutex);
        int n = 0;
        for (const QString& line : qAsConst(s_lines))
            n += line.contains(text) ? 1 : 0;
        return n;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& msg)
    {
        {
            QMutexLocker lock(&s_mutex);
            s_lines << msg;
        }
        if (s_previous)
            s_previous(type, context, msg);
    }

    static inline QtMessageHandler s_previous = nullptr;
    static inline QMutex s_mutex;
    static inline QStringList s_lines;
};

// Most memory the process has held so far, in MB.
// The previewed picture is decoded no larger than the screen.
static QSize onScreen(const QSize& size)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize bound = screen->size() * screen->devicePixelRatio();
    return size.width() > bound.width() || size.height() > bound.height()
        ? size.scaled(bound, Qt::KeepAspectRatio) : size;
}

static long peakMb()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss / 1024;
}

// Colour at the middle of what an item paints.
template <class Item>
static QColor shown(Item& item)
{
    QImage canvas(8, 8, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    item.paint(&p);
    p.end();
    return canvas.pixelColor(4, 4);
}

// Records each frame an item takes: its colour and when it came.
template <class Item>
struct FrameLog
{
    QList<QColor> colors;
    QList<qint64> times;
    QElapsedTimer clock;

    explicit FrameLog(Item& item)
    {
        clock.start();
        QObject::connect(&item, &Item::paintedWidthChanged, &item, [this, &item] {
            if (item.paintedWidth() > 0) {
                colors << shown(item);
                times << clock.elapsed();
            }
        });
    }
};

class TestImageItems : public QObject
{
    Q_OBJECT
private:
    QString m_dir;

    QUrl write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir + "/" + name;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return QUrl();
        return QUrl::fromLocalFile(path);
    }

    QUrl gif(const QString& name, const QList<GifFrame>& frames, bool loop = true)
    {
        return write(name, makeGif(frames, 8, 8, loop));
    }

    QUrl png(const QString& name, const QColor& color, const QSize& size)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(color);
        const QString path = m_dir + "/" + name;
        return img.save(path, "PNG") ? QUrl::fromLocalFile(path) : QUrl();
    }

    // A 6000 by 4000 photo: a decode long enough to catch an item in it.
    QString bigJpeg()
    {
        const QString path = m_dir + "/big.jpg";
        if (QFileInfo::exists(path))
            return path;
        QImage big(6000, 4000, QImage::Format_RGB32);
        big.fill(QColor(20, 120, 200));
        QPainter p(&big);
        for (int x = 0; x < 6000; x += 40)
            p.fillRect(x, 0, 20, 4000, QColor(x % 255, 80, 40));
        p.end();
        return big.save(path, "JPEG", 90) ? path : QString();
    }

    // A small file whose header claims a picture of 16000 by 16000.
    QUrl claimsHuge(const QString& name, const char* format)
    {
        QByteArray bytes;
        if (qstrcmp(format, "gif") == 0) {
            bytes = makeGif({{Qt::red, 0}}, 1, 1, false);
            for (int i : {6, 8}) {   // the logical screen
                bytes[i] = char(16000 & 0xff);
                bytes[i + 1] = char(16000 >> 8);
            }
        } else {
            QImage small(64, 64, QImage::Format_RGB32);
            small.fill(Qt::darkGreen);
            QBuffer buf(&bytes);
            buf.open(QIODevice::WriteOnly);
            small.save(&buf, "JPEG");
            const int sof = bytes.indexOf("\xFF\xC0");
            if (sof < 0)
                return QUrl();
            for (int i : {sof + 5, sof + 7}) {   // height, width
                bytes[i] = char(16000 >> 8);
                bytes[i + 1] = char(16000 & 0xff);
            }
        }
        const QUrl url = write(name, bytes);
        QImageReader r(url.toLocalFile());
        return r.canRead() ? url : QUrl();
    }

private slots:
    void initTestCase()
    {
        m_dir = TestEnv::instance()->root() + "/pictures";
        QVERIFY(QDir().mkpath(m_dir));
        // The hand-written GIF must read as an animation, or nothing here
        // means anything.
        const QUrl probe = gif("probe.gif", {{Qt::red, 10}, {Qt::green, 10}});
        QImageReader r(probe.toLocalFile());
        if (!r.supportsAnimation() || r.imageCount() != 2)
            QSKIP("this Qt reads no animated GIF");
        QCOMPARE(r.loopCount(), -1);
        QCOMPARE(r.read().pixelColor(1, 1), QColor(Qt::red));
        QCOMPARE(r.nextImageDelay(), 100);
    }

    // First, while the process has held little memory yet: either picture
    // would take 977 MB decoded whole.
    void aHugePictureInATinyFileIsRefused()
    {
        const long before = peakMb();
        LogWatch log;
        const QUrl url = claimsHuge("huge.gif", "gif");
        QVERIFY(!url.isEmpty());
        QVERIFY(QFileInfo(url.toLocalFile()).size() < 1024);
        // Not decoded at all: what was shown stays, the reason is logged.
        SKPhoto photo;
        SKImage image;
        photo.setSource(url);
        image.setSource(url);
        QTRY_COMPARE_WITH_TIMEOUT(LogWatch::count("picture too large"), 2, 10000);
        QTest::qWait(200);
        QCOMPARE(photo.paintedWidth(), 0.0);
        QCOMPARE(image.paintedWidth(), 0.0);
        QVERIFY2(peakMb() - before < 300, qPrintable(QString("%1 MB more").arg(peakMb() - before)));
    }

    void aHugeJpegIsDecodedSmaller()
    {
        const long before = peakMb();
        const QUrl url = claimsHuge("huge.jpg", "jpeg");
        QVERIFY(!url.isEmpty());
        SKPhoto photo;
        SKImage image;
        photo.setSource(url);
        image.setSource(url);
        QTRY_VERIFY_WITH_TIMEOUT(photo.paintedWidth() > 0 && image.paintedWidth() > 0, 10000);
        // A quarter of each side: within the limit, decoded without the
        // whole picture in memory; the preview's no larger than the screen.
        QCOMPARE(photo.sourceSize(), onScreen(QSize(16000, 16000)));
        QCOMPARE(image.sourceSize(), QSize(4000, 4000));
        QVERIFY(4000LL * 4000 <= SKDecoderThread::kMaxPixels);
        QVERIFY2(peakMb() - before < 400, qPrintable(QString("%1 MB more").arg(peakMb() - before)));
    }

    void largeJpegDecodesWhileTheGuiThreadRuns()
    {
        const QString path = bigJpeg();
        QVERIFY(!path.isEmpty());

        SKPhoto photo;
        SKImage image;
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
        tick.start(5);
        photo.setSource(QUrl::fromLocalFile(path));
        image.setSource(QUrl::fromLocalFile(path));
        QCOMPARE(photo.paintedWidth(), 0.0);   // not decoded in the setter
        const QSize shownSize = onScreen(QSize(6000, 4000));
        QVERIFY(shownSize.width() < 6000);
        QTRY_COMPARE_WITH_TIMEOUT(photo.paintedWidth(), qreal(shownSize.width()), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(image.paintedHeight(), 4000.0, 30000);
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QCOMPARE(photo.width(), qreal(shownSize.width()));
        QCOMPARE(photo.sourceSize(), shownSize);
        QCOMPARE(image.height(), 4000.0);
    }

    void stillImageAndEmptySource()
    {
        SKPhoto photo;
        FrameLog<SKPhoto> log(photo);
        photo.setSource(png("still.png", Qt::yellow, QSize(30, 20)));
        QTRY_COMPARE_WITH_TIMEOUT(log.colors.size(), 1, 10000);
        QCOMPARE(photo.sourceSize(), QSize(30, 20));
        QCOMPARE(log.colors.at(0), QColor(Qt::yellow));
        QTest::qWait(200);
        QCOMPARE(log.colors.size(), 1);

        photo.setSource(QUrl());
        QCOMPARE(photo.width(), 0.0);
        QCOMPARE(photo.height(), 0.0);
        // Cleared while a frame is on its way: the picture stays cleared.
        photo.setSource(gif("cleared.gif", {{Qt::red, 5}}));
        photo.setSource(QUrl());
        QTest::qWait(300);
        QCOMPARE(photo.width(), 0.0);

        // Not a picture: nothing replaces what is shown, nothing breaks.
        photo.setSource(png("again.png", Qt::cyan, QSize(5, 5)));
        QTRY_COMPARE_WITH_TIMEOUT(photo.paintedWidth(), 5.0, 10000);
        photo.setSource(write("broken.jpg", "not a picture at all"));
        QTest::qWait(300);
        QCOMPARE(photo.paintedWidth(), 5.0);
    }

    void gifFramesKeepTheirDelays()
    {
        SKPhoto photo;
        FrameLog<SKPhoto> log(photo);
        photo.setSource(gif("paced.gif", {{Qt::red, 20}, {Qt::green, 40}, {Qt::blue, 10}}));
        QTRY_COMPARE_WITH_TIMEOUT(log.colors.size(), 3, 10000);
        QCOMPARE(log.colors, (QList<QColor>{Qt::red, Qt::green, Qt::blue}));
        // Measured from setSource: a frame can only arrive late, so gaps between
        // arrivals may shrink under load while these sums cannot.
        QVERIFY2(log.times[1] >= 180, qPrintable(QString::number(log.times[1])));
        QVERIFY2(log.times[2] >= 580, qPrintable(QString::number(log.times[2])));
        // Shown once: it stays on the last frame.
        QTest::qWait(300);
        QCOMPARE(log.colors.size(), 3);

        // No loop block (loop count 0): the first frame only.
        FrameLog<SKPhoto> once(photo);
        photo.setSource(gif("once.gif", {{Qt::green, 5}, {Qt::red, 5}}, false));
        QTRY_COMPARE_WITH_TIMEOUT(once.colors.size(), 1, 10000);
        QTest::qWait(300);
        QCOMPARE(once.colors, (QList<QColor>{Qt::green}));
    }

    void skImageRunsToTheLastFrame()
    {
        SKImage image;
        FrameLog<SKImage> log(image);
        image.setSource(gif("run.gif", {{Qt::red, 100}, {Qt::green, 100}, {Qt::blue, 100}}));
        QTRY_COMPARE_WITH_TIMEOUT(shown(image), QColor(Qt::blue), 10000);
        // Frames follow each other without their delays.
        QVERIFY2(log.times.last() - log.times.first() < 2000, qPrintable(QString::number(log.times.last())));
    }

    void newSourceWhileDecodingIsTaken()
    {
        // A source given while the thread is busy with another wins.
        SKImage image;
        image.setSource(gif("slow.gif", {{Qt::red, 300}, {Qt::red, 300}, {Qt::red, 300}}));
        image.setSource(png("late.png", Qt::magenta, QSize(12, 9)));
        QTRY_COMPARE_WITH_TIMEOUT(image.sourceSize(), QSize(12, 9), 10000);
        QTest::qWait(300);
        QCOMPARE(shown(image), QColor(Qt::magenta));

        SKPhoto photo;
        FrameLog<SKPhoto> log(photo);
        photo.setSource(gif("long.gif", {{Qt::red, 500}, {Qt::green, 500}}));
        QTRY_COMPARE_WITH_TIMEOUT(log.colors.size(), 1, 10000);
        // Restarted on the new file well within the 5 s the frame waits.
        photo.setSource(gif("next.gif", {{Qt::blue, 500}, {Qt::yellow, 500}}));
        QTRY_COMPARE_WITH_TIMEOUT(log.colors.size(), 2, 4000);
        QCOMPARE(log.colors.at(1), QColor(Qt::blue));
    }

    void aFrameDecodedAfterClearingIsNeverShown()
    {
        const QUrl big = QUrl::fromLocalFile(bigJpeg());
        SKPhoto photo;
        SKPhoto reference;
        FrameLog<SKPhoto> log(photo);
        reference.setSource(big);
        photo.setSource(big);
        QTest::qWait(30);   // inside the decode, which cannot be cut short
        photo.setSource(QUrl());
        QTRY_COMPARE_WITH_TIMEOUT(reference.paintedWidth(), qreal(onScreen(QSize(6000, 4000)).width()), 30000);
        QTest::qWait(500);
        QVERIFY(log.colors.isEmpty());
        QCOMPARE(photo.paintedWidth(), 0.0);
        QCOMPARE(photo.width(), 0.0);
        QCOMPARE(shown(photo).alpha(), 0);
    }

    void deletingItemsWhileTheyDecodeNeverWaits()
    {
        const QUrl big = QUrl::fromLocalFile(bigJpeg());
        const QUrl anim = gif("going.gif", {{Qt::red, 50}, {Qt::green, 50}});
        std::mt19937 rnd(9);
        qint64 worst = 0;
        for (int i = 0; i < 16; ++i) {
            auto photo = std::make_unique<SKPhoto>();
            auto image = std::make_unique<SKImage>();
            const QUrl source = i % 4 == 3 ? anim : big;
            photo->setSource(source);
            image->setSource(source);
            if (i % 5 == 4) {
                photo->setSource(QUrl());
                photo->setSource(source);
            }
            if (i % 2)
                QTest::qWait(std::uniform_int_distribution<int>(5, 60)(rnd));
            QElapsedTimer t;
            t.start();
            photo.reset();
            image.reset();
            worst = qMax(worst, t.elapsed());
            // The decoders end on their own and take themselves away.
            QTRY_COMPARE_WITH_TIMEOUT(SKDecoderThread::instances(), 0, 10000);
        }
        QVERIFY2(worst < 60, qPrintable(QString("the GUI thread waited %1 ms").arg(worst)));
    }

    void stoppingEndsTheFrameLoopPromptly()
    {
        const QUrl slow = gif("stop.gif", {{Qt::red, 1000}, {Qt::green, 1000}});
        auto photo = std::make_unique<SKPhoto>();
        FrameLog<SKPhoto> log(*photo);
        photo->setSource(slow);
        QTRY_COMPARE_WITH_TIMEOUT(log.colors.size(), 1, 10000);
        photo->setPlaying(true);   // a change of playing stops the loop

        // The next source starts on an ended thread, without waiting out the
        // frame's 10 s.
        QElapsedTimer t;
        t.start();
        photo->setSource(png("after.png", Qt::green, QSize(3, 3)));
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(photo->sourceSize(), QSize(3, 3), 10000);

        // Destroying an item in the middle of a long frame is prompt too.
        photo->setSource(slow);
        QTRY_COMPARE_WITH_TIMEOUT(photo->sourceSize(), QSize(8, 8), 10000);
        t.restart();
        photo.reset();
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
    }
};

TW_TEST_MAIN(TestImageItems)
#include "tst_imageitems.moc"
