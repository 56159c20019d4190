#include "sharing/pubgroupusermodel.h"

#include <QDebug>

#include "core/utils.h"
#include "device/tidewelldevice.h"

PubGroupUserModel::PubGroupUserModel(QObject* parent) : BaseModel(parent), m_handle(twNewHandle())
{
}

int PubGroupUserModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_members.size();
}

QVariant PubGroupUserModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row < 0 || row >= m_members.size())
        return QVariant();
    const PubGroupMember& m = m_members.at(row);
    switch (role) {
    case UserHeadRole:
        return m.headImg;
    case UserNameRole:
        return shownName(m.markName);
    case JoinTimeRole:
        return formatMSecs(m.createTime, "yyyy-MM-dd hh:mm");
    case AuthTypeRole:
        // The owner shows as manager whatever the device says.
        return m.accId == m_accId ? 0 : m.memberAuthority;
    case SelectedRole:
        return m_selection.contains(row);
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> PubGroupUserModel::roleNames() const
{
    return withRoles(BaseModel::roleNames(), {
        {UserHeadRole, "$UserHead"},
        {UserNameRole, "$UserName"},
        {JoinTimeRole, "$JoinTime"},
        {AuthTypeRole, "$AuthType"},
        {SelectedRole, "$Selected"},
    });
}

QObject* PubGroupUserModel::tw() const
{
    return m_tw.data();
}

void PubGroupUserModel::setTw(QObject* tw)
{
    if (m_tw.rebind(tw, "PubGroupUserModel::setTw -") && m_tw) {
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rGetPubGroupMemList, this, &PubGroupUserModel::onGetPubGroupMemList));
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rChangePubGroupOwner, this, &PubGroupUserModel::onChangePubGroupOwner));
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rEditPubGroupMember, this, &PubGroupUserModel::onEditPubGroupMember));
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rDelPubGroupMember, this, &PubGroupUserModel::onDelPubGroupMember));
    }
    emit twChanged();
}

bool PubGroupUserModel::isAll() const
{
    return !m_members.isEmpty() && m_selection.size() == m_members.size();
}

void PubGroupUserModel::setUserType(int type)
{
    m_userType = type;
    emit userTypeChanged();
}

void PubGroupUserModel::setGroupId(int id)
{
    m_groupId = id;
    emit groupIdChanged();
}

void PubGroupUserModel::setAccId(const QString& accId)
{
    m_accId = accId;
    // Which row shows as the owner's follows.
    if (!m_members.isEmpty())
        emit dataChanged(index(0), index(m_members.size() - 1), {AuthTypeRole});
    emit accIdChanged();
}

bool PubGroupUserModel::isMine(TW_HANDLE handle, const char* where) const
{
    if (handle == m_handle)
        return true;
    qDebug() << where << handle << " TW_MYSELF is not me" << this;
    return false;
}

void PubGroupUserModel::loadData()
{
    beginResetModel();
    m_selection.clear();
    m_members.clear();
    endResetModel();
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
    if (!m_tw) {
        qWarning() << "PubGroupUserModel::loadData - no facade.";
        return;
    }
    showLoading();
    m_tw->getPubGroupMemList(m_handle, 0, kPageSize, m_userType, m_groupId);
}

void PubGroupUserModel::onGetPubGroupMemList(TW_HANDLE handle, GetPubGroupMemListResp resp)
{
    if (!isMine(handle, "PubGroupUserModel::onGetPubGroupMemList"))
        return;
    cancelLading();
    if (!resp.ok()) {
        defaultStateChange(DS_Error, resp.message);
        qDebug() << "onGetPubGroupMemList: code:" << resp.code() << " message:" << resp.message;
        return;
    }
    if (!resp.members.isEmpty()) {
        beginResetModel();
        m_members = resp.members;
        m_selection.clear();
        endResetModel();
        emit isAllChanged();
        emit selectNumChanged();
        emit isCheckChanged();
    }
    if (m_members.isEmpty())
        defaultStateChange(DS_Empty, tr("No User"));
    else
        defaultStateChange(DS_None, QString());
}

void PubGroupUserModel::selectionChanged(int row)
{
    if (!m_members.isEmpty()) {
        if (row >= 0)
            emit dataChanged(index(row), index(row), {SelectedRole});
        else
            emit dataChanged(index(0), index(m_members.size() - 1), {SelectedRole});
    }
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
}

void PubGroupUserModel::singleSelect(int itemIndex, bool isFocus)
{
    if (itemIndex == -1) {
        m_selection.clear();
    } else if (itemIndex < 0 || itemIndex >= m_members.size()) {
        return;
    } else if (m_selection.contains(itemIndex)) {
        if (isFocus)
            return;
        m_selection.clear();
    } else {
        m_selection.clear();
        m_selection.insert(itemIndex, itemIndex);
    }
    selectionChanged();
}

