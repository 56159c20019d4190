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
    if (!m_owner || !m_owner->deviceInfo()) {
        qWarning() << "LVFinishManager - owner has no current device.";
        accessId.clear();
        deviceId.clear();
        return;
    }
    const DeviceInfo copy = m_owner->currentDevice();
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

template <class Rec>
bool LVFinishManager::queuePage(bool (DBHelp::*readPage)(int, int, const QString&, const QString&,
                                                         QList<Rec>&),
                                int (DBHelp::*subFileNum)(int), int pageIndex, int pageSize,
                                QList<Rec>& list)
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    const bool rs = (m_db->*readPage)(pageIndex, pageSize, accessId, deviceId, list);
    for (Rec& f : list) {
        if (f.isFolder)
            f.num = (m_db->*subFileNum)(f.fId);
    }
    return rs;
}

int LVFinishManager::queueState(bool (DBHelp::*readState)(const QString&, const QString&, int&))
{
    QString accessId, deviceId;
    currentKeys(accessId, deviceId);
    int state = 0;
    (m_db->*readState)(accessId, deviceId, state);
    return state;
}

void LVFinishManager::oUpFileList(int pageIndex, int pageSize, int serial)
{
    QList<UploadFileInfo> list;
    const bool rs = queuePage(&DBHelp::getUploadFileList, &DBHelp::getUploadSubFileNum,
                              pageIndex, pageSize, list);
    emit rUpFileList(rs ? 1 : 0, list, serial);
}

void LVFinishManager::oDownFileList(int pageIndex, int pageSize, int serial)
{
    QList<DownFileInfo> list;
    const bool rs = queuePage(&DBHelp::getDownFileList, &DBHelp::getDownSubFileNum, pageIndex,
                              pageSize, list);
    emit rDownFileList(rs ? 1 : 0, list, serial);
}

void LVFinishManager::oGetUpFileState()
{
    emit rGetUpFileState(queueState(&DBHelp::getUpFileState));
}

void LVFinishManager::oGetDownFileState()
{
    emit rGetDownFileState(queueState(&DBHelp::getDownFileState));
}
