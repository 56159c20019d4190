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
    // Without a device nothing can be asked yet: the first page is asked
    // when the facade is set.
    TidewellDevice* d = device();
    if (m_isLoading || !m_hasMore || !d)
        return;
    // The page value serves as the offset: the rows held so far.
    m_page = m_items.size();
    const TW_HANDLE page = beginPage();
    if (!d->mediaFilelist(page, Common::FileType(m_modelType), m_page, m_pageSize, 1, m_isSort)) {
        pageNotSent(page);
        notifyStatus(100101, tr("Network Error"), TL_Error);
    }
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
    if (!takePage(handle, "ComposeListModel::rMediaFilelist -"))
        return;
    if (resp.result != 1) {
        stopPaging("ComposeListModel::rMediaFilelist -");
        if (!m_items.isEmpty())
            notifyStatus(resp.result, resp.message, TL_Error);
        else
            defaultStateChange(DS_Error, resp.message);
        return;
    }
    qDebug() << "ComposeListModel::rMediaFilelist - get count " << resp.fileList.size();
    const QList<TwFileInfo> fresh = unseen(m_items, resp.fileList);
    if (resp.fileList.size() < m_pageSize)
        m_hasMore = false;
    endIfRepeated(resp.fileList.size(), fresh.size(), "ComposeListModel::rMediaFilelist -");
    appendItems(fresh);
    m_page = m_items.size();
    m_isLoading = false;
    updateViewState(0);
}
