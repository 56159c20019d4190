#include <csignal>
#include <memory>
#include <set>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QQuickWindow>
#include <QStandardPaths>

#include "media/mpvqt.h"
#include "media/twmediaplayer.h"
#include "media/twmpvcore.h"
#include "tests/media/mediarig.h"
#include "tests/testenv.h"

namespace {
pid_t s_xvfb = 0;

// A private X server for this test: its display number comes back through
// a pipe, so parallel tests never pick the same one.
bool startXvfb()
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        return false;
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        // Goes with the test if it dies: a leftover server would hold the
        // test's output open and stall the runner.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() == 1)
            ::_exit(127);
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string display;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        display.push_back(c);
    ::close(fds[0]);
    if (display.empty()) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        return false;
    }
    s_xvfb = pid;
    qputenv("DISPLAY", QByteArray(":") + QByteArray::fromStdString(display));
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
    return true;
}

void stopXvfb()
{
    if (s_xvfb > 0) {
        ::kill(s_xvfb, SIGTERM);
        ::waitpid(s_xvfb, nullptr, 0);
    }
    s_xvfb = 0;
}

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
        if (s_xvfb <= 0)
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
    startXvfb();
    int rc = 0;
    {
        QGuiApplication app(argc, argv);
        app.setAttribute(Qt::AA_Use96Dpi, true);
        twTestSetup();
        TestTwMediaRenderer tc;
        QTEST_SET_MAIN_SOURCE_PATH
        rc = QTest::qExec(&tc, argc, argv);
    }
    stopXvfb();
    return rc;
}

#include "tst_twmediarenderer.moc"
