#include "sharing/myextlinklistmodel.h"

#include <QDateTime>

#include "sharing/extlinklistmodel.h"
#include "core/utils.h"

MyExtlinkListModel::MyExtlinkListModel(QObject* parent) : FileListModel(parent) {}

int MyExtlinkListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_fileMode ? FileListModel::rowCount(parent) : m_links.size();
}

QVariant MyExtlinkListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return QVariant();
    if (m_fileMode)
        return FileListModel::data(index, role);
    const Extlink& l = m_links.at(index.row());
    switch (role) {
    case FileNameRole: return shownName(l.title);
    case FileSizeRole: return l.userNickname;
    case FileTimeRole:
        return QDateTime::fromMSecsSinceEpoch(l.createdDate, Qt::LocalTime).toString("yyyy-MM-dd HH:mm");
    case FileTypeRole: return 0;
    case FileThumbUrlRole: return QUrl("qrc:/compoments/base/Image/fileType/type_label@2x.png");
    case SelectedRole: return m_selectMap.contains(index.row());
    default: return QVariant();
    }
}

void MyExtlinkListModel::setFileMode(bool on)
{
    if (m_fileMode == on)
        return;
    beginResetModel();
    m_fileMode = on;
    m_selectMap.clear();
    endResetModel();
    emit fileModeChanged();
}

void MyExtlinkListModel::setMy(QVariantMap map)
{
    m_my = TwFileInfo::fromVariantMap(map);
}

void MyExtlinkListModel::setLinks(const QList<Extlink>& links)
{
    beginResetModel();
    m_links = links;
    m_selectMap.clear();
    endResetModel();
}

void MyExtlinkListModel::takeLinks(QObject* linkList)
{
    const auto* list = qobject_cast<ExtlinkListModel*>(linkList);
    setLinks(list ? list->rows() : QList<Extlink>());
}
