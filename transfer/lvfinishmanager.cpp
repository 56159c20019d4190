#include "transfer/lvfinishmanager.h"

#include <QDebug>
#include <QThread>

#include "core/dbhelp.h"
#include "core/deviceinfo.h"
#include "core/tidewell.h"

LVFinishManager::LVFinishManager() : QObject(nullptr)
{
    // The records travel through queued connections to and from the worker.
    qRegisterMetaType<DownFileInfo>("DownFileInfo");
    qRegisterMetaType<UploadFileInfo>("UploadFileInfo");
    qRegisterMetaType<FinishFileInfo>("FinishFileInfo");
    qRegisterMetaType<QList<DownFileInfo>>("QList<DownFileInfo>");
    qRegisterMetaType<QList<UploadFileInfo>>("QList<UploadFileInfo>");
    qRegisterMetaType<QList<FinishFileInfo>>("QList<FinishFileInfo>");

    m_thread = new QThread();
    m_thread->setObjectName("LVFinishManager");
    moveToThread(m_thread);
    m_thread->start(QThread::InheritPriority);
}

LVFinishManager::~LVFinishManager()
{
    m_thread->quit();
    // Deleted through deleteLater the destructor runs on the worker itself,
    // which cannot wait for its own end.
    if (QThread::currentThread() != m_thread)
        m_thread->wait();
    m_thread->deleteLater();
    if (m_ownsDb)
        delete m_db;
    m_db = nullptr;
}

bool LVFinishManager::init(Tidewell* owner, DBHelp* db)
{
    if (!owner) {
        qWarning() << "LVFinishManager::init - no owner.";
        return false;
    }
    if (m_owner) {
        qWarning() << "LVFinishManager::init - already initialised.";
        return true;
    }
    m_owner = owner;
    if (db) {
        m_db = db;
        m_ownsDb = false;
    } else {
        m_db = new DBHelp(DBHelp::App);
        m_ownsDb = true;
    }

    connect(this, &LVFinishManager::sGetTotalNum, this, &LVFinishManager::oGetTotalNum);
    connect(this, &LVFinishManager::sGetFinishFileList, this,
            &LVFinishManager::oGetFinishFileList);
    connect(this, &LVFinishManager::sDeleteAll, this, &LVFinishManager::oDeleteAll);
    connect(this, &LVFinishManager::sDeleteFinishFiles, this,
            &LVFinishManager::oDeleteFinishFiles);
    connect(this, &LVFinishManager::sGetUploadFailFiles, this,
            &LVFinishManager::oGetUploadFailFiles);
    connect(this, &LVFinishManager::sGetDownloadFailFiles, this,
            &LVFinishManager::oGetDownloadFailFiles);
    connect(this, &LVFinishManager::sUpFileList, this, &LVFinishManager::oUpFileList);
    connect(this, &LVFinishManager::sDownFileList, this, &LVFinishManager::oDownFileList);
    connect(this, &LVFinishManager::sGetUpFileState, this, &LVFinishManager::oGetUpFileState);
    connect(this, &LVFinishManager::sGetDownFileState, this,
            &LVFinishManager::oGetDownFileState);
    return true;
}

void LVFinishManager::currentKeys(QString& accessId, QString& deviceId) const
{
    const DeviceInfo* dev = m_owner ? m_owner->deviceInfo() : nullptr;
    if (!dev) {
        qWarning() << "LVFinishManager - owner has no current device.";
        accessId.clear();
        deviceId.clear();
        return;
    }
    const DeviceInfo copy = *dev;
    accessId = copy.accessId;
    deviceId = copy.deviceId;
}

void LVFinishManager::oGetTotalNum()
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    int num = 0;
    const bool rs = m_db->getFinishFileTotalNum(accessId, deviceId, num);
    qInfo().noquote() << "LVFinishManager::oGetTotalNum - " + accessId + ":" + deviceId
                             + ", rs " + (rs ? "true" : "false") + ", " + QString::number(num);
    emit rGetTotalNum(rs, num);
}

void LVFinishManager::oGetFinishFileList(int pageIndex, int pageSize, int serial)
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    qInfo().noquote() << "LVFinishManager::oGetFinishFileList - " + QString::number(pageIndex)
                             + ":" + QString::number(pageSize) + ", " + accessId + " - "
                             + deviceId;
    QList<FinishFileInfo> list;
    const bool rs = m_db->getFinishFileList(pageIndex, pageSize, accessId, deviceId, list);
    emit rGetFinishFileList(rs, list, serial);
}

void LVFinishManager::oDeleteAll()
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    emit rDeleteAll(m_db->deleteAllFinishFile(accessId, deviceId));
}

void LVFinishManager::oDeleteFinishFiles(QList<FinishFileInfo> listData, int serial)
{
    emit rDeleteFinishFiles(m_db->deleteFinishFiles(listData), serial);
}

void LVFinishManager::oGetUploadFailFiles(int pageIndex, int pageSize, UploadFileInfo parentInfo,
                                          int serial)
{
    QList<UploadFileInfo> list;
    const bool rs = m_db->getUploadFailFileList(pageIndex, pageSize, parentInfo, list);
    emit rGetUploadFailFiles(rs, list, serial);
}

void LVFinishManager::oGetDownloadFailFiles(int pageIndex, int pageSize, DownFileInfo parentInfo,
                                            int serial)
{
    QList<DownFileInfo> list;
    const bool rs = m_db->getDownFailFileList(pageIndex, pageSize, parentInfo, list);
    emit rGetDownloadFailFiles(rs, list, serial);
}

void LVFinishManager::oUpFileList(int pageIndex, int pageSize, int serial)
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    QList<UploadFileInfo> list;
    const bool rs = m_db->getUploadFileList(pageIndex, pageSize, accessId, deviceId, list);
    for (UploadFileInfo& f : list) {
        if (f.isFolder)
            f.num = m_db->getUploadSubFileNum(f.fId);
    }
    emit rUpFileList(rs ? 1 : 0, list, serial);
}

void LVFinishManager::oDownFileList(int pageIndex, int pageSize, int serial)
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    QList<DownFileInfo> list;
    const bool rs = m_db->getDownFileList(pageIndex, pageSize, accessId, deviceId, list);
    for (DownFileInfo& f : list) {
        if (f.isFolder)
            f.num = m_db->getDownSubFileNum(f.fId);
    }
    emit rDownFileList(rs ? 1 : 0, list, serial);
}

void LVFinishManager::oGetUpFileState()
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    int state = 0;
    m_db->getUpFileState(accessId, deviceId, state);
    emit rGetUpFileState(state);
}

void LVFinishManager::oGetDownFileState()
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    int state = 0;
    m_db->getDownFileState(accessId, deviceId, state);
    emit rGetDownFileState(state);
}
