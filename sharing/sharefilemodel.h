#pragma once

#include <QJSValue>
#include <QList>
#include <QPointer>
#include <QSet>

#include "core/basemodel.h"
#include "core/deviceuserinfo.h"
#include "core/facadebinding.h"
#include "core/twhandle.h"
#include "core/usergroupinfo.h"
#include "protocol/getshareuserandgrouplistresp.h"

class TidewellDevice;

// The share-target picker: the device's user groups, then its users other
// than the signed-in one. getSelectData gives the accessIds to share with
// (a group stands for its members; repeats stay).
class ShareFileModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(bool isCheck READ isCheck NOTIFY isCheckChanged)
public:
    enum Role {
        UserHeadsRole = Qt::UserRole + 1,   // 257
        UserNameRole,
        SelectedRole,
    };
    Q_ENUM(Role)

    explicit ShareFileModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* tw() const;
    void setTw(QObject* tw);
    bool isCheck() const { return !m_selection.isEmpty(); }

    Q_INVOKABLE void multiSelect(int itemIndex);
    Q_INVOKABLE void clearAllSelect();
    // {"accessIds": [...]}, made in the engine that holds this model.
    Q_INVOKABLE QJSValue getSelectData();
    // The same ids, for callers without a script engine.
    QStringList selectedAccessIds() const;
    Q_INVOKABLE void loadData();

signals:
    void twChanged();
    void isCheckChanged();

public slots:
    void onGetShareUserAndGroupList(TW_HANDLE handle, GetShareUserAndGroupListResp dataRsp);

private:
    // A row is a user group or a user.
    struct Row
    {
        bool isGroup = false;
        UserGroupInfo group;
        DeviceUserInfo user;
    };

    FacadeBinding<TidewellDevice> m_tw;
    TW_HANDLE m_handle;
    QList<Row> m_rows;
    QSet<int> m_selection;
    bool m_loading = false;
};
