#pragma once

#include "transfer/bttaskmodel.h"

// The device's internet download tasks in progress: one page, refreshed by
// the page's polling; start, pause and delete them.
class SmartDownModel : public BtTaskModel
{
    Q_OBJECT
    Q_PROPERTY(int taskState READ taskState NOTIFY taskStateChanged)
public:
    enum Role {
        FileIconRole = Qt::UserRole + 1,   // 257
        FileNameRole,
        ReceiveSizeRole,
        FileSizeRole,
        StatusRole,
        PValRole,
        SpeedRole,
        SelectedRole,                      // 264
    };

    explicit SmartDownModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // 1 all tasks paused, 2 paused and unpaused ones, 0 otherwise.
    int taskState() const { return m_taskState; }

    Q_INVOKABLE void loadData();
    void refershData() override;
    void allDelete(bool isDeleteFile) override;
    Q_INVOKABLE void allStart();
    Q_INVOKABLE void allPause();
    Q_INVOKABLE void deleteTask(int itemIndex, bool isDel);
    Q_INVOKABLE void startTask(int itemIndex);
    Q_INVOKABLE void pauseTask(int itemIndex);

public slots:
    void onBtGetTaskList(TW_HANDLE handle, BTGetTaskListResp dataRsp) override;

signals:
    void taskStateChanged();

private:
    void computeTaskState();

    int m_taskState = 0;
};
