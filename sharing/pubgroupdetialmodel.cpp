#include "sharing/pubgroupdetialmodel.h"

#include <QDebug>

#include "device/tidewelldevice.h"

PubGroupDetialModel::PubGroupDetialModel(QObject* parent) : QObject(parent), m_handle(twNewHandle())
{
}

QObject* PubGroupDetialModel::tw() const
{
    return m_tw.data();
}

void PubGroupDetialModel::setTw(QObject* tw)
{
    if (m_tw.rebind(tw, "PubGroupDetialModel::setTw -") && m_tw) {
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rGetPubGroupMemList, this, &PubGroupDetialModel::onGetPubGroupMemList));
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rGetPubGroupDetail, this, &PubGroupDetialModel::onGetPubGroupDetail));
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rDelPubGroupMember, this, &PubGroupDetialModel::onDelPubGroupMember));
        m_tw.add(connect(m_tw.data(), &TidewellDevice::rEditPubGroupMember, this, &PubGroupDetialModel::onEditPubGroupMember));
    }
    emit twChanged();
}

void PubGroupDetialModel::setGroupInfo(const QVariantMap& map)
{
    m_groupInfo.fromMap(map);
    emit groupInfoChanged();
    emit memberAuthorityChanged();
    emit isOwerChanged();
}

bool PubGroupDetialModel::isOwer() const
{
    if (!m_tw || m_groupInfo.ower.isEmpty())
        return false;
    return m_tw->userInfo().accessId == m_groupInfo.ower;
}

QVariantMap PubGroupDetialModel::userInfo() const
{
    QStringList urls;
    for (const PubGroupMember& m : m_firstMembers)
        urls << m.headImg;
    return QVariantMap{{"totalNum", m_memberTotal}, {"urls", urls}};
}

bool PubGroupDetialModel::isMine(TW_HANDLE handle, const char* where) const
{
    if (handle == m_handle)
        return true;
    qDebug() << where << handle << " TW_MYSELF is not me" << this;
    return false;
}

void PubGroupDetialModel::loadData()
{
    m_memberTotal = 0;
    m_firstMembers.clear();
    emit willLoadData();
    if (!m_tw) {
        qWarning() << "PubGroupDetialModel::loadData - no facade.";
        return;
    }
    m_tw->getPubGroupDetail(m_handle, m_groupInfo.gId);
    m_tw->getPubGroupMemList(m_handle, 0, kHeads, 1, m_groupInfo.gId);
}

void PubGroupDetialModel::editPubGroupMember(int gId, int memberAuth, QStringList accessIds)
{
    if (m_tw)
        m_tw->editPubGroupMember(m_handle, gId, memberAuth, accessIds);
}

void PubGroupDetialModel::onGetPubGroupDetail(TW_HANDLE handle, GetPubGroupDetailResp resp)
{
    if (!isMine(handle, "PubGroupDetialModel::onGetPubGroupDetail"))
        return;
    if (!resp.ok()) {
        qDebug() << "onGetPubGroupDetail: code:" << resp.code() << " message:" << resp.message;
        return;
    }
    m_groupInfo.memberAuthority = resp.group.memberAuthority;
    m_groupInfo.ower = resp.group.ower;
    emit memberAuthorityChanged();
    emit isOwerChanged();
}

void PubGroupDetialModel::onGetPubGroupMemList(TW_HANDLE handle, GetPubGroupMemListResp resp)
{
    if (!isMine(handle, "PubGroupDetialModel::onGetPubGroupMemList"))
        return;
    if (resp.ok()) {
        m_memberTotal = qMin(resp.totalNum, int(kMaxTotal));
        // Each answer replaces the summary: answers of overlapping loads
        // never add up to more than three avatars.
        m_firstMembers = resp.members.mid(0, kHeads);
    } else {
        qDebug() << "onGetPubGroupMemList: code:" << resp.code() << " message:" << resp.message;
    }
    emit userInfoChanged();
}

void PubGroupDetialModel::membersChanged(const APIBase& resp)
{
    // Whoever on this facade changed the members, the summary follows.
    if (resp.ok() && m_groupInfo.gId != 0)
        loadData();
}

void PubGroupDetialModel::onDelPubGroupMember(TW_HANDLE handle, APIBase resp)
{
    Q_UNUSED(handle)
    membersChanged(resp);
}

void PubGroupDetialModel::onEditPubGroupMember(TW_HANDLE handle, APIBase resp, int memberAuth)
{
    Q_UNUSED(handle)
    Q_UNUSED(memberAuth)
    membersChanged(resp);
}
