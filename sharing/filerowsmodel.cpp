#include "sharing/filerowsmodel.h"

#include <QDebug>
#include <QFileInfo>
#include <QSet>

#include "core/common.h"
#include "core/utils.h"

FileRowsModel::FileRowsModel(QObject* parent) : BaseListModel(parent) {}

int FileRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant FileRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !validRow(index.row()))
        return QVariant();
    const TwFileInfo& item = m_rows.at(index.row());
    switch (role) {
    case FileNameRole:
        return shownName(item.name);
    case FileIconRole:
        return item.isFile ? getMediaType(QFileInfo(item.name).suffix()) : int(Common::MT_Folder);
    case FileSizeRole:
        return item.isFile ? formatFileSize(item.fileLen) : QString("--");
    case FileTimeRole:
        return formatMSecs(rowTime(item), "yyyy-MM-dd HH:mm");
    case FileThumbUrlRole: {
        TwFileInfo typed = item;
        typed.fileType();
        return const_cast<FileRowsModel*>(this)->fileIconUrl(typed);
    }
    case SelectedRole:
        return m_selectMap.contains(index.row());
    default:
        return extraData(item, role);
    }
}

QHash<int, QByteArray> FileRowsModel::roleNames() const
{
    const QHash<int, QByteArray> names = withRoles(BaseListModel::roleNames(), {
        {FileNameRole, "$FileName"},
        {FileIconRole, "$FileIcon"},
        {FileSizeRole, "$FileSize"},
        {FileTimeRole, "$FileTime"},
        {FileThumbUrlRole, "$FileThumbUrl"},
        {SelectedRole, "$Selected"},
    });
    return withRoles(names, extraRoleNames());
}

QVariant FileRowsModel::extraData(const TwFileInfo&, int) const
{
    return QVariant();
}

QHash<int, QByteArray> FileRowsModel::extraRoleNames() const
{
    return {};
}

qint64 FileRowsModel::rowTime(const TwFileInfo& item) const
{
    return item.lastModified;
}

int FileRowsModel::defaultRow() const
{
    return m_selectMap.isEmpty() ? -1 : m_selectMap.firstKey();
}

// ---- selection -------------------------------------------------------------

void FileRowsModel::allSelect()
{
    if (m_selectMap.size() < m_rows.size()) {
        for (int i = 0; i < m_rows.size(); ++i)
            m_selectMap.insert(i, m_rows.at(i).id);
    } else {
        m_selectMap.clear();
    }
    selectionChanged();
}

void FileRowsModel::singleSelect(int itemIndex, bool isFocus)
{
    if (itemIndex == -1) {
        m_selectMap.clear();
    } else if (!validRow(itemIndex)) {
        return;
    } else if (m_selectMap.contains(itemIndex)) {
        if (isFocus)
            return;
        m_selectMap.clear();
    } else {
        m_selectMap.clear();
        m_selectMap.insert(itemIndex, m_rows.at(itemIndex).id);
        setCurrentSelected(itemIndex);
    }
    selectionChanged();
}

void FileRowsModel::multiSelect(int itemIndex)
{
    if (!validRow(itemIndex))
        return;
    if (m_selectMap.contains(itemIndex)) {
        m_selectMap.remove(itemIndex);
    } else {
        m_selectMap.insert(itemIndex, m_rows.at(itemIndex).id);
        setCurrentSelected(itemIndex);
    }
    selectionChanged(itemIndex);
}

void FileRowsModel::clearSelection()
{
    m_selectMap.clear();
    selectionChanged();
}

void FileRowsModel::selectionChanged(int row)
{
    if (!m_rows.isEmpty()) {
        if (validRow(row))
            emit dataChanged(index(row), index(row), {SelectedRole});
        else
            emit dataChanged(index(0), index(m_rows.size() - 1), {SelectedRole});
    }
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
}

int FileRowsModel::selectNum()
{
    return m_selectMap.size();
}

bool FileRowsModel::isAll()
{
    return !m_rows.isEmpty() && m_selectMap.size() == m_rows.size();
}

int FileRowsModel::loadFileNum()
{
    return m_loadFileNum;
}

bool FileRowsModel::isCheck()
{
    return !m_selectMap.isEmpty();
}

QList<TwFileInfo> FileRowsModel::selectedItems()
{
    QList<TwFileInfo> out;
    for (auto it = m_selectMap.begin(); it != m_selectMap.end(); ++it)
        if (validRow(it.key()))
            out.append(m_rows.at(it.key()));
    return out;
}

// ---- reading rows ----------------------------------------------------------

TwFileInfo FileRowsModel::typedItem(int row) const
{
    TwFileInfo item = m_rows.value(row);
    item.fileType();
    return item;
}

QVariantMap FileRowsModel::get(int itemIndex)
{
    const int row = itemIndex == -1 ? defaultRow() : itemIndex;
    if (!validRow(row))
        return QVariantMap();
    return typedItem(row).toVariantMap();
}

void FileRowsModel::fileOpen()
{
    notifyStatus(100201, tr("No Impliment."), TL_Info);
}

int FileRowsModel::itemsOfKind(QList<TwFileInfo>& out, int kind)
{
    for (int i = 0; i < m_rows.size(); ++i) {
        const TwFileInfo item = typedItem(i);
        if (item.type == kind)
            out.append(item);
    }
    return out.size();
}

int FileRowsModel::rowOfId(qint64 fileId) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).id == fileId)
            return i;
    return -1;
}

// ---- changing rows ---------------------------------------------------------

void FileRowsModel::replaceRows(const QList<TwFileInfo>& items)
{
    const bool hadSelection = !m_selectMap.isEmpty();
    beginResetModel();
    m_rows = items;
    m_selectMap.clear();
    endResetModel();
    m_loadFileNum = m_rows.size();
    if (hadSelection)
        emit selectNumChanged();
}

