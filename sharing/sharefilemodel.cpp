#include "sharing/sharefilemodel.h"

#include <algorithm>

#include <QDebug>
#include <QJSEngine>

#include "device/tidewelldevice.h"
#include "core/utils.h"

ShareFileModel::ShareFileModel(QObject* parent) : BaseModel(parent), m_handle(twNewHandle())
{
}

int ShareFileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant ShareFileModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row < 0 || row >= m_rows.size())
        return QVariant();
    const Row& r = m_rows.at(row);
    switch (role) {
    case UserHeadsRole: {
        QStringList heads;
        if (r.isGroup) {
            for (const DeviceUserInfo& m : r.group.members)
                heads << m.headImg;
        } else {
            heads << r.user.headImg;
        }
        return heads;
    }
    case UserNameRole:
        return shownName(r.isGroup ? r.group.gName : r.user.markName);
    case SelectedRole:
        return m_selection.contains(row);
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> ShareFileModel::roleNames() const
{
    return withRoles(BaseModel::roleNames(), {
        {UserHeadsRole, "$UserHeads"},
        {UserNameRole, "$UserName"},
        {SelectedRole, "$Selected"},
    });
}

QObject* ShareFileModel::tw() const
{
    return m_tw.data();
}

void ShareFileModel::setTw(QObject* tw)
{
    if (m_tw.rebind(tw, "ShareFileModel::setTw -") && m_tw) {
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rGetShareUserAndGroupList, this, &ShareFileModel::onGetShareUserAndGroupList));
    }
    emit twChanged();
}

void ShareFileModel::loadData()
{
    if (m_loading || !m_tw)
        return;
    m_loading = true;
    m_tw->getShareUserAndGroupList(m_handle);
}

void ShareFileModel::onGetShareUserAndGroupList(TW_HANDLE handle, GetShareUserAndGroupListResp dataRsp)
{
    if (handle != m_handle) {
        qDebug() << "ShareFileModel::onGetShareUserAndGroupList" << handle << " TW_MYSELF is not me"
                 << this;
        return;
    }
    m_loading = false;
    if (!dataRsp.ok()) {
        defaultStateChange(DS_Error, dataRsp.message);
        return;
    }
    defaultStateChange(DS_None, QString());
    const QString me = m_tw ? m_tw->userInfo().accessId : QString();
    const bool hadSelection = !m_selection.isEmpty();
    beginResetModel();
    m_rows.clear();
    m_selection.clear();
    for (const UserGroupInfo& g : qAsConst(dataRsp.groups)) {
        Row r;
        r.isGroup = true;
        r.group = g;
        m_rows << r;
    }
    // Nobody shares with themselves; as a group member they stay.
    for (const DeviceUserInfo& u : qAsConst(dataRsp.users)) {
        if (u.accessId == me)
            continue;
        Row r;
        r.user = u;
        m_rows << r;
    }
    endResetModel();
    if (hadSelection)
        emit isCheckChanged();
}

void ShareFileModel::multiSelect(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= m_rows.size())
        return;
    if (m_selection.contains(itemIndex))
        m_selection.remove(itemIndex);
    else
        m_selection.insert(itemIndex);
    emit dataChanged(index(itemIndex), index(itemIndex), {SelectedRole});
    emit isCheckChanged();
}

void ShareFileModel::clearAllSelect()
{
    m_selection.clear();
    if (!m_rows.isEmpty())
        emit dataChanged(index(0), index(m_rows.size() - 1), {SelectedRole});
    emit isCheckChanged();
}

QStringList ShareFileModel::selectedAccessIds() const
{
    QList<int> rows = m_selection.values();
    std::sort(rows.begin(), rows.end());
    QStringList ids;
    for (int row : qAsConst(rows)) {
        if (row < 0 || row >= m_rows.size())
            continue;
        const Row& r = m_rows.at(row);
        if (r.isGroup) {
            for (const DeviceUserInfo& m : r.group.members)
                ids << m.accessId;
        } else {
            ids << r.user.accessId;
        }
    }
    return ids;
}

QJSValue ShareFileModel::getSelectData()
{
    QJSEngine* engine = qjsEngine(this);
    if (!engine) {
        qWarning() << "ShareFileModel::getSelectData - no script engine holds the model.";
        return QJSValue();
    }
    const QStringList ids = selectedAccessIds();
    QJSValue array = engine->newArray(uint(ids.size()));
    for (int i = 0; i < ids.size(); ++i)
        array.setProperty(quint32(i), ids.at(i));
    QJSValue out = engine->newObject();
    out.setProperty("accessIds", array);
    return out;
}
