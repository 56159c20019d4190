#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QVariantMap>

#include "core/basemodel.h"
#include "core/extlink.h"
#include "core/extlinks.h"
#include "core/facadebinding.h"
#include "core/twhandle.h"
#include "protocol/apibase.h"
#include "protocol/delexternallinkresp.h"
#include "protocol/devicesharegetinforesp.h"
#include "protocol/devicesharegettokenresp.h"
#include "protocol/getexternallinklistresp.h"
#include "transfer/pagerequest.h"

class TidewellDevice;
class TidewellExtlink;

// The QML list of external links. Device mode (facade TidewellDevice): the
// links the user created on the open device. Client mode (facade
// TidewellExtlink): links received from others and stored locally. The mode
// is set before the facade.
class ExtlinkListModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(bool deviceMode READ deviceMode WRITE setDeviceMode NOTIFY deviceModeChanged)
    Q_PROPERTY(qlonglong totalNum READ totalNum WRITE setTotalNum NOTIFY totalNumChanged)
    Q_PROPERTY(qlonglong loadNum READ loadNum NOTIFY loadNumChanged)
    Q_PROPERTY(qlonglong selectNum READ selectNum NOTIFY selectNumChanged)
    Q_PROPERTY(bool isSort READ isSort WRITE setIsSort NOTIFY isSortChanged)
    Q_PROPERTY(int sortType READ sortType WRITE setSortType NOTIFY sortTypeChanged)
public:
    enum Roles {
        NameRole = 257,
        UrlRole,
        OwnerRole,
        CreateTimeRole,
        SelectedRole,
        UserVisitTimeRole,
        ResVisitTimeRole,
    };

    static constexpr int kPageSize = 60;

    explicit ExtlinkListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    QObject* tw() const { return m_tw.data(); }
    void setTw(QObject* tw);
    bool deviceMode() const { return m_deviceMode; }
    void setDeviceMode(bool on);
    qlonglong totalNum() const { return m_totalNum; }
    void setTotalNum(qlonglong n);
    qlonglong loadNum() const { return m_rows.size(); }
    qlonglong selectNum() const { return m_selected >= 0 ? 1 : 0; }
    bool isSort() const { return m_isSort; }
    void setIsSort(bool on);
    int sortType() const { return m_sortType; }
    void setSortType(int type);

    // For tests and the owner page.
    bool hasMore() const { return m_hasMore; }
    bool isLoading() const { return m_isLoading; }
    bool isRefreshing() const { return m_refreshing; }
    Extlink pending() const { return m_pending; }
    QList<Extlink> rows() const { return m_rows; }

    Q_INVOKABLE void addExtlink(QString url);
    Q_INVOKABLE void checkExtlink(QString url, QString code);
    Q_INVOKABLE void operateCopy(int index);
    Q_INVOKABLE void operateShare(int index);
    Q_INVOKABLE void operateRemove(int index);
    Q_INVOKABLE void shareExtlink(QString type);
    Q_INVOKABLE void resetData();
    Q_INVOKABLE void refershData();
    Q_INVOKABLE void singleSelect(int itemIndex, bool isFocus);
    Q_INVOKABLE void singleSelect(int itemIndex) { singleSelect(itemIndex, false); }
    Q_INVOKABLE QVariantMap get();

signals:
    void twChanged();
    void deviceModeChanged();
    void totalNumChanged();
    void loadNumChanged();
    void selectNumChanged();
    void isSortChanged();
    void sortTypeChanged();
    void extractedCodeExtlink(QVariantMap value);
    void showShareAlert(QVariantMap info, QImage img);

public slots:
    void rDeviceShareGetInfo(TW_HANDLE handle, DeviceShareGetInfoResp resp, QString url);
    void rDeviceShareGetToken(TW_HANDLE handle, DeviceShareGetTokenResp resp,
                              QString extractedCode);
    void rGetExtlinkList(TW_HANDLE handle, Extlinks links);
    void rGetExtlinkList2(TW_HANDLE handle, GetExternalLinkListResp resp);
    void rDelExternalLink(TW_HANDLE handle, DelExternalLinkResp resp);
    void rAddExtlink(TW_HANDLE handle, APIBase resp);
    void rRemoveExtlink(TW_HANDLE handle, APIBase resp);

private:
    TidewellDevice* device() const;
    TidewellExtlink* extlink() const;
    bool mine(TW_HANDLE handle, const char* where) const;
    void loadPage();
    void takePage(const Extlinks& page);
    void updateDefaultState();
    // One row in or out; the selection keeps to its link, the counts follow.
    int sortedRow(const Extlink& link) const;
    void insertLinkAt(int row, const Extlink& link);
    void removeLinkAt(int row);
    // Stores a copy; the answer comes back with its own handle so that a
    // refusal can take the row away again.
    void storeLink(const Extlink& link);
    // A removal the device or store refused: the row comes back.
    void removalAnswered(TW_HANDLE handle, const APIBase& resp);
    void setSelected(int row);

    FacadeBinding<> m_tw;
    QList<Extlink> m_rows;
    int m_selected = -1;
    bool m_hasMore = true;
    bool m_isLoading = false;
    bool m_refreshing = false;
    qlonglong m_totalNum = 0;
    int m_pageSize = kPageSize;
    int m_offset = 0;
    // Page requests by generation: a reset makes those in flight stale.
    PageRequest m_pages;
    bool m_isSort = false;
    int m_sortType = 0;
    int m_queryType = 0;
    Extlink m_pending;
    bool m_deviceMode = false;

    const TW_HANDLE m_handle;
    struct Removal
    {
        Extlink link;
        int row;
    };
    QHash<TW_HANDLE, Removal> m_removals;
    QHash<TW_HANDLE, Extlink> m_adds;
};