void FileRowsModel::appendRows(const QList<TwFileInfo>& items)
{
    if (!items.isEmpty()) {
        beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size() + items.size() - 1);
        m_rows += items;
        endInsertRows();
    }
    m_loadFileNum = m_rows.size();
}

void FileRowsModel::insertRowAt(int row, const TwFileInfo& item)
{
    row = qBound(0, row, m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(row, item);
    endInsertRows();
    m_loadFileNum = m_rows.size();
    clearSelection();
}

int FileRowsModel::removeIds(const QList<qint64>& ids)
{
    const QSet<qint64> gone(ids.begin(), ids.end());
    QSet<qint64> keepSelected;
    for (auto it = m_selectMap.begin(); it != m_selectMap.end(); ++it)
        if (!gone.contains(it.value()))
            keepSelected.insert(it.value());
    int removed = 0;
    // From the last row up, so the rows still to visit keep their numbers.
    for (int i = m_rows.size() - 1; i >= 0; --i) {
        if (!gone.contains(m_rows.at(i).id))
            continue;
        beginRemoveRows(QModelIndex(), i, i);
        m_rows.removeAt(i);
        endRemoveRows();
        ++removed;
    }
    m_selectMap.clear();
    for (int i = 0; i < m_rows.size(); ++i)
        if (keepSelected.contains(m_rows.at(i).id))
            m_selectMap.insert(i, m_rows.at(i).id);
    if (!validRow(currentSelected()))
        setCurrentSelected(-1);
    m_loadFileNum = m_rows.size();
    if (removed > 0) {
        listShifted();
        selectionChanged();
    }
    return removed;
}

// ---- download hand-over ----------------------------------------------------

void FileRowsModel::downloadSelection(const QString& savePath)
{
    const QList<TwFileInfo> items = selectedItems();
    if (items.isEmpty()) {
        notifyStatus(1, tr("not selected item."), TL_Info);
        return;
    }
    downloadBusy(true);
    if (!handOver(savePath, items)) {
        downloadBusy(false);
        notifyStatus(303, tr("Failed to add file to download"), TL_Error);
    }
}

bool FileRowsModel::handOver(const QString&, const QList<TwFileInfo>&)
{
    return false;
}

void FileRowsModel::downloadBusy(bool on)
{
    if (on)
        showLoading();
    else
        cancelLading();
}

void FileRowsModel::onAddDownFiles(TW_HANDLE handle, bool rs)
{
    if (!isMine(handle, "FileRowsModel::onAddDownFiles"))
        return;
    downloadBusy(false);
    if (!rs) {
        notifyStatus(303, tr("Failed to add file to download"), TL_Error);
        return;
    }
    notifyStatus(-1, tr("Already added to download"), m_downloadOkLevel);
    clearSelection();
}

// ---- answers ---------------------------------------------------------------

void FileRowsModel::pageFailed(int code, const QString& message, bool toastAlways, const char* where)
{
    if (m_rows.isEmpty()) {
        // No count over an error view.
        if (m_fileNum != 0)
            setFileNum(0);
        defaultStateChange(DS_Error, message);
    }
    if (toastAlways || !m_rows.isEmpty())
        notifyStatus(code, message, TL_Error);
    qDebug() << where << code << message;
    stopPaging(where);
    m_isResetting = false;
}

void FileRowsModel::busyRefused()
{
    qDebug() << "FileRowsModel - the facade sent nothing.";
    cancelLading();
}

void FileRowsModel::rThumbFinished(ThumbInfo info, int code, QString)
{
    if (code != 1 && code != 100310)
        return;
    for (int i = 0; i < m_rows.size(); ++i) {
        const TwFileInfo& item = m_rows.at(i);
        if (item.id == info.fileId && item.fileMd5 == info.fileMd5) {
            emit dataChanged(index(i), index(i), {FileThumbUrlRole});
            return;
        }
    }
}

// ---- thumbnail service ----------------------------------------------------

void FileRowsModel::setThumb(QObject* thumb)
{
    if (thumb == m_thumb)
        return;
    disconnect(m_thumbConnection);
    BaseListModel::setThumb(thumb);
    if (m_thumb && m_thumb->metaObject()->indexOfSignal("sFinished(ThumbInfo,int,QString)") >= 0)
        m_thumbConnection = connect(m_thumb, SIGNAL(sFinished(ThumbInfo,int,QString)), this,
                                    SLOT(rThumbFinished(ThumbInfo,int,QString)));
}

bool FileRowsModel::answered(TW_HANDLE handle, const char* where, int result, const QString& message)
{
    if (!isMine(handle, where))
        return false;
    cancelLading();
    return succeeded(result, message);
}

QVariantList FileRowsModel::getSelectFolderIds()
{
    qDebug() << "----getSelectFolderIds-----fileMove----1";
    QVariantList ids;
    for (auto it = m_selectMap.cbegin(); it != m_selectMap.cend(); ++it) {
        if (validRow(it.key()) && !m_rows.at(it.key()).isFile) {
            qDebug() << "----getSelectFolderIds-----fileMove----3" << it.value();
            ids.append(int(it.value()));
        }
    }
    qDebug() << "----getSelectFolderIds-----fileMove----2";
    return ids;
}

void FileRowsModel::resetData()
{
    if (m_isResetting)
        return;
    m_isResetting = true;
    m_selectMap.clear();
    emit selectNumChanged();
    beginResetModel();
    // Pages asked for before belong to the old list; the view may ask for
    // the first page as soon as the rows are gone.
    restartPaging();
    m_page = 1;
    m_rows.clear();
    m_loadFileNum = 0;
    m_fileNum = 0;
    endResetModel();
    emit fileNumChanged();
}
