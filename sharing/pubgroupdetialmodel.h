#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

#include "core/facadebinding.h"
#include "core/pubgroupinfo.h"
#include "core/pubgroupmember.h"
#include "core/twhandle.h"
#include "protocol/apibase.h"
#include "protocol/getpubgroupdetailresp.h"
#include "protocol/getpubgroupmemlistresp.h"

class TidewellDevice;

// Follows the open group of the public-space page: the signed-in account's
// right in it, whether it owns it, and the header's member summary (the
// count, at most 99, and up to three avatars). Reloads itself when any
// model on the same facade removes a member or changes a right.
class PubGroupDetialModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(QVariantMap groupInfo READ groupInfo WRITE setGroupInfo NOTIFY groupInfoChanged)
    Q_PROPERTY(int memberAuthority READ memberAuthority NOTIFY memberAuthorityChanged)
    Q_PROPERTY(bool isOwer READ isOwer NOTIFY isOwerChanged)
    Q_PROPERTY(QVariantMap userInfo READ userInfo NOTIFY userInfoChanged)
public:
    static const int kMaxTotal = 99;
    static const int kHeads = 3;

    explicit PubGroupDetialModel(QObject* parent = nullptr);

    QObject* tw() const;
    void setTw(QObject* tw);
    QVariantMap groupInfo() const { return m_groupInfo.toMap(); }
    void setGroupInfo(const QVariantMap& map);
    int memberAuthority() const { return m_groupInfo.memberAuthority; }
    bool isOwer() const;
    QVariantMap userInfo() const;

    Q_INVOKABLE void loadData();
    Q_INVOKABLE void editPubGroupMember(int gId, int memberAuth, QStringList accessIds);

signals:
    void twChanged();
    void groupInfoChanged();
    void memberAuthorityChanged();
    void isOwerChanged();
    void userInfoChanged();
    void willLoadData();

public slots:
    void onGetPubGroupMemList(TW_HANDLE handle, GetPubGroupMemListResp resp);
    void onGetPubGroupDetail(TW_HANDLE handle, GetPubGroupDetailResp resp);
    void onDelPubGroupMember(TW_HANDLE handle, APIBase resp);
    void onEditPubGroupMember(TW_HANDLE handle, APIBase resp, int memberAuth);

private:
    bool isMine(TW_HANDLE handle, const char* where) const;
    void membersChanged(const APIBase& resp);

    FacadeBinding<TidewellDevice> m_tw;
    TW_HANDLE m_handle;
    PubGroupInfo m_groupInfo;
    int m_memberTotal = 0;
    QList<PubGroupMember> m_firstMembers;
};
