#pragma once

#include <QList>
#include <QMap>

#include "core/basemodel.h"
#include "core/facadebinding.h"
#include "core/twhandle.h"
#include "protocol/apibase.h"
#include "protocol/copyfilefaillistsresp.h"
#include "transfer/pagerequest.h"

// The device's failed copy jobs, paged, for the copy-failure alert of a
// device tab: retry or delete them one by one or by selection.
class CopyFailModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw)
    Q_PROPERTY(qlonglong fileNum READ fileNum WRITE setFileNum NOTIFY fileNumChanged)
    Q_PROPERTY(bool isAll READ isAll NOTIFY isAllChanged)
    Q_PROPERTY(bool isCheck READ isCheck NOTIFY isCheckChanged)
public:
    enum Role {
        FileTypeRole = Qt::UserRole + 1,   // 257
        FileNameRole,
        FileInfoRole,
        FileNumRole,
        ErrorMsgRole,
        SelectedRole,                      // 262
    };

    explicit CopyFailModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    QObject* tw() const { return m_tw.data(); }
    void setTw(QObject* tw);
    qlonglong fileNum() const { return m_fileNum; }
    void setFileNum(qlonglong num);
    bool isAll() const;
    bool isCheck() const { return !m_selection.isEmpty(); }
    TW_HANDLE handle() const { return m_handle; }
    int page() const { return m_page; }
    bool isLoading() const { return m_loading; }

    Q_INVOKABLE void resetData();
    Q_INVOKABLE void allSelect();
    Q_INVOKABLE void clearSelect();
    Q_INVOKABLE void multiSelect(int itemIndex);
    Q_INVOKABLE void singleTry(int itemIndex);
    Q_INVOKABLE void singleDel(int itemIndex);
    Q_INVOKABLE void batchTry();
    Q_INVOKABLE void batchDel();

    static QString infoText(const CopyFailInfo& info);
    static QString errorText(int failcode);

public slots:
    void onCopyFileFailLists(TW_HANDLE handle, CopyFileFailListsResp respData);
    void onRetryCopyTask(TW_HANDLE handle, APIBase respData, QMap<int, qint64> selectItems);

signals:
    void fileNumChanged();
    void isAllChanged();
    void isCheckChanged();
    // Forwarded to the facade's request signals of the same name.
    void sCopyFileFailLists(TW_HANDLE handle, int pageNo, int pageSize);
    void sRetryCopyTask(TW_HANDLE handle, QMap<int, qint64> selectItems);
    void sDeleteCopyFailLists(TW_HANDLE handle, QMap<int, qint64> selectItems);

private:
    static constexpr int kPageSize = 50;

    void requestPage();
    void selectionChanged(int row);

    FacadeBinding<> m_tw;
    QList<CopyFailInfo> m_rows;
    QMap<int, qint64> m_selection;
    qlonglong m_fileNum = 0;
    bool m_hasMore = false;
    bool m_loading = false;
    bool m_refreshing = false;
    int m_page = 1;
    const TW_HANDLE m_handle = twNewHandle();
    // List pages by generation: a reset makes those in flight stale.
    PageRequest m_pages;
};
