#pragma once

#include <memory>

#include <QObject>
#include <QVariantMap>

#include "core/cconfig.h"
#include "core/deviceinfo.h"
#include "core/tidewell.h"
#include "core/userinfo.h"

class QQmlContext;

// The root object: lives from start-up to shutdown, creates the global
// objects, exposes them to QML and answers the application-level owner
// questions (external-link sessions).
class TidewellSdk : public QObject, public Tidewell
{
    Q_OBJECT
    Q_PROPERTY(QVariantMap extraExtlink READ extraExtlink WRITE setExtraExtlink NOTIFY extraExtlinkChanged)
public:
    explicit TidewellSdk(QObject* parent = nullptr);
    ~TidewellSdk() override;

    // Every record and reply that travels in queued signals; tests call it too.
    static void registerMetaTypes();
    static void registerTypes();
    void exposeTo(QQmlContext* ctx);

    Q_INVOKABLE void release();

    QVariantMap extraExtlink() const { return m_extraExtlink; }
    void setExtraExtlink(const QVariantMap& link);

    void setUserInfo(const UserInfo& user);
    CConfig* config() { return &m_config; }

    // Tidewell
    bool device_online(const NetworkShare& share, OnlineFn fn) override;
    bool isOnline() override;
    bool isLan() override;
    QString deviceId() override;
    QString downloadPath() override;
    void notifyUpRun() override;
    void notifyDownRun(bool run) override;
    void notifyUpTaskNum() override;
    void notifyDownTaskNum() override;
    UserInfo userInfo() override;
    DeviceInfo* deviceInfo() override;
    int deviceType() override;
    bool isPCDevice() override;
    int netType() override;
    ThumbI* thumb() override;
    sdk::plugins::tidewell_network_sdk* networkSdk() override;
    void showLoading() override;
    void cancelLading() override;
    void notifyStatus(int code, const QString& message, int level) override;

signals:
    void extraExtlinkChanged();
    void isUpRunChanged();
    void isDwonRunChanged();
    void isTSRunChanged();
    void upTaskNumChanged();
    void downTaskNumChanged();
    void hasTaskNumChanged();
    void sg_showLoading();
    void sg_cancelLading();
    void sg_notifyStatus(int code, QString message, int level);

private:
    CConfig m_config;
    UserInfo m_user;
    DeviceInfo m_extlinkDevice;
    QVariantMap m_extraExtlink;
};
