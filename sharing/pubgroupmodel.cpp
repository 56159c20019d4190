#include "sharing/pubgroupmodel.h"

#include <QDebug>

#include <algorithm>

#include "core/utils.h"
#include "device/tidewelldevice.h"

PubGroupModel::PubGroupModel(QObject* parent) : BaseModel(parent), m_handle(twNewHandle()) {}

int PubGroupModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_groups.size();
}

QVariant PubGroupModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_groups.size())
        return QVariant();
    const PubGroupInfo& g = m_groups.at(index.row());
    switch (role) {
    case GNameRole:
        return shownName(g.gName);
    case GUserRole:
        return shownName(g.userName);
    case CreateTimeRole:
        return formatMSecs(g.createTime, "yyyy-MM-dd HH:mm");
    case ModifyTimeRole:
        return formatMSecs(g.lastModified, "yyyy-MM-dd HH:mm");
    case GSizeRole:
        return formatFileSize(g.totalSize);
    case IsOwerRole:
        return g.ower == m_account.accessId;
    case SelectedRole:
        return index.row() == m_selected;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> PubGroupModel::roleNames() const
{
    return withRoles(BaseModel::roleNames(), {
        {GNameRole, "$GName"},
        {GUserRole, "$GUser"},
        {CreateTimeRole, "$CreateTime"},
        {ModifyTimeRole, "$ModifyTime"},
        {GSizeRole, "$GSize"},
        {IsOwerRole, "$IsOwer"},
        {SelectedRole, "$Selected"},
    });
}

bool PubGroupModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_hasMore;
}

void PubGroupModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_isLoading || !m_hasMore)
        return;
    loadPage();
}

QObject* PubGroupModel::tw() const
{
    return m_tw.data();
}

TidewellDevice* PubGroupModel::device() const
{
    return qobject_cast<TidewellDevice*>(m_tw.data());
}

void PubGroupModel::setTw(QObject* tw)
{
    // A facade set again or replaced: the old one's answers stop here.
    if (!m_tw.rebind(tw))
        return;
    if (TidewellDevice* d = device()) {
        m_tw.add(connect(d, &TidewellDevice::rGetPubGroupList, this, &PubGroupModel::onGetPubGroupList));
        m_tw.add(connect(d, &TidewellDevice::rCreatePubGroup, this, &PubGroupModel::onCreatePubGroup));
        m_tw.add(connect(d, &TidewellDevice::rEditPubGroupMember, this, &PubGroupModel::onEditPubGroupMember));
        m_tw.add(connect(d, &TidewellDevice::rModifyPubGroupName, this, &PubGroupModel::onModifyPubGroupName));
        m_tw.add(connect(d, &TidewellDevice::rDelPubGroup, this, &PubGroupModel::onDelPubGroup));
        m_tw.add(connect(d, &TidewellDevice::rExitPubGroup, this, &PubGroupModel::onDelPubGroup));
        m_tw.add(connect(d, &TidewellDevice::rChangePubGroupOwner, this, &PubGroupModel::onChangePubGroupOwner));
        m_account = d->userInfo();
    }
    emit twChanged();
}

void PubGroupModel::setTotalNum(qint64 num)
{
    m_totalNum = num;
    emit totalNumChanged();
}

void PubGroupModel::setIsSort(bool isSort)
{
    m_isSort = isSort;
    emit isSortChanged();
}

void PubGroupModel::setSortType(int sortType)
{
    m_sortType = sortType;
    emit sortTypeChanged();
}

bool PubGroupModel::mine(TW_HANDLE handle, const char* where) const
{
    if (handle == m_handle)
        return true;
    qDebug() << where << handle << " TW_MYSELF is not me" << this;
    return false;
}

int PubGroupModel::rowOfGroup(int gId) const
{
    for (int i = 0; i < m_groups.size(); ++i)
        if (m_groups.at(i).gId == gId)
            return i;
    return -1;
}

void PubGroupModel::refused(const char* what)
{
    qDebug() << "PubGroupModel -" << what << "not sent.";
    emit sg_cancelLading();
}

// ---- paging ----------------------------------------------------------------

void PubGroupModel::loadPage()
{
    if (m_isLoading)
        return;
    m_isLoading = true;
    const bool overlay = m_groups.isEmpty();
    if (overlay)
        emit sg_showLoading();
    if (m_offset > 0)
        m_offset = m_groups.size();
    const TW_HANDLE page = TW_HANDLE(m_pages.begin(overlay));
    TidewellDevice* d = device();
    if (!d || !d->getPubGroupList(page, m_offset, m_pageSize, m_isSort, m_sortType, m_queryType)) {
        m_pages.take(int(page), this);
        m_isLoading = false;
        m_resetPending = false;
        m_refreshAgain = false;
        qDebug() << "PubGroupModel - getPubGroupList not sent.";
    }
}

