#include "device/tidewelltab.h"

#include <QDebug>
#include <QStandardPaths>
#include <QTimer>

#include "device/tidewelldevice.h"
#include "transfer/lvdownloadmanager.h"
#include "transfer/lvfinishmanager.h"
#include "transfer/lvuploadmanager.h"
#include "transfer/singlefiledownmanager.h"
#include "transfer/tidewellthumb.h"
#include "core/utils.h"
#include "protocol/tidewellnet.h"
#include "sdk/network_observer.h"
#include "sdk/resp_info.h"
#include "sdk/tidewell_network_sdk.h"

using namespace sdk::cores;

// Library thread: only hands the number on.
class TidewellTab::Observer : public tidewell::network_observer
{
public:
    Observer(TidewellTab* tab, quint64 generation) : m_tab(tab), m_generation(generation) {}
    void on_network_state(int state) override { emit m_tab->libState(m_generation, state); }

private:
    TidewellTab* m_tab;
    quint64 m_generation;
};

TidewellTab::TidewellTab(QObject* parent) : TidewellOwner(parent)
{
    init();
}

void TidewellTab::init()
{
    m_option.probe_timeout_ms = 3000;
    m_twDevice = new TidewellDevice(this);
    connect(this, &TidewellTab::libState, this, &TidewellTab::onLibState, Qt::QueuedConnection);
    m_retryTimer = new QTimer(this);
    m_retryTimer->setInterval(5000);
    connect(m_retryTimer, &QTimer::timeout, this, &TidewellTab::onRetry);
    m_keepAliveTimer = new QTimer(this);
    m_keepAliveTimer->setInterval(15000);
    connect(m_keepAliveTimer, &QTimer::timeout, this, &TidewellTab::onKeepAlive);
}

TidewellTab::~TidewellTab()
{
    m_retryTimer->stop();
    m_keepAliveTimer->stop();
    // No stopAllTask(): a task stopped that way reports a pause, which would
    // turn a running entry into a paused one; the engines' destructors stop
    // their tasks and leave the entries as they are, so the next start
    // resumes them. The facade hands downloads to the manager: it goes
    // first. Engines and facade reach the device through this tab, so the
    // session goes last.
    delete m_twDevice;
    m_twDevice = nullptr;
    // Gives its tasks back to the session, which is still there.
    m_thumb.reset();
    m_upload.reset();
    m_down.reset();
    m_singleDown.reset();
    m_finish.reset();
    m_checks.waitForDone();
    resetSession(false);
}

void TidewellTab::setRoot(Tidewell* root)
{
    m_root = root;
    m_rootObject = dynamic_cast<QObject*>(root);
}

void TidewellTab::setRootObject(QObject* root)
{
    if (m_rootObject == root)
        return;
    m_rootObject = root;
    m_root = dynamic_cast<Tidewell*>(root);
    if (root && !m_root)
        qWarning() << "TidewellTab::setRootObject - object is not an owner:" << root;
    emit rootChanged();
}

void TidewellTab::setChannelOption(const model::channel_option& option)
{
    m_option = option;
}

void TidewellTab::setRetryInterval(int ms)
{
    m_retryTimer->setInterval(ms);
}

void TidewellTab::setKeepAliveInterval(int ms)
{
    m_keepAliveTimer->setInterval(ms > 0 ? ms : 0);
    if (ms <= 0)
        m_keepAliveTimer->stop();
    else if (m_linkState.load() >= tidewell::link_lan)
        m_keepAliveTimer->start();
}

void TidewellTab::initObjects()
{
    if (m_objectsMade)
        return;
    m_objectsMade = true;
    createEngines();
    emit objectsChanged();
}

QObject* TidewellTab::twDevice() const
{
    return m_twDevice;
}

QObject* TidewellTab::twUpload() const
{
    return m_upload.get();
}

QObject* TidewellTab::twDown() const
{
    return m_down.get();
}

QObject* TidewellTab::twSingleDown() const
{
    return m_singleDown.get();
}

QObject* TidewellTab::twFinish() const
{
    return m_finish.get();
}

