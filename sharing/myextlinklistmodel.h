#pragma once

#include <QList>

#include "browser/filelistmodel.h"
#include "core/extlink.h"

// A file list that can lay out external-link records in the file views:
// with file mode off its rows are links shown through the file roles.
class MyExtlinkListModel : public FileListModel
{
    Q_OBJECT
    Q_PROPERTY(bool isFileModel READ isFileMode WRITE setFileMode NOTIFY fileModeChanged)
public:
    explicit MyExtlinkListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    bool isFileMode() const { return m_fileMode; }
    void setFileMode(bool on);
    // The folder record the file views show.
    Q_INVOKABLE void setMy(QVariantMap map);
    const TwFileInfo& myFolder() const { return m_my; }
    const QList<Extlink>& links() const { return m_links; }
    void setLinks(const QList<Extlink>& links);
    // The rows of a link list (ExtlinkListModel) as records; anything else
    // empties the list.
    Q_INVOKABLE void takeLinks(QObject* linkList);

signals:
    void fileModeChanged();

private:
    QList<Extlink> m_links;
    Extlink m_link;
    TwFileInfo m_my;
    bool m_fileMode = true;
};
