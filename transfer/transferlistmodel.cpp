#include "transfer/transferlistmodel.h"

#include <algorithm>

#include <QDebug>

#include "transfer/lvfinishmanager.h"

TransferListModel::TransferListModel(QObject* parent) : PagedListModel(parent) {}

int TransferListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : recordCount();
}

QHash<int, QByteArray> TransferListModel::roleNames() const
{
    return {
        {FileTypeRole, "$FileType"},   {FileNameRole, "$FileName"},
        {ReceiveSizeRole, "$ReceiveSize"}, {WriteSizeRole, "$WriteSize"},
        {FileSizeRole, "$FileSize"},   {StatusRole, "$Status"},
        {PValRole, "$PVal"},           {SpeedRole, "$Speed"},
        {MsgRole, "$Msg"},             {SelectedRole, "$Selected"},
    };
}

QObject* TransferListModel::twfs() const
{
    return m_twfs.data();
}

void TransferListModel::setTwfs(QObject* obj)
{
    if (!m_twfs.rebind(obj, metaObject()->className()))
        return;
    // An answer of the previous manager will not come any more.
    m_req.clear(this);
    m_isRefreshing = false;
    if (LVFinishManager* fm = finishManager()) {
        for (const QMetaObject::Connection& c : connectFinishManager(fm))
            m_twfs.add(c);
    }
    emit twfsChanged();
}

LVFinishManager* TransferListModel::finishManager() const
{
    return m_twfs.data();
}

bool TransferListModel::isAll() const
{
    const int n = recordCount();
    if (n == 0 || m_selected.size() < n)
        return false;
    for (int i = 0; i < n; ++i) {
        if (!m_selected.contains(recordFId(i)))
            return false;
    }
    return true;
}

void TransferListModel::loadData()
{
    if (m_req.busy())
        return;
    LVFinishManager* fm = finishManager();
    if (!fm) {
        qDebug() << metaObject()->className() << "::loadData - no finish manager yet.";
        m_isRefreshing = false;
        return;
    }
    const int serial = beginRequest(pageOverlay());
    // Rows that finished since the last page moved the later ones up by as
    // many places: the page before is read again, or the next page would
    // start past them (what repeats is left out on merge).
    m_askedPage = m_shifted && m_page > 1 ? m_page - 1 : m_page;
    m_shifted = false;
    sendPageRequest(fm, m_askedPage, kPageSize, serial);
}

void TransferListModel::refresh()
{
    if (m_isRefreshing)
        return;
    m_isRefreshing = true;
    m_finishedRows = 0;
    m_hasMore = true;
    m_page = 1;
    m_shifted = false;
    if (m_req.busy())
        m_req.invalidate(true);  // its answer is dropped, then page 1 is asked for
    else
        loadData();
    clearSelectionNotify();
    emitSelectionSignals();
}

void TransferListModel::refershData()
{
    refresh();
}

bool TransferListModel::acceptPage(int serial, bool ok)
{
    return takeAnswer(serial) && pageReadable(ok);
}

int TransferListModel::findRow(int fId) const
{
    const int n = recordCount();
    for (int i = 0; i < n; ++i) {
        if (recordFId(i) == fId)
            return i;
    }
    return -1;
}

bool TransferListModel::isSelected(int row) const
{
    return isValidRow(row) && m_selected.contains(recordFId(row));
}

QList<int> TransferListModel::selectedRows(bool ascending) const
{
    QList<int> rows;
    if (m_selected.isEmpty())
        return rows;
    const int n = recordCount();
    for (int i = 0; i < n; ++i) {
        if (m_selected.contains(recordFId(i)))
            rows.append(i);
    }
    if (!ascending)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

void TransferListModel::notifyRow(int row, const QVector<int>& roles)
{
    const QModelIndex idx = index(row, 0);
    emit dataChanged(idx, idx, roles);
}

void TransferListModel::emitSelectionSignals()
{
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
}

void TransferListModel::setDefaultState()
{
    if (recordCount() > 0)
        defaultStateChange(DS_None, QString());
    else
        defaultStateChange(DS_Empty, emptyText());
}

void TransferListModel::takeTotal(bool rs, int num)
{
    if (!rs)
        return;
    m_totalNum = num;
    emit totalNumChanged();
}

void TransferListModel::takeTaskState(int state)
{
    m_taskState = state;
    emit taskStateChanged();
}

void TransferListModel::recordFinished(int fId)
{
    readAgainIfLoading();
    if (recordCount() == 0)
        return;
    if (m_finishedRows >= kFinishReload) {
        m_finishedRows = 0;
        refresh();
        return;
    }
    ++m_finishedRows;
    const int row = findRow(fId);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    eraseRecord(row);
    endRemoveRows();
    if (m_hasMore)
        m_shifted = true;
    const bool wasSelected = m_selected.remove(fId);
    sendTotalRequest();
    emit loadNumChanged();
    setDefaultState();
    sendStateRequest();
    if (wasSelected)
        emitSelectionSignals();
    else
        emit isAllChanged();
}

void TransferListModel::readAgainIfLoading()
{
    if (m_req.busy())
        m_req.invalidate(true);
}

void TransferListModel::allSelect()
{
    const int n = recordCount();
    if (isAll()) {
        m_selected.clear();
    } else {
        for (int i = 0; i < n; ++i)
            m_selected.insert(recordFId(i));
    }
    if (n > 0)
        emit dataChanged(index(0, 0), index(n - 1, 0), {SelectedRole});
    emitSelectionSignals();
}

void TransferListModel::singleSelect(int itemIndex)
{
    const int n = recordCount();
    if (itemIndex == -1 || isSelected(itemIndex)) {
        m_selected.clear();
    } else if (isValidRow(itemIndex)) {
        m_selected.clear();
        m_selected.insert(recordFId(itemIndex));
    } else {
        return;
    }
    if (n > 0)
        emit dataChanged(index(0, 0), index(n - 1, 0), {SelectedRole});
    emitSelectionSignals();
}

void TransferListModel::multiSelect(int itemIndex)
{
    if (!isValidRow(itemIndex))
        return;
    const int fId = recordFId(itemIndex);
    if (!m_selected.remove(fId))
        m_selected.insert(fId);
    notifyRow(itemIndex, {SelectedRole});
    emitSelectionSignals();
}

void TransferListModel::pruneSelection()
{
    if (m_selected.isEmpty())
        return;
    QSet<int> loaded;
    const int n = recordCount();
    for (int i = 0; i < n; ++i)
        loaded.insert(recordFId(i));
    m_selected.intersect(loaded);
}

void TransferListModel::clearSelectionNotify()
{
    if (m_selected.isEmpty())
        return;
    m_selected.clear();
    const int n = recordCount();
    if (n > 0)
        emit dataChanged(index(0, 0), index(n - 1, 0), {SelectedRole});
}