QObject* TidewellTab::twThumb() const
{
    return m_thumb.get();
}

ThumbI* TidewellTab::thumb()
{
    return m_thumb.get();
}

void TidewellTab::pauseThumb()
{
    if (m_thumb)
        m_thumb->pause();
}

void TidewellTab::resumeThumb()
{
    if (m_thumb)
        m_thumb->resume();
}

void TidewellTab::stopThumb()
{
    if (m_thumb)
        m_thumb->stop();
}

bool TidewellTab::isUpRun() const
{
    return m_upload && m_upload->isRun();
}

bool TidewellTab::isDwonRun() const
{
    return m_down && m_down->isRun();
}

int TidewellTab::upTaskNum() const
{
    return m_upload ? m_upload->totalNum() : 0;
}

int TidewellTab::downTaskNum() const
{
    return m_down ? m_down->totalNum() : 0;
}

void TidewellTab::createEngines()
{
    m_upload.reset(new LVUploadManager);
    m_upload->init(this);
    connect(m_upload.get(), &LVUploadManager::rAddUpFiles, this, &TidewellTab::onAddUpFiles);
    connect(m_upload.get(), &LVUploadManager::rAddUpFiles2, this, &TidewellTab::onAddUpFiles2);
    connect(m_upload.get(), &LVUploadManager::rUploadFinish, this,
            [this](UploadFileInfo f) { emit uploadLanded(f.toVariantMap()); });
    m_down.reset(new LVDownloadManager);
    m_down->init(this);
    m_finish.reset(new LVFinishManager);
    m_finish->init(this, nullptr);
    m_singleDown.reset(new SingleFileDownManager);
    m_singleDown->init(this);
    m_thumb.reset(new TidewellThumb);
    m_thumb->init(this, getCachePath());

    LVDownloadManager* down = m_down.get();
    m_twDevice->setDownFilesHandler(
            [down](TW_HANDLE h, const QString& savePath, const QList<TwFileInfo>& items,
                   int fileType) { return down->addDownFiles(h, savePath, items, fileType); });
    m_twDevice->setDownUsbFilesHandler(
            [down](TW_HANDLE h, const QString& savePath, const QList<LocalFileInfo>& items,
                   int diskKind) { return down->addDownUsbFiles(h, savePath, items, diskKind); });
    connect(down, &LVDownloadManager::rAddDownAgain, m_twDevice, &TidewellDevice::rAddDownAgain);
    connect(down, &LVDownloadManager::rAddDownFiles, m_twDevice, &TidewellDevice::rAddDownFiles);
    connect(down, &LVDownloadManager::rAddDownFiles, this, [this](TW_HANDLE, bool rs) {
        if (rs)
            setLastQueue(1);
    });
    connect(down, &LVDownloadManager::rAddDownUsbFiles, m_twDevice,
            &TidewellDevice::rAddDownFiles);
}

void TidewellTab::startEngines()
{
    // Resumes the entries left waiting or running in the database.
    if (m_down)
        m_down->start();
    if (m_upload)
        m_upload->start();
}

void TidewellTab::stopEngines()
{
    if (m_down)
        m_down->stopAll();
    if (m_upload)
        m_upload->stopAll();
}

void TidewellTab::addUploadFiles(QVariantMap folder, QList<QUrl> paths)
{
    initObjects();
    // Kept for the question before a repeated upload and for the toast.
    m_askFolder = TwFolderInfo::fromVariantMap(folder);
    m_askPaths = paths;
    m_upload->addUpFiles(m_askFolder, paths, false);
}

void TidewellTab::onAddUpFiles2(TwFolderInfo folder, QList<QUrl> paths, bool isUp)
{
    m_askFolder = folder;
    m_askPaths = paths;
    emit rUploadAskTip(isUp);
}

void TidewellTab::goUploadFiles()
{
    initObjects();
    m_upload->addUpFiles(m_askFolder, m_askPaths, true);
}

