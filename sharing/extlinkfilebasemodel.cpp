#include "sharing/extlinkfilebasemodel.h"

#include <QDebug>

#include "core/twfolderinfo.h"
#include "device/tidewellextlink.h"

ExtlinkFileBaseModel::ExtlinkFileBaseModel(QObject* parent) : FileRowsModel(parent)
{
    m_downloadOkLevel = TL_Success;
}

void ExtlinkFileBaseModel::setIsSort(bool on)
{
    m_isSort = on;
    emit isSortChanged();
}

void ExtlinkFileBaseModel::setSortType(int type)
{
    m_sortType = type;
    emit sortTypeChanged();
}

void ExtlinkFileBaseModel::setMy(const QVariantMap& map)
{
    m_my = TwFileInfo::fromVariantMap(map);
    emit myChanged();
    emit parentChange();
}

void ExtlinkFileBaseModel::setDeviceMode(bool on)
{
    if (m_deviceMode == on)
        return;
    m_deviceMode = on;
    emit deviceModeChanged();
}

void ExtlinkFileBaseModel::setExtlinkInfo(const QVariantMap& map)
{
    m_link.fromVariantMap(map);
    emit extlinkInfoChanged();
    emit isAuthChanged();
    emit parentChange();
}

NetworkShare ExtlinkFileBaseModel::share() const
{
    return NetworkShare(1, m_link.shareId, m_link.code);
}

NetworkShare ExtlinkFileBaseModel::thumbShare(const TwFileInfo&)
{
    return share();
}

TidewellExtlink* ExtlinkFileBaseModel::extlink() const
{
    return qobject_cast<TidewellExtlink*>(m_tw.data());
}

QVariantMap ExtlinkFileBaseModel::parentModel() const
{
    TwFolderInfo f;
    const bool top = m_my.id == 0;
    f.fid = top ? 0 : int(m_my.id);
    f.name = top ? m_link.title : m_my.name;
    f.filePath = top ? QString() : m_my.filePath;
    f.isDevice = false;
    f.lastModified = 0;
    f.serialNo = m_link.userId;
    f.groupId = int(m_link.fileId);
    f.type = 5;
    f.diskType = 3;
    f.isSafeBox = false;
    f.upPath = "/" + m_link.title;
    if (!top)
        f.upPath += m_my.upPath + "/" + m_my.name;
    qDebug() << "parentModel:" << f.fid << f.name << f.filePath << f.serialNo << f.upPath
             << "--------------";
    return f.toVariantMap();
}

void ExtlinkFileBaseModel::refreshData()
{
    resetData();
}

void ExtlinkFileBaseModel::resetData()
{
    if (m_isResetting)
        return;
    m_isResetting = true;
    clearSelection();
    beginResetModel();
    m_rows.clear();
    resetPaging();
    endResetModel();
    emit loadFileNumChanged();
}

void ExtlinkFileBaseModel::openFileItem(int itemIndex)
{
    if (!validRow(itemIndex))
        return;
    TwFileInfo item = typedItem(itemIndex);
    setCurrentSelected(itemIndex);
    item.upPath = m_my.upPath;
    if (!m_my.name.isEmpty())
        item.upPath += "/" + m_my.name;
    emit openFolder(item.toVariantMap());
}

void ExtlinkFileBaseModel::fileDownload(QString savePath)
{
    if (m_deviceMode)
        return;
    downloadSelection(savePath);
}

bool ExtlinkFileBaseModel::handOver(const QString& savePath, const QList<TwFileInfo>& items)
{
    TidewellExtlink* e = extlink();
    return e && e->addDownFiles(m_handle, share(), savePath, items, kLinkFileType);
}

void ExtlinkFileBaseModel::downloadBusy(bool on)
{
    // The overlay of the application window, where received links live.
    if (TidewellExtlink* e = extlink()) {
        if (on)
            e->showLoading();
        else
            e->cancelLading();
    }
}

void ExtlinkFileBaseModel::setTw(QObject* tw)
{
    if (tw == m_tw.data())
        return;
    FileRowsModel::setTw(tw);
    if (TidewellExtlink* e = extlink())
        track(connect(e, &TidewellExtlink::rAddDownFiles, this,
                      &ExtlinkFileBaseModel::onAddDownFiles));
}
