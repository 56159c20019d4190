#include "app/tidewellsdk.h"

#include <QDebug>
#include <QQmlContext>
#include <QQmlEngine>
#include <QStandardPaths>
#include <QThreadPool>

#include "core/common.h"
#include "core/deviceinfo.h"
#include "core/deviceuserinfo.h"
#include "core/localfileinfo.h"
#include "core/networkshare.h"
#include "core/twfileinfo.h"
#include "core/twfolderinfo.h"
#include "core/twhandle.h"
#include "core/usergroupinfo.h"

static const char* kExtlinkDeviceId = "extlink_virtual_deviceId";

TidewellSdk::TidewellSdk(QObject* parent) : QObject(parent)
{
    // File hashing shares the global pool; keep it from starving the rest.
    QThreadPool::globalInstance()->setMaxThreadCount(3);
    m_extlinkDevice.deviceId = kExtlinkDeviceId;
}

TidewellSdk::~TidewellSdk() = default;

void TidewellSdk::registerMetaTypes()
{
    qRegisterMetaType<TW_HANDLE>("TW_HANDLE");
    qRegisterMetaType<NetworkShare>("NetworkShare");
    qRegisterMetaType<DeviceInfo>("DeviceInfo");
    qRegisterMetaType<UserInfo>("UserInfo");
    qRegisterMetaType<TwFileInfo>("TwFileInfo");
    qRegisterMetaType<QList<TwFileInfo>>("QList<TwFileInfo>");
    qRegisterMetaType<TwFolderInfo>("TwFolderInfo");
    qRegisterMetaType<LocalFileInfo>("LocalFileInfo");
    qRegisterMetaType<QList<LocalFileInfo>>("QList<LocalFileInfo>");
    qRegisterMetaType<DeviceUserInfo>("DeviceUserInfo");
    qRegisterMetaType<UserGroupInfo>("UserGroupInfo");
    qRegisterMetaType<QMap<int, qint64>>("QMap<int,qint64>");
    qRegisterMetaType<QList<qint64>>("QList<qint64>");
}

void TidewellSdk::registerTypes()
{
    qmlRegisterType<Common>("Tidewell.Core", 1, 0, "Common");
}

void TidewellSdk::exposeTo(QQmlContext* ctx)
{
    ctx->setContextProperty("twSdk", this);
}

void TidewellSdk::release()
{
    qDebug() << "TidewellSdk::release - call.";
    m_user = UserInfo();
    m_extlinkDevice.accessId.clear();
}

void TidewellSdk::setExtraExtlink(const QVariantMap& link)
{
    if (m_extraExtlink == link)
        return;
    m_extraExtlink = link;
    emit extraExtlinkChanged();
}

void TidewellSdk::setUserInfo(const UserInfo& user)
{
    m_user = user;
    m_extlinkDevice.accessId = user.accessId;
}

bool TidewellSdk::device_online(const NetworkShare& share, OnlineFn fn)
{
    Q_UNUSED(fn)
    if (share.shareId.isEmpty())
        return false;
    return false;
}

bool TidewellSdk::isOnline() { return false; }
bool TidewellSdk::isLan() { return false; }
QString TidewellSdk::deviceId() { return m_extlinkDevice.deviceId; }

QString TidewellSdk::downloadPath()
{
    QString p = m_config.value("LarkVault", "SavePath").toString();
    if (p.isEmpty())
        p = m_config.downPath();
    if (p.isEmpty())
        p = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return p;
}

void TidewellSdk::notifyUpRun()
{
    emit isUpRunChanged();
    emit isTSRunChanged();
}

void TidewellSdk::notifyDownRun(bool run)
{
    Q_UNUSED(run)
    emit isDwonRunChanged();
    emit isTSRunChanged();
}

void TidewellSdk::notifyUpTaskNum()
{
    emit upTaskNumChanged();
    emit hasTaskNumChanged();
}

void TidewellSdk::notifyDownTaskNum()
{
    emit downTaskNumChanged();
    emit hasTaskNumChanged();
}

UserInfo TidewellSdk::userInfo() { return m_user; }
DeviceInfo* TidewellSdk::deviceInfo() { return &m_extlinkDevice; }
int TidewellSdk::deviceType() { return 0; }
bool TidewellSdk::isPCDevice() { return false; }
int TidewellSdk::netType() { return 0; }
ThumbI* TidewellSdk::thumb() { return nullptr; }
sdk::plugins::tidewell_network_sdk* TidewellSdk::networkSdk() { return nullptr; }
void TidewellSdk::showLoading() { emit sg_showLoading(); }
void TidewellSdk::cancelLading() { emit sg_cancelLading(); }

void TidewellSdk::notifyStatus(int code, const QString& message, int level)
{
    emit sg_notifyStatus(code, message, level);
}
