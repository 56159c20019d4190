#include "app/devicelauncher.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>

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
        if (!d.isEmpty()) {
            m_devices = {d};
            adoptUser(d.value("accessId").toString());
            applyCloud();
            return true;
        }
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
    return deviceMap(host.trimmed(), port, who, token, id, host.trimmed() + ":" + QString::number(port));
}

void DeviceLauncher::remember(const QVariantMap& d)
{
    CConfig* cfg = m_root->config();
    cfg->setValue(kGroup, "DeviceHost", d.value("lanHost").toString());
    cfg->setValue(kGroup, "DevicePort", d.value("lanPort").toInt());
    cfg->setValue(kGroup, "DeviceUser", d.value("accessId").toString());
    cfg->setValue(kGroup, "DeviceToken", d.value("deviceToken").toString());
    adoptUser(d.value("accessId").toString());
    qDebug() << "DeviceLauncher::remember -" << d.value("lanHost").toString()
             << d.value("lanPort").toInt() << "as" << d.value("accessId").toString();
}

void DeviceLauncher::forgetDevice(const QVariantMap& d)
{
    CConfig* cfg = m_root->config();
    if (cfg->value(kGroup, "DeviceHost").toString() != d.value("lanHost").toString()
        || cfg->value(kGroup, "DevicePort").toInt() != d.value("lanPort").toInt())
        return;
    for (const char* key : {"DeviceHost", "DevicePort", "DeviceUser", "DeviceToken"})
        cfg->remove(kGroup, key);
    qDebug() << "DeviceLauncher::forgetDevice -" << d.value("lanHost").toString()
             << d.value("lanPort").toInt();
}

void DeviceLauncher::probeDevice(const QString& host, int port, const QString& user,
                                 const QString& token)
{
    const QVariantMap d = openDevice(host, port, user, token);
    if (d.isEmpty()) {
        emit probeFinished({}, tr("Enter the device's host and a port from 1 to 65535."));
        return;
    }
    ask(d, [this, d](const QString& error) {
        if (!error.isEmpty()) {
            emit probeFinished({}, error);
            return;
        }
        remember(d);
        emit probeFinished(d, QString());
    });
}

void DeviceLauncher::diagnose(const QVariantMap& device)
{
    const QString id = device.value("deviceId").toString();
    ask(device, [this, id](const QString& error) { emit diagnosed(id, error); });
}

void DeviceLauncher::ask(const QVariantMap& d, std::function<void(const QString& error)> done)
{
    if (!m_net) {
        m_net = std::make_unique<QNetworkAccessManager>();
        // A device on the local network is reached directly.
        m_net->setProxy(QNetworkProxy::NoProxy);
    }
    const int port = d.value("lanPort").toInt();
    QUrl url;
    url.setScheme("http");
    url.setHost(d.value("lanHost").toString());
    url.setPort(port);
    url.setPath("/device/directTransfer.json");
    QNetworkRequest req(url);
    req.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    req.setRawHeader("X-Token", d.value("deviceToken").toString().toUtf8());
    req.setRawHeader("X-Access-Id", d.value("accessId").toString().toUtf8());
    req.setRawHeader("X-Device-Id", d.value("deviceId").toString().toUtf8());
    req.setRawHeader("X-Client-Type", "PC");
    QNetworkReply* reply = m_net->post(req, QByteArray(R"({"command":"ping","data":{}})"));
    auto timedOut = std::make_shared<bool>(false);
    QTimer::singleShot(m_probeTimeoutMs, reply, [reply, timedOut] {
        *timedOut = true;
        reply->abort();
    });
    const QString where = d.value("lanHost").toString() + ":" + QString::number(port);
    const int seconds = (m_probeTimeoutMs + 999) / 1000;
    connect(reply, &QNetworkReply::finished, this, [reply, timedOut, d, where, seconds, done] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray body = reply->readAll();
        QString error;
        if (*timedOut) {
            error = tr("The device at %1 did not answer within %2 s.").arg(where).arg(seconds);
        } else if (status == 401 || status == 403) {
            error = tr("The device at %1 refused the token.").arg(where);
        } else if (reply->error() == QNetworkReply::ConnectionRefusedError) {
            error = tr("The connection to %1 was refused: nothing answers on that port.").arg(where);
        } else if (reply->error() == QNetworkReply::HostNotFoundError) {
            error = tr("The host %1 was not found.").arg(d.value("lanHost").toString());
        } else if (reply->error() != QNetworkReply::NoError && status == 0) {
            error = tr("Cannot reach %1: %2").arg(where, reply->errorString());
        } else {
            const QJsonObject o = QJsonDocument::fromJson(body).object();
            if (o.value("result").toInt() != 1) {
                const QString msg = o.value("message").toString();
                error = msg.isEmpty() ? tr("%1 does not answer as a device (HTTP %2).").arg(where).arg(status)
                                      : tr("The device at %1 answered: %2").arg(where, msg);
            }
        }
        if (!error.isEmpty())
            qWarning() << "DeviceLauncher - device" << where << ":" << error;
        done(error);
    });
}

QVariantMap DeviceLauncher::openSample()
{
    if (!m_sample || m_sample->state() != QProcess::Running) {
        m_sampleDevice.clear();
        if (!startSample())
            return {};
    }
    return m_sampleDevice;
}

void DeviceLauncher::adoptUser(const QString& accessId)
{
    UserInfo u = m_root->userInfo();
    u.accessId = accessId;
    m_root->setUserInfo(u);
}

void DeviceLauncher::applyCloud()
{
    QString cloud = m_root->config()->value(kGroup, "CloudUrl").toString().trimmed();
    if (cloud.isEmpty() && !m_sampleDevice.isEmpty())
        cloud = "http://127.0.0.1:" + QString::number(m_sampleDevice.value("lanPort").toInt());
    sdk::cores::model::channel_option opt = m_root->channelOption();
    if (QString::fromStdString(opt.cloud_url) == cloud)
        return;
    opt.cloud_url = cloud.toStdString();
    m_root->setChannelOption(opt);
    qDebug().noquote() << "DeviceLauncher::applyCloud - links are resolved by" << cloud;
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
    m_sampleDevice = deviceMap("127.0.0.1", port, "owner", token, "sample-device", tr("Sample device"));
    if (m_devices.isEmpty())
        m_devices = {m_sampleDevice};
    adoptUser("owner");
    applyCloud();
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
