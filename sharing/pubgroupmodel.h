#pragma once

#include <QList>
#include <QHash>

#include "core/basemodel.h"
#include "core/facadebinding.h"
#include "core/pubgroupinfo.h"
#include "core/twhandle.h"
#include "core/userinfo.h"
#include "protocol/apibase.h"
#include "protocol/createpubgroupresp.h"
#include "protocol/getpubgrouplistresp.h"
#include "transfer/pagerequest.h"

class TidewellDevice;

// The public groups the signed-in account sees on one device, paged in by
// offset and sorted on the device, with the group operations of the list
// page: create, rename, delete, leave and add members.
class PubGroupModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(qint64 totalNum READ totalNum WRITE setTotalNum NOTIFY totalNumChanged)
    Q_PROPERTY(qint64 loadNum READ loadNum NOTIFY loadNumChanged)
    Q_PROPERTY(qint64 selectNum READ selectNum NOTIFY selectNumChanged)
    Q_PROPERTY(bool isSort READ isSort WRITE setIsSort NOTIFY isSortChanged)
    Q_PROPERTY(int sortType READ sortType WRITE setSortType NOTIFY sortTypeChanged)
    // The personal disk's serial as the device reports it with its groups:
    // the disk a new group goes on. Empty until a list answer names it.
    Q_PROPERTY(QString diskSerial READ diskSerial NOTIFY diskSerialChanged)
public:
    enum Role {
        GNameRole = Qt::UserRole + 1,   // 257
        GUserRole,
        CreateTimeRole,
        ModifyTimeRole,
        GSizeRole,
        IsOwerRole,
        SelectedRole,                   // 263
    };

    explicit PubGroupModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    QObject* tw() const;
    void setTw(QObject* tw);
    qint64 totalNum() const { return m_totalNum; }
    void setTotalNum(qint64 num);
    qint64 loadNum() const { return m_groups.size(); }
    qint64 selectNum() const { return m_selected >= 0 ? 1 : 0; }
    bool isSort() const { return m_isSort; }
    void setIsSort(bool isSort);
    int sortType() const { return m_sortType; }
    void setSortType(int sortType);
    QString diskSerial() const { return m_diskSerial; }

    TW_HANDLE handle() const { return m_handle; }
    const QList<PubGroupInfo>& groups() const { return m_groups; }
    int selected() const { return m_selected; }
    bool hasMore() const { return m_hasMore; }
    bool isLoading() const { return m_isLoading; }
    int offset() const { return m_offset; }

    Q_INVOKABLE void resetData();
    Q_INVOKABLE void refershData();
    Q_INVOKABLE void singleSelect(int itemIndex, bool isFocus);
    Q_INVOKABLE void singleSelect(int itemIndex) { singleSelect(itemIndex, false); }
    Q_INVOKABLE QVariantMap get();
    Q_INVOKABLE void createPubGroup(QString name, QString diskSerial);
    Q_INVOKABLE void editPubGroupMember(int gId, int memberAuth, QStringList accessIds);
    Q_INVOKABLE void editPubGroupName(QString newName);
    Q_INVOKABLE void delPubGroup();
    Q_INVOKABLE void exitPubGroup();

signals:
    void twChanged();
    void totalNumChanged();
    void loadNumChanged();
    void selectNumChanged();
    void isSortChanged();
    void sortTypeChanged();
    void diskSerialChanged();
    void rCreatePubGroup(int code, QString msg, int gId);
    void rEditPubGroupMember(int code, QString msg);

private slots:
    void onGetPubGroupList(TW_HANDLE handle, GetPubGroupListResp respData);
    void onCreatePubGroup(TW_HANDLE handle, CreatePubGroupResp respData);
    void onEditPubGroupMember(TW_HANDLE handle, APIBase respData, int memberAuth);
    void onModifyPubGroupName(TW_HANDLE handle, APIBase respData, QString name);
    void onDelPubGroup(TW_HANDLE handle, APIBase respData);
    void onChangePubGroupOwner(TW_HANDLE handle, APIBase respData);

private:
    TidewellDevice* device() const;
    void loadPage();
    void updateDefaultState();
    void refreshIfAsked();
    bool mine(TW_HANDLE handle, const char* where) const;
    int rowOfGroup(int gId) const;
    // The facade would not send: the overlay ends.
    void refused(const char* what);
    // A request about the selected group (none: nothing), sent with a handle
    // of its own: answers may come back in any order, and each finds its
    // group by that handle in pending (unless the facade refused to send).
    template <class Send>
    void askForSelected(QHash<TW_HANDLE, int>& pending, const char* what, Send send);
    // The group a request's answer is about; false for another requester's.
    bool takePending(QHash<TW_HANDLE, int>& pending, TW_HANDLE handle, const char* where, int& gId);

    TW_HANDLE m_handle;
    FacadeBinding<> m_tw;
    QList<PubGroupInfo> m_groups;
    UserInfo m_account;
    int m_selected = -1;
    bool m_hasMore = true;
    bool m_isLoading = false;
    bool m_resetPending = false;
    // A refresh asked while a listing was on its way (say, the sort
    // changed): sent once that listing is in.
    bool m_refreshAgain = false;
    qint64 m_totalNum = 0;
    int m_pageSize = 60;
    int m_offset = 0;
    bool m_isSort = false;
    int m_sortType = 0;
    int m_queryType = 0;
    QString m_diskSerial;
    // Groups named by the requests in flight, oldest first: answers change
    // these rows, not whatever is selected when they arrive.
    QHash<TW_HANDLE, int> m_renaming;
    QHash<TW_HANDLE, int> m_removing;
    // List requests by generation: a reset makes those in flight stale.
    PageRequest m_pages;
};
