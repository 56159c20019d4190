#pragma once

#include <QList>
#include <QSet>
#include <QVariantMap>

#include "core/basemodel.h"
#include "core/facadebinding.h"
#include "core/twfileinfo.h"
#include "core/twfolderinfo.h"
#include "core/twhandle.h"
#include "protocol/getpubfilelistresp.h"

class TidewellDevice;

// One level of the folder picker: the sub-folders of a folder in a public
// group (`parentFolder`, a target folder map), paged from the device.
class TreeModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(QVariantMap parentFolder READ parentFolder WRITE setParentFolder NOTIFY parentFolderChanged)
public:
    enum Roles {
        FolderNameRole = Qt::UserRole + 1,
        FolderIdRole,
    };

    explicit TreeModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    QObject* tw() const;
    void setTw(QObject* tw);
    QVariantMap parentFolder() const { return m_parent.toVariantMap(); }
    // Starts the listing of another folder from its first page.
    void setParentFolder(const QVariantMap& folder);
    TW_HANDLE handle() const { return m_handle; }

    // The sub-folder of a row as a target folder map (diskType 3, its group).
    Q_INVOKABLE QVariantMap folder(int row) const;

public slots:
    void rGetPubFileList(TW_HANDLE handle, GetPubFileListResp resp);

signals:
    void twChanged();
    void parentFolderChanged();

private:
    TW_HANDLE m_handle;
    FacadeBinding<TidewellDevice> m_tw;
    TwFolderInfo m_parent;
    QList<TwFileInfo> m_folders;
    int m_offset = 0;
    bool m_hasMore = true;
    bool m_isLoading = false;
    // Ids of every item listed so far, folders or not.
    QSet<qint64> m_seen;
};
