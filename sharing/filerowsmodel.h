#pragma once

#include <QList>
#include <QMetaObject>

#include "browser/baselistmodel.h"

// Rows, selection and download hand-over shared by the file lists of the
// public space, the shares and the external links. A derived model fetches
// pages and sends its own file operations; this base keeps the rows.
//
// Rows and roles
//   rows()                    the items, in the device's order.
//   data/roleNames            257 "$FileName", 258 "$FileIcon" (folder 5, a
//                             file the media type of its suffix), 259
//                             "$FileSize" ("--" for folders), 260 "$FileTime"
//                             (rowTime(), "yyyy-MM-dd HH:mm"), 263
//                             "$FileThumbUrl" (fileIconUrl), 268 "$Selected".
//                             Other roles go to extraData()/extraRoleNames().
//   replaceRows / appendRows  a page: a model reset (selection cleared) or
//                             one insertion; both set the loaded count.
//   insertRowAt               one row (a new folder), the selection cleared.
//   removeIds(ids)            removes the rows holding these ids (those a
//                             request named, not whatever is selected now),
//                             keeps the selection of the rows that stay
//                             under their new row numbers; the count removed.
//   rowOfId, typedItem(row)   a row by id; a copy of a row with its type set.
//
// Selection (row -> file id; only rows of the list)
//   singleSelect(row, isFocus), multiSelect(row), allSelect(), clearSelection():
//   each ends in selectionChanged(), which refreshes role 268 and emits
//   isAllChanged, selectNumChanged and isCheckChanged.
//   get(-1) is the lowest selected row (defaultRow()); selectedItems() the
//   selected rows in row order.
//
// Download hand-over
//   downloadSelection(savePath): nothing selected gives the toast "not
//   selected item."; otherwise downloadBusy(true) and handOver(savePath,
//   items). A hand-over refused at once ends the overlay and reports the
//   failure. The answer comes to onAddDownFiles (connect it to the facade's
//   rAddDownFiles): "Already added to download" (code -1, level
//   m_downloadOkLevel) and the selection cleared, or "Failed to add file to
//   download" (303, level 2).
//
// Paging answers
//   pageFailed(code, message, toastAlways, where): the error view for an
//   empty list (a toast otherwise, or always), logged with where; paging
//   stops until the list is loaded again (refreshData), and a reset can
//   start again.
//   Page requests carry beginPage()'s handle and answers pass takePage()
//   (BaseListModel): resetData starts a new listing, so a page asked before
//   it is dropped whenever it comes. unseen() leaves out rows already shown.
//   busyRefused(): a request the facade would not send; the overlay ends.
//
// Facade connections
//   track(connection) (BaseListModel) records a connection to the facade;
//   a new facade drops the old one's first, so no answer arrives twice.
class FileRowsModel : public BaseListModel
{
    Q_OBJECT
public:
    explicit FileRowsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<TwFileInfo>& rows() const { return m_rows; }

    void allSelect() override;
    void singleSelect(int itemIndex, bool isFocus = false) override;
    void multiSelect(int itemIndex) override;
    QVariantMap get(int itemIndex) override;
    void fileOpen() override;
    int itemsOfKind(QList<TwFileInfo>& out, int kind) override;
    QList<TwFileInfo> selectedItems() override;
    int selectNum() override;
    bool isAll() override;
    int loadFileNum() override;
    bool isCheck() override;
    void setThumb(QObject* thumb) override;
    // The selected folders' ids.
    QVariantList getSelectFolderIds() override;
    // A new listing: selection, rows and paging cleared; nothing more until
    // a derived model's page arrives and ends the reset.
    void resetData() override;

public slots:
    void rThumbFinished(ThumbInfo info, int code, QString msg) override;
    void onAddDownFiles(TW_HANDLE handle, bool rs);

protected:
    virtual QVariant extraData(const TwFileInfo& item, int role) const;
    virtual QHash<int, QByteArray> extraRoleNames() const;
    virtual qint64 rowTime(const TwFileInfo& item) const;
    // The row that get(-1) gives.
    virtual int defaultRow() const;

    void replaceRows(const QList<TwFileInfo>& items);
    void appendRows(const QList<TwFileInfo>& items);
    void insertRowAt(int row, const TwFileInfo& item);
    int removeIds(const QList<qint64>& ids);
    int rowOfId(qint64 fileId) const;
    TwFileInfo typedItem(int row) const;
    bool validRow(int row) const { return row >= 0 && row < m_rows.size(); }
    void clearSelection();
    void selectionChanged(int row = -1);

    void downloadSelection(const QString& savePath);
    virtual bool handOver(const QString& savePath, const QList<TwFileInfo>& items);
    virtual void downloadBusy(bool on);

    void pageFailed(int code, const QString& message, bool toastAlways, const char* where);
    void busyRefused();
    // An answer meant for this model ends the overlay; true on success, a
    // failure is toasted.
    bool answered(TW_HANDLE handle, const char* where, int result, const QString& message);

    QList<TwFileInfo> m_rows;
    int m_downloadOkLevel = TL_Info;

private:
    QMetaObject::Connection m_thumbConnection;
};
