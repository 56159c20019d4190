#include "sharing/pubfilebasemodel.h"

#include <QDebug>

#include "core/twfolderinfo.h"
#include "device/tidewelldevice.h"

PubFileBaseModel::PubFileBaseModel(QObject* parent) : FileRowsModel(parent) {}

void PubFileBaseModel::setIsSort(bool isSort)
{
    m_isSort = isSort;
    emit isSortChanged();
}

void PubFileBaseModel::setSortType(int sortType)
{
    m_sortType = sortType;
    emit sortTypeChanged();
}

void PubFileBaseModel::setMy(const QVariantMap& my)
{
    m_my = TwFileInfo::fromVariantMap(my);
    emit myChanged();
    emit parentChange();
}

void PubFileBaseModel::setGroupInfo(const QVariantMap& info)
{
    m_group.fromMap(info);
    emit groupInfoChanged();
    emit isAuthChanged();
    emit parentChange();
}

QVariantMap PubFileBaseModel::parentModel() const
{
    TwFolderInfo f;
    if (m_my.id != 0) {
        f.fid = int(m_my.id);
        f.name = m_my.name;
        f.filePath = m_my.filePath;
    } else {
        f.fid = 0;
        f.name = m_group.gName;
    }
    f.isDevice = false;
    f.type = 5;
    f.diskType = 3;
    f.serialNo = m_group.diskSerial;
    f.groupId = m_group.gId;
    f.upPath = "/" + m_group.gName;
    if (m_my.id != 0)
        f.upPath += m_my.upPath + "/" + m_my.name;
    qDebug() << "parentModel:" << f.fid << f.name << f.filePath << f.serialNo << f.upPath
             << "--------------";
    return f.toVariantMap();
}

bool PubFileBaseModel::isSearch()
{
    return !m_keyword.isEmpty();
}

void PubFileBaseModel::refreshData()
{
    resetData();
}

// ---- opening ---------------------------------------------------------------

void PubFileBaseModel::openFileItem(int itemIndex)
{
    if (!validRow(itemIndex))
        return;
    TwFileInfo item = typedItem(itemIndex);
    setCurrentSelected(itemIndex);
    item.upPath = m_my.name.isEmpty() ? m_my.upPath : m_my.upPath + "/" + m_my.name;
    emit openFolder(item.toVariantMap());
}

// ---- file operations -------------------------------------------------------

void PubFileBaseModel::newFolder(QString name)
{
    if (name.isEmpty())
        return;
    showLoading();
    TidewellDevice* d = device();
    if (!d || !d->createPubDir(m_handle, m_group.gId, int(m_my.id), name, m_group.diskSerial, false))
        busyRefused();
}

void PubFileBaseModel::onCreatePubDir(TW_HANDLE handle, CreatePubDirResp respData)
{
    if (!answered(handle, "PubFileBaseModel::onCreatePubDir", respData.result, respData.message))
        return;
    TwFileInfo item;
    TwFileInfo::initEditorItem(item, m_my, respData.dirName, respData.dirId);
    item.groupId = respData.groupId;
    item.fileType();
    insertRowAt(0, item);
    setFileNum(m_fileNum + 1);
    emit loadFileNumChanged();
}

QString PubFileBaseModel::renamedName(const TwFileInfo& item, const QString& newName)
{
    const int dot = item.name.lastIndexOf('.');
    if (item.isFile && dot > 0)
        return newName + item.name.mid(dot);
    return newName;
}

void PubFileBaseModel::fileRename(QString newName)
{
    const int row = defaultRow();
    if (!validRow(row))
        return;
    const TwFileInfo& item = m_rows.at(row);
    const QString name = renamedName(item, newName);
    if (name != newName)
        qDebug() << "--------newName:" << name;
    showLoading();
    TidewellDevice* d = device();
    if (!d || !d->modifyPubDirOrFile(m_handle, m_group.gId, item.id, name)) {
        busyRefused();
        return;
    }
    m_renaming.append(item.id);
}

void PubFileBaseModel::onModifyPubDirOrFile(TW_HANDLE handle, APIBase respData, QString newFileName)
{
    if (!isMine(handle, "PubFileBaseModel::onModifyPubDirOrFile"))
        return;
    cancelLading();
    const qint64 id = m_renaming.isEmpty() ? 0 : m_renaming.takeFirst();
    if (!succeeded(respData.result, respData.message))
        return;
    const int row = rowOfId(id);
    if (row >= 0) {
        m_rows[row].name = newFileName;
        emit dataChanged(index(row), index(row), {FileNameRole, FileIconRole, FileThumbUrlRole});
    }
    clearSelection();
}

