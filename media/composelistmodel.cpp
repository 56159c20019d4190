#include "media/composelistmodel.h"

#include <QDebug>

#include "core/common.h"
#include "device/tidewelldevice.h"

ComposeListModel::ComposeListModel(QObject* parent) : FileListModel(parent) {}

void ComposeListModel::setIsSort(bool isSort)
{
    m_isSort = isSort;
    emit isSortChanged();
}

void ComposeListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    loadData();
}

void ComposeListModel::loadData()
{
    if (m_isLoading || !m_hasMore)
        return;
    m_isLoading = true;
    // The page value serves as the offset: the rows held so far.
    m_page = m_items.size();
    TidewellDevice* d = device();
    if (!d || !d->mediaFilelist(m_handle, Common::FileType(m_modelType), m_page, m_pageSize, 1,
                                m_isSort)) {
        m_isLoading = false;
        notifyStatus(100101, tr("Network Error"), TL_Error);
        return;
    }
    showLoading();
}

void ComposeListModel::initConnect(bool isTw)
{
    if (isTw && !device())
        return;
    if (!isTw && !m_thumb)
        return;
    FileListModel::initConnect(isTw);
    if (isTw)
        connect(device(), &TidewellDevice::rMediaFilelist, this, &ComposeListModel::rMediaFilelist,
                Qt::UniqueConnection);
}

void ComposeListModel::rMediaFilelist(TW_HANDLE handle, GetMediaFileGroupResp resp)
{
    if (!isMine(handle, "ComposeListModel::rMediaFilelist -"))
        return;
    cancelLading();
    if (resp.result != 1) {
        m_isLoading = false;
        if (!m_items.isEmpty())
            notifyStatus(resp.result, resp.message, TL_Error);
        else
            defaultStateChange(DS_Error, resp.message);
        return;
    }
    qDebug() << "ComposeListModel::rMediaFilelist - get count " << resp.fileList.size();
    appendItems(resp.fileList);
    m_page = m_items.size();
    m_isLoading = false;
    if (resp.fileList.size() < m_pageSize)
        m_hasMore = false;
    updateViewState(0);
}
