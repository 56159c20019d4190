#include "media/medialistmodel.h"

#include <QDebug>

#include "core/common.h"
#include "core/utils.h"

namespace {
constexpr int kSectionNameRole = 267;
}

MediaListModel::MediaListModel(QObject* parent) : FileListModel(parent)
{
    qDebug() << "MediaListModel::MediaListModel - call. ";
}

MediaListModel::~MediaListModel()
{
    qDebug() << "MediaListModel::~MediaListModel - call. " << m_items.size();
}

void MediaListModel::setGroup(BaseListModel* group, std::function<bool()> clearing)
{
    m_group = group;
    m_groupClearing = std::move(clearing);
}

int MediaListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_items.size();
}

QVariant MediaListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_items.size())
        return QVariant();
    const TwFileInfo& f = m_items.at(index.row());
    switch (role) {
    case FileTimeRole: return formatMSecs(f.createTime, "yyyy-MM-dd HH:mm");
    case kSectionNameRole: return f.dayKey;
    case FileIsLabelRole:
    case EditTypeRole: return QVariant();
    default: return FileListModel::data(index, role);
    }
}

bool MediaListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    qDebug() << "MediaListModel::setData - row " << index.row() << ", role: " << role << ", value."
             << value;
    return index.isValid() && index.row() >= 0 && index.row() < m_items.size();
}

QHash<int, QByteArray> MediaListModel::roleNames() const
{
    return {
        {FileNameRole, "$FileName"},
        {FileSizeRole, "$FileSize"},
        {FileTimeRole, "$FileTime"},
        {FileTypeRole, "$FileType"},
        {FileThumbUrlRole, "$FileThumbUrl"},
        {FileIsLoveRole, "$FileIsLove"},
        {FileIsShareRole, "$FileIsShare"},
        {kSectionNameRole, "$SectionName"},
        {SelectedRole, "$Selected"},
    };
}

// The section never fetches by itself: its group pages.
bool MediaListModel::canFetchMore(const QModelIndex&) const
{
    return true;
}

void MediaListModel::fetchMore(const QModelIndex&) {}

void MediaListModel::setSectionName(const QString& name)
{
    if (m_sectionName == name)
        return;
    m_sectionName = name;
    emit sectionNameChanged();
}

void MediaListModel::setGroupIndex(int index)
{
    if (m_groupIndex == index)
        return;
    m_groupIndex = index;
    emit groupIndexChanged();
}

void MediaListModel::appendItems(const QList<TwFileInfo>& items)
{
    if (items.isEmpty())
        return;
    FileListModel::appendItems(items);
    setFileNum(m_fileNum + items.size());
    emit loadFileNumChanged();
    updateViewState(0);
}

QVariantMap MediaListModel::get(int itemIndex)
{
    if (itemIndex == -1 || itemIndex == -2)
        itemIndex = m_currentSelected;
    if (itemIndex < 0 || itemIndex >= m_items.size())
        return QVariantMap();
    return m_items.at(itemIndex).toVariantMap();
}

void MediaListModel::selectionNotices(int first, int last)
{
    if (!m_items.isEmpty() && first <= last)
        emit dataChanged(index(first), index(last), {SelectedRole});
    emit selectNumChanged();
    emit isAllChanged();
    emit isCheckChanged();
}

void MediaListModel::allSelect()
{
    if (m_selectMap.size() < m_items.size()) {
        for (int i = 0; i < m_items.size(); ++i)
            m_selectMap.insert(i, m_items.at(i).id);
    } else {
        m_selectMap.clear();
    }
    selectionNotices(0, m_items.size() - 1);
}

void MediaListModel::singleSelect(int itemIndex, bool isFocus)
{
    BaseListModel* g = group();
    if (itemIndex == -1) {
        m_selectMap.clear();
    } else if (itemIndex < 0 || itemIndex >= m_items.size()) {
        return;
    } else if (m_selectMap.contains(itemIndex) && !isFocus) {
        // A click on a selected row deselects; with more selected anywhere
        // the whole selection goes.
        if (g && g->selectNum() > 1)
            g->singleSelect(-1, false);
        m_selectMap.clear();
    } else {
        if (g)
            g->singleSelect(-1, false);
        m_selectMap.clear();
        m_selectMap.insert(itemIndex, m_items.at(itemIndex).id);
        setCurrentSelected(itemIndex);
    }
    selectionNotices(0, m_items.size() - 1);
    if (g && !(m_groupClearing && m_groupClearing()))
        g->selectedChanged(-1);
}

void MediaListModel::multiSelect(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= m_items.size())
        return;
    if (m_selectMap.contains(itemIndex)) {
        m_selectMap.remove(itemIndex);
    } else {
        m_selectMap.insert(itemIndex, m_items.at(itemIndex).id);
        setCurrentSelected(itemIndex);
    }
    selectionNotices(itemIndex, itemIndex);
    if (BaseListModel* g = group())
        g->selectedChanged(-1);
}

void MediaListModel::initConnect(bool) {}

void MediaListModel::refreshData()
{
    resetData();
}

void MediaListModel::resetData()
{
    beginResetModel();
    resetPaging();
    m_items.clear();
    endResetModel();
}

void MediaListModel::search(QString keyword)
{
    setKeyword(keyword);
    refreshData();
}

