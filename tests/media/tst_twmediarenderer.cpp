#include <memory>
#include <set>

#include <QGuiApplication>
#include <QImage>
#include <QQuickWindow>

#include "media/mpvqt.h"
#include "media/twmediaplayer.h"
#include "media/twmpvcore.h"
#include "tests/media/mediarig.h"
#include "tests/testenv.h"
#include "tests/xvfbdisplay.h"

namespace {
XvfbDisplay s_xvfb;

int distinctColours(const QImage& img)
{
    std::set<QRgb> seen;
    for (int y = 0; y < img.height(); y += 4)
        for (int x = 0; x < img.width(); x += 4)
            seen.insert(img.pixel(x, y) & 0xf0f0f0);
    return int(seen.size());
}
}

// The player drawn by its renderer in a real OpenGL scene graph (Mesa's
// software rasteriser on a private X server).
class TestTwMediaRenderer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!s_xvfb.running())
            QSKIP("Xvfb is not installed");
        if (!MediaRig::haveFfmpeg())
            QSKIP("ffmpeg is not installed");
    }

    void drawsAFrameAndTearsDownCleanly()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/bars.mp4";
        QVERIFY(MediaRig::makeMp4(path, 4, true, "320x240"));

        auto* window = new QQuickWindow;
        window->resize(320, 240);
        auto* player = new TwMediaPlayer(window->contentItem());
        player->setSize(QSizeF(320, 240));
        player->setProperty(QStringLiteral("ao"), "null");
        std::weak_ptr<TwMpvCore> core = player->core();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window, 20000));
        const int blank = distinctColours(window->grabWindow());

        player->setDataMode(TwMediaPlayer::FILE);
        player->setSource(MediaRig::localItem(path).toVariantMap());
        player->play();
        // The test picture's bars show up in the window.
        QTRY_VERIFY_WITH_TIMEOUT(distinctColours(window->grabWindow()) >= blank + 5, 30000);
        QVERIFY(core.lock()->hasRenderContext());
        QCOMPARE(mpv::qt::get_property(player->mpvHandle(), "current-vo").toString(), QString("libmpv"));

        delete window;   // the player, its renderer, the render context, then the core
        QTRY_VERIFY_WITH_TIMEOUT(core.expired(), 20000);
    }

    void closingThePlayerBeforeItsWindow()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/bars.mp4";
        QVERIFY(MediaRig::makeMp4(path, 2, false, "160x120"));
        QQuickWindow window;
        window.resize(160, 120);
        auto* player = new TwMediaPlayer(window.contentItem());
        player->setSize(QSizeF(160, 120));
        player->setProperty(QStringLiteral("ao"), "null");
        std::weak_ptr<TwMpvCore> core = player->core();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, 20000));
        player->setDataMode(TwMediaPlayer::FILE);
        player->setSource(MediaRig::localItem(path).toVariantMap());
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(core.lock() && core.lock()->hasRenderContext(), 30000);
        QTest::qWait(300);
        delete player;
        // The renderer goes with the next frame and frees the context there.
        window.update();
        QTRY_VERIFY_WITH_TIMEOUT(core.expired(), 20000);
    }
};

int main(int argc, char* argv[])
{
    TestEnv env;
    s_xvfb.start();
    int rc = 0;
    {
        QGuiApplication app(argc, argv);
        app.setAttribute(Qt::AA_Use96Dpi, true);
        twTestSetup();
        TestTwMediaRenderer tc;
        QTEST_SET_MAIN_SOURCE_PATH
        rc = QTest::qExec(&tc, argc, argv);
    }
    s_xvfb.stop();
    return rc;
}

#include "tst_twmediarenderer.moc"
