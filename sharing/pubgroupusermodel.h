#pragma once

#include <QList>
#include <QMap>
#include <QPointer>
#include <QVariantMap>
#include <QVector>

#include "core/basemodel.h"
#include "core/facadebinding.h"
#include "core/pubgroupmember.h"
#include "core/twhandle.h"
#include "protocol/apibase.h"
#include "protocol/getpubgroupmemlistresp.h"

class TidewellDevice;

// The members of one public group (userType 1), or the device users that
// can still be added to it (userType 2): one request of up to 200 users.
// The member dialog changes a member's right, removes a member and hands the
// group over; the picker chooses users. Selection-based operations act on
// the member of the lowest selected row.
class PubGroupUserModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(bool isAll READ isAll NOTIFY isAllChanged)
    Q_PROPERTY(int selectNum READ selectNum NOTIFY selectNumChanged)
    Q_PROPERTY(bool isCheck READ isCheck NOTIFY isCheckChanged)
    Q_PROPERTY(int userType READ userType WRITE setUserType NOTIFY userTypeChanged)
    Q_PROPERTY(int groupId READ groupId WRITE setGroupId NOTIFY groupIdChanged)
    Q_PROPERTY(QString accId READ accId WRITE setAccId NOTIFY accIdChanged)
public:
    enum Role {
        UserHeadRole = Qt::UserRole + 1,   // 257
        UserNameRole,
        JoinTimeRole,
        AuthTypeRole,
        SelectedRole,
    };
    Q_ENUM(Role)

    static const int kPageSize = 200;

    explicit PubGroupUserModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* tw() const;
    void setTw(QObject* tw);
    bool isAll() const;
    int selectNum() const { return m_selection.size(); }
    bool isCheck() const { return !m_selection.isEmpty(); }
    int userType() const { return m_userType; }
    void setUserType(int type);
    int groupId() const { return m_groupId; }
    void setGroupId(int id);
    QString accId() const { return m_accId; }
    void setAccId(const QString& accId);

    Q_INVOKABLE void loadData();
    Q_INVOKABLE QVariantMap get() const;
    Q_INVOKABLE QVariantMap getSelectData() const;
    Q_INVOKABLE void allSelect();
    Q_INVOKABLE void multiSelect(int itemIndex);
    Q_INVOKABLE void singleSelect(int itemIndex, bool isFocus);
    Q_INVOKABLE void singleSelect(int itemIndex);
    Q_INVOKABLE void changePubGroupOwner();
    Q_INVOKABLE void editPubGroupMember(int authType);
    Q_INVOKABLE void delPubGroupMember();

signals:
    void twChanged();
    void isAllChanged();
    void selectNumChanged();
    void isCheckChanged();
    void userTypeChanged();
    void groupIdChanged();
    void accIdChanged();
    void rChangePubGroupOwner();

public slots:
    void onGetPubGroupMemList(TW_HANDLE handle, GetPubGroupMemListResp resp);
    void onChangePubGroupOwner(TW_HANDLE handle, APIBase resp);
    void onEditPubGroupMember(TW_HANDLE handle, APIBase resp, int memberAuth);
    void onDelPubGroupMember(TW_HANDLE handle, APIBase resp);

private:
    bool isMine(TW_HANDLE handle, const char* where) const;
    // The member of the lowest selected row; false without a selection.
    bool firstSelected(PubGroupMember& out) const;
    int rowOf(const QString& accId) const;
    void selectionChanged(int row = -1);
    // Common front of an operation answer; true when it succeeded.
    bool answered(TW_HANDLE handle, const APIBase& resp, const char* where);

    FacadeBinding<TidewellDevice> m_tw;
    TW_HANDLE m_handle;
    QString m_accId;
    int m_groupId = 0;
    int m_userType = 2;
    QList<PubGroupMember> m_members;
    QMap<int, int> m_selection;   // row -> row
    // The member each operation named: its answer applies to that member,
    // whatever is selected by the time it arrives.
    QString m_editTarget;
    QString m_removeTarget;
};