void MediaListModel::toastForSelection()
{
    if (m_selectMap.isEmpty())
        notifyStatus(1, tr("not selected item."), 0);
    else
        notifyStatus(1, tr("Operation Successfully."), 1);
}

void MediaListModel::fileOpen() { toastForSelection(); }
void MediaListModel::fileDownload(QString) { toastForSelection(); }
void MediaListModel::fileCopyTo2(qlonglong, QString) { toastForSelection(); }
void MediaListModel::fileSharing(QJSValue) { toastForSelection(); }
void MediaListModel::fileAddToLabel(QList<int>) { toastForSelection(); }

int MediaListModel::selectNum()
{
    return m_selectMap.size();
}

void MediaListModel::setCurrentSelected(int index)
{
    FileListModel::setCurrentSelected(index);
    if (BaseListModel* g = group())
        g->setCurrentSelected(m_groupIndex);
}

void MediaListModel::setMenuType(int type)
{
    FileListModel::setMenuType(type);
    if (BaseListModel* g = group())
        g->setMenuType(type);
}

void MediaListModel::updateViewState(int)
{
    singleSelect(-1, false);
    if (!m_items.isEmpty())
        defaultStateChange(DS_None, QString());
    else
        defaultStateChange(DS_Empty, tr("No File"));
}

bool MediaListModel::removeItem(qint64 fileId)
{
    const int row = rowOfId(fileId);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_items.removeAt(row);
    endRemoveRows();
    // Rows behind it moved up: a selection by row no longer holds.
    m_selectMap.clear();
    if (m_currentSelected >= m_items.size())
        m_currentSelected = -1;
    if (m_fileNum > 0)
        setFileNum(m_fileNum - 1);
    emit loadFileNumChanged();
    return true;
}

bool MediaListModel::removeItems(QMap<int, qint64> items)
{
    bool any = false;
    for (qint64 id : items.values())
        any = removeItem(id) || any;
    return any;
}

void MediaListModel::rMediaFilelist(TW_HANDLE, QList<TwFileInfo> items)
{
    appendItems(items);
}

bool MediaListModel::renameCurrent(const char* what, qlonglong fileId, const QString& newName,
                                   const QString& filePath)
{
    qDebug() << what << fileId << newName;
    const int row = m_currentSelected;
    if (row < 0 || row >= m_items.size() || m_items.at(row).id != fileId) {
        notifyStatus(100221, tr("Rename file not current selected."), 2);
        return false;
    }
    m_items[row].name = newName;
    if (!filePath.isEmpty())
        m_items[row].filePath = filePath;
    emit dataChanged(index(row), index(row), {FileNameRole});
    return true;
}

bool MediaListModel::rDirRename(TW_HANDLE, qlonglong fileId, QString newName, bool, ModifyDirResp resp)
{
    return renameCurrent("--------DirRename: ", fileId, newName, resp.filePath);
}

bool MediaListModel::rFileRename(TW_HANDLE, qlonglong fileId, QString newName, bool, ModifyFileResp resp)
{
    return renameCurrent("--------fileRename: ", fileId, newName, resp.filePath);
}

void MediaListModel::rFileDelete(TW_HANDLE, QMap<int, qint64> selection)
{
    removeItems(selection);
    updateViewState(4);
}

void MediaListModel::rFileMove(TW_HANDLE, QMap<int, qint64>, qlonglong, MoveDirOrFileResp)
{
    updateViewState(3);
}

void MediaListModel::rFileMoveToSafeBox(TW_HANDLE, QMap<int, qint64> selection)
{
    removeItems(selection);
    updateViewState(7);
}

void MediaListModel::rFileCollect(TW_HANDLE, QMap<int, qint64> selection, bool isLove)
{
    if (m_modelType == Common::FT_Love && !isLove) {
        removeItems(selection);
    } else {
        for (qint64 id : selection.values()) {
            const int row = rowOfId(id);
            if (row < 0)
                continue;
            m_items[row].isCollect = isLove ? 1 : 0;
            emit dataChanged(index(row), index(row), {FileIsLoveRole});
        }
    }
    updateViewState(isLove ? 5 : 6);
}

void MediaListModel::setPublicType(const QMap<int, qint64>& selection, int type)
{
    for (qint64 id : selection.values()) {
        const int row = rowOfId(id);
        if (row < 0)
            continue;
        m_items[row].publicType = type;
        emit dataChanged(index(row), index(row), {FileIsShareRole});
    }
}

void MediaListModel::rShareFileToAll(TW_HANDLE, QMap<int, qint64> selection)
{
    setPublicType(selection, 0);
}

void MediaListModel::rShareFileToUsers(TW_HANDLE, QMap<int, qint64> selection)
{
    setPublicType(selection, 2);
}

void MediaListModel::rThumbFinished(ThumbInfo info, int code, QString msg)
{
    // A finished download (1) and a cached file (100310) both mean ready.
    if (code != 100310 && code != 1) {
        qDebug() << "MediaListModel::rThumbFinished - info " << info.fileId << info.fileMd5 << code
                 << msg;
        return;
    }
    for (int i = 0; i < m_items.size(); ++i) {
        const TwFileInfo& f = m_items.at(i);
        if (f.id == info.fileId && f.fileMd5 == info.fileMd5) {
            emit dataChanged(index(i), index(i), {FileThumbUrlRole});
            return;
        }
    }
}
