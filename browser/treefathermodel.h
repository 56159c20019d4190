#pragma once

#include <QList>
#include <QVariantMap>

#include "core/basemodel.h"
#include "core/facadebinding.h"
#include "core/pubgroupinfo.h"
#include "core/twhandle.h"
#include "protocol/getpubgrouplistresp.h"

class TidewellDevice;

// The top level of the folder picker on the public-space page: the public
// groups the account belongs to, each shown as a disk.
class TreeFatherModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
public:
    enum Roles {
        DiskNameRole = Qt::UserRole + 1,
        GroupIdRole,
        DiskTypeRole,
        MemberAuthorityRole,
    };

    explicit TreeFatherModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* tw() const;
    void setTw(QObject* tw);
    TW_HANDLE handle() const { return m_handle; }
    const QList<PubGroupInfo>& groups() const { return m_groups; }

    // Asks the device for the groups (answer: rGetPubGroupList).
    Q_INVOKABLE bool loadGroups();
    // The group's top folder as a target folder map (diskType 3).
    Q_INVOKABLE QVariantMap folder(int row) const;
    // The same for a group record.
    static QVariantMap groupFolder(const PubGroupInfo& group);

public slots:
    void rGetPubGroupList(TW_HANDLE handle, GetPubGroupListResp resp);

signals:
    void twChanged();

private:
    TW_HANDLE m_handle;
    FacadeBinding<TidewellDevice> m_tw;
    QList<PubGroupInfo> m_groups;
};
