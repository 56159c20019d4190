#pragma once

#include "transfer/bttaskmodel.h"
#include "transfer/pagerequest.h"

// The device's finished internet download tasks, paged through the view.
class SmartDownFinishModel : public BtTaskModel
{
    Q_OBJECT
public:
    enum Role {
        FileIconRole = Qt::UserRole + 1,   // 257
        FileNameRole,
        FileSizeRole,
        FileDateRole,
        StatusRole,
        ExceptionRole,
        SelectedRole,                      // 263
    };

    explicit SmartDownFinishModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    int page() const { return m_page; }
    bool isLoading() const { return m_loading; }

    void refershData() override;
    void allDelete(bool isDeleteFile) override;
    Q_INVOKABLE void startIndex(int itemIndex);
    Q_INVOKABLE void deleteIndex(int itemIndex, bool isDel);

public slots:
    void onBtGetTaskList(TW_HANDLE handle, BTGetTaskListResp dataRsp) override;

private:
    bool m_hasMore = true;
    bool m_loading = false;
    int m_page = 0;
    bool m_refreshing = false;
    // List pages by generation: a refresh makes those in flight stale.
    PageRequest m_pages;
};
