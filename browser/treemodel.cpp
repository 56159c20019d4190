#include "browser/treemodel.h"

#include <QDebug>

#include "core/utils.h"
#include "device/tidewelldevice.h"

static const int kPageSize = 60;

TreeModel::TreeModel(QObject* parent) : BaseModel(parent), m_handle(twNewHandle()) {}

int TreeModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_folders.size();
}

QVariant TreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_folders.size())
        return QVariant();
    const TwFileInfo& f = m_folders.at(index.row());
    switch (role) {
    case FolderNameRole: return shownName(f.name);
    case FolderIdRole: return QString::number(f.id);
    default: return QVariant();
    }
}

QHash<int, QByteArray> TreeModel::roleNames() const
{
    return {{FolderNameRole, "$FolderName"}, {FolderIdRole, "$FolderId"}};
}

bool TreeModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_hasMore && m_tw && m_parent.groupId != 0;
}

void TreeModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_isLoading || !m_hasMore || !m_tw || m_parent.groupId == 0)
        return;
    m_isLoading = true;
    m_tw->getPubFileList(m_handle, m_offset, kPageSize, false, 0, m_parent.groupId, m_parent.fid,
                         true, QString());
}

void TreeModel::setTw(QObject* tw)
{
    if (!m_tw.rebind(tw, "TreeModel::setTw -"))
        return;
    if (m_tw)
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rGetPubFileList, this, &TreeModel::rGetPubFileList));
    emit twChanged();
}

void TreeModel::setParentFolder(const QVariantMap& folder)
{
    beginResetModel();
    m_parent = TwFolderInfo::fromVariantMap(folder);
    m_folders.clear();
    m_seen.clear();
    m_offset = 0;
    m_hasMore = true;
    m_isLoading = false;
    // A new handle: answers for the previous folder no longer apply.
    m_handle = twNewHandle();
    endResetModel();
    emit parentFolderChanged();
}

void TreeModel::rGetPubFileList(TW_HANDLE handle, GetPubFileListResp resp)
{
    if (handle != m_handle) {
        qDebug() << "TreeModel::rGetPubFileList -" << handle << " TW_MYSELF is not me";
        return;
    }
    m_isLoading = false;
    if (resp.result != 1) {
        m_hasMore = false;
        notifyStatus(resp.result, resp.message, 2);
        return;
    }
    m_offset += resp.fileList.size();
    if (resp.fileList.size() < kPageSize)
        m_hasMore = false;
    QList<TwFileInfo> folders;
    int fresh = 0;
    for (const TwFileInfo& f : resp.fileList) {
        if (m_seen.contains(f.id))
            continue;
        m_seen.insert(f.id);
        ++fresh;
        if (!f.isFile)
            folders << f;
    }
    // A full page of items already listed: the device repeats itself and
    // asking on would never end.
    if (fresh == 0 && !resp.fileList.isEmpty()) {
        qWarning() << "TreeModel::rGetPubFileList - a page repeated items already listed; paging ends.";
        m_hasMore = false;
    }
    if (folders.isEmpty())
        return;
    beginInsertRows(QModelIndex(), m_folders.size(), m_folders.size() + folders.size() - 1);
    m_folders.append(folders);
    endInsertRows();
}

QVariantMap TreeModel::folder(int row) const
{
    if (row < 0 || row >= m_folders.size())
        return QVariantMap();
    const TwFileInfo& f = m_folders.at(row);
    TwFolderInfo out;
    out.fid = int(f.id);
    out.name = f.name;
    out.isDevice = true;
    out.serialNo = m_parent.serialNo;
    out.groupId = m_parent.groupId;
    out.type = 5;
    out.diskType = 3;
    out.lastModified = f.lastModified;
    return out.toVariantMap();
}

QObject* TreeModel::tw() const
{
    return m_tw.data();
}