void TidewellTab::setLastQueue(int queue)
{
    if (queue == m_lastQueue)
        return;
    m_lastQueue = queue;
    emit lastQueueChanged();
}

void TidewellTab::onAddUpFiles(bool rs)
{
    if (rs) {
        setLastQueue(0);
        notifyStatus(1, tr("%n file Add upload file completed", "", m_askPaths.size()), 1);
        m_upload->getTotalNum();
    } else {
        notifyStatus(0, tr("Add upload file faile"), 2);
    }
}

TidewellTab::Session TidewellTab::session() const
{
    std::lock_guard<std::mutex> lock(m_sessionMutex);
    return m_session;
}

void TidewellTab::resetSession(bool makeNew)
{
    Session old;
    std::unique_ptr<Observer> oldObserver;
    {
        std::lock_guard<std::mutex> lock(m_sessionMutex);
        old = std::move(m_session);
        oldObserver = std::move(m_observer);
        ++m_generation;
        if (makeNew) {
            m_session = std::make_shared<sdk::plugins::tidewell_network_sdk>();
            m_session->init(m_option);
            m_observer.reset(new Observer(this, m_generation));
            m_session->set_observer(m_observer.get());
        }
    }
    // After set_observer returns the old observer is not called any more.
    if (old)
        old->set_observer(nullptr);
}

bool TidewellTab::connect_to(const QVariantMap& device)
{
    return connect_to(DeviceInfo::fromVariantMap(device));
}

bool TidewellTab::connect_to(const DeviceInfo& device)
{
    qDebug() << "TidewellTab::connect_to - call." << device.deviceId;
    initObjects();
    stopThumb();
    const bool switching = m_hasDevice && m_device.deviceId != device.deviceId;
    if (switching)
        stopAllTask();
    // A fresh session per device: calls still running on the old one keep
    // it alive until they end.
    if (switching || !session())
        resetSession(true);
    {
        std::lock_guard<std::mutex> lock(m_deviceMutex);
        m_device = device;
    }
    m_hasDevice = true;
    emit deviceChanged();
    setState(tidewell::link_offline);

    model::device_addr addr;
    addr.lan_host = device.lanHost.toStdString();
    addr.lan_port = device.lanPort;
    addr.map_host = device.mapHost.toStdString();
    addr.map_port = device.mapPort;
    addr.remote_host = device.remoteHost.toStdString();
    addr.remote_port = device.remotePort;
    addr.device_id = device.deviceId.toStdString();
    addr.token = device.deviceToken.toStdString();

    Session net = session();
    const UserInfo user = userInfo();
    model::user_info u;
    u.access_id = (device.accessId.isEmpty() ? user.accessId : device.accessId).toStdString();
    u.cookie = user.cookie.toStdString();
    net->set_user_info(u);
    if (!net->switch_device(addr)) {
        qWarning() << "TidewellTab::connect_to - the device has no address:" << device.deviceId;
        return false;
    }
    return true;
}

bool TidewellTab::try_connect()
{
    Session net = session();
    if (!net || !m_hasDevice)
        return false;
    pauseThumb();
    return net->reconnect_device();
}

void TidewellTab::close()
{
    qDebug() << "TidewellTab::close - call.";
    m_retryTimer->stop();
    m_keepAliveTimer->stop();
    stopThumb();
    stopAllTask();
    resetSession(false);
    m_hasDevice = false;
    setState(tidewell::link_offline);
}

void TidewellTab::stopAllTask()
{
    stopEngines();
}

void TidewellTab::onLibState(quint64 generation, int state)
{
    {
        std::lock_guard<std::mutex> lock(m_sessionMutex);
        if (generation != m_generation)
            return;   // a report of a session already replaced
    }
    setState(state);
}

