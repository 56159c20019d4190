#pragma once

#include <QFileInfo>
#include <QList>
#include <QVariantMap>

#include "core/common.h"
#include "core/utils.h"
#include "transfer/transferlistmodel.h"

// TransferListModel over the rows of one queue kind (DownFileInfo or
// UploadFileInfo): row access, role reading and writing, paging in, the
// managers' live reports, and handing rows to the queue manager's commands.
template <class Rec>
class TransferQueueModel : public TransferListModel
{
public:
    using TransferListModel::TransferListModel;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || !isValidRow(index.row()))
            return QVariant();
        return roleData(m_rows.at(index.row()), role, isSelected(index.row()));
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override
    {
        if (!index.isValid() || !isValidRow(index.row()))
            return false;
        return writeRole(m_rows[index.row()], value, role);
    }

    QVariantMap getFileData(int index) const override
    {
        return isValidRow(index) ? m_rows.at(index).toVariantMap() : QVariantMap();
    }

protected:
    int recordCount() const override { return m_rows.size(); }
    int recordFId(int row) const override { return m_rows.at(row).fId; }
    void eraseRecord(int row) override { m_rows.removeAt(row); }

    // Sends the selected records, ascending or descending, to a manager
    // command; nothing without a manager or a selection.
    template <class Manager>
    void sendSelected(Manager* m, void (Manager::*command)(QList<Rec>), bool ascending)
    {
        QList<Rec> list;
        for (int row : selectedRows(ascending))
            list.append(m_rows.at(row));
        if (m && !list.isEmpty())
            emit(m->*command)(list);
    }

    // Sends the record of row index to a manager command.
    template <class Manager>
    void sendRow(Manager* m, void (Manager::*command)(Rec), int index)
    {
        if (m && isValidRow(index))
            emit(m->*command)(m_rows.at(index));
    }

    void applyPage(const QList<Rec>& pageRows);

    // Live reports of the managers.
    void reportStart(const Rec& f);
    void reportProgress(const Rec& f);
    void reportPause(const Rec& f);
    void reportError(const Rec& f);

    QList<Rec> m_rows;

private:
    static QVariant roleData(const Rec& r, int role, bool selected);
    static bool writeRole(Rec& r, const QVariant& value, int role);
    // Rows are top-level entries; a report about a file inside a folder
    // carries an id of the other table and never names a row.
    int rowOfReport(const Rec& f) const { return f.isSubItem ? -1 : findRow(f.fId); }
};

template <class Rec>
void TransferQueueModel<Rec>::applyPage(const QList<Rec>& pageRows)
{
    const int n = pageRows.size();
    // A page read again is merged like any later page.
    const bool again = m_askedPage < m_page;
    const bool first = m_askedPage == 1 && !again;
    // Paging state first: a view may ask for more from inside the
    // notifications below.
    if (n < kPageSize)
        m_hasMore = false;
    else if (!again)
        ++m_page;
    mergePage(m_rows, pageRows, first);
    if (first)
        pruneSelection();
    setDefaultState();
    emit loadNumChanged();
    if (n > 0 || first)
        emitSelectionSignals();
}

template <class Rec>
QVariant TransferQueueModel<Rec>::roleData(const Rec& r, int role, bool selected)
{
    switch (role) {
    case FileTypeRole:
        return r.isFolder ? int(Common::MT_Folder) : getMediaType(QFileInfo(r.fileName).suffix());
    case FileNameRole:
        return r.isFolder ? shownName(r.fileName) + " (" + QString::number(r.num) + ")" : shownName(r.fileName);
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
        return ", " + (r.msg.isEmpty() ? tr("Unknown error") : shownName(r.msg));
    case SelectedRole:
        return selected;
    default:
        return QVariant();
    }
}

template <class Rec>
bool TransferQueueModel<Rec>::writeRole(Rec& r, const QVariant& value, int role)
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
void TransferQueueModel<Rec>::reportStart(const Rec& f)
{
    if (m_rows.isEmpty())
        return;
    const int row = rowOfReport(f);
    if (row >= 0) {
        Rec& r = m_rows[row];
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
void TransferQueueModel<Rec>::reportProgress(const Rec& f)
{
    if (m_rows.isEmpty())
        return;
    const int row = rowOfReport(f);
    if (row < 0)
        return;
    Rec& r = m_rows[row];
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
void TransferQueueModel<Rec>::reportPause(const Rec& f)
{
    // A pause or a failure is told once, unlike progress; starts of a
    // folder's small files come too often to read the page again for each.
    readAgainIfLoading();
    if (m_rows.isEmpty())
        return;
    const int row = rowOfReport(f);
    if (row >= 0) {
        Rec& r = m_rows[row];
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
void TransferQueueModel<Rec>::reportError(const Rec& f)
{
    readAgainIfLoading();
    if (m_rows.isEmpty())
        return;
    const int row = rowOfReport(f);
    if (row < 0)
        return;
    Rec& r = m_rows[row];
    r.fileState = f.fileState;
    r.msg = f.msg;
    if (r.isFolder) {
        r.num = f.num;
        notifyRow(row, {StatusRole, MsgRole, FileNameRole});
    } else {
        notifyRow(row, {StatusRole, MsgRole});
    }
}
