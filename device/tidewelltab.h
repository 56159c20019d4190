#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <type_traits>

#include <QList>
#include <QObject>
#include <QUrl>
#include <QVariantMap>

#include "core/deviceinfo.h"
#include "core/executer.h"
#include "core/tidewellowner.h"
#include "core/twfolderinfo.h"
#include "core/userinfo.h"
#include "sdk/channel_option.h"

class LVDownloadManager;
class LVFinishManager;
class LVUploadManager;
class SingleFileDownManager;
class QTimer;
class TidewellDevice;
class TidewellThumb;

// One open device: its own library session, the link state of that session,
// the device facade and the device's engines. Implements the owner interface
// for everything that works on this device and forwards application-wide
// questions (download folder, signed-in user) to the root.
//
// Link states: 0 offline, 1 connecting, 2 local network, 3 local network by
// port mapping, 4 remote. The library reports them on its own threads; the
// tab takes them over on its own thread.
class TidewellTab : public TidewellOwner
{
    Q_OBJECT
    Q_PROPERTY(QObject* root READ rootObject WRITE setRootObject NOTIFY rootChanged)
    Q_PROPERTY(QObject* twDevice READ twDevice CONSTANT)
    Q_PROPERTY(QObject* twUpload READ twUpload NOTIFY objectsChanged)
    Q_PROPERTY(QObject* twDown READ twDown NOTIFY objectsChanged)
    Q_PROPERTY(QObject* twSingleDown READ twSingleDown NOTIFY objectsChanged)
    Q_PROPERTY(QObject* twFinish READ twFinish NOTIFY objectsChanged)
    Q_PROPERTY(QObject* twThumb READ twThumb NOTIFY objectsChanged)
    Q_PROPERTY(QVariantMap device READ deviceMap NOTIFY deviceChanged)
    Q_PROPERTY(int linkState READ linkState NOTIFY linkStateChanged)
    Q_PROPERTY(bool online READ isOnline NOTIFY linkStateChanged)
    Q_PROPERTY(bool lan READ isLan NOTIFY linkStateChanged)
    Q_PROPERTY(int netType READ netType NOTIFY linkStateChanged)
    Q_PROPERTY(bool isUpRun READ isUpRun NOTIFY isUpRunChanged)
    Q_PROPERTY(bool isDwonRun READ isDwonRun NOTIFY isDwonRunChanged)
    Q_PROPERTY(bool isTSRun READ isTSRun NOTIFY isTSRunChanged)
    Q_PROPERTY(int upTaskNum READ upTaskNum NOTIFY upTaskNumChanged)
    Q_PROPERTY(int downTaskNum READ downTaskNum NOTIFY downTaskNumChanged)
    Q_PROPERTY(int hasTaskNum READ hasTaskNum NOTIFY hasTaskNumChanged)
    // The queue that took entries last: 0 uploads, 1 downloads.
    Q_PROPERTY(int lastQueue READ lastQueue NOTIFY lastQueueChanged)
public:
    explicit TidewellTab(QObject* parent = nullptr);
    // root: the application-level owner (also when it is a QObject).
    template <typename Root,
              typename = std::enable_if_t<std::is_base_of<Tidewell, Root>::value>>
    explicit TidewellTab(Root* root, QObject* parent = nullptr) : TidewellTab(parent)
    {
        setRoot(root);
    }
    ~TidewellTab() override;

    // The application-level owner (normally the root object).
    Tidewell* root() const { return m_root; }
    void setRoot(Tidewell* root);
    QObject* rootObject() const { return m_rootObject; }
    void setRootObject(QObject* root);

    // Options of the sessions made from now on.
    void setChannelOption(const sdk::cores::model::channel_option& option);
    // While offline, a reconnect is asked every retryMs; while connected the
    // link is checked every keepAliveMs (0: never).
    void setRetryInterval(int ms);
    void setKeepAliveInterval(int ms);

    // Creates the facade's hand-overs and the tab's engines once.
    void initObjects();

    Q_INVOKABLE bool connect_to(const QVariantMap& device);
    bool connect_to(const DeviceInfo& device);
    Q_INVOKABLE bool try_connect();
    Q_INVOKABLE void close();
    Q_INVOKABLE void stopAllTask();