void PubGroupModel::onGetPubGroupList(TW_HANDLE handle, GetPubGroupListResp respData)
{
    if (!m_pages.takeCurrent(int(handle), this, "PubGroupModel::onGetPubGroupList"))
        return;
    if (respData.result != 1) {
        if (m_groups.isEmpty()) {
            // No count over an error view.
            if (m_totalNum != 0) {
                m_totalNum = 0;
                emit totalNumChanged();
            }
            emit sg_DefaultStateChange(DS_Error, respData.message);
        }
        else
            emit sg_notifyStatus(respData.result, respData.message, TL_Error);
        qDebug() << "-----SPubGroupModel::onGetPubGroupList:" << respData.result << respData.message;
        // No more pages until the list is loaded again: a view that keeps
        // asking would flood a failing device.
        m_hasMore = false;
        m_isLoading = false;
        // A failed reset may be asked again.
        m_resetPending = false;
        refreshIfAsked();
        return;
    }
    if (!respData.diskSerial.isEmpty() && respData.diskSerial != m_diskSerial) {
        m_diskSerial = respData.diskSerial;
        emit diskSerialChanged();
    }
    const bool first = m_offset == 0;
    QList<PubGroupInfo> fresh;
    for (const PubGroupInfo& g : respData.groups) {
        const bool seen = std::any_of(fresh.cbegin(), fresh.cend(), [&](const PubGroupInfo& f) { return f.gId == g.gId; });
        if (!seen && (first || rowOfGroup(g.gId) < 0))
            fresh.append(g);
    }
    const int held = (first ? 0 : m_groups.size()) + fresh.size();
    // Settled before the rows change: a view may ask for more at once. An
    // empty page ends paging whatever the total says, and so does a page
    // that only repeats groups already shown.
    m_hasMore = !fresh.isEmpty() && held < respData.totalNum;
    if (!first) {
        if (!fresh.isEmpty()) {
            beginInsertRows(QModelIndex(), m_groups.size(), m_groups.size() + fresh.size() - 1);
            m_groups += fresh;
            endInsertRows();
        }
    } else {
        beginResetModel();
        m_groups = fresh;
        m_selected = -1;
        endResetModel();
        emit selectNumChanged();
    }
    m_offset = m_groups.size();
    m_isLoading = false;
    m_resetPending = false;
    m_totalNum = respData.totalNum;
    emit totalNumChanged();
    emit loadNumChanged();
    updateDefaultState();
    refreshIfAsked();
}

void PubGroupModel::refreshIfAsked()
{
    if (!m_refreshAgain)
        return;
    m_refreshAgain = false;
    refershData();
}

void PubGroupModel::updateDefaultState()
{
    if (m_groups.isEmpty())
        emit sg_DefaultStateChange(DS_Empty, tr("No Public Group"));
    else
        emit sg_DefaultStateChange(DS_None, QString());
}

void PubGroupModel::resetData()
{
    if (m_resetPending)
        return;
    m_resetPending = true;
    // Pages asked for before belong to the old list.
    m_pages.invalidate(false);
    m_isLoading = false;
    m_selected = -1;
    emit selectNumChanged();
    beginResetModel();
    m_hasMore = true;
    m_offset = 0;
    m_groups.clear();
    endResetModel();
    emit loadNumChanged();
}

void PubGroupModel::refershData()
{
    if (m_offset > m_pageSize)
        return;
    if (m_resetPending) {
        m_refreshAgain = true;
        return;
    }
    m_resetPending = true;
    m_selected = -1;
    emit selectNumChanged();
    m_hasMore = true;
    m_pages.invalidate(false);
    m_isLoading = false;
    m_offset = 0;
    loadPage();
}

void PubGroupModel::onChangePubGroupOwner(TW_HANDLE handle, APIBase respData)
{
    Q_UNUSED(handle)   // any list on this facade follows an owner change
    if (respData.result == 1 && !m_resetPending)
        resetData();
}

// ---- selection -------------------------------------------------------------

void PubGroupModel::singleSelect(int itemIndex, bool isFocus)
{
    if (itemIndex == -1 && m_selected == -1)
        return;
    if (itemIndex < -1 || itemIndex >= m_groups.size())
        return;
    if (itemIndex != m_selected) {
        const int old = m_selected;
        m_selected = itemIndex;
        if (old >= 0 && old < m_groups.size())
            emit dataChanged(index(old), index(old), {SelectedRole});
        if (itemIndex >= 0)
            emit dataChanged(index(itemIndex), index(itemIndex), {SelectedRole});
        emit selectNumChanged();
        return;
    }
    if (isFocus)
        return;
    m_selected = -1;
    emit dataChanged(index(itemIndex), index(itemIndex), {SelectedRole});
    emit selectNumChanged();
}

