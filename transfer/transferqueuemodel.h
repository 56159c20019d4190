#pragma once

#include <QList>
#include <QVariantMap>

#include "transfer/transferlistmodel.h"

// TransferListModel over the rows of one queue kind (DownFileInfo or
// UploadFileInfo): row access, role reading and writing, and handing rows to
// the queue manager's commands.
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

    QVariantMap getFileData(int index) const override { return rowMap(m_rows, index); }

protected:
    int recordCount() const override { return m_rows.size(); }
    int recordFId(int row) const override { return m_rows.at(row).fId; }
    void eraseRecord(int row) override { m_rows.removeAt(row); }

    // Sends the selected records, ascending or descending, to a manager
    // command; nothing without a manager or a selection.
    template <class Manager>
    void sendSelected(Manager* m, void (Manager::*command)(QList<Rec>), bool ascending)
    {
        const QList<Rec> list = selectedRecords(m_rows, ascending);
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

    QList<Rec> m_rows;
};
