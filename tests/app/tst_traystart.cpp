#include <dlfcn.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "tests/testenv.h"
#include "tests/xvfbdisplay.h"

// The program on a desktop with a system tray: its tray icon is shown with
// its icon, and the terminal gets no complaint about it.
class TstTrayStart : public QObject
{
    Q_OBJECT
    XvfbDisplay m_x;
    void* m_xlib = nullptr;
    void* m_display = nullptr;

    // Takes the tray selection of screen 0, as a desktop's tray does; the
    // X library is loaded at run time so the tests need no X headers.
    bool ownTray()
    {
        m_xlib = ::dlopen("libX11.so.6", RTLD_NOW);
        if (!m_xlib)
            return false;
        using Open = void* (*)(const char*);
        using Root = unsigned long (*)(void*);
        using Create = unsigned long (*)(void*, unsigned long, int, int, unsigned, unsigned, unsigned,
                                         unsigned long, unsigned long);
        using Intern = unsigned long (*)(void*, const char*, int);
        using Own = int (*)(void*, unsigned long, unsigned long, unsigned long);
        using Flush = int (*)(void*);
        auto open = reinterpret_cast<Open>(::dlsym(m_xlib, "XOpenDisplay"));
        auto root = reinterpret_cast<Root>(::dlsym(m_xlib, "XDefaultRootWindow"));
        auto create = reinterpret_cast<Create>(::dlsym(m_xlib, "XCreateSimpleWindow"));
        auto intern = reinterpret_cast<Intern>(::dlsym(m_xlib, "XInternAtom"));
        auto own = reinterpret_cast<Own>(::dlsym(m_xlib, "XSetSelectionOwner"));
        auto flush = reinterpret_cast<Flush>(::dlsym(m_xlib, "XFlush"));
        if (!open || !root || !create || !intern || !own || !flush)
            return false;
        m_display = open(nullptr);
        if (!m_display)
            return false;
        const unsigned long w = create(m_display, root(m_display), 0, 0, 1, 1, 0, 0, 0);
        own(m_display, intern(m_display, "_NET_SYSTEM_TRAY_S0", 0), w, 0);
        flush(m_display);
        return true;
    }

private slots:
    void trayIconShownWithoutComplaint()
    {
        if (!m_x.start())
            QSKIP("Xvfb is not available");
        if (!ownTray())
            QSKIP("the X library is not available");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TIDEWELL_LOG_LEVEL", "debug");
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + "/../app/tidewell", QStringList());
        QVERIFY(p.waitForStarted(10000));
        QByteArray out;
        QElapsedTimer t;
        t.start();
        while (!out.contains("tray icon shown") && t.elapsed() < 50000 && p.state() == QProcess::Running) {
            p.waitForReadyRead(200);
            out += p.readAllStandardError() + p.readAllStandardOutput();
        }
        // Anything said right after showing it.
        QTest::qWait(500);
        out += p.readAllStandardError() + p.readAllStandardOutput();
        p.kill();
        p.waitForFinished(5000);
        QVERIFY2(out.contains("tray icon shown"), out.right(2000).constData());
        QVERIFY2(!out.contains("QSystemTrayIcon"), out.right(2000).constData());
    }
};

TW_TEST_MAIN(TstTrayStart)
#include "tst_traystart.moc"
