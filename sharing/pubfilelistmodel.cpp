#include "sharing/pubfilelistmodel.h"

#include <QDebug>

#include "device/tidewelldevice.h"

PubFileListModel::PubFileListModel(QObject* parent) : PubFileBaseModel(parent) {}

void PubFileListModel::loadData()
{
    if (m_isLoading || !m_hasMore)
        return;
    const bool first = m_loadFileNum == 0;
    m_loadFileNum = m_rows.size();
    const TW_HANDLE page = beginPage(first);
    TidewellDevice* d = device();
    if (!d
        || !d->getPubFileList(page, m_loadFileNum, m_pageSize, m_isSort, m_sortType, m_group.gId,
                              m_my.id, false, m_keyword)) {
        pageNotSent(page);
        m_isResetting = false;
    }
}

void PubFileListModel::onGetPubFileList(TW_HANDLE handle, GetPubFileListResp respData)
{
    if (!takePage(handle, "PubFileListModel::onGetPubFileList"))
        return;
    if (respData.result != 1) {
        pageFailed(respData.result, respData.message, false, "-----PubFileListModel::onGetPubFileList:");
        return;
    }
    const bool first = m_loadFileNum == 0;
    const QList<TwFileInfo> fresh = unseen(first ? QList<TwFileInfo>() : m_rows, respData.fileList);
    // Settled before the rows are shown: a view may ask for more at once.
    // An empty page ends paging whatever the total says.
    const int held = (first ? 0 : m_rows.size()) + fresh.size();
    m_hasMore = !respData.fileList.isEmpty() && held < respData.totalNum;
    endIfRepeated(respData.fileList.size(), fresh.size(), "PubFileListModel::onGetPubFileList");
    if (first)
        replaceRows(fresh);
    else
        appendRows(fresh);
    m_isLoading = false;
    m_isResetting = false;
    setFileNum(respData.totalNum);
    emit loadFileNumChanged();
    emit isAllChanged();
    emit isCheckChanged();
}

void PubFileListModel::initConnect(bool isTw)
{
    PubFileBaseModel::initConnect(isTw);
    if (!isTw)
        return;
    if (TidewellDevice* d = device())
        track(connect(d, &TidewellDevice::rGetPubFileList, this, &PubFileListModel::onGetPubFileList));
}
