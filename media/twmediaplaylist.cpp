#include "media/twmediaplaylist.h"

#include <QDebug>
#include <QFileInfo>
#include <QUrl>

#include "browser/baselistmodel.h"
#include "core/common.h"
#include "core/utils.h"

TwMediaPlayList::TwMediaPlayList(QObject* parent) : QAbstractListModel(parent) {}

int TwMediaPlayList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_items.size();
}

QVariant TwMediaPlayList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_items.size())
        return QVariant();
    const TwFileInfo& f = m_items.at(index.row());
    switch (role) {
    case FileMediaTypeRole: return f.type;
    case FileNameRole: return shownName(f.name);
    case FileUrlRole: return f.filePath;
    case FileCheckedRole: return index.row() == m_currentSelected;
    default: return QVariant();
    }
}

QHash<int, QByteArray> TwMediaPlayList::roleNames() const
{
    return {
        {FileMediaTypeRole, "fileType"},
        {FileNameRole, "fileName"},
        {FileUrlRole, "fileUrl"},
        {FileCheckedRole, "checked"},
    };
}

void TwMediaPlayList::setTw(QObject* model)
{
    beginResetModel();
    m_tw = model;
    auto* list = qobject_cast<BaseListModel*>(model);
    m_thumb = list ? list->thumb() : nullptr;
    m_device = list ? list->tw() : nullptr;
    m_items.clear();
    if (list) {
        if (m_pType & LVideo)
            list->itemsOfKind(m_items, Common::MT_Video);
        if (m_pType & LMusic)
            list->itemsOfKind(m_items, Common::MT_Music);
    }
    endResetModel();
    emit twChanged();
    emit thumbChanged();
}

void TwMediaPlayList::setThumb(QObject* thumb)
{
    m_thumb = thumb;
    emit thumbChanged();
}

void TwMediaPlayList::setCurrentSelected(qlonglong row)
{
    qDebug() << "TwMediaPlayList::setCurrentSelected - " << row;
    if (row < 0 || row >= m_items.size())
        return;
    m_currentSelected = row;
    emit currentSelectedChanged();
    emit currentInfoChanged();
    emit dataChanged(index(0), index(m_items.size() - 1), {FileNameRole, FileCheckedRole});
}

QVariantMap TwMediaPlayList::currentInfo() const
{
    if (m_currentSelected < 0 || m_currentSelected >= m_items.size())
        return QVariantMap();
    return m_items.at(int(m_currentSelected)).toVariantMap();
}

void TwMediaPlayList::setCurrentInfo(QVariantMap map)
{
    const TwFileInfo info = TwFileInfo::fromVariantMap(map);
    qDebug() << "TwMediaPlayList::setCurrentInfo - info " << info.id << ", " << info.fileMd5 << info.url
             << info.isUsb;
    int row = 0;
    for (; row < m_items.size(); ++row) {
        qDebug() << "TwMediaPlayList::setCurrentInfo - info " << info.id << ", " << info.fileMd5 << ", row "
                 << row;
        if (m_items.at(row) == info)
            break;
    }
    setCurrentSelected(row);
}

void TwMediaPlayList::setPType(PlayType type)
{
    if (m_pType == type)
        return;
    m_pType = type;
    emit pTypeChanged();
}

void TwMediaPlayList::next()
{
    const qlonglong row = m_currentSelected >= 0 && m_currentSelected < m_items.size() ? m_currentSelected + 1 : 0;
    setCurrentSelected(row);
    qDebug() << "TwMediaPlayList::next()==================" << row;
}

void TwMediaPlayList::previous()
{
    setCurrentSelected(m_currentSelected > 0 ? m_currentSelected - 1 : 0);
}

void TwMediaPlayList::add(QVariant info)
{
    qDebug() << "TwMediaPlayList::add - info: " << info;
    TwFileInfo item;
    if (info.userType() == QMetaType::QUrl || (info.userType() == QMetaType::QString && info.toUrl().isLocalFile())) {
        const QUrl url = info.toUrl();
        item.local = true;
        item.isFile = true;
        item.filePath = url.toLocalFile();
        item.name = url.fileName();
        // Its kind by its suffix: music shows as music, not as a video.
        item.fileType();
        qDebug() << "TwMediaPlayList::add - fileName: " << item.name << ", " << item.filePath;
    } else if (info.canConvert<QVariantMap>()) {
        item = TwFileInfo::fromVariantMap(info.toMap());
    } else {
        return;
    }
    beginInsertRows(QModelIndex(), 0, 0);
    m_items.prepend(item);
    endInsertRows();
    // The selected entry moved down with the others.
    if (m_currentSelected >= 0)
        ++m_currentSelected;
    setCurrentSelected(0);
}
