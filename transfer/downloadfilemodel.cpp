#include "transfer/downloadfilemodel.h"

#include <QDebug>

#include "transfer/lvdownloadmanager.h"
#include "transfer/lvfinishmanager.h"

DownloadFileModel::DownloadFileModel(QObject* parent) : TransferQueueModel(parent) {}

DownloadFileModel::~DownloadFileModel()
{
    qInfo() << "~~~~~DownloadFileModel";
}

LVDownloadManager* DownloadFileModel::manager() const
{
    return qobject_cast<LVDownloadManager*>(m_down.data());
}

void DownloadFileModel::setDown(QObject* obj)
{
    if (obj == m_down)
        return;
    if (m_down)
        disconnect(m_down, nullptr, this, nullptr);
    m_down = obj;
    if (LVDownloadManager* dm = manager()) {
        connect(dm, &LVDownloadManager::rStart, this, &DownloadFileModel::rStart);
        connect(dm, &LVDownloadManager::rStop, this, &DownloadFileModel::rStop);
        connect(dm, &LVDownloadManager::rGetTotalNum, this, &DownloadFileModel::rGetTotalNum);
        connect(dm, &LVDownloadManager::rDownloadStart, this, &DownloadFileModel::rDownloadStart);
        connect(dm, &LVDownloadManager::rDownloadProgress, this,
                &DownloadFileModel::rDownloadProgress);
        connect(dm, &LVDownloadManager::rDownloadFinish, this,
                &DownloadFileModel::rDownloadFinish);
        connect(dm, &LVDownloadManager::rDownloadPause, this, &DownloadFileModel::rDownloadPause);
        connect(dm, &LVDownloadManager::rDownloadError, this, &DownloadFileModel::rDownloadError);
    } else if (obj) {
        qWarning() << "DownloadFileModel - down is not a download manager:" << obj;
    }
    emit downChanged();
}

void DownloadFileModel::connectFinishManager(LVFinishManager* fm)
{
    connect(fm, &LVFinishManager::rDownFileList, this, &DownloadFileModel::rDownFileList);
    connect(fm, &LVFinishManager::rGetDownFileState, this, &DownloadFileModel::rGetDownFileState);
}

void DownloadFileModel::sendPageRequest(LVFinishManager* fm, int page, int pageSize, int serial)
{
    emit fm->sDownFileList(page, pageSize, serial);
    sendTotalRequest();
    emit fm->sGetDownFileState();
}

void DownloadFileModel::sendTotalRequest()
{
    if (LVDownloadManager* dm = manager())
        emit dm->sGetTotalNum();
}

void DownloadFileModel::sendStateRequest()
{
    if (LVFinishManager* fm = finishManager())
        emit fm->sGetDownFileState();
}

QString DownloadFileModel::emptyText() const
{
    return tr("No Download Task");
}

void DownloadFileModel::startAll()
{
    if (LVDownloadManager* dm = manager())
        emit dm->sAllStart();
}

void DownloadFileModel::pauseAll()
{
    if (LVDownloadManager* dm = manager())
        emit dm->sAllPause();
}

void DownloadFileModel::deleteAll()
{
    if (LVDownloadManager* dm = manager())
        emit dm->sAllDelete();
}

void DownloadFileModel::startSelect()
{
    sendSelected(manager(), &LVDownloadManager::sStartFiles, true);
}

void DownloadFileModel::pauseSelect()
{
    sendSelected(manager(), &LVDownloadManager::sPauseFiles, true);
}

void DownloadFileModel::deleteSelect()
{
    sendSelected(manager(), &LVDownloadManager::sDeleteFiles, false);
}

void DownloadFileModel::startFile(int index)
{
    sendRow(manager(), &LVDownloadManager::sStartFile, index);
}

void DownloadFileModel::pauseFile(int index)
{
    sendRow(manager(), &LVDownloadManager::sPauseFile, index);
}

void DownloadFileModel::deleteFile(int index)
{
    LVDownloadManager* dm = manager();
    if (!dm || !isValidRow(index))
        return;
    const DownFileInfo& f = m_rows.at(index);
    qInfo() << "deleteFile " << f.fId << f.fileName << index;
    emit dm->sDeleteFile(f);
}

void DownloadFileModel::rStart()
{
    refresh();
}

void DownloadFileModel::rStop()
{
    refresh();
}

void DownloadFileModel::rGetTotalNum(bool rs, int num)
{
    takeTotal(rs, num);
}

void DownloadFileModel::rDownFileList(int rs, QList<DownFileInfo> files, int serial)
{
    if (!acceptPage(serial, rs != 0))
        return;
    applyPage(files);
}

void DownloadFileModel::rDownloadStart(DownFileInfo fInfo)
{
    reportStart(fInfo);
}

void DownloadFileModel::rDownloadProgress(DownFileInfo fInfo)
{
    reportProgress(fInfo);
}

void DownloadFileModel::rDownloadFinish(DownFileInfo fInfo)
{
    if (fInfo.isSubItem)
        return;
    recordFinished(fInfo.fId);
}

void DownloadFileModel::rDownloadPause(DownFileInfo fInfo)
{
    reportPause(fInfo);
}

void DownloadFileModel::rDownloadError(DownFileInfo fInfo)
{
    reportError(fInfo);
}

void DownloadFileModel::rGetDownFileState(int state)
{
    takeTaskState(state);
}