void TidewellTab::setState(int state)
{
    const int old = m_linkState.exchange(state);
    if (old == state)
        return;
    qDebug() << "TidewellTab::setState -" << old << "->" << state;
    if (state > tidewell::link_connecting)
        resumeThumb();
    if (state >= tidewell::link_lan) {
        m_retryTimer->stop();
        if (m_keepAliveTimer->interval() > 0)
            m_keepAliveTimer->start();
    } else {
        m_keepAliveTimer->stop();
    }
    if (state == tidewell::link_offline && m_hasDevice && session())
        m_retryTimer->start();
    emit linkStateChanged(state);
    if (state >= tidewell::link_lan && old < tidewell::link_lan) {
        startEngines();
        emit connected();
    } else if (state < tidewell::link_lan && old >= tidewell::link_lan) {
        emit disconnected();
    }
}

void TidewellTab::onRetry()
{
    Session net = session();
    if (!net || !m_hasDevice || m_linkState.load() != tidewell::link_offline) {
        m_retryTimer->stop();
        return;
    }
    qDebug() << "TidewellTab::onRetry - reconnect" << m_device.deviceId;
    net->reconnect_device();
}

void TidewellTab::onKeepAlive()
{
    Session net = session();
    if (!net || m_linkState.load() < tidewell::link_lan || m_checking.exchange(true))
        return;
    // A lost link shows only when a call fails: ask the device, off this
    // thread, and have the library probe again when it does not answer.
    m_checks.execute([this, net] {
        model::resp_info info;
        if (!net->api_req("", "ping", TidewellNet::kDevicePath, 5, &info) || info.code != 1) {
            qDebug() << "TidewellTab::onKeepAlive - device not answering, reconnect.";
            net->reconnect_device();
        }
        m_checking = false;
    });
}

QVariantMap TidewellTab::deviceMap() const
{
    return m_hasDevice ? m_device.toVariantMap() : QVariantMap();
}

bool TidewellTab::device_online(const NetworkShare& share, OnlineFn fn)
{
    Q_UNUSED(share)
    // Held for the whole call: closing or switching the tab meanwhile cannot
    // free the library object under fn.
    Session net = session();
    const int state = net ? net->link_state() : tidewell::link_offline;
    if (net && state >= tidewell::link_lan) {
        if (!fn)
            return false;
        return fn(net.get(), state == tidewell::link_lan || state == tidewell::link_lan_mapped);
    }
    qDebug() << "TidewellTab::device_online - tryConnect not impliment.";
    // Never block the caller: the thumbnail pause runs later on the tab's
    // thread, the library reconnects on its own.
    QMetaObject::invokeMethod(this, [this] { pauseThumb(); }, Qt::QueuedConnection);
    if (net && m_hasDevice)
        net->reconnect_device();
    return false;
}

bool TidewellTab::isOnline()
{
    Session net = session();
    return net && net->link_state() != tidewell::link_offline;
}

bool TidewellTab::isLan()
{
    Session net = session();
    const int s = net ? net->link_state() : 0;
    return s == tidewell::link_lan || s == tidewell::link_lan_mapped;
}

int TidewellTab::netType()
{
    Session net = session();
    switch (net ? net->link_state() : 0) {
    case tidewell::link_offline: return -1;
    case tidewell::link_lan: return 1;
    case tidewell::link_lan_mapped: return 2;
    case tidewell::link_remote: return 3;
    default: return 0;
    }
}

QString TidewellTab::downloadPath()
{
    if (m_root)
        return m_root->downloadPath();
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}

UserInfo TidewellTab::userInfo()
{
    return m_root ? m_root->userInfo() : UserInfo();
}

DeviceInfo* TidewellTab::deviceInfo()
{
    return &m_device;
}

DeviceInfo TidewellTab::currentDevice()
{
    std::lock_guard<std::mutex> lock(m_deviceMutex);
    return m_device;
}

int TidewellTab::deviceType()
{
    if (!m_hasDevice)
        return 0;
    const QString sn = currentDevice().deviceSn;
    for (int i = 1; i <= 3; ++i) {
        if (sn.startsWith("QX" + QString::number(i)))
            return i;
    }
    return 0;
}

bool TidewellTab::isPCDevice()
{
    return m_hasDevice && currentDevice().deviceModel.startsWith("QXP");
}

sdk::plugins::tidewell_network_sdk* TidewellTab::networkSdk()
{
    return session().get();
}