    // Uploads into a device folder (map form of TwFolderInfo); the upload
    // manager asks before uploading a path again (rUploadAskTip).
    Q_INVOKABLE void addUploadFiles(QVariantMap folder, QList<QUrl> paths);
    Q_INVOKABLE void goUploadFiles();

    QObject* twDevice() const;
    TidewellDevice* device() const { return m_twDevice; }
    QObject* twUpload() const;
    QObject* twDown() const;
    QObject* twSingleDown() const;
    QObject* twFinish() const;
    QObject* twThumb() const;
    TidewellThumb* thumbService() const { return m_thumb.get(); }
    LVDownloadManager* downloadManager() const { return m_down.get(); }
    LVUploadManager* uploadManager() const { return m_upload.get(); }
    SingleFileDownManager* singleDownManager() const { return m_singleDown.get(); }

    QVariantMap deviceMap() const;
    // State as last taken over on the tab's thread.
    int linkState() const { return m_linkState.load(); }

    bool isUpRun() const;
    bool isDwonRun() const;
    bool isTSRun() const { return isUpRun() || isDwonRun(); }
    int upTaskNum() const;
    int downTaskNum() const;
    int hasTaskNum() const { return upTaskNum() + downTaskNum(); }
    int lastQueue() const { return m_lastQueue; }

    // Tidewell (the notices, deviceId and thumb are TidewellOwner's)
    bool device_online(const NetworkShare& share, OnlineFn fn) override;
    bool isOnline() override;
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
    void rootChanged();
    void objectsChanged();
    void deviceChanged();
    void linkStateChanged(int state);
    // The device became reachable (state 2..4 from a lower state).
    void connected();
    void disconnected();
    void rUploadAskTip(bool isUp);
    void lastQueueChanged();
    // A top-level upload ended on the device (the upload record's map):
    // the page showing its folder lists it.
    void uploadLanded(QVariantMap info);

    // Library thread -> tab thread.
    void libState(quint64 generation, int state);

protected:
    // Engine hooks: createEngines makes the transfer engines (with this tab
    // as their owner) and wires the facade's download hand-overs;
    // startEngines runs on every successful connection, stopEngines from
    // stopAllTask. The thumbnail service is paused while the link is down,
    // resumed when it is back and stopped on close and on a device switch.
    virtual void createEngines();
    virtual void startEngines();
    virtual void stopEngines();
    virtual void pauseThumb();
    virtual void resumeThumb();
    virtual void stopThumb();

private slots:
    void onAddUpFiles(bool rs);
    void onAddUpFiles2(TwFolderInfo folder, QList<QUrl> paths, bool isUp);
    void onLibState(quint64 generation, int state);
    void onRetry();
    void onKeepAlive();

private:
    class Observer;
    using Session = std::shared_ptr<sdk::plugins::tidewell_network_sdk>;

    void init();
    Session session() const;
    // Replaces the session with a fresh one (or none); the old one goes
    // away when its last user lets it go.
    void resetSession(bool makeNew);
    void setState(int state);

    Tidewell* m_root = nullptr;
    QObject* m_rootObject = nullptr;
    TidewellDevice* m_twDevice = nullptr;
    bool m_objectsMade = false;
    std::unique_ptr<LVUploadManager> m_upload;
    std::unique_ptr<LVDownloadManager> m_down;
    std::unique_ptr<LVFinishManager> m_finish;
    std::unique_ptr<SingleFileDownManager> m_singleDown;
    std::unique_ptr<TidewellThumb> m_thumb;
    TwFolderInfo m_askFolder;
    QList<QUrl> m_askPaths;

    mutable std::mutex m_sessionMutex;
    Session m_session;
    std::unique_ptr<Observer> m_observer;
    quint64 m_generation = 0;
    sdk::cores::model::channel_option m_option;

    // Written on the tab's thread; engines read copies from theirs.
    mutable std::mutex m_deviceMutex;
    DeviceInfo m_device;
    std::atomic<bool> m_hasDevice{false};
    std::atomic<int> m_linkState{0};

    QTimer* m_retryTimer = nullptr;
    QTimer* m_keepAliveTimer = nullptr;
    Executer m_checks{1};
    std::atomic<bool> m_checking{false};
    void setLastQueue(int queue);
    int m_lastQueue = 0;
};
