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
    return m_down.data();
}

QObject* DownloadFileModel::down() const
{
    return m_down.data();
}

void DownloadFileModel::setDown(QObject* obj)
{
    if (!m_down.rebind(obj, "DownloadFileModel - down"))
        return;
    if (LVDownloadManager* dm = manager()) {
        m_down.add(connect(dm, &LVDownloadManager::rStart, this, &DownloadFileModel::rStart));
        m_down.add(connect(dm, &LVDownloadManager::rStop, this, &DownloadFileModel::rStop));
        m_down.add(connect(dm, &LVDownloadManager::rGetTotalNum, this, &DownloadFileModel::rGetTotalNum));
        m_down.add(connect(dm, &LVDownloadManager::rDownloadStart, this, &DownloadFileModel::rDownloadStart));
        m_down.add(connect(dm, &LVDownloadManager::rDownloadProgress, this, &DownloadFileModel::rDownloadProgress));
        m_down.add(connect(dm, &LVDownloadManager::rDownloadFinish, this, &DownloadFileModel::rDownloadFinish));
        m_down.add(connect(dm, &LVDownloadManager::rDownloadPause, this, &DownloadFileModel::rDownloadPause));
        m_down.add(connect(dm, &LVDownloadManager::rDownloadError, this, &DownloadFileModel::rDownloadError));
    }
    emit downChanged();
}

QVector<QMetaObject::Connection> DownloadFileModel::connectFinishManager(LVFinishManager* fm)
{
    return {connect(fm, &LVFinishManager::rDownFileList, this, &DownloadFileModel::rDownFileList),
            connect(fm, &LVFinishManager::rGetDownFileState, this, &DownloadFileModel::rGetDownFileState)};
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
