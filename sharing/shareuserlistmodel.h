#pragma once

#include <QList>
#include <QPointer>
#include <QVector>

#include "core/basemodel.h"
#include "core/deviceuserinfo.h"
#include "core/facadebinding.h"
#include "core/twhandle.h"
#include "protocol/getshareuserlistresp.h"

class TidewellDevice;

// The users who share files with the signed-in user, paged in from the
// device; picking one tells QML to open that user's shared files.
class ShareUserListModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
public:
    enum Role {
        UserHeadRole = Qt::UserRole + 1,   // 257
        UserNameRole,
        SelectedRole,
    };
    Q_ENUM(Role)

    explicit ShareUserListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    QObject* tw() const;
    void setTw(QObject* tw);

    Q_INVOKABLE void singleSelect(int itemIndex);
    // The list from its first page again (after a failed load).
    Q_INVOKABLE void reload();

signals:
    void twChanged();
    void selectData(QString accessId, QString userName);

public slots:
    void onGetShareUserList(TW_HANDLE handle, GetShareUserListResp dataRsp);

private:
    FacadeBinding<TidewellDevice> m_tw;
    TW_HANDLE m_handle;
    QList<DeviceUserInfo> m_rows;
    bool m_hasMore = true;
    bool m_isLoading = false;
    int m_page = 0;
    int m_selected = -1;
};
