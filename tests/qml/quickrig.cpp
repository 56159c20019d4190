#include "tests/qml/quickrig.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlError>
#include <QEventLoop>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QTimer>
#include <QQuickWindow>
#include <QRandomGenerator>

#include "app/devicelauncher.h"
#include "app/tidewellsdk.h"
#include "core/basemodel.h"
#include "tools/samplelibrary.h"
#include "tools/testdeviceserver.h"

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The item's own grab works with the software scene graph, where grabbing
// the whole window gives nothing off screen.
QImage grabbed(QQuickItem* item)
{
    QSharedPointer<QQuickItemGrabResult> grab = item && item->window() ? item->grabToImage() : nullptr;
    if (!grab)
        return QImage();
    QEventLoop loop;
    QObject::connect(grab.data(), &QQuickItemGrabResult::ready, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    return grab->image();
}

} // namespace

QVariantMap QuickRigApi::device() const
{
    return DeviceLauncher::deviceMap("127.0.0.1", server->port(), SampleLibrary::kOwner, "rig-token",
                                     deviceId(), "Test device");
}

QString QuickRigApi::downloadDir() const { return base + "/Downloads"; }
QString QuickRigApi::localDir() const { return base + "/local"; }

bool QuickRigApi::screenshot(QQuickItem* item, const QString& name) const
{
    if (!item || !item->window()) {
        qWarning() << "QuickRigApi::screenshot - no window for" << name;
        return false;
    }
    const QString dir = QStringLiteral(TW_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    const QImage img = grabbed(item);
    if (img.isNull() || !img.save(dir + "/" + name + ".png")) {
        qWarning() << "QuickRigApi::screenshot - cannot save" << name << img.size();
        return false;
    }
    return true;
}

QString QuickRigApi::colorAt(QQuickItem* item, qreal x, qreal y) const
{
    const QImage img = grabbed(item);
    if (img.isNull() || item->width() <= 0 || item->height() <= 0)
        return QString();
    // The grab may be scaled by the screen's pixel ratio.
    const QPoint p(int(x * img.width() / item->width()), int(y * img.height() / item->height()));
    return img.valid(p) ? img.pixelColor(p).name() : QString();
}

QString QuickRigApi::deviceId() const { return QString::fromStdString(server->deviceId()); }
qint64 QuickRigApi::idForPath(const QString& rel) const { return server->idForPath(rel.toStdString()); }
bool QuickRigApi::deviceHas(const QString& rel) const { return QFile::exists(devicePath(rel)); }
QString QuickRigApi::devicePath(const QString& rel) const
{
    return QString::fromStdString(server->absolutePath(rel.toStdString()));
}
QStringList QuickRigApi::deviceList(const QString& relFolder) const
{
    return QDir(devicePath(relFolder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}
qint64 QuickRigApi::addDeviceFile(const QString& rel, int size, int seed)
{
    return server->addGeneratedFile(rel.toStdString(), size, true, quint32(seed));
}
qint64 QuickRigApi::addDeviceFolder(const QString& rel) { return server->addFolder(rel.toStdString()); }

QString QuickRigApi::writeLocalFile(const QString& name, int size, int seed) const
{
    const QString path = localDir() + "/" + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator g{quint32(seed)};
    for (char& c : bytes)
        c = char(g.bounded(256));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != size)
        return QString();
    return path;
}
bool QuickRigApi::localExists(const QString& path) const { return QFile::exists(path); }
qint64 QuickRigApi::localSize(const QString& path) const { return QFileInfo(path).size(); }
bool QuickRigApi::sameBytes(const QString& localPath, const QString& deviceRel) const
{
    const QByteArray a = readAll(localPath);
    return !a.isEmpty() && a == readAll(devicePath(deviceRel));
}

void QuickRigApi::failWithStatus(int status, int count, const QString& match)
{
    server->failWithStatus(status, count, match.toStdString());
}
void QuickRigApi::failCommandOnce(const QString& command, int code, const QString& message)
{
    QJsonObject o;
    o["result"] = 0;
    o["errCode"] = code;
    o["message"] = message;
    o["data"] = QJsonObject();
    server->queueCommandAnswer(command.toStdString(),
                               QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString());
}
void QuickRigApi::delayAnswer(int ms, int count, const QString& match)
{
    server->delayAnswer(ms, count, match.toStdString());
}
void QuickRigApi::throttle(qint64 bytesPerSecond) { server->throttle(bytesPerSecond); }
void QuickRigApi::stallAfter(qint64 bytes, int count) { server->stallAfter(bytes, count); }
void QuickRigApi::clearFaults() { server->clearFaults(); }
int QuickRigApi::requestCount(const QString& match) const
{
    return int(server->requestsFor(match.toStdString()).size());
}
void QuickRigApi::clearRequests() { server->clearRequests(); }

QuickRig::QuickRig()
{
    // Page tests draw in software: no OpenGL is needed to grab a window.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
}

QuickRig::~QuickRig() = default;

void QuickRig::applicationAvailable()
{
    twTestSetup();
    qRegisterMetaType<BaseModel::ToastLevel>();
    TidewellSdk::registerTypes();
    m_api = std::make_unique<QuickRigApi>();
    m_api->base = m_env.root() + "/rig";
    QDir().mkpath(m_api->downloadDir());
    QDir().mkpath(m_api->localDir());
    m_server = std::make_unique<TestDeviceServer>((m_api->base + "/storage").toStdString());
    m_server->setDeviceId("rig-device");
    m_server->setToken("rig-token");
    SampleLibrary::populate(*m_server);
    m_server->start(0);
    m_api->server = m_server.get();
    m_root = std::make_unique<TidewellSdk>();
    m_api->root = m_root.get();
    m_root->config()->setValue("LarkVault", "SavePath", m_api->downloadDir());
    m_launcher = std::make_unique<DeviceLauncher>(m_root.get());
    m_launcher->setDevices({m_api->device()});
}

void QuickRig::qmlEngineAvailable(QQmlEngine* engine)
{
    // Every QML warning (binding loops, type errors, ...) fails the run.
    QObject::connect(engine, &QQmlEngine::warnings, engine, [](const QList<QQmlError>& warnings) {
        for (const QQmlError& w : warnings)
            QTest::qFail(("QML warning: " + w.toString()).toUtf8().constData(), __FILE__, __LINE__);
    });
    TidewellSdk::addImportPaths(engine);
    // The tray icon's icon type is given its type id in the first engine,
    // as in the program. Given later, it may get the id of a type of an
    // engine gone before, which QML still remembers as no value type, and
    // the window fails on "icon.source".
    static bool trayIconKnown = false;
    if (!trayIconKnown) {
        QQmlComponent tray(engine);
        tray.setData("import Qt.labs.platform 1.1\nSystemTrayIcon { icon.source: \"\" }", QUrl());
        trayIconKnown = tray.isReady();
        if (!trayIconKnown)
            qWarning() << "QuickRig - tray icon type:" << tray.errorString();
    }
    m_root->exposeTo(engine->rootContext());
    engine->rootContext()->setContextProperty("twLauncher", m_launcher.get());
    engine->rootContext()->setContextProperty("testRig", m_api.get());
    extend(engine->rootContext());
}

void QuickRig::cleanupTestCase()
{
    m_launcher.reset();
    m_root.reset();
    if (m_server)
        m_server->stop();
    m_server.reset();
}
