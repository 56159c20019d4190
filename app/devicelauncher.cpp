#include "app/devicelauncher.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include "app/tidewellsdk.h"
#include "core/utils.h"

namespace {

const char* kGroup = "Environment";

QString randomToken()
{
    QByteArray bytes(24, Qt::Uninitialized);
    QRandomGenerator* g = QRandomGenerator::system();
    for (char& c : bytes)
        c = char(g->bounded(256));
    return QString::fromLatin1(bytes.toHex());
}

} // namespace

DeviceLauncher::DeviceLauncher(TidewellSdk* root, QObject* parent)
    : QObject(parent), m_root(root)
{
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {dir + "/tw_testdevice", dir + "/../tools/tw_testdevice"}) {
        if (QFileInfo(candidate).isExecutable()) {
            m_program = QFileInfo(candidate).canonicalFilePath();
            break;
        }
    }
}

DeviceLauncher::~DeviceLauncher()
{
    stopSample();
}

QVariantMap DeviceLauncher::deviceMap(const QString& host, int port, const QString& user,
                                      const QString& token, const QString& deviceId,
                                      const QString& name)
{
    QVariantMap m;
    m["deviceId"] = deviceId;
    m["deviceName"] = name;
    m["accessId"] = user;
    m["deviceToken"] = token;
    m["deviceSn"] = "QX1" + deviceId.left(8).toUpper();
    m["deviceModel"] = "QX-1";
    m["online"] = true;
    m["lanHost"] = host;
    m["lanPort"] = port;
    return m;
}

void DeviceLauncher::setDevices(const QVariantList& devices)
{
    m_devices = devices;
    if (!devices.isEmpty())
        adoptUser(devices.first().toMap().value("accessId").toString());
}

bool DeviceLauncher::prepare()
{
    if (!m_devices.isEmpty())
        return true;
    CConfig* cfg = m_root->config();
    const QString host = cfg->value(kGroup, "DeviceHost").toString();
    const int port = cfg->value(kGroup, "DevicePort").toInt();
    if (!host.isEmpty() && port > 0) {
        const QVariantMap d = openDevice(host, port, cfg->value(kGroup, "DeviceUser").toString(),
                                         cfg->value(kGroup, "DeviceToken").toString());
        return !d.isEmpty();
    }
    return startSample();
}

QVariantList DeviceLauncher::devices() const
{
    return m_devices;
}

QVariantMap DeviceLauncher::openDevice(const QString& host, int port, const QString& user,
                                       const QString& token)
{
    if (host.trimmed().isEmpty() || port <= 0 || port > 65535) {
        qWarning() << "DeviceLauncher::openDevice - bad address" << host << port;
        return {};
    }
    const QString who = user.trimmed().isEmpty() ? QString("owner") : user.trimmed();
    // Without the device list the address names the device.
    const QString id = QString::fromLatin1(
        QCryptographicHash::hash((host.trimmed() + ":" + QString::number(port)).toUtf8(),
                                 QCryptographicHash::Sha1).toHex().left(16));
    const QVariantMap d = deviceMap(host.trimmed(), port, who, token, id,
                                    host.trimmed() + ":" + QString::number(port));
    CConfig* cfg = m_root->config();
    cfg->setValue(kGroup, "DeviceHost", host.trimmed());
    cfg->setValue(kGroup, "DevicePort", port);
    cfg->setValue(kGroup, "DeviceUser", who);
    cfg->setValue(kGroup, "DeviceToken", token);
    m_devices = {d};
    adoptUser(who);
    qDebug() << "DeviceLauncher::openDevice -" << host << port << "as" << who;
    return d;
}

void DeviceLauncher::adoptUser(const QString& accessId)
{
    UserInfo u = m_root->userInfo();
    u.accessId = accessId;
    m_root->setUserInfo(u);
}

bool DeviceLauncher::startSample()
{
    if (m_program.isEmpty()) {
        qWarning() << "DeviceLauncher::startSample - no test device program next to"
                   << QCoreApplication::applicationFilePath();
        return false;
    }
    const QString root = getAppDataPath() + "sample-device";
    const QString token = randomToken();
    m_sample = std::make_unique<QProcess>();
    m_sample->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_sample->start(m_program, {"--root", root, "--port", "0", "--token", token, "--sample",
                                "--device-id", "sample-device", "--exit-with-parent"});
    if (!m_sample->waitForStarted(10000)) {
        qWarning() << "DeviceLauncher::startSample - cannot start" << m_program << m_sample->errorString();
        m_sample.reset();
        return false;
    }
    // The first start draws the library, which takes a few seconds.
    QElapsedTimer t;
    t.start();
    int port = 0;
    QByteArray out;
    while (port == 0 && t.elapsed() < 120000 && m_sample->state() == QProcess::Running) {
        m_sample->waitForReadyRead(500);
        out += m_sample->readAllStandardOutput();
        const int at = out.indexOf("port: ");
        const int end = at >= 0 ? out.indexOf('\n', at) : -1;
        if (end > at)
            port = out.mid(at + 6, end - at - 6).trimmed().toInt();
    }
    if (port <= 0) {
        qWarning() << "DeviceLauncher::startSample - the sample device did not start:" << out;
        stopSample();
        return false;
    }
    qDebug() << "DeviceLauncher::startSample - sample device on 127.0.0.1 port" << port;
    m_devices = {deviceMap("127.0.0.1", port, "owner", token, "sample-device", tr("Sample device"))};
    adoptUser("owner");
    return true;
}

void DeviceLauncher::stopSample()
{
    if (!m_sample)
        return;
    m_sample->terminate();
    if (!m_sample->waitForFinished(3000)) {
        m_sample->kill();
        m_sample->waitForFinished(1000);
    }
    m_sample.reset();
}
