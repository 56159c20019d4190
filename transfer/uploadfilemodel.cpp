#include "transfer/uploadfilemodel.h"

#include <QDebug>

#include "transfer/lvfinishmanager.h"
#include "transfer/lvuploadmanager.h"

UploadFileModel::UploadFileModel(QObject* parent) : TransferQueueModel(parent) {}

UploadFileModel::~UploadFileModel()
{
    qInfo() << "~~~~~UploadFileModel";
}

LVUploadManager* UploadFileModel::manager() const
{
    return m_tw.data();
}

QObject* UploadFileModel::tw() const
{
    return m_tw.data();
}

void UploadFileModel::setTw(QObject* obj)
{
    if (!m_tw.rebind(obj, "UploadFileModel - tw"))
        return;
    if (LVUploadManager* um = manager()) {
        m_tw.add(connect(um, &LVUploadManager::rStart, this, &UploadFileModel::rStart));
        m_tw.add(connect(um, &LVUploadManager::rStop, this, &UploadFileModel::rStop));
        m_tw.add(connect(um, &LVUploadManager::rGetTotalNum, this, &UploadFileModel::rGetTotalNum));
        m_tw.add(connect(um, &LVUploadManager::rAddUpFiles, this, &UploadFileModel::rAddUpFiles));
        m_tw.add(connect(um, &LVUploadManager::rUploadStart, this, &UploadFileModel::rUploadStart));
        m_tw.add(connect(um, &LVUploadManager::rUploadProgress, this, &UploadFileModel::rUploadProgress));
        m_tw.add(connect(um, &LVUploadManager::rUploadFinish, this, &UploadFileModel::rUploadFinish));
        m_tw.add(connect(um, &LVUploadManager::rUploadPause, this, &UploadFileModel::rUploadPause));
        m_tw.add(connect(um, &LVUploadManager::rUploadError, this, &UploadFileModel::rUploadError));
    }
    emit twChanged();
}

QVector<QMetaObject::Connection> UploadFileModel::connectFinishManager(LVFinishManager* fm)
{
    return {connect(fm, &LVFinishManager::rUpFileList, this, &UploadFileModel::rUpFileList),
            connect(fm, &LVFinishManager::rGetUpFileState, this, &UploadFileModel::rGetUpFileState)};
}

void UploadFileModel::sendPageRequest(LVFinishManager* fm, int page, int pageSize, int serial)
{
    qInfo() << "UploadFileModel::loadData------------begin";
    emit fm->sUpFileList(page, pageSize, serial);
    sendTotalRequest();
    emit fm->sGetUpFileState();
    qInfo() << "UploadFileModel::loadData------------end";
}

void UploadFileModel::sendTotalRequest()
{
    if (LVUploadManager* um = manager())
        emit um->sGetTotalNum();
}

void UploadFileModel::sendStateRequest()
{
    if (LVFinishManager* fm = finishManager())
        emit fm->sGetUpFileState();
}

QString UploadFileModel::emptyText() const
{
    return tr("No Upload Task");
}

void UploadFileModel::pageAnswerArrived()
{
    qInfo() << "UploadFileModel::rUpFileList------------begin";
}

void UploadFileModel::startAll()
{
    if (LVUploadManager* um = manager())
        emit um->sAllStart();
}

void UploadFileModel::pauseAll()
{
    if (LVUploadManager* um = manager())
        emit um->sAllPause();
}

void UploadFileModel::deleteAll()
{
    if (LVUploadManager* um = manager())
        emit um->sAllDelete();
}

void UploadFileModel::startSelect()
{
    sendSelected(manager(), &LVUploadManager::sStartUpFiles, true);
}

void UploadFileModel::pauseSelect()
{
    sendSelected(manager(), &LVUploadManager::sPauseUpFiles, true);
}

void UploadFileModel::deleteSelect()
{
    sendSelected(manager(), &LVUploadManager::sDeleteUpFiles, false);
}

void UploadFileModel::startFile(int index)
{
    sendRow(manager(), &LVUploadManager::sStartUpFile, index);
}

void UploadFileModel::pauseFile(int index)
{
    sendRow(manager(), &LVUploadManager::sPauseUpFile, index);
}

void UploadFileModel::deleteFile(int index)
{
    sendRow(manager(), &LVUploadManager::sDeleteFile, index);
}

void UploadFileModel::rStart()
{
    refresh();
}

void UploadFileModel::rStop()
{
    refresh();
}

void UploadFileModel::rGetTotalNum(bool rs, int num)
{
    takeTotal(rs, num);
}

void UploadFileModel::rUpFileList(int rs, QList<UploadFileInfo> files, int serial)
{
    if (!acceptPage(serial, rs != 0))
        return;
    applyPage(files);
    if (!files.isEmpty())
        qInfo() << "UploadFileModel::rUpFileList------------end";
}

void UploadFileModel::rAddUpFiles(bool rs)
{
    if (rs)
        refresh();
}

void UploadFileModel::rUploadStart(UploadFileInfo fInfo)
{
    reportStart(fInfo);
}

void UploadFileModel::rUploadProgress(UploadFileInfo fInfo)
{
    reportProgress(fInfo);
}

void UploadFileModel::rUploadFinish(UploadFileInfo fInfo)
{
    if (fInfo.isSubItem)
        return;
    qInfo() << "UploadFileModel::rUploadFinish--------begin";
    const int before = m_rows.size();
    recordFinished(fInfo.fId);
    if (m_rows.size() < before)
        qInfo() << "UploadFileModel::rUploadFinish--------end";
}

void UploadFileModel::rUploadPause(UploadFileInfo fInfo)
{
    reportPause(fInfo);
}

void UploadFileModel::rUploadError(UploadFileInfo fInfo)
{
    reportError(fInfo);
}

void UploadFileModel::rGetUpFileState(int state)
{
    takeTaskState(state);
}
