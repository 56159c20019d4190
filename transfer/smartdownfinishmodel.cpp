#include "transfer/smartdownfinishmodel.h"

#include <QDebug>

#include "core/utils.h"

SmartDownFinishModel::SmartDownFinishModel(QObject* parent) : BtTaskModel(SelectedRole, parent) {}

QVariant SmartDownFinishModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !validRow(index.row()))
        return QVariant();
    const BtTaskInfo& t = m_rows.at(index.row());
    bool known = false;
    const QVariant common = commonData(t, role, known);
    if (known)
        return common;
    switch (role) {
    case FileSizeRole: return formatFileSize(t.size);
    case FileDateRole: return formatMSecs(t.finishedTime, "yyyy-MM-dd HH:mm");
    case StatusRole: return t.status;
    case ExceptionRole: return t.exception;
    case SelectedRole: return m_selection.contains(index.row());
    default: return QVariant();
    }
}

QHash<int, QByteArray> SmartDownFinishModel::roleNames() const
{
    return withRoles(QAbstractListModel::roleNames(), {
        {FileIconRole, "$FileIcon"},
        {FileNameRole, "$FileName"},
        {FileSizeRole, "$FileSize"},
        {FileDateRole, "$FileDate"},
        {StatusRole, "$Status"},
        {ExceptionRole, "$Exception"},
        {SelectedRole, "$Selected"},
    });
}

bool SmartDownFinishModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_hasMore;
}

void SmartDownFinishModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_loading || !m_hasMore || !m_tw)
        return;
    m_loading = true;
    emit fileNumChanged();
    ++m_page;
    const bool overlay = m_page == 1;
    if (overlay)
        showLoading();
    emit sBtGetTaskList(TW_HANDLE(m_pages.begin(overlay)), 2, m_page, kPageSize);
}

void SmartDownFinishModel::refershData()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    beginResetModel();
    m_selection.clear();
    m_hasMore = true;
    // A page asked for before belongs to the old list.
    m_pages.invalidate(false);
    m_loading = false;
    m_page = 0;
    m_rows.clear();
    endResetModel();
    emitCounts();
}

void SmartDownFinishModel::allDelete(bool isDeleteFile)
{
    if (!m_rows.isEmpty())
        operate(3, 2, QString(), isDeleteFile);
}

void SmartDownFinishModel::startIndex(int itemIndex)
{
    if (validRow(itemIndex))
        operate(2, 1, m_rows.at(itemIndex).downId, false);
}

void SmartDownFinishModel::deleteIndex(int itemIndex, bool isDel)
{
    if (!validRow(itemIndex))
        return;
    showLoading();
    emit sBtDeleteTask(m_handle, {m_rows.at(itemIndex).downId}, isDel);
}

void SmartDownFinishModel::onBtGetTaskList(TW_HANDLE handle, BTGetTaskListResp dataRsp)
{
    if (!m_pages.takeCurrent(int(handle), this, "SmartDownFinishModel::onBtGetTaskList"))
        return;
    if (!dataRsp.ok()) {
        if (m_rows.isEmpty())
            defaultStateChange(DS_Error, dataRsp.message);
        else
            notifyStatus(dataRsp.code(), dataRsp.message, TL_Error);
        emit fileNumChanged();
        m_loading = false;
        m_refreshing = false;
        // No more pages until the list is loaded again: a view that keeps
        // asking would flood a failing device.
        m_hasMore = false;
        if (m_page > 0)
            --m_page;
        qWarning() << "SmartDownFinishModel::onBtGetTaskList -" << dataRsp.code() << dataRsp.message;
        return;
    }
    m_hasMore = m_page < dataRsp.totalPages;
    if (dataRsp.list.isEmpty()) {
        m_loading = false;
        m_refreshing = false;
        showListState();
        emit fileNumChanged();
        return;
    }
    if (m_page != 1) {
        beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size() + dataRsp.list.size() - 1);
        m_rows += dataRsp.list;
        endInsertRows();
    } else {
        beginResetModel();
        m_rows = dataRsp.list;
        endResetModel();
    }
    showListState();
    m_loading = false;
    m_refreshing = false;
    emitCounts();
}
