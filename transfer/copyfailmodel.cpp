#include "transfer/copyfailmodel.h"

#include <QDebug>
#include <QFileInfo>

#include <algorithm>

#include "core/utils.h"

CopyFailModel::CopyFailModel(QObject* parent) : BaseModel(parent) {}

int CopyFailModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QString CopyFailModel::infoText(const CopyFailInfo& info)
{
    const int cut = info.tagFile.lastIndexOf('/');
    const QString folder = QFileInfo(cut < 0 ? info.tagFile : info.tagFile.left(cut)).baseName();
    static const QString colon = QStringLiteral("\uFF1A");
    switch (info.type) {
    case 1: case 3: case 4: case 8: case 10:
        return tr("Copy to person") + colon + folder;
    case 2:
        return tr("Copy to SMB") + colon + folder;
    case 5:
        return tr("Copy to peripheral") + colon + folder;
    case 6: case 7: case 9: case 11:
        return tr("Copy to group") + colon + info.groupName;
    default:
        return QString();
    }
}

QString CopyFailModel::errorText(int failcode)
{
    switch (failcode) {
    case 2014: return tr("Capacity is full");
    case 2012: return tr("Source is not exit");
    case 6004: return tr("Group is not exit");
    case 2001: case 2002: return tr("Without permission");
    case 2201: return tr("Unauthorized operation");
    case 404: return tr("File does not exist");
    case 20203: return tr("Space by remove");
    case 20204: return tr("Peripheral by remove");
    case 20205: return tr("Folder by remove");
    default: return tr("Unknown error");
    }
}

QVariant CopyFailModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rows.size())
        return QVariant();
    const CopyFailInfo& r = m_rows.at(index.row());
    switch (role) {
    case FileTypeRole: return getMediaType(QFileInfo(r.name).suffix());
    case FileNameRole: return shownName(r.name);
    case FileInfoRole: return infoText(r);
    case FileNumRole: return r.num;
    case ErrorMsgRole: return errorText(r.failcode);
    case SelectedRole: return m_selection.contains(index.row());
    default: return QVariant();
    }
}

QHash<int, QByteArray> CopyFailModel::roleNames() const
{
    return withRoles(QAbstractListModel::roleNames(), {
        {FileTypeRole, "$FileType"},
        {FileNameRole, "$FileName"},
        {FileInfoRole, "$FileInfo"},
        {FileNumRole, "$FileNum"},
        {ErrorMsgRole, "$ErrorMsg"},
        {SelectedRole, "$Selected"},
    });
}

bool CopyFailModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_hasMore;
}

void CopyFailModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_loading || !m_hasMore || !m_tw)
        return;
    requestPage();
}

void CopyFailModel::setTw(QObject* tw)
{
    if (!m_tw.rebind(tw) || !tw)
        return;
    // The facade sits above this library: its signals are joined by name.
    m_tw.add(connect(this, SIGNAL(sCopyFileFailLists(TW_HANDLE,int,int)), tw,
                     SIGNAL(sCopyFileFailLists(TW_HANDLE,int,int)), Qt::DirectConnection));
    m_tw.add(connect(this, SIGNAL(sRetryCopyTask(TW_HANDLE,QMap<int,qint64>)), tw,
                     SIGNAL(sRetryCopyTask(TW_HANDLE,QMap<int,qint64>)), Qt::DirectConnection));
    m_tw.add(connect(this, SIGNAL(sDeleteCopyFailLists(TW_HANDLE,QMap<int,qint64>)), tw,
                     SIGNAL(sDeleteCopyFailLists(TW_HANDLE,QMap<int,qint64>)), Qt::DirectConnection));
    m_tw.add(connect(tw, SIGNAL(rCopyFileFailLists(TW_HANDLE,CopyFileFailListsResp)), this,
                     SLOT(onCopyFileFailLists(TW_HANDLE,CopyFileFailListsResp))));
    m_tw.add(connect(tw, SIGNAL(rRetryCopyTask(TW_HANDLE,APIBase,QMap<int,qint64>)), this,
                     SLOT(onRetryCopyTask(TW_HANDLE,APIBase,QMap<int,qint64>))));
    m_tw.add(connect(tw, SIGNAL(rDeleteCopyFailLists(TW_HANDLE,APIBase,QMap<int,qint64>)), this,
                     SLOT(onRetryCopyTask(TW_HANDLE,APIBase,QMap<int,qint64>))));
}

void CopyFailModel::setFileNum(qlonglong num)
{
    m_fileNum = num;
    emit fileNumChanged();
}

bool CopyFailModel::isAll() const
{
    return !m_rows.isEmpty() && m_selection.size() >= m_rows.size();
}

void CopyFailModel::requestPage()
{
    if (m_loading)
        return;
    m_loading = true;
    const bool overlay = m_rows.isEmpty();
    if (overlay)
        showLoading();
    emit sCopyFileFailLists(TW_HANDLE(m_pages.begin(overlay)), m_page, kPageSize);
}

