#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <QObject>
#include <QUrl>
#include <QVariantMap>

#include "core/cconfig.h"
#include "core/deviceinfo.h"
#include "core/tidewellowner.h"
#include "core/userinfo.h"
#include "sdk/channel_option.h"
#include "sdk/device_addr.h"

class DBHelp;
class LVDownloadManager;
class LVFinishManager;
class NormalFileDownManager;
class SingleFileDownManager;
class QQmlContext;
class QQmlEngine;
class QCoreApplication;
class QLocale;
class QTranslator;
class TidewellDevice;
class TidewellExtlink;
class TidewellThumb;

// The root object: lives from start-up to shutdown, creates the global
// objects, exposes them to QML and answers the application-level owner
// questions (external-link sessions).
class TidewellSdk : public TidewellOwner
{
    Q_OBJECT
    Q_PROPERTY(QVariantMap extraExtlink READ extraExtlink WRITE setExtraExtlink NOTIFY extraExtlinkChanged)
    // Where file dialogs open: the folder chosen from last, else the home folder.
    Q_PROPERTY(QUrl dialogFolder READ dialogFolder NOTIFY dialogFolderChanged)
public:
    explicit TidewellSdk(QObject* parent = nullptr);
    ~TidewellSdk() override;

    // Every record and reply that travels in queued signals; tests call it too.
    static void registerMetaTypes();
    static void registerTypes();
    // The user's language when shipped, else English; false when none loads.
    static bool loadTranslation(QTranslator& translator);
    // Qt's own texts (standard buttons, the file dialog) in the user's
    // language, from Qt's translations folder; the translators are installed
    // on app and owned by it. The number loaded (0 for English).
    static int installQtTranslations(QCoreApplication* app, const QLocale& locale);
    // Where the program's QML modules are: Tidewell under qrc:/imports and
    // each page folder by its path (compoments.base, compoments.file, ...).
    static void addImportPaths(QQmlEngine* engine);
    void exposeTo(QQmlContext* ctx);

    Q_INVOKABLE void release();
    // Desktop hand-overs for the pages: open a file, folder or web page with
    // the desktop's handler; put text on the clipboard.
    Q_INVOKABLE void openUrl(const QUrl& url) const;
    Q_INVOKABLE void setClipboardText(const QString& text) const;
    // The local file URL of a path, for openUrl.
    Q_INVOKABLE QUrl fileUrl(const QString& path) const;
    // A name from the device or another user as the pages show it (see
    // shownName in core/utils.h), for texts not read from a list's roles.
    Q_INVOKABLE QString shownName(const QString& name) const;
    // A link as the pages copy it: its URL with the extraction code in it.
    Q_INVOKABLE QString linkWithCode(const QString& url, const QString& code) const;
    // A pasted link taken apart as {url, code}: the URL with "&code=", or
    // a URL followed by its code in words ("... Extraction code: bg77").
    Q_INVOKABLE QVariantMap pastedLink(const QString& text) const;
    // The local path of a file URL (a dialog's answer); "" for another URL.
    Q_INVOKABLE QString localPath(const QUrl& url) const
    {
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    // The download folder (settings, else the system's).
    // Made when missing, so a dialog can start in it.
    Q_INVOKABLE QString downloadFolder();
    QUrl dialogFolder();
    // A file dialog's choice (a file or a folder): the next opens beside it.
    Q_INVOKABLE void keepDialogFolder(const QUrl& chosen);

    // The application-level objects, made once on first use: the link
    // download manager ("twDown"), the finish manager ("twFinish"), the
    // device facade ("twDevice") and the external-link facade ("twExtlink").
    void initObjects();
    LVDownloadManager* downloadManager();
    LVFinishManager* finishManager();
    NormalFileDownManager* netDownManager();
    SingleFileDownManager* singleDownManager();
    TidewellDevice* twDevice();
    TidewellExtlink* twExtlink();
    TidewellThumb* thumbService();

    QVariantMap extraExtlink() const { return m_extraExtlink; }
    void setExtraExtlink(const QVariantMap& link);
    // The command line of this start, or of a later one handed over: the
    // option "a"/"argument" holding "/share" is taken as a link.
    void handleArguments(const QStringList& args);
    // A later start's arguments, joined by blanks (UTF-8).
    void handleMessage(const QByteArray& message);

    void setUserInfo(const UserInfo& user);
    CConfig* config() { return &m_config; }

    // Options of the library sessions made from now on (cloud URL, probe
    // time-outs). The root's own session is made on first use.
    void setChannelOption(const sdk::cores::model::channel_option& option);
    sdk::cores::model::channel_option channelOption() const;
    // "_test" is appended to the external-link device id.
    void setTestEnvironment(bool test);

    // Finds how to reach the device behind an external link: its id, the
    // link's token and the addresses. The default asks the cloud
    // ("deviceShare/getToken") on the root's session.
    using ExtlinkResolver = std::function<bool(const NetworkShare& share,
                                               sdk::cores::model::device_addr& out)>;
    void setExtlinkResolver(ExtlinkResolver resolver);
    bool resolveExtlink(const NetworkShare& share, sdk::cores::model::device_addr& out);
    // How long device_online waits for a link session to connect.
    void setExtlinkWaitMs(int ms) { m_linkWaitMs = ms; }
    // Number of link sessions held (one per share id).
    int extlinkSessionCount() const;
    // Forgets every link session (sign-out).
    void closeExtlinkSessions();

    // Tidewell (the notices, deviceId and thumb are TidewellOwner's)
    bool device_online(const NetworkShare& share, OnlineFn fn) override;
    bool isOnline() override;
    bool linkOnline(const NetworkShare& share) override;
    bool isLan() override;
    QString downloadPath() override;
    UserInfo userInfo() override;
    DeviceInfo* deviceInfo() override;
    DeviceInfo currentDevice() override;
    int deviceType() override;
    bool isPCDevice() override;
    int netType() override;
    sdk::plugins::tidewell_network_sdk* networkSdk() override;
    ThumbI* thumb() override;

signals:
    void extraExtlinkChanged();
    void dialogFolderChanged();

private:
    using Session = std::shared_ptr<sdk::plugins::tidewell_network_sdk>;
    Session cloudSession();
    Session newSession() const;
    // The connected (or last tried) session of the link; opens it when
    // missing. Null when the link cannot be resolved.
    Session linkSession(const NetworkShare& share);
    bool waitConnected(const Session& s) const;
    // Works off the link downloads left from an earlier run.
    void startLinkDownloads();

    CConfig m_config;
    mutable std::mutex m_mutex;          // m_option, m_cloud, m_links, m_user, m_resolver,
                                         // m_extlinkDevice
    std::mutex m_openMutex;              // one link opened at a time
    sdk::cores::model::channel_option m_option;
    Session m_cloud;
    std::vector<Session> m_retired;
    std::map<QString, Session> m_links;
    ExtlinkResolver m_resolver;
    int m_linkWaitMs = 10000;

    bool m_objectsMade = false;
    std::unique_ptr<LVDownloadManager> m_down;
    std::unique_ptr<TidewellDevice> m_device;
    std::unique_ptr<DBHelp> m_db;
    std::unique_ptr<TidewellExtlink> m_extlink;
    std::unique_ptr<LVFinishManager> m_finish;
    std::unique_ptr<NormalFileDownManager> m_netDown;
    std::unique_ptr<SingleFileDownManager> m_singleDown;
    std::unique_ptr<TidewellThumb> m_thumb;
    UserInfo m_user;
    DeviceInfo m_extlinkDevice;
    QVariantMap m_extraExtlink;
};