void PubGroupUserModel::singleSelect(int itemIndex)
{
    singleSelect(itemIndex, false);
}

void PubGroupUserModel::multiSelect(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= m_members.size())
        return;
    if (m_selection.contains(itemIndex))
        m_selection.remove(itemIndex);
    else
        m_selection.insert(itemIndex, itemIndex);
    selectionChanged(itemIndex);
}

void PubGroupUserModel::allSelect()
{
    if (m_selection.size() < m_members.size()) {
        for (int i = 0; i < m_members.size(); ++i)
            m_selection.insert(i, i);
    } else {
        m_selection.clear();
    }
    selectionChanged();
}

bool PubGroupUserModel::firstSelected(PubGroupMember& out) const
{
    for (auto it = m_selection.cbegin(); it != m_selection.cend(); ++it) {
        if (it.key() >= 0 && it.key() < m_members.size()) {
            out = m_members.at(it.key());
            return true;
        }
    }
    return false;
}

int PubGroupUserModel::rowOf(const QString& accId) const
{
    for (int i = 0; i < m_members.size(); ++i)
        if (m_members.at(i).accId == accId)
            return i;
    return -1;
}

QVariantMap PubGroupUserModel::get() const
{
    PubGroupMember m;
    if (!firstSelected(m))
        return QVariantMap();
    return QVariantMap{{"accId", m.accId},
                       {"headImg", m.headImg},
                       {"markName", m.markName},
                       {"memberAuthority", m.memberAuthority},
                       {"createTime", m.createTime}};
}

QVariantMap PubGroupUserModel::getSelectData() const
{
    QStringList ids;
    for (auto it = m_selection.cbegin(); it != m_selection.cend(); ++it)
        if (it.key() >= 0 && it.key() < m_members.size())
            ids << m_members.at(it.key()).accId;
    return QVariantMap{{"userIds", ids}};
}

void PubGroupUserModel::changePubGroupOwner()
{
    PubGroupMember m;
    if (!m_tw || !firstSelected(m))
        return;
    showLoading();
    m_tw->changePubGroupOwner(m_handle, m_groupId, m_accId, m.accId);
}

void PubGroupUserModel::editPubGroupMember(int authType)
{
    PubGroupMember m;
    if (!m_tw || !firstSelected(m))
        return;
    m_editTarget = m.accId;
    showLoading();
    m_tw->editPubGroupMember(m_handle, m_groupId, authType, QStringList{m.accId});
}

void PubGroupUserModel::delPubGroupMember()
{
    PubGroupMember m;
    if (!m_tw || !firstSelected(m))
        return;
    m_removeTarget = m.accId;
    showLoading();
    m_tw->delPubGroupMember(m_handle, m_groupId, QStringList{m.accId});
}

bool PubGroupUserModel::answered(TW_HANDLE handle, const APIBase& resp, const char* where)
{
    if (!isMine(handle, where))
        return false;
    cancelLading();
    if (!resp.ok()) {
        notifyStatus(resp.code(), resp.message, TL_Error);
        return false;
    }
    return true;
}

void PubGroupUserModel::onChangePubGroupOwner(TW_HANDLE handle, APIBase resp)
{
    if (answered(handle, resp, "PubGroupUserModel::onChangePubGroupOwner"))
        emit rChangePubGroupOwner();
}

void PubGroupUserModel::onEditPubGroupMember(TW_HANDLE handle, APIBase resp, int memberAuth)
{
    if (!answered(handle, resp, "PubGroupUserModel::onEditPubGroupMember"))
        return;
    const int row = rowOf(m_editTarget);
    if (row < 0)
        return;
    m_members[row].memberAuthority = memberAuth;
    emit dataChanged(index(row), index(row), {AuthTypeRole});
}

void PubGroupUserModel::onDelPubGroupMember(TW_HANDLE handle, APIBase resp)
{
    if (!answered(handle, resp, "PubGroupUserModel::onDelPubGroupMember"))
        return;
    const int row = rowOf(m_removeTarget);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_members.removeAt(row);
    // The selection follows its members: the removed row goes, the rows
    // below move up with their members.
    QMap<int, int> moved;
    for (auto it = m_selection.cbegin(); it != m_selection.cend(); ++it) {
        if (it.key() < row)
            moved.insert(it.key(), it.key());
        else if (it.key() > row)
            moved.insert(it.key() - 1, it.key() - 1);
    }
    m_selection = moved;
    endRemoveRows();
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
}
