#pragma once

#include <functional>

#include <QFileInfo>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QVector>

#include "core/common.h"
#include "core/utils.h"
#include "transfer/pagedlistmodel.h"

class LVFinishManager;

// Common part of the download and upload queue lists: paging through the
// finish manager, the refresh guard, the selection, the finish counter and
// the live row updates. The selection names records by fId, so commands act
// on what the user picked even after other rows went away.
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

    QObject* twfs() const { return m_twfs; }
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
    virtual void sendTotalRequest() = 0;
    virtual void sendStateRequest() = 0;
    virtual void connectFinishManager(LVFinishManager* fm) = 0;
    virtual QString emptyText() const = 0;

    LVFinishManager* finishManager() const;
    void loadData() override;
    void refresh();
    bool isValidRow(int row) const { return row >= 0 && row < recordCount(); }
    int findRow(int fId) const;
    // Rows are top-level entries; a report about a file inside a folder
    // carries an id of the other table and never names a row.
    template <class Rec>
    int rowOfReport(const Rec& f) const { return f.isSubItem ? -1 : findRow(f.fId); }
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

    template <class Rec>
    void applyPage(QList<Rec>& rows, const QList<Rec>& pageRows);
    template <class Rec>
    static QVariant roleData(const Rec& r, int role, bool selected);
    template <class Rec>
    static bool writeRole(Rec& r, const QVariant& value, int role);
    template <class Rec>
    static QVariantMap rowMap(const QList<Rec>& rows, int row);

    // Live reports of the managers.
    template <class Rec>
    void reportStart(QList<Rec>& rows, const Rec& f);
    template <class Rec>
    void reportProgress(QList<Rec>& rows, const Rec& f);
    template <class Rec>
    void reportPause(QList<Rec>& rows, const Rec& f);
    template <class Rec>
    void reportError(QList<Rec>& rows, const Rec& f);
    template <class Rec>
    QList<Rec> selectedRecords(const QList<Rec>& rows, bool ascending) const;

private:
    void pruneSelection();
    void clearSelectionNotify();

    QPointer<QObject> m_twfs;
    QSet<int> m_selected;  // fIds
    int m_totalNum = 0;
    int m_finishedRows = 0;
    int m_taskState = 0;
};

template <class Rec>
void TransferListModel::applyPage(QList<Rec>& rows, const QList<Rec>& pageRows)
{
    const int n = pageRows.size();
    const bool first = m_page == 1;
    // Paging state first: a view may ask for more from inside the
    // notifications below.
    if (n >= kPageSize)
        ++m_page;
    else
        m_hasMore = false;
    mergePage(rows, pageRows, first);
    if (first)
        pruneSelection();
    setDefaultState();
    emit loadNumChanged();
    if (n > 0 || first)
        emitSelectionSignals();
}

template <class Rec>
QVariant TransferListModel::roleData(const Rec& r, int role, bool selected)
{
    switch (role) {
    case FileTypeRole:
        return r.isFolder ? int(Common::MT_Folder) : getMediaType(QFileInfo(r.fileName).suffix());
    case FileNameRole:
        return r.isFolder ? r.fileName + " (" + QString::number(r.num) + ")" : r.fileName;
    case ReceiveSizeRole:
        return formatFileSize(r.fileWriteLen);
    case WriteSizeRole:
        return qint64(r.fileWriteLen);
    case FileSizeRole:
        return formatFileSize(r.fileSize);
    case StatusRole:
        return r.fileState;
    case PValRole:
        return r.progress;
    case SpeedRole:
        return formatFileSize(r.speed) + "/s";
    case MsgRole:
        return ", " + (r.msg.isEmpty() ? tr("Unknown error") : r.msg);
    case SelectedRole:
        return selected;
    default:
        return QVariant();
    }
}

template <class Rec>
bool TransferListModel::writeRole(Rec& r, const QVariant& value, int role)
{
    switch (role) {
    case FileNameRole: r.num = value.toInt(); break;
    case ReceiveSizeRole: r.fileWriteLen = value.toLongLong(); break;
    case FileSizeRole: r.fileSize = value.toLongLong(); break;
    case StatusRole: r.fileState = value.toInt(); break;
    case PValRole: r.progress = value.toFloat(); break;
    case SpeedRole: r.speed = value.toInt(); break;
    case MsgRole: r.msg = value.toString(); break;
    default: break;
    }
    return true;
}

template <class Rec>
QVariantMap TransferListModel::rowMap(const QList<Rec>& rows, int row)
{
    if (row < 0 || row >= rows.size())
        return QVariantMap();
    return rows.at(row).toVariantMap();
}

template <class Rec>
void TransferListModel::reportStart(QList<Rec>& rows, const Rec& f)
{
    if (rows.isEmpty())
        return;
    const int row = rowOfReport(f);
    if (row >= 0) {
        Rec& r = rows[row];
        r.fileState = f.fileState;
        if (r.isFolder) {
            r.fileWriteLen = f.fileWriteLen;
            r.progress = f.progress;
            r.fileSize = f.fileSize;
            r.num = f.num;
            notifyRow(row, {StatusRole, ReceiveSizeRole, WriteSizeRole, PValRole, FileSizeRole,
                            FileNameRole});
        } else {
            notifyRow(row, {StatusRole});
        }
    }
    sendStateRequest();
}

template <class Rec>
void TransferListModel::reportProgress(QList<Rec>& rows, const Rec& f)
{
    if (rows.isEmpty())
        return;
    const int row = rowOfReport(f);
    if (row < 0)
        return;
    Rec& r = rows[row];
    r.fileState = f.fileState;
    r.fileWriteLen = f.fileWriteLen;
    r.progress = f.progress;
    r.speed = f.speed;
    if (r.isFolder) {
        r.fileSize = f.fileSize;
        notifyRow(row, {StatusRole, ReceiveSizeRole, WriteSizeRole, PValRole, FileSizeRole,
                        SpeedRole});
    } else {
        notifyRow(row, {StatusRole, ReceiveSizeRole, WriteSizeRole, PValRole, SpeedRole});
    }
}

template <class Rec>
void TransferListModel::reportPause(QList<Rec>& rows, const Rec& f)
{
    if (rows.isEmpty())
        return;
    const int row = rowOfReport(f);
    if (row >= 0) {
        Rec& r = rows[row];
        r.fileState = f.fileState;
        if (r.isFolder) {
            r.num = f.num;
            notifyRow(row, {StatusRole, FileNameRole});
        } else {
            notifyRow(row, {StatusRole});
        }
    }
    sendStateRequest();
}

template <class Rec>
void TransferListModel::reportError(QList<Rec>& rows, const Rec& f)
{
    if (rows.isEmpty())
        return;
    const int row = rowOfReport(f);
    if (row < 0)
        return;
    Rec& r = rows[row];
    r.fileState = f.fileState;
    r.msg = f.msg;
    if (r.isFolder) {
        r.num = f.num;
        notifyRow(row, {StatusRole, MsgRole, FileNameRole});
    } else {
        notifyRow(row, {StatusRole, MsgRole});
    }
}

template <class Rec>
QList<Rec> TransferListModel::selectedRecords(const QList<Rec>& rows, bool ascending) const
{
    QList<Rec> out;
    for (int row : selectedRows(ascending))
        out.append(rows.at(row));
    return out;
}
