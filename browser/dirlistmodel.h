#pragma once

#include <QList>
#include <QStringList>
#include <QVariantMap>

#include "browser/filelistmodel.h"
#include "core/twfolderinfo.h"
#include "protocol/createdirresp.h"
#include "protocol/dirpathresp.h"

// The device's personal space folder by folder: pages of the open folder
// ("getDirPath"), the path walked so far for the breadcrumb, new folders in
// the open folder. Everything on a selection is the file list's.
class DirListModel : public FileListModel
{
    Q_OBJECT
    Q_PROPERTY(QVariantMap folder READ folder NOTIFY folderChanged)
    Q_PROPERTY(QStringList pathNames READ pathNames NOTIFY folderChanged)
    Q_PROPERTY(int depth READ depth NOTIFY folderChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
public:
    explicit DirListModel(QObject* parent = nullptr);

    // The open folder as uploads, moves and copies take it.
    QVariantMap folder() const { return m_path.last().toVariantMap(); }
    QStringList pathNames() const;
    int depth() const { return m_path.size() - 1; }
    bool loading() const { return m_isLoading; }

    // Opens the folder of a row; false for a file.
    Q_INVOKABLE bool openFolder(int row);
    // Back to the breadcrumb entry at depth (0: the root).
    Q_INVOKABLE void goTo(int depth);
    void back() override;
    // Lists the open folder again from its first page; a page still under
    // way is forgotten.
    Q_INVOKABLE void reload();
    void newFolder(QString name) override;

    Q_INVOKABLE void fetchMore(const QModelIndex& parent = QModelIndex()) override;
    void loadData() override;
    void initConnect(bool isTw) override;

public slots:
    void rFilelist(TW_HANDLE handle, DirPathResp resp);
    void rCreateDir(TW_HANDLE handle, CreateDirResp resp, QString dirName);

signals:
    void folderChanged();
    void loadingChanged();

private:
    QList<TwFolderInfo> m_path;
};
