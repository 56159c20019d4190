#include "sharing/shareuserlistmodel.h"

#include <QDebug>

#include "device/tidewelldevice.h"
#include "core/utils.h"

ShareUserListModel::ShareUserListModel(QObject* parent) : BaseModel(parent), m_handle(twNewHandle())
{
}

int ShareUserListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant ShareUserListModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row < 0 || row >= m_rows.size())
        return QVariant();
    switch (role) {
    case UserHeadRole:
        return m_rows.at(row).headImg;
    case UserNameRole:
        return shownName(m_rows.at(row).markName);
    case SelectedRole:
        return row == m_selected;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> ShareUserListModel::roleNames() const
{
    return withRoles(BaseModel::roleNames(), {
        {UserHeadRole, "$UserHead"},
        {UserNameRole, "$UserName"},
        {SelectedRole, "$Selected"},
    });
}

QObject* ShareUserListModel::tw() const
{
    return m_tw.data();
}

void ShareUserListModel::setTw(QObject* tw)
{
    if (m_tw.rebind(tw, "ShareUserListModel::setTw -") && m_tw) {
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rGetShareUserList, this, &ShareUserListModel::onGetShareUserList));
    }
    emit twChanged();
}

bool ShareUserListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_hasMore;
}

void ShareUserListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_isLoading || !m_hasMore || !m_tw)
        return;
    ++m_page;
    m_isLoading = true;
    m_tw->getShareUserList(m_handle, m_page, 2);
}

void ShareUserListModel::onGetShareUserList(TW_HANDLE handle, GetShareUserListResp dataRsp)
{
    if (handle != m_handle) {
        qDebug() << "ShareUserListModel::onGetShareUserList" << handle << " TW_MYSELF is not me" << this;
        return;
    }
    if (!dataRsp.ok()) {
        // No more pages until reload(): a view that keeps asking would
        // flood a failing device.
        qDebug() << "-----ShareUserListModel::onGetShareUserList:" << dataRsp.code() << dataRsp.message;
        --m_page;
        m_hasMore = false;
        m_isLoading = false;
        return;
    }
    m_hasMore = m_page < dataRsp.totalPages;
    if (!dataRsp.users.isEmpty()) {
        if (m_page == 1) {
            beginResetModel();
            m_rows = dataRsp.users;
            m_selected = -1;
            endResetModel();
        } else {
            beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size() + dataRsp.users.size() - 1);
            m_rows.append(dataRsp.users);
            endInsertRows();
        }
    }
    m_isLoading = false;
}

void ShareUserListModel::reload()
{
    if (m_isLoading)
        return;
    beginResetModel();
    m_rows.clear();
    m_selected = -1;
    m_page = 0;
    m_hasMore = true;
    endResetModel();
}

void ShareUserListModel::singleSelect(int itemIndex)
{
    if (itemIndex == -1) {
        const int old = m_selected;
        m_selected = -1;
        if (old >= 0 && old < m_rows.size())
            emit dataChanged(index(old), index(old), {SelectedRole});
        return;
    }
    if (itemIndex < 0 || itemIndex >= m_rows.size() || itemIndex == m_selected)
        return;
    const int old = m_selected;
    m_selected = itemIndex;
    if (old >= 0 && old < m_rows.size())
        emit dataChanged(index(old), index(old), {SelectedRole});
    emit dataChanged(index(itemIndex), index(itemIndex), {SelectedRole});
    const DeviceUserInfo& u = m_rows.at(itemIndex);
    emit selectData(u.accessId, u.markName);
}