void PubFileBaseModel::fileDelete()
{
    const QList<qint64> ids = m_selectMap.values();
    if (ids.isEmpty())
        return;
    showLoading();
    TidewellDevice* d = device();
    if (!d || !d->deletePubDirOrFile(m_handle, m_group.gId, ids)) {
        busyRefused();
        return;
    }
    m_deleting.append(ids);
}

void PubFileBaseModel::onDeletePubDirOrFile(TW_HANDLE handle, APIBase respData)
{
    if (!isMine(handle, "PubFileBaseModel::onDeletePubDirOrFile"))
        return;
    cancelLading();
    const QList<qint64> ids = m_deleting.isEmpty() ? QList<qint64>() : m_deleting.takeFirst();
    if (!succeeded(respData.result, respData.message))
        return;
    removeIds(ids);
    afterRemoval(ids.size());
}

void PubFileBaseModel::fileMove(qlonglong targetId, QString diskSerial)
{
    Q_UNUSED(diskSerial)
    const QList<qint64> ids = m_selectMap.values();
    if (ids.isEmpty())
        return;
    showLoading();
    TidewellDevice* d = device();
    if (!d || !d->moviePubDirOrFile(m_handle, m_group.gId, targetId, ids))
        busyRefused();
}

void PubFileBaseModel::onMoviePubDirOrFile(TW_HANDLE handle, APIBase respData, QList<qint64> rmFileIds)
{
    if (!isMine(handle, "PubFileBaseModel::onMoviePubDirOrFile"))
        return;
    cancelLading();
    // The files moved before a failure have left the folder all the same.
    if (!rmFileIds.isEmpty()) {
        removeIds(rmFileIds);
        afterRemoval(rmFileIds.size());
    }
    if (respData.result != 1) {
        notifyStatus(respData.result, respData.message, TL_Error);
        if (!rmFileIds.isEmpty())
            clearSelection();
    }
}

void PubFileBaseModel::afterRemoval(int removedOnDevice)
{
    updateDefaultState();
    clearSelection();
    setFileNum(qMax(0, m_fileNum - removedOnDevice));
    emit loadFileNumChanged();
    if (m_fileNum != m_rows.size() && m_rows.size() <= 30)
        refreshData();
}

void PubFileBaseModel::fileCopyTo(QVariantMap folder)
{
    if (m_selectMap.isEmpty())
        return;
    const TwFolderInfo target = TwFolderInfo::fromVariantMap(folder);
    showLoading();
    TidewellDevice* d = device();
    if (!d || !d->fileCopy(m_handle, 3, target, m_group.gId, m_selectMap, QStringList()))
        busyRefused();
}

void PubFileBaseModel::onFileCopy(TW_HANDLE handle, APIBase resp)
{
    if (!answered(handle, "PubFileBaseModel::onFileCopy", resp.result, resp.message))
        return;
    notifyStatus(1, tr("Copying file"), TL_Info);
    clearSelection();
}

// ---- download --------------------------------------------------------------

void PubFileBaseModel::fileDownload(QString savePath)
{
    downloadSelection(savePath);
}

bool PubFileBaseModel::handOver(const QString& savePath, const QList<TwFileInfo>& items)
{
    TidewellDevice* d = device();
    return d && d->addDownFiles(m_handle, savePath, items, 6);
}

void PubFileBaseModel::downloadBusy(bool on)
{
    // The tab's overlay.
    TidewellDevice* d = device();
    if (!d)
        return;
    if (on)
        d->showLoading();
    else
        d->cancelLading();
}

// ---- facade ----------------------------------------------------------------

void PubFileBaseModel::initConnect(bool isTw)
{
    if (!isTw)
        return;
    TidewellDevice* d = device();
    if (!d)
        return;
    track(connect(d, &TidewellDevice::rAddDownFiles, this, &FileRowsModel::onAddDownFiles));
    track(connect(d, &TidewellDevice::rModifyPubDirOrFile, this, &PubFileBaseModel::onModifyPubDirOrFile));
    track(connect(d, &TidewellDevice::rDeletePubDirOrFile, this, &PubFileBaseModel::onDeletePubDirOrFile));
    track(connect(d, &TidewellDevice::rMoviePubDirOrFile, this, &PubFileBaseModel::onMoviePubDirOrFile));
    track(connect(d, &TidewellDevice::rFileCopy, this, &PubFileBaseModel::onFileCopy));
    track(connect(d, &TidewellDevice::rCreatePubDir, this, &PubFileBaseModel::onCreatePubDir));
}