QVariantMap PubGroupModel::get()
{
    if (m_selected < 0 || m_selected >= m_groups.size())
        return QVariantMap();
    return m_groups.at(m_selected).toMap();
}

// ---- group operations ------------------------------------------------------

void PubGroupModel::createPubGroup(QString name, QString diskSerial)
{
    emit sg_showLoading();
    TidewellDevice* d = device();
    if (!d || !d->createPubGroup(m_handle, name, diskSerial))
        refused("createPubGroup");
}

void PubGroupModel::onCreatePubGroup(TW_HANDLE handle, CreatePubGroupResp respData)
{
    if (!mine(handle, "PubGroupModel::onCreatePubGroup"))
        return;
    emit sg_cancelLading();
    if (respData.result == 1)
        emit rCreatePubGroup(respData.result, respData.message, respData.groupId);
    else
        emit sg_notifyStatus(respData.result, respData.message, TL_Error);
}

void PubGroupModel::editPubGroupMember(int gId, int memberAuth, QStringList accessIds)
{
    emit sg_showLoading();
    TidewellDevice* d = device();
    if (!d || !d->editPubGroupMember(m_handle, gId, memberAuth, accessIds))
        refused("editPubGroupMember");
}

void PubGroupModel::onEditPubGroupMember(TW_HANDLE handle, APIBase respData, int memberAuth)
{
    Q_UNUSED(memberAuth)
    if (!mine(handle, "PubGroupModel::onEditPubGroupMember"))
        return;
    emit sg_cancelLading();
    if (respData.result == 1) {
        emit sg_notifyStatus(1, tr("Add Member Success"), TL_Success);
        emit rEditPubGroupMember(respData.result, respData.message);
    } else {
        emit sg_notifyStatus(respData.result, respData.message, TL_Error);
    }
}

template <class Send>
void PubGroupModel::askForSelected(QHash<TW_HANDLE, int>& pending, const char* what, Send send)
{
    if (m_selected < 0 || m_selected >= m_groups.size())
        return;
    const int gId = m_groups.at(m_selected).gId;
    const TW_HANDLE h = twNewHandle();
    emit sg_showLoading();
    TidewellDevice* d = device();
    if (!d || !send(d, gId, h)) {
        refused(what);
        return;
    }
    pending.insert(h, gId);
}

bool PubGroupModel::takePending(QHash<TW_HANDLE, int>& pending, TW_HANDLE handle, const char* where,
                                int& gId)
{
    if (!pending.contains(handle)) {
        qDebug() << where << handle << " TW_MYSELF is not me" << this;
        return false;
    }
    gId = pending.take(handle);
    return true;
}

void PubGroupModel::editPubGroupName(QString newName)
{
    askForSelected(m_renaming, "modifyPubGroupName", [&](TidewellDevice* d, int gId, TW_HANDLE h) {
        return d->modifyPubGroupName(h, gId, newName);
    });
}

void PubGroupModel::onModifyPubGroupName(TW_HANDLE handle, APIBase respData, QString name)
{
    int gId = 0;
    if (!takePending(m_renaming, handle, "PubGroupModel::onModifyPubGroupName", gId))
        return;
    emit sg_cancelLading();
    if (respData.result != 1) {
        emit sg_notifyStatus(respData.result, respData.message, TL_Error);
        return;
    }
    const int row = rowOfGroup(gId);
    if (row < 0)
        return;   // gone meanwhile
    m_groups[row].gName = name;
    emit dataChanged(index(row), index(row), {GNameRole});
}

void PubGroupModel::delPubGroup()
{
    askForSelected(m_removing, "delPubGroup", [](TidewellDevice* d, int gId, TW_HANDLE h) {
        return d->delPubGroup(h, {gId});
    });
}

void PubGroupModel::exitPubGroup()
{
    askForSelected(m_removing, "exitPubGroup", [this](TidewellDevice* d, int gId, TW_HANDLE h) {
        return d->exitPubGroup(h, gId, m_account.accessId);
    });
}

void PubGroupModel::onDelPubGroup(TW_HANDLE handle, APIBase respData)
{
    int gId = 0;
    if (!takePending(m_removing, handle, "PubGroupModel::onDelPubGroup", gId))
        return;
    emit sg_cancelLading();
    if (respData.result != 1) {
        emit sg_notifyStatus(respData.result, respData.message, TL_Error);
        return;
    }
    const int row = rowOfGroup(gId);
    if (row >= 0) {
        beginRemoveRows(QModelIndex(), row, row);
        m_groups.removeAt(row);
        endRemoveRows();
        m_offset = m_groups.size();
    }
    updateDefaultState();
    m_totalNum = qMax<qint64>(0, m_totalNum - 1);
    emit totalNumChanged();
    emit loadNumChanged();
    m_selected = -1;
    emit selectNumChanged();
    if (m_totalNum != m_groups.size() && m_groups.size() <= 30)
        resetData();
}