void CopyFailModel::resetData()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    m_selection.clear();
    emit isAllChanged();
    emit isCheckChanged();
    beginResetModel();
    m_hasMore = true;
    // A page asked for before belongs to the old list.
    m_pages.invalidate(false);
    m_loading = false;
    m_page = 1;
    m_rows.clear();
    endResetModel();
    requestPage();
}

void CopyFailModel::onCopyFileFailLists(TW_HANDLE handle, CopyFileFailListsResp respData)
{
    if (!m_pages.takeCurrent(int(handle), this, "CopyFailModel::onCopyFileFailLists"))
        return;
    if (!respData.ok()) {
        if (m_rows.isEmpty())
            defaultStateChange(DS_Error, respData.message);
        else
            notifyStatus(respData.code(), respData.message, TL_Error);
        qWarning() << "CopyFailModel::onCopyFileFailLists -" << respData.code() << respData.message;
        // No more pages until the list is loaded again: a view that keeps
        // asking would flood a failing device.
        m_hasMore = false;
        m_loading = false;
        m_refreshing = false;
        return;
    }
    if (m_page > 1) {
        if (!respData.list.isEmpty()) {
            beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size() + respData.list.size() - 1);
            m_rows += respData.list;
            endInsertRows();
        }
    } else {
        beginResetModel();
        m_rows = respData.list;
        endResetModel();
    }
    if (m_page < respData.totalPages) {
        ++m_page;
        m_hasMore = true;
    } else {
        m_hasMore = false;
    }
    m_loading = false;
    m_refreshing = false;
    m_fileNum = respData.fileNum;
    emit fileNumChanged();
    emit isAllChanged();
    emit isCheckChanged();
}

void CopyFailModel::selectionChanged(int row)
{
    if (!m_rows.isEmpty()) {
        const int first = row < 0 ? 0 : row;
        const int last = row < 0 ? m_rows.size() - 1 : row;
        emit dataChanged(index(first), index(last), {SelectedRole});
    }
    emit isAllChanged();
    emit isCheckChanged();
}

void CopyFailModel::allSelect()
{
    if (m_selection.size() < m_rows.size()) {
        for (int i = 0; i < m_rows.size(); ++i)
            m_selection.insert(i, m_rows.at(i).curOperId);
    } else {
        m_selection.clear();
    }
    selectionChanged(-1);
}

void CopyFailModel::clearSelect()
{
    const bool had = !m_selection.isEmpty();
    m_selection.clear();
    if (!m_rows.isEmpty() || had)
        selectionChanged(-1);
}

void CopyFailModel::multiSelect(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= m_rows.size())
        return;
    if (m_selection.contains(itemIndex))
        m_selection.remove(itemIndex);
    else
        m_selection.insert(itemIndex, m_rows.at(itemIndex).curOperId);
    selectionChanged(itemIndex);
}

void CopyFailModel::singleTry(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= m_rows.size())
        return;
    showLoading();
    emit sRetryCopyTask(m_handle, {{itemIndex, m_rows.at(itemIndex).curOperId}});
}

void CopyFailModel::singleDel(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= m_rows.size())
        return;
    showLoading();
    emit sDeleteCopyFailLists(m_handle, {{itemIndex, m_rows.at(itemIndex).curOperId}});
}

void CopyFailModel::batchTry()
{
    if (m_selection.isEmpty())
        return;
    showLoading();
    emit sRetryCopyTask(m_handle, m_selection);
}

void CopyFailModel::batchDel()
{
    if (m_selection.isEmpty())
        return;
    showLoading();
    emit sDeleteCopyFailLists(m_handle, m_selection);
}

void CopyFailModel::onRetryCopyTask(TW_HANDLE handle, APIBase respData, QMap<int, qint64> selectItems)
{
    if (handle != m_handle) {
        qDebug() << handle << " TW_MYSELF is not me";
        return;
    }
    cancelLading();
    if (!respData.ok()) {
        notifyStatus(respData.code(), respData.message, TL_Error);
        return;
    }
    if (selectItems.isEmpty())
        return;
    // The rows may have moved since the request (a reload, another answer):
    // the job ids name them, not the row numbers.
    QList<int> gone;
    for (qint64 id : selectItems) {
        for (int i = 0; i < m_rows.size(); ++i) {
            if (m_rows.at(i).curOperId == id) {
                gone.append(i);
                break;
            }
        }
    }
    std::sort(gone.begin(), gone.end(), std::greater<int>());
    for (int row : gone) {
        beginRemoveRows(QModelIndex(), row, row);
        m_rows.removeAt(row);
        endRemoveRows();
    }
    if (m_rows.isEmpty())
        defaultStateChange(DS_Empty, tr("No Data"));
    else
        defaultStateChange(DS_None, QString());
    clearSelect();
    m_fileNum -= selectItems.size();
    emit fileNumChanged();
    if (m_fileNum != m_rows.size() && m_rows.size() <= 30 && !m_refreshing)
        resetData();
}
