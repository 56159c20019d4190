#include "transfer/uploadfilemodel.h"

#include <QDebug>

#include "transfer/lvfinishmanager.h"
#include "transfer/lvuploadmanager.h"

UploadFileModel::UploadFileModel(QObject* parent) : TransferListModel(parent) {}

UploadFileModel::~UploadFileModel()
{
    qInfo() << "~~~~~UploadFileModel";
}

QVariant UploadFileModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !isValidRow(index.row()))
        return QVariant();
    return roleData(m_rows.at(index.row()), role, isSelected(index.row()));
}

bool UploadFileModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !isValidRow(index.row()))
        return false;
    return writeRole(m_rows[index.row()], value, role);
}

LVUploadManager* UploadFileModel::manager() const
{
    return qobject_cast<LVUploadManager*>(m_tw.data());
}

void UploadFileModel::setTw(QObject* obj)
{
    if (obj == m_tw)
        return;
    if (m_tw)
        disconnect(m_tw, nullptr, this, nullptr);
    m_tw = obj;
    if (LVUploadManager* um = manager()) {
        connect(um, &LVUploadManager::rStart, this, &UploadFileModel::rStart);
        connect(um, &LVUploadManager::rStop, this, &UploadFileModel::rStop);
        connect(um, &LVUploadManager::rGetTotalNum, this, &UploadFileModel::rGetTotalNum);
        connect(um, &LVUploadManager::rAddUpFiles, this, &UploadFileModel::rAddUpFiles);
        connect(um, &LVUploadManager::rUploadStart, this, &UploadFileModel::rUploadStart);
        connect(um, &LVUploadManager::rUploadProgress, this, &UploadFileModel::rUploadProgress);
        connect(um, &LVUploadManager::rUploadFinish, this, &UploadFileModel::rUploadFinish);
        connect(um, &LVUploadManager::rUploadPause, this, &UploadFileModel::rUploadPause);
        connect(um, &LVUploadManager::rUploadError, this, &UploadFileModel::rUploadError);
    } else if (obj) {
        qWarning() << "UploadFileModel - tw is not an upload manager:" << obj;
    }
    emit twChanged();
}

void UploadFileModel::connectFinishManager(LVFinishManager* fm)
{
    connect(fm, &LVFinishManager::rUpFileList, this, &UploadFileModel::rUpFileList);
    connect(fm, &LVFinishManager::rGetUpFileState, this, &UploadFileModel::rGetUpFileState);
}

void UploadFileModel::sendPageRequest(LVFinishManager* fm, int page, int pageSize, int serial)
{
    qInfo() << "UploadFileModel::loadData------------begin";
    showLoading();
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
    cancelLading();
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
    LVUploadManager* um = manager();
    const QList<UploadFileInfo> list = selectedRecords(m_rows, true);
    if (um && !list.isEmpty())
        emit um->sStartUpFiles(list);
}

void UploadFileModel::pauseSelect()
{
    LVUploadManager* um = manager();
    const QList<UploadFileInfo> list = selectedRecords(m_rows, true);
    if (um && !list.isEmpty())
        emit um->sPauseUpFiles(list);
}

void UploadFileModel::deleteSelect()
{
    LVUploadManager* um = manager();
    const QList<UploadFileInfo> list = selectedRecords(m_rows, false);
    if (um && !list.isEmpty())
        emit um->sDeleteUpFiles(list);
}

void UploadFileModel::startFile(int index)
{
    LVUploadManager* um = manager();
    if (um && isValidRow(index))
        emit um->sStartUpFile(m_rows.at(index));
}

void UploadFileModel::pauseFile(int index)
{
    LVUploadManager* um = manager();
    if (um && isValidRow(index))
        emit um->sPauseUpFile(m_rows.at(index));
}

void UploadFileModel::deleteFile(int index)
{
    LVUploadManager* um = manager();
    if (um && isValidRow(index))
        emit um->sDeleteFile(m_rows.at(index));
}

QVariantMap UploadFileModel::getFileData(int index) const
{
    return rowMap(m_rows, index);
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
    applyPage(m_rows, files);
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
    reportStart(m_rows, fInfo);
}

void UploadFileModel::rUploadProgress(UploadFileInfo fInfo)
{
    reportProgress(m_rows, fInfo);
}

void UploadFileModel::rUploadFinish(UploadFileInfo fInfo)
{
    qInfo() << "UploadFileModel::rUploadFinish--------begin";
    const int before = m_rows.size();
    recordFinished(fInfo.fId);
    if (m_rows.size() < before)
        qInfo() << "UploadFileModel::rUploadFinish--------end";
}

void UploadFileModel::rUploadPause(UploadFileInfo fInfo)
{
    reportPause(m_rows, fInfo);
}

void UploadFileModel::rUploadError(UploadFileInfo fInfo)
{
    reportError(m_rows, fInfo);
}

void UploadFileModel::rGetUpFileState(int state)
{
    takeTaskState(state);
}
