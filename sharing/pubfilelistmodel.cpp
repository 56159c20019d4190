#include "sharing/pubfilelistmodel.h"

#include <QDebug>

#include "device/tidewelldevice.h"

PubFileListModel::PubFileListModel(QObject* parent) : PubFileBaseModel(parent) {}

void PubFileListModel::loadData()
{
    if (m_isLoading || !m_hasMore)
        return;
    m_isLoading = true;
    if (m_loadFileNum == 0)
        showLoading();
    m_loadFileNum = m_rows.size();
    TidewellDevice* d = device();
    if (!d
        || !d->getPubFileList(m_handle, m_loadFileNum, m_pageSize, m_isSort, m_sortType, m_group.gId,
                              m_my.id, false, m_keyword)) {
        m_isResetting = false;
        busyRefused();
        return;
    }
    m_askedOffset = m_loadFileNum;
}

void PubFileListModel::resetData()
{
    if (m_isResetting)
        return;
    // A page asked for before the reset belongs to the old list; the view
    // may ask for the first page as soon as the rows are gone.
    m_askedOffset = -1;
    m_isLoading = false;
    PubFileBaseModel::resetData();
}

void PubFileListModel::onGetPubFileList(TW_HANDLE handle, GetPubFileListResp respData)
{
    if (!isMine(handle, "PubFileListModel::onGetPubFileList"))
        return;
    cancelLading();
    if (respData.offset != m_askedOffset) {
        qDebug() << "PubFileListModel::onGetPubFileList - late answer for offset" << respData.offset
                 << "dropped.";
        if (m_rows.isEmpty() && m_askedOffset < 0 && m_hasMore && !m_isLoading)
            loadData();
        return;
    }
    m_askedOffset = -1;
    if (respData.result != 1) {
        pageFailed(respData.result, respData.message, false, "-----PubFileListModel::onGetPubFileList:");
        return;
    }
    if (m_loadFileNum != 0)
        appendRows(respData.fileList);
    else
        replaceRows(respData.fileList);
    // An empty page ends paging whatever the total says.
    m_hasMore = !respData.fileList.isEmpty() && m_rows.size() < respData.totalNum;
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
