#include "transfer/smartdownmodel.h"

#include "core/utils.h"

SmartDownModel::SmartDownModel(QObject* parent) : BtTaskModel(SelectedRole, parent) {}

QVariant SmartDownModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !validRow(index.row()))
        return QVariant();
    const BtTaskInfo& t = m_rows.at(index.row());
    bool known = false;
    const QVariant common = commonData(t, role, known);
    if (known)
        return common;
    switch (role) {
    case ReceiveSizeRole: return formatFileSize(t.recvSize);
    case FileSizeRole: return formatFileSize(t.size);
    case StatusRole: return t.status;
    case PValRole: return float(t.progress) / 100.0f;
    case SpeedRole: return formatFileSize(t.speed) + "/s";
    case SelectedRole: return m_selection.contains(index.row());
    default: return QVariant();
    }
}

QHash<int, QByteArray> SmartDownModel::roleNames() const
{
    return withRoles(QAbstractListModel::roleNames(), {
        {FileIconRole, "$FileIcon"},
        {FileNameRole, "$FileName"},
        {ReceiveSizeRole, "$ReceiveSize"},
        {FileSizeRole, "$FileSize"},
        {StatusRole, "$Status"},
        {PValRole, "$PVal"},
        {SpeedRole, "$Speed"},
        {SelectedRole, "$Selected"},
    });
}

void SmartDownModel::loadData()
{
    emit fileNumChanged();
    if (m_rows.isEmpty())
        showLoading();
    emit sBtGetTaskList(m_handle, 1, 1, kPageSize);
}

void SmartDownModel::refershData()
{
    m_selection.clear();
    emitCounts();
    loadData();
}

void SmartDownModel::allStart()
{
    if (!m_rows.isEmpty())
        operate(2, 2, QString(), false);
}

void SmartDownModel::allPause()
{
    if (!m_rows.isEmpty())
        operate(1, 2, QString(), false);
}

void SmartDownModel::allDelete(bool isDeleteFile)
{
    if (!m_rows.isEmpty())
        operate(3, 3, QString(), isDeleteFile);
}

void SmartDownModel::deleteTask(int itemIndex, bool isDel)
{
    if (validRow(itemIndex))
        operate(3, 1, m_rows.at(itemIndex).downId, isDel);
}

void SmartDownModel::startTask(int itemIndex)
{
    if (validRow(itemIndex))
        operate(2, 1, m_rows.at(itemIndex).downId, false);
}

void SmartDownModel::pauseTask(int itemIndex)
{
    if (validRow(itemIndex))
        operate(1, 1, m_rows.at(itemIndex).downId, false);
}

void SmartDownModel::onBtGetTaskList(TW_HANDLE handle, BTGetTaskListResp dataRsp)
{
    if (!mine(handle))
        return;
    cancelLading();
    if (dataRsp.ok()) {
        beginResetModel();
        m_selection.clear();
        m_rows = dataRsp.list;
        endResetModel();
        showListState();
        emitCounts();
    } else {
        if (!m_rows.isEmpty())
            notifyStatus(dataRsp.code(), dataRsp.message, TL_Error);
        else
            defaultStateChange(DS_Error, dataRsp.message);
        emit fileNumChanged();
    }
    computeTaskState();
}

void SmartDownModel::computeTaskState()
{
    int paused = 0;
    int others = 0;
    for (const BtTaskInfo& t : qAsConst(m_rows))
        ++(t.status == 3 ? paused : others);
    if (paused > 0 && others == 0)
        m_taskState = 1;
    else if (paused > 0 && others > 0)
        m_taskState = 2;
    else
        m_taskState = 0;
    emit taskStateChanged();
}
