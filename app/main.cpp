#include <clocale>
#include <memory>

#include <QDebug>
#include <QDir>
#include <QApplication>
#include <QOpenGLContext>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QSslSocket>
#include <QTranslator>

#include "app/devicelauncher.h"
#include "app/schemeregistration.h"
#include "app/singleinstance.h"
#include "app/tidewellsdk.h"
#include "core/loghandler.h"
#include "core/utils.h"

int main(int argc, char* argv[])
{
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setOrganizationName("tidewell");
    QCoreApplication::setApplicationName("tidewell");

    // A widgets application: the tray icon and its menu need it.
    auto app = std::make_unique<QApplication>(argc, argv);
    auto guard = std::make_unique<SingleInstance>(SingleInstance::userKey());
    // Everything goes to the log file; the terminal shows warnings and
    // errors unless more is asked for.
    std::unique_ptr<LogHandler> log;
    auto openLog = [&]() {
        log = std::make_unique<LogHandler>(getAppDataPath() + "logs");
        LogHandler::Level level = LogHandler::parseLevel(qEnvironmentVariable("TIDEWELL_LOG_LEVEL"),
                                                         LogHandler::Warning);
        if (app->arguments().contains("--verbose"))
            level = LogHandler::Debug;
        log->setTerminalLevel(level);
        log->install();
    };
    if (!guard->isPrimary()) {
        if (guard->handOver(app->arguments()))
            return 0;
        // Why this start did nothing goes to the terminal and to the log.
        openLog();
        const QString why = guard->errorString();
        if (!guard->takeOver()) {
            // Two programs on one store would share one queue and one
            // database: never run beside the holder of the lock.
            qCritical().noquote() << "main - hand-over to the running instance failed:" << why
                                  << "- it holds the lock (" + guard->errorString()
                                         + "), so this start ends.";
            return 2;
        }
        qWarning().noquote() << "main - hand-over failed:" << why
                             << "- the running instance is gone, starting as the primary instance.";
    }
    getAppDataPath();
    if (!log)
        openLog();
    // Opening a link on the desktop starts us, or hands it to this instance.
    SchemeRegistration::registerScheme(QCoreApplication::applicationFilePath());
    // Without OpenGL (a headless or remote session) the scene is drawn in
    // software; only the video surface needs OpenGL.
    {
        QOpenGLContext probe;
        if (!probe.create()) {
            qWarning() << "main - no OpenGL context, drawing the window in software";
            QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        }
    }

    auto engine = std::make_unique<QQmlApplicationEngine>();
    auto root = std::make_shared<TidewellSdk>();
    TidewellSdk::registerMetaTypes();
    TidewellSdk::registerTypes();
    root->exposeTo(engine->rootContext());
    root->handleArguments(app->arguments());
    QObject::connect(guard.get(), &SingleInstance::receivedMessage, root.get(),
                     &TidewellSdk::handleMessage);

    qDebug() << "main - SSL" << QSslSocket::sslLibraryBuildVersionString()
             << QSslSocket::sslLibraryVersionString();
    // No sign-in or device list: the configured device, else the sample one.
    DeviceLauncher launcher(root.get());
    if (!launcher.prepare())
        qWarning() << "main - no device to open; one can be opened by address.";
    engine->rootContext()->setContextProperty("twLauncher", &launcher);

    TidewellSdk::addImportPaths(engine.get());
    auto translator = std::make_unique<QTranslator>();
    if (TidewellSdk::loadTranslation(*translator))
        app->installTranslator(translator.get());
    else
        qWarning() << "main - no translation loaded.";
    TidewellSdk::installQtTranslations(app.get(), QLocale());
    const QUrl url(QStringLiteral("qrc:/main.qml"));
    bool created = false;
    QObject::connect(engine.get(), &QQmlApplicationEngine::objectCreated, app.get(),
                     [&created, url](QObject* obj, const QUrl& objUrl) {
                         if (objUrl == url)
                             created = obj != nullptr;
                     });
    engine->load(url);
    if (!created)
        return -1;

    const int rc = app->exec();
    app->removeTranslator(translator.get());
    translator.reset();
    root.reset();
    engine.reset();
    log->uninstall();
    guard.reset();
    app.reset();
    return rc;
}
