#pragma once

#include "browser/filelistmodel.h"
#include "protocol/getmediafilegroupresp.h"

// The list of a media page (pictures, videos, music, favourites): the rows
// of one category (`modelType`) asked from the device 60 at a time by
// offset; everything else is the file list's.
class ComposeListModel : public FileListModel
{
    Q_OBJECT
    Q_PROPERTY(bool isSort READ isSort WRITE setIsSort NOTIFY isSortChanged)
public:
    explicit ComposeListModel(QObject* parent = nullptr);

    bool isSort() const { return m_isSort; }
    // Always notifies: the page reloads on every change of the switch.
    void setIsSort(bool isSort);

    Q_INVOKABLE void fetchMore(const QModelIndex& parent = QModelIndex()) override;
    void loadData() override;
    void initConnect(bool isTw) override;

public slots:
    void rMediaFilelist(TW_HANDLE handle, GetMediaFileGroupResp resp);

signals:
    void isSortChanged();

private:
    bool m_isSort = false;
};
