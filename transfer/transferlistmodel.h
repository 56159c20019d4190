#pragma once

#include <QList>
#include <QSet>
#include <QVector>

#include "core/facadebinding.h"
#include "transfer/pagedlistmodel.h"

class LVFinishManager;

// Common part of the download and upload queue lists: paging through the
// finish manager, the refresh guard, the selection and the finish counter;
// the row type's part is TransferQueueModel. The selection names records by
// fId, so commands act on what the user picked even after other rows went
// away.
class TransferListModel : public PagedListModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* twfs READ twfs WRITE setTwfs NOTIFY twfsChanged)
    Q_PROPERTY(bool isAll READ isAll NOTIFY isAllChanged)
    Q_PROPERTY(int selectNum READ selectNum NOTIFY selectNumChanged)
    Q_PROPERTY(bool isCheck READ isCheck NOTIFY isCheckChanged)
    Q_PROPERTY(int totalNum READ totalNum NOTIFY totalNumChanged)
    Q_PROPERTY(int loadNum READ loadNum NOTIFY loadNumChanged)
    Q_PROPERTY(int taskState READ taskState NOTIFY taskStateChanged)
public:
    enum Role {
        FileTypeRole = Qt::UserRole + 1,  // 257
        FileNameRole,
        ReceiveSizeRole,
        WriteSizeRole,
        FileSizeRole,
        StatusRole,
        PValRole,
        SpeedRole,
        MsgRole,
        SelectedRole,                     // 266
    };

    explicit TransferListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* twfs() const;
    void setTwfs(QObject* obj);
    bool isAll() const;
    int selectNum() const { return m_selected.size(); }
    bool isCheck() const { return !m_selected.isEmpty(); }
    int totalNum() const { return m_totalNum; }
    int loadNum() const { return recordCount(); }
    int taskState() const { return m_taskState; }

    Q_INVOKABLE void refershData();
    Q_INVOKABLE void allSelect();
    Q_INVOKABLE void singleSelect(int itemIndex);
    Q_INVOKABLE void multiSelect(int itemIndex);
    // The record of a loaded row as a map; empty for a row out of range.
    Q_INVOKABLE virtual QVariantMap getFileData(int index) const = 0;

signals:
    void twfsChanged();
    void isAllChanged();
    void selectNumChanged();
    void isCheckChanged();
    void totalNumChanged();
    void loadNumChanged();
    void taskStateChanged();

protected:
    static constexpr int kPageSize = 30;
    // Full reload after this many rows were removed on finish.
    static constexpr int kFinishReload = 10;

    virtual int recordCount() const = 0;
    virtual int recordFId(int row) const = 0;
    virtual void eraseRecord(int row) = 0;
    // Page request plus the total and queue-state questions that go with it.
    virtual void sendPageRequest(LVFinishManager* fm, int page, int pageSize, int serial) = 0;
    // Whether a page request shows the busy overlay.
    virtual bool pageOverlay() const { return false; }
    virtual void sendTotalRequest() = 0;
    virtual void sendStateRequest() = 0;
    // The connections to a newly set finish manager.
    virtual QVector<QMetaObject::Connection> connectFinishManager(LVFinishManager* fm) = 0;
    virtual QString emptyText() const = 0;

    LVFinishManager* finishManager() const;
    void loadData() override;
    void refresh();
    bool isValidRow(int row) const { return row >= 0 && row < recordCount(); }
    int findRow(int fId) const;
    bool isSelected(int row) const;
    // Loaded rows of the selection, ascending or descending.
    QList<int> selectedRows(bool ascending) const;
    void notifyRow(int row, const QVector<int>& roles);
    void emitSelectionSignals();
    void setDefaultState();
    void takeTotal(bool rs, int num);
    void takeTaskState(int state);
    // False when the answer is not to be applied (another model's, stale,
    // or a failure, which is reported and keeps the rows).
    bool acceptPage(int serial, bool ok);
    // A removed-on-finish report for fId.
    void recordFinished(int fId);
    // A page still being read may predate a report and would bring the old
    // state back: it is read again once it is in.
    void readAgainIfLoading();

    // Drops selected fIds no longer loaded.
    void pruneSelection();

private:
    void clearSelectionNotify();

    FacadeBinding<LVFinishManager> m_twfs;
    QSet<int> m_selected;  // fIds
    int m_totalNum = 0;
    int m_finishedRows = 0;
    bool m_shifted = false;
    int m_taskState = 0;
};
