#include "sharing/sharebasemodel.h"

#include <QDebug>

#include "core/twfolderinfo.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"

ShareBaseModel::ShareBaseModel(QObject* parent) : FileRowsModel(parent) {}

void ShareBaseModel::setIsSort(bool isSort)
{
    m_isSort = isSort;
    emit isSortChanged();
}

QVariant ShareBaseModel::extraData(const TwFileInfo& item, int role) const
{
    if (role == UserHeadRole)
        return item.shareHeadImg;
    if (role == UserNameRole)
        return shownName(item.shareUserName);
    return QVariant();
}

QHash<int, QByteArray> ShareBaseModel::extraRoleNames() const
{
    return {{UserHeadRole, "$UserHead"}, {UserNameRole, "$UserName"}};
}

qint64 ShareBaseModel::rowTime(const TwFileInfo& item) const
{
    return item.shareTime > 0 ? item.shareTime : item.createTime;
}

int ShareBaseModel::defaultRow() const
{
    return currentSelected();
}

QString ShareBaseModel::myAccessId() const
{
    TidewellDevice* d = device();
    return d ? d->userInfo().accessId : QString();
}

bool ShareBaseModel::noSelection()
{
    if (!m_selectMap.isEmpty())
        return false;
    notifyStatus(1, tr("not selected item."), TL_Info);
    return true;
}

// ---- rows ------------------------------------------------------------------

QVariantMap ShareBaseModel::get(int itemIndex)
{
    const int row = itemIndex == -1 ? defaultRow() : itemIndex;
    if (!validRow(row))
        return QVariantMap();
    const TwFileInfo item = typedItem(row);
    qDebug() << "------mediaType:" << item.type << row;
    return item.toVariantMap();
}

void ShareBaseModel::openFileItem(int itemIndex)
{
    if (!validRow(itemIndex))
        return;
    const TwFileInfo item = typedItem(itemIndex);
    setCurrentSelected(itemIndex);
    emit openFolder(item.toVariantMap());
}

int ShareBaseModel::itemsOfKind(QList<TwFileInfo>& out, int kind)
{
    qDebug() << "-----------previews";
    const int n = FileRowsModel::itemsOfKind(out, kind);
    qDebug() << "-----------previews end";
    return n;
}

QVariantList ShareBaseModel::getSelectFolderIds()
{
    return QVariantList();
}

// ---- paging ----------------------------------------------------------------

void ShareBaseModel::loadData()
{
    if (m_isLoading || !m_hasMore || !canRequest())
        return;
    const TW_HANDLE page = beginPage(m_page == 1);
    if (!requestPage(page)) {
        pageNotSent(page);
        m_isResetting = false;
    }
}

void ShareBaseModel::pageArrived(TW_HANDLE handle, const FileListResp& page, const char* where)
{
    if (!takePage(handle, where))
        return;
    if (page.result != 1) {
        pageFailed(page.result, page.message, true, where);
        return;
    }
    const bool first = m_page == 1;
    const QList<TwFileInfo> fresh = unseen(first ? QList<TwFileInfo>() : m_rows, page.fileList);
    // Settled before the rows are shown: a view may ask for more at once.
    // An empty page ends paging whatever the page count says.
    if (m_page < page.totalPages && !page.fileList.isEmpty())
        ++m_page;
    else
        m_hasMore = false;
    endIfRepeated(page.fileList.size(), fresh.size(), where);
    if (first)
        replaceRows(fresh);
    else
        appendRows(fresh);
    m_isLoading = false;
    m_isResetting = false;
    setFileNum(page.totalNum);
    emit loadFileNumChanged();
    emit isAllChanged();
    emit isCheckChanged();
}

void ShareBaseModel::restart()
{
    m_isResetting = false;
    resetData();
}

void ShareBaseModel::refreshData()
{
    resetData();
}

void ShareBaseModel::resetData()
{
    FileRowsModel::resetData();
}

// ---- file operations -------------------------------------------------------

void ShareBaseModel::fileDownload(QString savePath)
{
    downloadSelection(savePath);
}

bool ShareBaseModel::handOver(const QString& savePath, const QList<TwFileInfo>& items)
{
    TidewellDevice* d = device();
    return d && d->addDownFiles(m_handle, savePath, items, 1);
}

void ShareBaseModel::fileCancelShare()
{
    if (noSelection())
        return;
    const QList<qint64> ids = m_selectMap.values();
    showLoading();
    TidewellDevice* d = device();
    if (!d || !d->shareFileToCancel(m_handle, ids)) {
        busyRefused();
        return;
    }
    m_cancelling.append(ids);
}

void ShareBaseModel::onShareFileToCancel(TW_HANDLE handle, int code, QString message)
{
    if (!isMine(handle, "ShareBaseModel::onShareFileToCancel"))
        return;
    cancelLading();
    const QList<qint64> ids = m_cancelling.isEmpty() ? QList<qint64>() : m_cancelling.takeFirst();
    if (!succeeded(code, message))
        return;
    dropRows(ids);
}

void ShareBaseModel::fileDelete()
{
    if (noSelection())
        return;
    showLoading();
    TidewellDevice* d = device();
    // The facade sends nothing while the device is offline.
    if (!d || !d->fileDelete(m_handle, m_selectMap, false))
        busyRefused();
}

void ShareBaseModel::onFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, DeleteDirOrFileResp resp)
{
    if (!answered(handle, "ShareBaseModel::onFileDelete", resp.result, resp.message))
        return;
    // The files the request named, wherever their rows are now.
    dropRows(selection.values());
}

void ShareBaseModel::dropRows(const QList<qint64>& ids)
{
    const int removed = removeIds(ids);
    clearSelection();
    setFileNum(qMax(0, m_fileNum - removed));
    emit loadFileNumChanged();
}

void ShareBaseModel::fileCopyTo(QVariantMap data)
{
    if (noSelection())
        return;
    const TwFolderInfo folder = TwFolderInfo::fromVariantMap(data);
    showLoading();
    TidewellDevice* d = device();
    if (!d || !d->fileCopy(m_handle, 0, folder, 0, m_selectMap, QStringList()))
        busyRefused();
}

void ShareBaseModel::onFileCopy(TW_HANDLE handle, APIBase resp)
{
    if (!answered(handle, "ShareBaseModel::onFileCopy", resp.result, resp.message))
        return;
    notifyStatus(1, tr("Copy to success"), TL_Success);
    clearSelection();
}

// ---- facade ----------------------------------------------------------------

void ShareBaseModel::initConnect(bool isTw)
{
    if (!isTw)
        return;
    TidewellDevice* d = device();
    if (!d)
        return;
    track(connect(d, &TidewellDevice::rAddDownFiles, this, &FileRowsModel::onAddDownFiles));
    track(connect(d, &TidewellDevice::rShareFileToCancel, this, &ShareBaseModel::onShareFileToCancel));
    track(connect(d, &TidewellDevice::rFileDelete, this, &ShareBaseModel::onFileDelete));
    track(connect(d, &TidewellDevice::rFileCopy, this, &ShareBaseModel::onFileCopy));
}
