#pragma once

#include <QList>

#include "protocol/apibase.h"
#include "protocol/deletedirorfileresp.h"
#include "protocol/filelistresp.h"
#include "sharing/filerowsmodel.h"

// Rows and file operations of the share lists (download, copy to the own
// space, open, and for the sharer cancel the share or delete). Paged by page
// number; the subclasses ask for their pages.
class ShareBaseModel : public FileRowsModel
{
    Q_OBJECT
    Q_PROPERTY(bool isSort READ isSort WRITE setIsSort NOTIFY isSortChanged)
public:
    enum ShareRole {
        UserHeadRole = FilePathRole,   // 269
        UserNameRole = FileOwerRole,   // 270
    };

    explicit ShareBaseModel(QObject* parent = nullptr);

    bool isSort() const { return m_isSort; }
    void setIsSort(bool isSort);

    QVariantMap get(int itemIndex) override;
    void refreshData() override;
    void fileDownload(QString savePath) override;
    void fileCancelShare() override;
    void fileDelete() override;
    void fileCopyTo(QVariantMap data) override;
    QVariantList getSelectFolderIds() override;
    int itemsOfKind(QList<TwFileInfo>& out, int kind) override;
    void loadData() override;
    void resetData() override;
    void initConnect(bool isTw) override;
    Q_INVOKABLE void openFileItem(int itemIndex);

signals:
    void isSortChanged();
    void openFolder(QVariantMap fileInfo);

public slots:
    void onShareFileToCancel(TW_HANDLE handle, int code, QString message);
    void onFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, DeleteDirOrFileResp resp);
    void onFileCopy(TW_HANDLE handle, APIBase resp);

protected:
    QVariant extraData(const TwFileInfo& item, int role) const override;
    QHash<int, QByteArray> extraRoleNames() const override;
    qint64 rowTime(const TwFileInfo& item) const override;
    int defaultRow() const override;
    bool handOver(const QString& savePath, const QList<TwFileInfo>& items) override;

    // Sends the request of page m_page, carrying the page handle; false when
    // nothing was sent.
    virtual bool requestPage(TW_HANDLE page) = 0;
    // False while the list has nothing to ask for (no user, no keyword).
    virtual bool canRequest() const { return true; }
    // A reset whatever is pending: the list's subject changed.
    void restart();
    // The common handling of a page answer; where names the slot in logs.
    void pageArrived(TW_HANDLE handle, const FileListResp& page, const char* where);
    // The signed-in account.
    QString myAccessId() const;
    bool noSelection();

    bool m_isSort = false;

private:
    // Removes the rows of files gone from the device, then the counts.
    void dropRows(const QList<qint64>& ids);

    QList<QList<qint64>> m_cancelling;
};
