#include "browser/treefathermodel.h"

#include <QDebug>

#include "core/twfolderinfo.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"

TreeFatherModel::TreeFatherModel(QObject* parent) : BaseModel(parent), m_handle(twNewHandle()) {}

int TreeFatherModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_groups.size();
}

QVariant TreeFatherModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_groups.size())
        return QVariant();
    const PubGroupInfo& g = m_groups.at(index.row());
    switch (role) {
    case DiskNameRole: return shownName(g.gName);
    case GroupIdRole: return g.gId;
    case DiskTypeRole: return 3;
    case MemberAuthorityRole: return g.memberAuthority;
    default: return QVariant();
    }
}

QHash<int, QByteArray> TreeFatherModel::roleNames() const
{
    return {
        {DiskNameRole, "$DiskName"},
        {GroupIdRole, "$GroupId"},
        {DiskTypeRole, "$DiskType"},
        {MemberAuthorityRole, "$MemberAuthority"},
    };
}

void TreeFatherModel::setTw(QObject* tw)
{
    if (!m_tw.rebind(tw, "TreeFatherModel::setTw -"))
        return;
    if (m_tw)
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rGetPubGroupList, this, &TreeFatherModel::rGetPubGroupList));
    emit twChanged();
}

bool TreeFatherModel::loadGroups()
{
    if (!m_tw)
        return false;
    return m_tw->getPubGroupList(m_handle, 0, 1000, false, 0, 0);
}

void TreeFatherModel::rGetPubGroupList(TW_HANDLE handle, GetPubGroupListResp resp)
{
    if (handle != m_handle) {
        qDebug() << "TreeFatherModel::rGetPubGroupList -" << handle << " TW_MYSELF is not me";
        return;
    }
    if (resp.result != 1) {
        notifyStatus(resp.result, resp.message, 2);
        return;
    }
    beginResetModel();
    m_groups = resp.groups;
    endResetModel();
}

QVariantMap TreeFatherModel::folder(int row) const
{
    if (row < 0 || row >= m_groups.size())
        return QVariantMap();
    return groupFolder(m_groups.at(row));
}

QVariantMap TreeFatherModel::groupFolder(const PubGroupInfo& group)
{
    TwFolderInfo f;
    f.fid = 0;
    f.name = group.gName;
    f.isDevice = true;
    f.serialNo = group.diskSerial;
    f.groupId = group.gId;
    f.type = 5;
    f.diskType = 3;
    return f.toVariantMap();
}

QObject* TreeFatherModel::tw() const
{
    return m_tw.data();
}
